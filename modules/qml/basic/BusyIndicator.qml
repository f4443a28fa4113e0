import QtQuick

// Shown while the busy guard holds the scene: the text pulses between full and faint. The item is visible for
// the whole wait, but its box shows only once the wait has lasted showDelay: a quick device check does not
// flash it. The box is built the first time it shows; the scene needs no font before then.
Item {
    id: busyIndicator

    property int showDelay: 150
    // The wait has lasted showDelay; false again once it ends.
    property bool waitedLong: false
    property bool boxBuilt: false

    width: 220
    height: 48
    visible: false
    onVisibleChanged: {
        if (!visible)
            waitedLong = false
    }

    Timer {
        interval: busyIndicator.showDelay
        running: busyIndicator.visible && !busyIndicator.waitedLong
        onTriggered: {
            busyIndicator.boxBuilt = true
            busyIndicator.waitedLong = true
        }
    }

    Loader {
        anchors.fill: parent
        active: busyIndicator.boxBuilt
        visible: busyIndicator.waitedLong
        sourceComponent: Item {
            Rectangle {
                anchors.fill: parent
                radius: 6
                color: "#CC0B0F14"
                border.color: "#4000FFFF"
                border.width: 1
            }

            Text {
                id: label
                objectName: "busyLabel"
                anchors.centerIn: parent
                textFormat: Text.PlainText
                text: "LOADING ......"
                color: root.globalSetting_color
                font.family: root.globalSetting_fontFamily
                font.pixelSize: 14
                font.bold: true

                SequentialAnimation on opacity {
                    running: busyIndicator.waitedLong
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
    }
}
