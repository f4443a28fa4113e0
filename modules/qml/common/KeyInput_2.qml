import QtQuick

// Key capture: a click arms the field, and the next key pressed anywhere on the desktop is taken when the
// scene's key-name table has a name for it; a key without a name leaves the field armed. A second click or a
// press on the background disarms it. The owner passes the key events in through keyEvent().
Item {
    id: keyInput

    // The key's USB usage code; 0 while the field is empty.
    property int keyCode: 0
    property bool armed: false
    // The scene's KeyCodeString instance.
    property var keyNames: typeof keyCodeString === "undefined" ? null : keyCodeString
    readonly property string keyName: keyCode > 0 ? nameOf(keyCode) : ""
    readonly property string caption: keyName === "" ? "KEY【 PRESS ANY 】" : "KEY 【 " + keyName + " 】"

    signal inputComplete(int usbCode)

    function nameOf(code) {
        if (!keyNames)
            return ""
        const name = keyNames.keycodeTostr(code)
        return name === undefined || name === null ? "" : String(name)
    }

    // Returns whether the event was taken.
    function keyEvent(isDown, usbCode) {
        if (!armed || !isDown || nameOf(usbCode) === "")
            return false
        keyCode = usbCode
        armed = false
        inputComplete(usbCode)
        return true
    }

    // Shows a stored key; a code without a name cannot be shown and empties the field.
    function setKeyCode(code) {
        const n = Number(code)
        keyCode = Number.isInteger(n) && nameOf(n) !== "" ? n : 0
    }

    function clear() {
        keyCode = 0
        armed = false
    }

    width: 180
    height: 26
    opacity: enabled ? 1.0 : 0.4

    // Pressed, the field waits for a key: a screen reader says so through its checked state.
    Accessible.role: Accessible.Button
    Accessible.name: caption
    Accessible.checkable: true
    Accessible.checked: armed
    Accessible.onPressAction: {
        if (enabled)
            armed = !armed
    }

    onEnabledChanged: {
        if (!enabled)
            armed = false
    }

    BorderImage {
        anchors.fill: parent
        source: root.skinImage("common/draw_inputValue")
        border.left: 4
        border.top: 4
        border.right: 4
        border.bottom: 4
    }

    Rectangle {
        anchors.fill: parent
        anchors.margins: 1
        radius: 3
        color: "transparent"
        border.width: 1
        border.color: root.globalSetting_color
        visible: keyInput.armed
    }

    Text {
        objectName: "caption"
        x: 8
        width: keyInput.width - 16
        anchors.verticalCenter: parent.verticalCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
        text: keyInput.caption
        color: keyInput.armed || mouseArea.containsMouse ? root.globalSetting_color : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: keyInput.armed = !keyInput.armed
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            keyInput.armed = false
        }
    }
}
