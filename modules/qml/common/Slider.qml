import QtQuick

// A slider of 8 positions, 0–7: a click or a drag picks the nearest position. Slider_11 reuses it with its
// own track.
Item {
    id: slider

    property int value: 0
    property int positions: 8
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

    width: track.implicitWidth
    height: track.implicitHeight
    opacity: enabled ? 1.0 : 0.4

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

    MouseArea {
        id: mouseArea

        function pick(x) {
            const p = slider.positionAt(x)
            if (p === slider.value)
                return
            slider.value = p
            slider.moved(p)
        }

        anchors.fill: parent
        anchors.topMargin: -4
        anchors.bottomMargin: -4
        hoverEnabled: true
        onPressed: function (mouse) {
            pick(mouse.x)
        }
        onPositionChanged: function (mouse) {
            if (pressed)
                pick(mouse.x)
        }
    }
}
