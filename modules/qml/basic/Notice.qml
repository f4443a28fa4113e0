import QtQuick

// A short message that fades by itself and never asks for a click. One at a time: a new message replaces the
// shown one and starts its time again.
Item {
    id: notice

    // How long the message stands before it fades, and how long the fade takes.
    property int holdTime: 4000
    property int fadeTime: 600
    readonly property alias text: label.text

    function show(message) {
        const s = message === undefined || message === null ? "" : String(message)
        if (s === "") {
            console.debug("notice without text not shown")
            return
        }
        label.text = s
        fade.stop()
        opacity = 1
        fade.start()
    }

    width: label.implicitWidth + 32
    height: 24
    opacity: 0
    visible: opacity > 0

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
        color: root.globalSetting_color
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size + 1
    }

    SequentialAnimation {
        id: fade
        objectName: "noticeFade"
        PauseAnimation {
            duration: notice.holdTime
        }
        NumberAnimation {
            target: notice
            property: "opacity"
            to: 0
            duration: notice.fadeTime
            easing.type: Easing.InQuad
        }
    }
}
