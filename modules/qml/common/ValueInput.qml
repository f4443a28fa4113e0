import QtQuick

// A number field: digits only, at most maxDigits of them; Enter, a click elsewhere or a press on the
// background commits the number clamped to minValue–maxValue. An emptied field keeps the last number.
Item {
    id: valueInput

    property int value: 0
    property int minValue: 0
    property int maxValue: 255
    property int maxDigits: 3
    property string preText: ""
    property string postText: ""
    readonly property bool editing: input.activeFocus

    // After every commit, with the number the field now holds.
    signal inputComplete(int value)

    function clamp(v) {
        return Math.max(minValue, Math.min(maxValue, v))
    }

    function setValue(v) {
        const n = Math.round(Number(v))
        value = clamp(isNaN(n) ? minValue : n)
        input.text = String(value)
    }

    function commit() {
        input.edited = false
        const typed = input.text === "" ? NaN : parseInt(input.text, 10)
        value = isNaN(typed) ? clamp(value) : clamp(typed)
        input.text = String(value)
        inputComplete(value)
    }

    width: 80
    height: 24
    opacity: enabled ? 1.0 : 0.4

    onValueChanged: {
        if (!input.activeFocus)
            input.text = String(value)
    }
    Component.onCompleted: input.text = String(value)

    BorderImage {
        anchors.fill: parent
        source: root.skinImage("common/draw_inputValue")
        border.left: 4
        border.top: 4
        border.right: 4
        border.bottom: 4
    }

    Row {
        anchors.centerIn: parent

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: valueInput.preText
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }

        TextInput {
            id: input

            // Typed since the last commit: leaving the field commits it once, Enter always does.
            property bool edited: false

            anchors.verticalCenter: parent.verticalCenter
            width: Math.max(contentWidth, 8)
            maximumLength: valueInput.maxDigits
            validator: RegularExpressionValidator {
                regularExpression: /[0-9]*/
            }
            color: activeFocus ? root.globalSetting_color : root.globalSetting_color_enable
            selectionColor: "#6600FFFF"
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
            selectByMouse: true
            onTextEdited: edited = true
            onAccepted: {
                valueInput.commit()
                focus = false
            }
            onActiveFocusChanged: {
                if (!activeFocus && edited)
                    valueInput.commit()
            }
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: valueInput.postText
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }
    }

    // A click anywhere on the field starts editing, not only on the digits.
    MouseArea {
        anchors.fill: parent
        visible: !input.activeFocus
        onClicked: {
            input.forceActiveFocus()
            input.selectAll()
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            input.focus = false
        }
    }
}
