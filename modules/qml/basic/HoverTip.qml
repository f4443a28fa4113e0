import QtQuick

// The scene's tooltip: one line beside a control that says what the control does, once the cursor has rested
// on it for a moment. One for the whole scene, over everything and kept inside the window, since the page
// area clips what lies in it. Controls reach it through root.showTip and root.hideTip (common/TipArea).
Item {
    id: hoverTip

    // The control whose tip is shown or about to be; null for none.
    property Item target: null
    property int delay: 600
    readonly property int margin: 4
    readonly property alias text: label.text

    // The cursor rests on `item`, whose tip is `message`; an empty message shows nothing.
    function show(item, message) {
        const s = message === undefined || message === null ? "" : String(message)
        if (!item || s === "") {
            hide(item)
            return
        }
        target = item
        label.text = s
        visible = false
        wait.restart()
    }

    // The cursor left `item`, or the user pressed it; a tip that belongs to another control stays.
    function hide(item) {
        if (item && item !== target)
            return
        wait.stop()
        target = null
        visible = false
    }

    // Under the control, or over it where the window ends below; never past the window's sides.
    function place() {
        const t = target
        if (!t || !t.visible || !parent) {
            hide(null)
            return
        }
        const top = t.mapToItem(parent, 0, 0)
        const below = top.y + t.height + margin
        x = Math.max(margin, Math.min(top.x + (t.width - width) / 2, parent.width - width - margin))
        y = below + height <= parent.height - margin ? below : Math.max(margin, top.y - height - margin)
        visible = true
    }

    width: Math.min(label.implicitWidth + 20, parent ? parent.width - 2 * margin : label.implicitWidth + 20)
    height: label.implicitHeight + 8
    visible: false
    z: 100

    Rectangle {
        anchors.fill: parent
        radius: 6
        color: "#F20A0E13"
        border.color: "#6600FFFF"
        border.width: 1
    }

    Text {
        id: label
        objectName: "tipText"
        x: 10
        width: hoverTip.width - 20
        anchors.verticalCenter: parent.verticalCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
        color: root.globalSetting_color
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    Timer {
        id: wait
        interval: hoverTip.delay
        onTriggered: hoverTip.place()
    }

    // A press on a resting control lands on the background.
    Connections {
        target: root
        function onEmptyAreaPressed() {
            hoverTip.hide(null)
        }
    }
}
