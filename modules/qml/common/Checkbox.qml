import QtQuick

// A check box with its caption; a click toggles it unless the owner decides (autoToggle false).
Item {
    id: checkbox

    property bool checked: false
    property bool autoToggle: true
    property string chkStr: ""
    // What a screen reader calls the box: its caption, unless the owner names it otherwise.
    property string accessibleName: chkStr

    signal clicked()

    function toggle() {
        if (autoToggle)
            checked = !checked
        clicked()
    }

    width: mark.width + (chkStr === "" ? 0 : caption.implicitWidth + 6)
    height: Math.max(mark.height, caption.implicitHeight)
    opacity: enabled ? 1.0 : 0.4

    Accessible.role: Accessible.CheckBox
    Accessible.name: accessibleName
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onToggleAction: {
        if (enabled)
            toggle()
    }
    Accessible.onPressAction: {
        if (enabled)
            toggle()
    }

    Image {
        id: mark
        anchors.verticalCenter: parent.verticalCenter
        source: root.skinImage(checkbox.checked ? "common/checkbox_1" : "common/checkbox_0")
    }

    Text {
        id: caption
        x: mark.width + 6
        anchors.verticalCenter: parent.verticalCenter
        textFormat: Text.PlainText
        text: checkbox.chkStr
        color: checkbox.checked || mouseArea.containsMouse ? root.globalSetting_color
                                                           : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: checkbox.toggle()
    }
}
