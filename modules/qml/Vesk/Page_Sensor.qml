import QtQuick
import "../common"
import "../common/Rgb.js" as Rgb
import "Conversions.js" as Conv

// The sensor page: polling rate, the system's pointer settings of the current profile, the DPI stages with
// their indicator LED colours, and the current stage. Nothing reaches the mouse before Apply.
Item {
    id: sensorPage
    objectName: "sensorPage"

    readonly property var rateTexts: ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"]
    // The indicator's fixed palette, used while the LED twinkle type is 0.
    readonly property var ledPalette: [[255, 0, 0], [0, 255, 0], [0, 0, 255], [255, 0, 255], [0, 255, 255],
        [255, 255, 0], [255, 255, 255], [255, 127, 0]]
    property int maxStage: 8
    // 0: each stage holds a colour number of the fixed palette; otherwise an RGB colour.
    property int ledKind: 0
    property int rateIndex: 3
    property int cursorPos: 5
    property int scrollPos: 2
    property int doubleClickPos: 5
    // DPI of the eight stages, as shown (multiples of the DPI step).
    property var dpiValues: [400, 800, 1600, 2400, 3200, 4800, 6400, 8000]
    property int stageIndex: 1
    // Colour numbers as read: a number outside the palette is shown as its first colour but kept.
    property var ledNumbers: [0, 1, 2, 3, 4, 5, 6, 7]
    readonly property int stages: Math.max(1, Math.min(8, maxStage))

    // The eight stages in the frame's DPI steps, then the same eight again, as the mouse's block holds them.
    function dpi16() {
        const eight = dpiValues.map(d => Conv.dpiByte(d, mainVesk.dpiBase))
        return eight.concat(eight)
    }

    function ledColorOf(stage) {
        if (ledKind === 0) {
            const c = ledPalette[ledNumbers[stage]]
            return c === undefined ? ledPalette[0] : c
        }
        return ledColors.colorAt(stage)
    }

    function setDpiFromDevice(list) {
        if (!list || list.length < 8) {
            console.debug("DPI stages: a list of", list ? list.length : 0, "values ignored")
            return
        }
        const out = []
        for (let i = 0; i < 8; ++i)
            out.push(Conv.dpiOfByte(list[i], mainVesk.dpiBase))
        dpiValues = out
    }

    function setLedNumbers(list) {
        if (!list || list.length !== 8) {
            console.debug("LED colour numbers: a list of", list ? list.length : 0, "values ignored")
            return
        }
        ledNumbers = list.map(n => Conv.clampByte(n))
    }

    function chooseLedNumber(n) {
        const out = ledNumbers.slice()
        out[stageIndex] = n
        ledNumbers = out
    }

    function initUI() {
        const most = Number(ui_View.vesk_GetMaxDpiStage())
        if (most >= 1)
            maxStage = Math.min(most, 8)
        else
            console.debug("max DPI stage", most, "unusable, keeping", maxStage)
        ledKind = Number(ui_View.vesk_89H_GetRGBLedTwinkle())
        rateIndex = Conv.rateButton(ui_View.vesk_83H_GetReportRate())
        cursorPos = Conv.clampInt(ui_View.getCursorSpeed(), 0, 10, cursorPos)
        scrollPos = Conv.clampInt(ui_View.getVerticalScrollLines(), 0, 10, scrollPos)
        doubleClickPos = Conv.clampInt(ui_View.getDoubleClickSpeed(), 0, 10, doubleClickPos)
        const stage = ui_View.vesk_84H_GetDPIStage()
        setDpiFromDevice(ui_View.vesk_8CH_GetDpi8Stage())
        stageIndex = Conv.stageButton(stage, stages)
        dpiGroup.valueForMenuIndex = mainVesk.dpiValue
        ledColors.setValues24(ui_View.vesk_8CH_GetDpi8Color())
        setLedNumbers(ui_View.vesk_8CH_GetDpi8Io())
    }

    function translateStrings() {
        // Every text is bound to the string list.
    }

    // The current profile's factory values, shown; sent only by a later Apply. The busy guard is the caller's.
    function pageReset() {
        const p = ui_View.vesk_82H_GetCurrentProfile()
        const sw = ui_View.vesk_getDefaultProfile("profile_sw", p)
        const fw = ui_View.vesk_getDefaultProfile("profile_fw", p)
        const other = ui_View.vesk_getDefaultProfile("other_fw", p)
        const fw0 = ui_View.vesk_getDefaultProfile("profile_fw", 0)
        const m = mouseLayout
        if (other.length > Math.max(m.otherStage, m.otherRate)) {
            rateIndex = Conv.rateButton(other[m.otherRate])
            stageIndex = Conv.stageButton(other[m.otherStage], stages)
        } else {
            console.debug("sensor defaults: no other_fw for profile", p)
        }
        if (sw.length > Math.max(m.swCursorSpeed, m.swScrollLines, m.swDoubleClick)) {
            cursorPos = Conv.clampInt(sw[m.swCursorSpeed], 0, 10, cursorPos)
            scrollPos = Conv.clampInt(sw[m.swScrollLines], 0, 10, scrollPos)
            doubleClickPos = Conv.clampInt(sw[m.swDoubleClick], 0, 10, doubleClickPos)
        } else {
            console.debug("sensor defaults: no profile_sw for profile", p)
        }
        if (fw.length >= m.blockSize) {
            setDpiFromDevice(fw.slice(m.dpi8Stage, m.dpi8Stage + m.dpiStageCount))
            ledColors.setValues24(fw.slice(m.dpi8Color, m.dpi8Color + m.dpi8ColorCount))
        } else {
            console.debug("sensor defaults: no profile_fw for profile", p)
        }
        if (fw0.length >= m.dpi8Io + m.dpi8IoCount)
            setLedNumbers(fw0.slice(m.dpi8Io, m.dpi8Io + m.dpi8IoCount))
        else
            console.debug("sensor defaults: no profile_fw for profile 0")
    }

    // The pointer settings too wait for the profile's values: the store keeps them with the profile.
    function pageApply() {
        root.commitPendingEdits()
        if (!mainVesk.maySend("sensor settings"))
            return
        ui_View.vesk_03H_SetReportRate(Conv.rateValue(rateIndex))
        ui_View.setCursorSpeed(cursorPos)
        ui_View.setVerticalScrollLines(scrollPos)
        ui_View.setDoubleClickSpeed(doubleClickPos)
        if (ledKind === 0)
            ui_View.vesk_0CH_SetDpi8Io(ledNumbers)
        else
            ui_View.vesk_0CH_SetDpi8Color(ledColors.values24())
        ui_View.vesk_0CH_SetDpi8Stage(dpi16())
        ui_View.vesk_04H_SetDPIStage(Conv.stageValue(stageIndex, stages))
    }

    width: 759
    height: 442

    // Controls that the user changed no longer follow their bindings: the page puts them in place itself.
    onRateIndexChanged: rateGroup.setCurIndex(rateIndex)
    onCursorPosChanged: cursorSlider.setValue(cursorPos)
    onScrollPosChanged: scrollSlider.setValue(scrollPos)
    onDoubleClickPosChanged: doubleClickSlider.setValue(doubleClickPos)
    onDpiValuesChanged: dpiGroup.valueForIndex = dpiValues
    onStageIndexChanged: dpiGroup.setCurIndex(stageIndex)
    onStagesChanged: {
        if (stageIndex >= stages)
            stageIndex = stages - 1
    }

    Image {
        source: root.skinImage("list_center/fnCommonBackground")
    }

    Repeater {
        model: [{ text: 100, y: 30 }, { text: 101, y: 80 }, { text: 102, y: 120 }, { text: 103, y: 160 },
            { text: 104, y: 220 }, { text: 105, y: 290 }]

        Text {
            required property var modelData

            x: 30
            y: modelData.y
            textFormat: Text.PlainText
            text: root.str(modelData.text)
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }
    }

    ButtonGroup_4 {
        id: rateGroup
        objectName: "rateGroup"
        x: 200
        y: 24
        valueForIndex: sensorPage.rateTexts
        name: root.str(100)
        Component.onCompleted: setCurIndex(sensorPage.rateIndex)
        onBtnClicked: function (index) {
            sensorPage.rateIndex = index
        }
    }

    Slider_11 {
        id: cursorSlider
        objectName: "cursorSlider"
        x: 200
        y: 80
        name: root.str(101)
        valueText: String(Conv.pointerSpeed(value))
        readoutBeside: true
        value: sensorPage.cursorPos
        onMoved: function (v) {
            sensorPage.cursorPos = v
        }
    }

    Slider_11 {
        id: scrollSlider
        objectName: "scrollSlider"
        x: 200
        y: 120
        name: root.str(102)
        valueText: {
            const lines = Conv.scrollLines(value)
            return lines + " " + root.str(lines === 1 ? 164 : 165)
        }
        readoutBeside: true
        value: sensorPage.scrollPos
        onMoved: function (v) {
            sensorPage.scrollPos = v
        }
    }

    Slider_11 {
        id: doubleClickSlider
        objectName: "doubleClickSlider"
        x: 200
        y: 160
        name: root.str(103)
        valueText: Conv.doubleClickMs(value) + " ms"
        readoutBeside: true
        value: sensorPage.doubleClickPos
        onMoved: function (v) {
            sensorPage.doubleClickPos = v
        }
    }

    // The LED colour of each stage, under its button.
    Repeater {
        model: sensorPage.stages

        Rectangle {
            required property int index
            readonly property var rgb: sensorPage.ledColorOf(index)

            x: dpiGroup.x + dpiGroup.segmentWidth * index + 10
            y: dpiGroup.y + dpiGroup.height + 3
            width: dpiGroup.segmentWidth - 20
            height: 3
            radius: 1
            color: Rgb.toColor(rgb)
        }
    }

    // The selected stage's colour: a choice of the fixed palette, or any colour.
    Row {
        objectName: "ledNumbers"
        x: 200
        y: 284
        spacing: 6
        visible: sensorPage.ledKind === 0

        Repeater {
            model: sensorPage.ledPalette

            Item {
                id: swatch

                required property int index
                required property var modelData
                readonly property bool chosen: sensorPage.ledNumbers[sensorPage.stageIndex] === index

                objectName: "ledNumber" + index
                width: 26
                height: 26

                Accessible.role: Accessible.RadioButton
                Accessible.name: root.str(35) + " " + (index + 1)
                Accessible.checkable: true
                Accessible.checked: chosen
                Accessible.onPressAction: sensorPage.chooseLedNumber(index)

                Rectangle {
                    anchors.fill: parent
                    radius: 4
                    color: "transparent"
                    border.width: 2
                    border.color: swatch.chosen ? root.globalSetting_color
                                                : (swatchArea.containsMouse ? "#6600FFFF" : "#2c3c4c")
                }

                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 4
                    radius: 2
                    color: Rgb.toColor(swatch.modelData)
                }

                MouseArea {
                    id: swatchArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: sensorPage.chooseLedNumber(swatch.index)
                }
            }
        }
    }

    ColorGroup_8 {
        id: ledColors
        objectName: "ledColors"
        x: 183
        y: 262
        visible: sensorPage.ledKind !== 0
        showStages: false
        maxStage: 8
        curIndex: sensorPage.stageIndex
        colors: [[255, 0, 0], [0, 255, 0], [0, 0, 255], [255, 0, 255], [0, 255, 255], [255, 255, 0],
            [255, 255, 255], [255, 127, 0]]
    }

    Image {
        x: 485
        y: 370
        source: root.skinImage("common/fram_2btn")
    }

    Button_2state {
        objectName: "sensorReset"
        x: 495
        y: 378
        source0: root.skinImage("common/reset_0")
        source1: root.skinImage("common/reset_1")
        text: root.str(77)
        textX: 30
        onClicked: {
            root.setProtectUI(800)
            sensorPage.pageReset()
        }
    }

    Button_2state {
        objectName: "sensorApply"
        x: 615
        y: 378
        source0: root.skinImage("common/apply_0")
        source1: root.skinImage("common/apply_1")
        text: root.str(107)
        textX: 30
        onClicked: {
            root.setProtectUI(1600)
            sensorPage.pageApply()
        }
    }

    // Last, so that the value menu opens over the LED row.
    ButtonGroupPro_8 {
        id: dpiGroup
        objectName: "dpiGroup"
        x: 200
        y: 214
        maxStage: sensorPage.stages
        valueForIndex: sensorPage.dpiValues
        valueForMenuIndex: mainVesk.dpiValue
        name: root.str(104)
        stageTip: root.str(158)
        Component.onCompleted: setCurIndex(sensorPage.stageIndex)
        // The LED fields follow the stage: a number typed for the old one counts for it.
        onStageClicked: function (index) {
            root.commitPendingEdits()
            sensorPage.stageIndex = index
        }
        onStageValueChanged: function (index, value) {
            const out = sensorPage.dpiValues.slice()
            out[index] = Number(value)
            sensorPage.dpiValues = out
        }
    }
}
