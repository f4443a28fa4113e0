import QtQuick
import "basic"

// The scene's root: a frameless 1000 × 600 window face, hidden until "run" starts the opening animation.
Item {
    id: root

    property int animation_speed: 800
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property string globalSetting_fontFamily: "Arial"
    property int globalSetting_size: 11

    signal msg_KB(bool isDown, int usbCode)
    signal emptyAreaPressed()

    // Called once at start-up, before "run", and only when the mouse was found.
    function initUI() {
        // The global-settings panel and the product frame initialise here, in that order.
    }

    function run() {
        root.visible = true
        openingAnimation.start()
    }

    // Busy guard: no input reaches the scene until the interval has passed.
    function setProtectUI(interval) {
        busyIndicator.visible = true
        ui_View.setEnabled(false)
        protectTimer.interval = interval
        protectTimer.restart()
    }

    function detectKeyboard(isDown, usbCode) {
        root.msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, buttonCode, x, y) {
    }

    width: 1000
    height: 600
    visible: false
    clip: true

    Timer {
        id: protectTimer
        interval: 1000
        repeat: false
        onRunningChanged: {
            if (!running) {
                ui_View.setEnabled(true)
                busyIndicator.visible = false
            }
        }
    }

    // The whole background is the window's drag handle; the press point stays under the cursor.
    MouseArea {
        id: dragArea

        property point pressPoint

        anchors.fill: parent
        onPressed: function (mouse) {
            pressPoint = Qt.point(mouse.x, mouse.y)
            root.emptyAreaPressed()
        }
        onPositionChanged: function (mouse) {
            if (!pressed)
                return
            ui_Ctl.onXChanged(mouse.x - pressPoint.x)
            ui_Ctl.onYChanged(mouse.y - pressPoint.y)
        }
    }

    Item {
        id: face
        anchors.fill: parent
        opacity: 0

        Rectangle {
            id: frame
            anchors.fill: parent
            anchors.margins: 4
            radius: 10
            border.color: "#3300FFFF"
            border.width: 1
            gradient: Gradient {
                GradientStop { position: 0.0; color: "#F2141A22" }
                GradientStop { position: 1.0; color: "#F2080B10" }
            }
        }

        Rectangle {
            id: topBar
            x: 4
            y: 4
            width: parent.width - 8
            height: 40
            radius: 10
            color: "#FF0E141B"

            Rectangle {
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                height: 1
                color: "#5500FFFF"
            }

            Text {
                anchors.left: parent.left
                anchors.leftMargin: 20
                anchors.verticalCenter: parent.verticalCenter
                text: "VESK"
                color: root.globalSetting_color
                font.family: root.globalSetting_fontFamily
                font.pixelSize: 18
                font.bold: true
                font.letterSpacing: 4
            }

            Rectangle {
                id: closeButton
                objectName: "closeButton"
                anchors.right: parent.right
                anchors.rightMargin: 10
                anchors.verticalCenter: parent.verticalCenter
                width: 28
                height: 28
                radius: 4
                color: closeArea.containsMouse ? "#3300FFFF" : "transparent"

                Text {
                    anchors.centerIn: parent
                    text: "\u2715"
                    color: closeArea.containsMouse ? root.globalSetting_color : root.globalSetting_color_enable
                    font.pixelSize: 16
                }

                MouseArea {
                    id: closeArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: closingAnimation.start()
                }
            }
        }
    }

    BusyIndicator {
        id: busyIndicator
        anchors.centerIn: parent
        z: 100
        textColor: root.globalSetting_color
        fontFamily: root.globalSetting_fontFamily
    }

    NumberAnimation {
        id: openingAnimation
        target: face
        property: "opacity"
        from: 0
        to: 1
        duration: root.animation_speed
        easing.type: Easing.InQuad
    }

    SequentialAnimation {
        id: closingAnimation
        NumberAnimation {
            target: root
            property: "height"
            to: 0
            duration: root.animation_speed
            easing.type: Easing.InQuad
        }
        ScriptAction {
            script: ui_Ctl.onMinimize()
        }
    }
}
