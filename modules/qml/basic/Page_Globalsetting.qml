import QtQuick
import "../common"
import "../common/Rgb.js" as Rgb

// The global-settings panel: animation, language, background picture, text size, colour and brightness, and
// the mouse's firmware version. Choices take effect at once; APPLY stores them in the application
// configuration, RESET brings back the shipped configuration.
Item {
    id: globalSetting
    objectName: "globalSetting"

    // The installed languages: display names (sorted) and their codes, in the same order.
    property var languageNames: []
    property var languageCodes: []
    // The chosen language's position in that list; -1 while the built-in strings are shown.
    property int langIndex: -1
    property int animatedIndex: 0
    property int sizeIndex: 0
    property var presetColors: defaultPresetColors
    property int colorIndex: 0
    property int brightness: 7
    property bool paletteOpen: false
    // The logo's address as the configuration gave it; stored back unchanged.
    property string webUrl: ""
    property string builtInUrl: ""
    // The mouse's firmware version as the program's last reading of the mouse gave it.
    property string firmwareVersion: ""

    readonly property var defaultPresetColors: [[0, 255, 255], [255, 255, 255], [255, 0, 0], [255, 127, 0],
        [255, 255, 0], [0, 255, 0], [255, 0, 255]]
    readonly property int configVersion: 2
    readonly property int rowPitch: 52

    function initUI() {
        listLanguages()
        const config = ui_View.loadApConfig()
        if (config && config.length > 0)
            applyConfig(config)
    }

    // Asks the program only: the version comes from the last reading, never from the mouse itself.
    function readFirmwareVersion() {
        const v = ui_View.vesk_80H_GetFWVersion()
        firmwareVersion = v === undefined || v === null ? "" : String(v).trim()
    }

    function listLanguages() {
        const map = ui_View.chkLanguages() || {}
        const names = Object.keys(map).sort()
        languageNames = names
        languageCodes = names.map(name => String(map[name]))
        if (langIndex >= names.length)
            langIndex = -1
    }

    // Entry i of a configuration list as an integer lo–hi; undefined when missing or malformed.
    function intEntry(list, i, lo, hi) {
        if (i >= list.length || list[i] === null || String(list[i]).trim() === "")
            return undefined
        const n = Number(list[i])
        return Number.isInteger(n) && n >= lo && n <= hi ? n : undefined
    }

    function boolEntry(list, i) {
        if (i >= list.length)
            return undefined
        const v = String(list[i]).trim().toLowerCase()
        if (v === "true" || v === "1")
            return true
        if (v === "false" || v === "0")
            return false
        return undefined
    }

    // Applies what the list holds; an entry that is missing or malformed leaves that setting as it is.
    function applyConfig(list) {
        const animated = intEntry(list, 3, 0, 1)
        if (animated !== undefined)
            setAnimated(animated)
        const language = intEntry(list, 4, 0, languageNames.length - 1)
        if (language !== undefined)
            selectLanguage(language)
        const backgroundOn = boolEntry(list, 5)
        const backgroundUrl = list.length > 6 && list[6] !== null ? String(list[6]) : ""
        if (backgroundOn !== undefined) {
            root.sourceCustomBackground = backgroundUrl
            root.isCustomBackground = backgroundOn && backgroundUrl !== ""
        }
        const size = intEntry(list, 7, 0, 1)
        if (size !== undefined)
            setTextSize(size)
        const colors = presetColors.slice()
        for (let c = 0; c < colors.length; ++c) {
            const rgb = [intEntry(list, 8 + 3 * c, 0, 255), intEntry(list, 9 + 3 * c, 0, 255),
                         intEntry(list, 10 + 3 * c, 0, 255)]
            if (rgb.every(v => v !== undefined))
                colors[c] = rgb
        }
        presetColors = colors
        const chosen = intEntry(list, 29, 0, colors.length - 1)
        if (chosen !== undefined)
            colorIndex = chosen
        const step = intEntry(list, 30, 0, 7)
        if (step !== undefined)
            brightness = step
        if (list.length > 31 && list[31] !== null && String(list[31]) !== "") {
            webUrl = String(list[31])
            root.globalSetting_url = webUrl
        }
        updateTextColor()
    }

    function applyDefaults() {
        setAnimated(0)
        langIndex = -1
        root.globalSetting_stringList = root.builtInStringList
        root.globalSetting_fontFamily = root.builtInStringList[0]
        root.globalSetting_langCode = ""
        root.translateStrings()
        root.isCustomBackground = false
        root.sourceCustomBackground = ""
        setTextSize(0)
        presetColors = defaultPresetColors
        colorIndex = 0
        brightness = 7
        webUrl = ""
        root.globalSetting_url = builtInUrl
        updateTextColor()
    }

    // The language file gives the strings; where it has fewer entries than the scene uses, the built-in
    // ones stand, so that a damaged or missing file cannot blank the interface.
    function selectLanguage(index) {
        if (index < 0 || index >= languageCodes.length)
            return
        const code = languageCodes[index]
        const loaded = ui_View.getGlobalStrings(code) || []
        const builtIn = root.builtInStringList
        const strings = []
        for (let i = 0; i < Math.max(loaded.length, builtIn.length); ++i)
            strings.push(i < loaded.length ? String(loaded[i] ?? "") : builtIn[i])
        if (strings[0] === "")
            strings[0] = builtIn[0]
        langIndex = index
        root.globalSetting_stringList = strings
        root.globalSetting_fontFamily = strings[0]
        root.globalSetting_langCode = code
        root.translateStrings()
    }

    function setAnimated(index) {
        animatedIndex = index
        root.animation_speed = index === 1 ? 10 : 800
    }

    function setTextSize(index) {
        sizeIndex = index
        root.globalSetting_size = index === 1 ? 12 : 11
    }

    function textAlpha(step) {
        return 45 + step * 210 / 7
    }

    function updateTextColor() {
        const c = presetColors[colorIndex]
        root.globalSetting_color = Rgb.toColor(c, textAlpha(brightness) / 255)
    }

    function chooseColor(index) {
        colorIndex = index
        updateTextColor()
    }

    // The palette gives the chosen preset a new colour.
    function setPresetColor(color) {
        const colors = presetColors.slice()
        colors[colorIndex] = Rgb.fromColor(color)
        presetColors = colors
        updateTextColor()
    }

    function toggleBackground() {
        if (root.isCustomBackground) {
            root.isCustomBackground = false
            return
        }
        const path = ui_View.getCustomFilePath()
        if (!path)
            return
        root.sourceCustomBackground = "file:" + path
        root.isCustomBackground = true
    }

    function configList() {
        const list = [configVersion, 0, 0, animatedIndex, langIndex, root.isCustomBackground,
                      root.sourceCustomBackground, sizeIndex]
        for (let c = 0; c < presetColors.length; ++c)
            list.push(presetColors[c][0], presetColors[c][1], presetColors[c][2])
        list.push(colorIndex, brightness, webUrl !== "" ? webUrl : root.globalSetting_url)
        return list
    }

    function apply() {
        ui_View.saveApConfig(configList())
        root.globalSettingOpen = false
    }

    function reset() {
        ui_View.resetApconfig()
        applyDefaults()
        const config = ui_View.loadApConfig()
        if (config && config.length > 0)
            applyConfig(config)
    }

    width: 340
    height: 420
    clip: true
    visible: panel.x < width

    Component.onCompleted: builtInUrl = root.globalSetting_url

    Connections {
        target: root
        function onGlobalSettingOpenChanged() {
            globalSetting.paletteOpen = false
            if (root.globalSettingOpen) {
                panel.active = true
                globalSetting.readFirmwareVersion()
            }
            // Opened before the program asked the scene to initialise (no mouse at start): the language
            // menu still lists what is installed.
            if (root.globalSettingOpen && globalSetting.languageNames.length === 0)
                globalSetting.listLanguages()
        }
        function onEmptyAreaPressed() {
            globalSetting.paletteOpen = false
        }
    }

    // The controls are made when the panel first opens: the scene starts without their cost.
    Loader {
        id: panel
        objectName: "panelContent"
        width: parent.width
        height: parent.height
        x: root.globalSettingOpen ? 0 : width
        active: false

        Behavior on x {
            NumberAnimation {
                duration: root.animation_speed * 0.8
                easing.type: Easing.OutQuad
            }
        }

        sourceComponent: Item {
            // The controls set their own state when used; changes from the program reach them here.
            Connections {
                target: globalSetting
                function onLangIndexChanged() {
                    languageList.setCurIndex(globalSetting.langIndex)
                }
                function onLanguageNamesChanged() {
                    languageList.setCurIndex(globalSetting.langIndex)
                }
                function onBrightnessChanged() {
                    brightnessSlider.setValue(globalSetting.brightness)
                }
            }

            Image {
                source: root.skinImage("list_center/globalsettingBackground")
            }

            Text {
                x: 18
                height: 37
                verticalAlignment: Text.AlignVCenter
                textFormat: Text.PlainText
                text: root.str(1)
                color: root.globalSetting_color
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size + 2
                font.bold: true
            }

            // FIRMWARE, in the title's row at the right.
            Row {
                objectName: "firmwareRow"
                x: parent.width - 18 - width
                height: 37
                spacing: 8

                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    textFormat: Text.PlainText
                    text: root.str(144)
                    color: root.globalSetting_color_enable
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }

                Text {
                    objectName: "firmwareVersion"
                    anchors.verticalCenter: parent.verticalCenter
                    width: Math.min(implicitWidth, 110)
                    elide: Text.ElideRight
                    textFormat: Text.PlainText
                    text: globalSetting.firmwareVersion
                    color: root.globalSetting_color
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }
            }

            Repeater {
                model: [root.str(28), root.str(29), root.str(30), root.str(33) + " " + root.str(34),
                        root.str(33) + " " + root.str(35), root.str(36)]

                Text {
                    required property int index
                    required property string modelData

                    x: 18
                    y: 47 + globalSetting.rowPitch * index
                    width: 106
                    height: 24
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    textFormat: Text.PlainText
                    text: modelData
                    color: root.globalSetting_color_enable
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }
            }

            // ANIMATED
            Row {
                x: 126
                y: 47
                height: 24
                spacing: 24

                RadioButton {
                    anchors.verticalCenter: parent.verticalCenter
                    chkStr: root.str(31)
                    accessibleName: root.str(28) + " " + chkStr
                    checked: globalSetting.animatedIndex === 0
                    onClicked: globalSetting.setAnimated(0)
                }

                RadioButton {
                    anchors.verticalCenter: parent.verticalCenter
                    chkStr: root.str(32)
                    accessibleName: root.str(28) + " " + chkStr
                    checked: globalSetting.animatedIndex === 1
                    onClicked: globalSetting.setAnimated(1)
                }
            }

            // BACKGROUND
            Checkbox {
                x: 126
                y: 47 + globalSetting.rowPitch * 2 + (24 - height) / 2
                autoToggle: false
                checked: root.isCustomBackground
                chkStr: checked ? root.str(31) : root.str(32)
                accessibleName: root.str(30)
                onClicked: globalSetting.toggleBackground()
            }

            // TEXT SIZE
            Row {
                x: 126
                y: 47 + globalSetting.rowPitch * 3
                height: 24
                spacing: 24

                RadioButton {
                    anchors.verticalCenter: parent.verticalCenter
                    chkStr: root.str(37)
                    checked: globalSetting.sizeIndex === 0
                    onClicked: globalSetting.setTextSize(0)
                }

                RadioButton {
                    anchors.verticalCenter: parent.verticalCenter
                    chkStr: root.str(38)
                    checked: globalSetting.sizeIndex === 1
                    onClicked: globalSetting.setTextSize(1)
                }
            }

            // TEXT COLOR: the seven presets, then the palette that recolours the chosen one.
            Row {
                x: 126
                y: 47 + globalSetting.rowPitch * 4
                height: 24
                spacing: 6

                Repeater {
                    model: globalSetting.presetColors

                    Rectangle {
                        required property int index
                        required property var modelData

                        anchors.verticalCenter: parent.verticalCenter
                        width: 16
                        height: 16
                        radius: 3
                        color: Rgb.toColor(modelData)
                        border.width: index === globalSetting.colorIndex ? 2 : 1
                        border.color: index === globalSetting.colorIndex ? "#FFFFFFFF" : "#FF2C3C4C"

                        Accessible.role: Accessible.RadioButton
                        Accessible.name: root.str(35) + " " + (index + 1)
                        Accessible.checkable: true
                        Accessible.checked: index === globalSetting.colorIndex
                        Accessible.onPressAction: globalSetting.chooseColor(index)

                        MouseArea {
                            anchors.fill: parent
                            anchors.margins: -3
                            onClicked: globalSetting.chooseColor(parent.index)
                        }
                    }
                }

                Image {
                    id: paletteButton
                    anchors.verticalCenter: parent.verticalCenter
                    width: 30
                    height: 16
                    source: root.skinImage("common/draw_palette")

                    Accessible.role: Accessible.Button
                    Accessible.name: root.str(163)
                    Accessible.checkable: true
                    Accessible.checked: globalSetting.paletteOpen
                    Accessible.onPressAction: globalSetting.paletteOpen = !globalSetting.paletteOpen

                    Rectangle {
                        anchors.fill: parent
                        color: "transparent"
                        radius: 2
                        border.width: 1
                        border.color: globalSetting.paletteOpen || paletteButtonArea.containsMouse
                                      ? root.globalSetting_color : "#FF2C3C4C"
                    }

                    TipArea {
                        id: paletteButtonArea
                        anchors.fill: parent
                        anchors.margins: -3
                        tip: root.str(163)
                        onClicked: globalSetting.paletteOpen = !globalSetting.paletteOpen
                    }
                }
            }

            // BRIGHTNESS
            Slider {
                id: brightnessSlider
                x: 118
                y: 47 + globalSetting.rowPitch * 5 + (24 - height) / 2
                name: root.str(36)
                // How opaque the text is.
                valueText: Math.round(globalSetting.textAlpha(value) * 100 / 255) + " %"
                value: globalSetting.brightness
                onMoved: function (value) {
                    globalSetting.brightness = value
                    globalSetting.updateTextColor()
                }
            }

            Image {
                x: 45
                y: 371
                source: root.skinImage("common/fram_2btn")
            }

            Button_2state {
                objectName: "resetButton"
                x: 55
                y: 379
                source0: root.skinImage("common/reset_0")
                source1: root.skinImage("common/reset_1")
                text: root.str(77)
                textX: 30
                onClicked: globalSetting.reset()
            }

            Button_2state {
                objectName: "applyButton"
                x: 175
                y: 379
                source0: root.skinImage("common/apply_0")
                source1: root.skinImage("common/apply_1")
                text: root.str(107)
                textX: 30
                onClicked: globalSetting.apply()
            }

            // LANGUAGE, last so that its list drops open over the rows below.
            DropdownList {
                id: languageList
                objectName: "languageList"
                x: 126
                width: 206
                y: 47 + globalSetting.rowPitch + (24 - height) / 2
                name: root.str(29)
                elements: globalSetting.languageNames
                Component.onCompleted: setCurIndex(globalSetting.langIndex)
                onListElementClicked: function (index) {
                    globalSetting.selectLanguage(index)
                }
            }

            // The palette: hue from left to right, saturation from top to bottom.
            Item {
                id: palettePopup
                x: 118
                y: 47 + globalSetting.rowPitch * 4 - height + 3
                width: palette.width + 12
                height: palette.height + 12
                visible: globalSetting.paletteOpen

                BorderImage {
                    anchors.fill: parent
                    source: root.skinImage("common/filelist_BASE")
                    border.left: 8
                    border.top: 8
                    border.right: 8
                    border.bottom: 8
                }

                Image {
                    id: palette
                    x: 6
                    y: 6
                    source: root.skinImage("common/draw_palette")

                    function colorAt(px, py) {
                        return Rgb.paletteColor(px, py, width, height)
                    }

                    Image {
                        readonly property var chosen: globalSetting.presetColors[globalSetting.colorIndex]
                        readonly property point at: Rgb.palettePoint(Rgb.toColor(chosen), palette.width,
                                                                     palette.height)

                        x: at.x - width / 2
                        y: at.y - height / 2
                        source: root.skinImage("common/draw_paletteIndex")
                    }

                    MouseArea {
                        anchors.fill: parent
                        Accessible.role: Accessible.ColorChooser
                        Accessible.name: root.str(35)
                        onPressed: function (mouse) {
                            globalSetting.setPresetColor(palette.colorAt(mouse.x, mouse.y))
                        }
                        onPositionChanged: function (mouse) {
                            globalSetting.setPresetColor(palette.colorAt(mouse.x, mouse.y))
                        }
                        onReleased: globalSetting.paletteOpen = false
                    }
                }
            }
        }
    }
}
