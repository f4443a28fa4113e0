import QtQuick

// Shown while the busy guard holds the scene: the text pulses between full and faint.
Item {
    id: busyIndicator

    width: 220
    height: 48
    visible: false

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: "#CC0B0F14"
        border.color: "#4000FFFF"
        border.width: 1
    }

    Text {
        id: label
        anchors.centerIn: parent
        textFormat: Text.PlainText
        text: "LOADING ......"
        color: root.globalSetting_color
        font.family: root.globalSetting_fontFamily
        font.pixelSize: 14
        font.bold: true

        SequentialAnimation on opacity {
            running: busyIndicator.visible
            loops: Animation.Infinite
            NumberAnimation {
                from: 1.0
                to: 0.2
                duration: 400
            }
            NumberAnimation {
                from: 0.2
                to: 1.0
                duration: 400
            }
        }
    }
}
