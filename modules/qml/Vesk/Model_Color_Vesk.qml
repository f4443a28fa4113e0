import QtQuick

// The mouse as the lighting page shows it: the model picture with its LED zones glowing in the chosen colour.
Item {
    id: mouseModel

    property color glowColor: "#00FFFF"
    // 0–1: how strongly the zones glow (the brightness chosen on the page).
    property real glowStrength: 1.0

    width: picture.implicitWidth
    height: picture.implicitHeight

    Image {
        id: picture
        source: root.skinImage("model_ms/model_Vesk_Color")
    }

    // The wheel, the DPI keys and the logo emblem, in picture coordinates.
    Repeater {
        model: [Qt.rect(111, 65, 18, 46), Qt.rect(113, 134, 14, 30), Qt.rect(104, 286, 32, 26)]

        Rectangle {
            required property rect modelData

            x: modelData.x
            y: modelData.y
            width: modelData.width
            height: modelData.height
            radius: Math.min(width, height) / 2
            color: mouseModel.glowColor
            opacity: 0.15 + 0.45 * mouseModel.glowStrength
        }
    }
}
