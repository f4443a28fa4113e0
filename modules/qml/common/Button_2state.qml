import QtQuick

// An image button: the normal picture, the hover picture while the cursor is over it or while it is
// selected, and an optional caption. A button that shows no caption says what it does in its tip.
Item {
    id: button

    property url source0
    property url source1
    property bool selected: false
    property string text: ""
    property string tip: ""
    // What a screen reader calls the button.
    property string accessibleName: text !== "" ? text : tip
    // Left edge of the caption; below 0 the caption is centred.
    property int textX: -1
    // A resting (disabled) button still shows its tip, but does not light up as if it could be clicked.
    readonly property bool lit: selected || (enabled && mouseArea.containsMouse)

    signal clicked()

    width: picture.implicitWidth
    height: picture.implicitHeight

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: tip !== accessibleName ? tip : ""
    Accessible.onPressAction: {
        if (enabled)
            clicked()
    }

    Image {
        id: picture
        source: button.lit ? button.source1 : button.source0
    }

    Text {
        visible: button.text !== ""
        x: button.textX >= 0 ? button.textX : (button.width - width) / 2
        width: Math.min(implicitWidth, button.width - Math.max(button.textX, 0) - 4)
        anchors.verticalCenter: parent.verticalCenter
        textFormat: Text.PlainText
        text: button.text
        elide: Text.ElideRight
        color: button.lit ? root.globalSetting_color : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    TipArea {
        id: mouseArea
        anchors.fill: parent
        tip: button.tip
        onClicked: button.clicked()
    }
}
