import QtQuick
import "../common"

// The key page's second-level controls: one set per function of the function menu, only the shown
// function's set visible. They report what the user does; the page turns it into the key's code.
Item {
    id: controls

    // The key model, for the function numbers.
    property var keyModel: null
    property int shownFunction: -1
    property int macroMode: 0
    property bool fireKeyMode: false
    readonly property string macroName: macroList.curText
    readonly property int macroCount: macroCountInput.value
    readonly property int comboModifierEntry: comboModifier.curIndex
    readonly property int comboKey1Code: comboKey1.keyCode
    readonly property int comboKey2Code: comboKey2.keyCode
    readonly property int fireButtonEntry: fireButtonList.curIndex
    readonly property int fireKeyCode: fireKeyInput.keyCode
    readonly property int fireSpeedPosition: fireSpeed.value
    readonly property int fireShotCount: fireShots.value

    signal keyboardCaptured(int usbCode)
    signal mouseChosen(int entry)
    signal mediaChosen(int entry)
    signal comboChanged()
    signal macroListOpening()
    signal macroChosen()
    signal macroModeChosen(int mode)
    signal macroCountEntered()
    signal fireChanged()
    signal gunChosen(int entry)

    function textOr(index, fallback) {
        const s = root.str(index)
        return s !== "" ? s : fallback
    }

    // "×" for none, then the eight modifiers by their key names, L Ctrl … R Win.
    function modifierEntries() {
        const entries = ["×"]
        for (let i = 0; i < 8; ++i)
            entries.push(keyCodeString.keycodeTostr(0xE0 + i))
        return entries
    }

    // Only the captures of the shown function take keys.
    function keyEvent(isDown, usbCode) {
        for (const input of [keyboardInput, comboKey1, comboKey2, fireKeyInput]) {
            if (input.visible && input.keyEvent(isDown, usbCode))
                return true
        }
        return false
    }

    function clear() {
        keyboardInput.clear()
        mouseList.setCurIndex(-1)
        mediaList.setCurIndex(-1)
        comboModifier.setCurIndex(0)
        comboKey1.clear()
        comboKey2.clear()
        macroList.fileList.setCurIndex(-1)
        macroList.curText = ""
        macroMode = 0
        macroCountInput.setValue(1)
        fireKeyMode = false
        fireButtonList.setCurIndex(-1)
        fireKeyInput.clear()
        fireSpeed.setValue(7)
        fireShots.setValue(10)
        gunList.setCurIndex(-1)
    }

    // Shows what a code reads back as (the key model's readBack); the macro is the page's to show.
    function show(r) {
        switch (r.fn) {
        case keyModel.fnKeyboard:
            keyboardInput.setKeyCode(r.key1)
            break
        case keyModel.fnMouse:
            mouseList.setCurIndex(r.entry)
            break
        case keyModel.fnMedia:
            mediaList.setCurIndex(r.entry)
            break
        case keyModel.fnCombo:
            comboModifier.setCurIndex(r.modifier)
            comboKey1.setKeyCode(r.key1)
            comboKey2.setKeyCode(r.key2)
            break
        case keyModel.fnMacro:
            macroMode = r.mode
            break
        case keyModel.fnFire:
            fireKeyMode = r.fireKeyMode
            fireButtonList.setCurIndex(r.entry)
            fireKeyInput.setKeyCode(r.key1)
            fireSpeed.setValue(r.speed)
            fireShots.setValue(r.shots)
            break
        case keyModel.fnGun:
            gunList.setCurIndex(r.entry)
            break
        }
    }

    // The library's macros in the list; the chosen one stays chosen when it is still there.
    function setMacroNames(names) {
        const rows = macroList.fileList
        const chosen = macroList.curText
        rows.clear()
        for (const name of names)
            rows.append(name, "")
        rows.setCurIndex(names.indexOf(chosen))
    }

    function showMacro(position, name, repeat) {
        macroList.fileList.setCurIndex(position)
        macroList.curText = name
        macroCountInput.setValue(repeat)
    }

    Item {
        id: keyboardControls
        visible: controls.shownFunction === controls.keyModel.fnKeyboard

        KeyInput_2 {
            id: keyboardInput
            objectName: "keyboardInput"
            x: 490
            y: 80
            width: 235
            onInputComplete: function (usbCode) {
                controls.keyboardCaptured(usbCode)
            }
        }
    }

    Item {
        id: mouseControls
        visible: controls.shownFunction === controls.keyModel.fnMouse

        DropdownList {
            id: mouseList
            objectName: "mouseList"
            x: 490
            y: 80
            width: 235
            maxRows: 11
            name: root.str(47)
            elements: [root.str(51), root.str(52), root.str(53), root.str(54), root.str(55), root.str(109),
                root.str(110), "DPI +", "DPI -", root.str(95), root.str(94)]
            onListElementClicked: function (index) {
                controls.mouseChosen(index)
            }
        }
    }

    Item {
        id: mediaControls
        visible: controls.shownFunction === controls.keyModel.fnMedia

        DropdownList {
            id: mediaList
            objectName: "mediaList"
            x: 490
            y: 80
            width: 235
            maxRows: 10
            name: root.str(48)
            elements: Array.from({ length: 18 }, (_, i) => root.str(56 + i))
            onListElementClicked: function (index) {
                controls.mediaChosen(index)
            }
        }
    }

    Item {
        id: comboControls
        visible: controls.shownFunction === controls.keyModel.fnCombo

        DropdownList {
            id: comboModifier
            objectName: "comboModifier"
            x: 490
            y: 80
            width: 235
            maxRows: 9
            name: root.str(49)
            elements: controls.modifierEntries()
            onListElementClicked: controls.comboChanged()
        }

        KeyInput_2 {
            id: comboKey1
            objectName: "comboKey1"
            x: 490
            y: 120
            width: 235
            onInputComplete: controls.comboChanged()
        }

        KeyInput_2 {
            id: comboKey2
            objectName: "comboKey2"
            x: 490
            y: 156
            width: 235
            onInputComplete: controls.comboChanged()
        }
    }

    Item {
        id: macroControls
        visible: controls.shownFunction === controls.keyModel.fnMacro

        FileListButton {
            id: macroList
            objectName: "macroList"
            x: 490
            y: 80
            width: 235
            name: root.str(50)
            onRequestToUpdateList: controls.macroListOpening()
            onFileSelected: controls.macroChosen()
        }

        Column {
            x: 490
            y: 122
            spacing: 10

            Repeater {
                model: [96, 98, 99]

                RadioButton {
                    required property int index
                    required property int modelData

                    objectName: "macroMode" + index
                    chkStr: root.str(modelData)
                    checked: controls.macroMode === index
                    onClicked: {
                        controls.macroMode = index
                        controls.macroModeChosen(index)
                    }
                }
            }
        }

        ValueInput {
            id: macroCountInput
            objectName: "macroCount"
            x: 490
            y: 208
            width: 140
            value: 1
            maxValue: 65535
            maxDigits: 5
            postText: " " + root.str(97)
            onInputComplete: {
                controls.macroCountEntered()
            }
        }
    }

    Item {
        id: fireControls
        visible: controls.shownFunction === controls.keyModel.fnFire

        RadioButton {
            objectName: "fireMouseMode"
            x: 490
            y: 80
            chkStr: root.str(47)
            checked: !controls.fireKeyMode
            onClicked: {
                controls.fireKeyMode = false
                controls.fireChanged()
            }
        }

        DropdownList {
            id: fireButtonList
            objectName: "fireButtonList"
            x: 510
            y: 102
            width: 215
            name: root.str(47)
            elements: [root.str(51), root.str(52), root.str(53), root.str(54), root.str(55)]
            onListElementClicked: {
                controls.fireKeyMode = false
                controls.fireChanged()
            }
        }

        RadioButton {
            objectName: "fireKeyMode"
            x: 490
            y: 142
            chkStr: root.str(46)
            checked: controls.fireKeyMode
            onClicked: {
                controls.fireKeyMode = true
                controls.fireChanged()
            }
        }

        KeyInput_2 {
            id: fireKeyInput
            objectName: "fireKeyInput"
            x: 510
            y: 164
            width: 215
            onInputComplete: {
                controls.fireKeyMode = true
                controls.fireChanged()
            }
        }

        Text {
            x: 490
            y: 204
            textFormat: Text.PlainText
            text: root.str(3)
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }

        Slider {
            id: fireSpeed
            objectName: "fireSpeed"
            x: 490
            y: 224
            name: root.str(3)
            // A level, faster to the right, as on the lighting page.
            valueText: String(value + 1)
            value: 7
            onMoved: controls.fireChanged()
        }

        ValueInput {
            id: fireShots
            objectName: "fireShots"
            x: 490
            y: 254
            width: 140
            value: 10
            postText: " " + root.str(97)
            onInputComplete: controls.fireChanged()
        }
    }

    Item {
        id: gunControls
        visible: controls.shownFunction === controls.keyModel.fnGun

        DropdownList {
            id: gunList
            objectName: "gunList"
            x: 490
            y: 80
            width: 235
            name: controls.textOr(132, "GUN KEY")
            elements: [controls.textOr(115, "LOOP SWITCH"), controls.textOr(116, "TWO GUN LOOP"),
                controls.textOr(117, "THREE GUN LOOP")]
            onListElementClicked: function (index) {
                controls.gunChosen(index)
            }
        }
    }
}
