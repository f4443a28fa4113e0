import QtQuick

// A picture button with an optional caption. A button that shows no caption says what it does in its tip.
ImageButton {
    id: button

    property string text: ""
    // Left edge of the caption; below 0 the caption is centred.
    property int textX: -1

    accessibleName: text !== "" ? text : tip

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
}
