import QtQuick

// A number field: digits only, at most maxDigits of them; Enter, leaving the field, a press on the background
// or the scene's commitPendingEdits() commits the number clamped to minValue–maxValue. An emptied field keeps
// the last number. A value set from the program replaces what was typed and not yet committed.
Item {
    id: valueInput

    property int value: 0
    property int minValue: 0
    property int maxValue: 255
    property int maxDigits: 3
    property string preText: ""
    property string postText: ""
    // What a screen reader calls the field: by default the words around the number.
    property string name: (preText + " " + postText).replace(/[【】]/g, " ").replace(/\s+/g, " ").trim()
    readonly property bool editing: input.activeFocus
    // Typed since the last commit: the field shows a number that value does not hold yet.
    readonly property bool pending: input.edited

    // After every commit, with the number the field now holds.
    signal inputComplete(int value)

    function clamp(v) {
        return Math.max(minValue, Math.min(maxValue, v))
    }

    function setValue(v) {
        const n = Math.round(Number(v))
        value = clamp(isNaN(n) ? minValue : n)
        showValue()
    }

    // The field shows value; a number typed and not committed is dropped.
    function showValue() {
        input.edited = false
        input.text = String(value)
    }

    function commit() {
        const typed = input.text === "" ? NaN : parseInt(input.text, 10)
        value = isNaN(typed) ? clamp(value) : clamp(typed)
        showValue()
        inputComplete(value)
    }

    // Commits a number typed and not yet committed, and ends the editing: what was typed counts for what the
    // field showed while it was typed, not for whatever the page shows next. True when there was one.
    function commitPending() {
        const had = input.edited
        if (had)
            commit()
        input.focus = false
        return had
    }

    width: 80
    height: 24
    opacity: enabled ? 1.0 : 0.4

    onValueChanged: showValue()
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
            textFormat: Text.PlainText
            text: valueInput.preText
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }

        TextInput {
            id: input

            // Typed since the last commit: leaving the field commits it once, Enter always does.
            property bool edited: false

            Accessible.role: Accessible.EditableText
            Accessible.name: valueInput.name

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
            textFormat: Text.PlainText
            text: valueInput.postText
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }
    }

    // A click anywhere on the field starts editing, not only on the digits; a screen reader has the field.
    MouseArea {
        anchors.fill: parent
        visible: !input.activeFocus
        Accessible.ignored: true
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
        function onCommitPendingRequested() {
            valueInput.commitPending()
        }
    }
}
