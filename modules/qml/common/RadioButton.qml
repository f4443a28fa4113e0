import QtQuick

// One choice of a set: a click asks to be chosen; the owner keeps one button of the set checked, typically
// by binding `checked` to its own index.
Item {
    id: radioButton

    property bool checked: false
    property string chkStr: ""
    // What a screen reader calls the choice: its caption, unless the owner names it otherwise.
    property string accessibleName: chkStr

    signal clicked()

    width: mark.width + (chkStr === "" ? 0 : caption.implicitWidth + 6)
    height: Math.max(mark.height, caption.implicitHeight)
    opacity: enabled ? 1.0 : 0.4

    Accessible.role: Accessible.RadioButton
    Accessible.name: accessibleName
    Accessible.checkable: true
    Accessible.checked: checked
    Accessible.onPressAction: {
        if (enabled)
            clicked()
    }

    Image {
        id: mark
        anchors.verticalCenter: parent.verticalCenter
        source: root.skinImage(radioButton.checked ? "common/checkbox_1" : "common/checkbox_0")
    }

    Text {
        id: caption
        x: mark.width + 6
        anchors.verticalCenter: parent.verticalCenter
        textFormat: Text.PlainText
        text: radioButton.chkStr
        color: radioButton.checked || mouseArea.containsMouse ? root.globalSetting_color
                                                              : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: true
        onClicked: radioButton.clicked()
    }
}
