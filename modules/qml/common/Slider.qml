import QtQuick

// A slider of 8 positions, 0–7: a click or a drag picks the nearest position. Slider_11 reuses it with its
// own track. The read-out shows the position in the unit of what it stands for, which only the owner knows.
Item {
    id: slider

    property int value: 0
    property int positions: 8
    // What a screen reader calls the slider: the caption the page shows beside it.
    property string name: ""
    // The read-out; empty shows none. It stands above the track's right end, or after the track.
    property string valueText: ""
    property bool readoutBeside: false
    // Where position 0 sits on the track, and the distance between positions.
    property int firstX: 8
    property int step: 28
    property string baseName: "common/slider_BASE"
    property string fillerName: "common/slider_FILLER"
    readonly property int position: Math.max(0, Math.min(positions - 1, value))

    // Only for changes the user makes; a value set by the program does not emit it.
    signal moved(int value)

    function setValue(v) {
        const n = Math.round(Number(v))
        value = isNaN(n) ? 0 : Math.max(0, Math.min(positions - 1, n))
    }

    function positionAt(x) {
        return Math.max(0, Math.min(positions - 1, Math.round((x - firstX) / step)))
    }

    // A change the user makes, by the cursor or by a screen reader's step.
    function pick(p) {
        const n = Math.max(0, Math.min(positions - 1, p))
        if (n === value)
            return
        value = n
        moved(n)
    }

    width: track.implicitWidth
    height: track.implicitHeight
    opacity: enabled ? 1.0 : 0.4

    Accessible.role: Accessible.Slider
    Accessible.name: name
    Accessible.description: valueText
    Accessible.onIncreaseAction: {
        if (enabled)
            pick(value + 1)
    }
    Accessible.onDecreaseAction: {
        if (enabled)
            pick(value - 1)
    }

    Image {
        id: track
        source: root.skinImage(slider.baseName)
    }

    Item {
        width: slider.firstX + slider.step * slider.position + 4
        height: slider.height
        clip: true

        Image {
            source: root.skinImage(slider.fillerName + (mouseArea.containsMouse || mouseArea.pressed ? "_1" : "_0"))
        }
    }

    Text {
        objectName: "readout"
        x: slider.readoutBeside ? track.width + 10 : track.width - width - 4
        y: slider.readoutBeside ? (slider.height - height) / 2 : -height - 2
        visible: slider.valueText !== ""
        textFormat: Text.PlainText
        text: slider.valueText
        color: mouseArea.containsMouse || mouseArea.pressed ? root.globalSetting_color : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        anchors.topMargin: -4
        anchors.bottomMargin: -4
        hoverEnabled: true
        onPressed: function (mouse) {
            slider.pick(slider.positionAt(mouse.x))
        }
        onPositionChanged: function (mouse) {
            if (pressed)
                slider.pick(slider.positionAt(mouse.x))
        }
    }
}
