import QtQuick
import "../common"
import "../common/Rgb.js" as Rgb
import "Conversions.js" as Conv

// Up to eight colour stages in a row, one of them selected, with the palette and the R, G, B fields that
// edit the selected stage's colour. The row can be hidden when the owner selects the stage itself (the
// sensor page's DPI stages).
Item {
    id: colorGroup

    property int maxStage: 8
    property bool showStages: true
    property int curIndex: 0
    // Eight colours, each [R, G, B] 0–255; the stages beyond maxStage are kept as they came.
    property var colors: [[255, 0, 0], [255, 127, 0], [255, 255, 0], [0, 255, 0], [0, 255, 255], [0, 0, 255],
        [255, 0, 255], [255, 255, 255]]
    readonly property int stages: Math.max(1, Math.min(8, maxStage))
    readonly property int stagePitch: 30
    readonly property var curColor: colorAt(curIndex)
    readonly property int paletteY: showStages ? 36 : 0

    // Only for colours the user picks.
    signal colorEdited(int index, var rgb)
    signal stageClicked(int index)

    function colorAt(i) {
        const c = colors[i]
        return Array.isArray(c) && c.length === 3 ? c : [0, 0, 0]
    }

    // The palette's colour at (x, y) of its 200 × 120 picture.
    function paletteColor(px, py) {
        return Rgb.fromColor(Rgb.paletteColor(px, py, 200, 120))
    }

    function palettePoint(rgb) {
        return Rgb.palettePoint(Rgb.toColor(rgb), 200, 120)
    }

    // The 24 values of the eight colours, R, G, B each.
    function values24() {
        const out = []
        for (let i = 0; i < 8; ++i)
            out.push(...colorAt(i))
        return out
    }

    // Takes 24 values as the eight colours; any other list leaves the colours shown.
    function setValues24(list) {
        if (!list || list.length !== 24) {
            console.debug("colour stages: a list of", list ? list.length : 0, "values instead of 24 ignored")
            return false
        }
        const out = []
        for (let i = 0; i < 8; ++i)
            out.push([Conv.clampByte(list[3 * i]), Conv.clampByte(list[3 * i + 1]),
                      Conv.clampByte(list[3 * i + 2])])
        colors = out
        return true
    }

    function setColor(i, rgb) {
        if (i < 0 || i > 7)
            return
        const out = colors.slice()
        out[i] = [Conv.clampByte(rgb[0]), Conv.clampByte(rgb[1]), Conv.clampByte(rgb[2])]
        colors = out
    }

    function select(i) {
        curIndex = Math.max(0, Math.min(stages - 1, Number(i) || 0))
    }

    // The user chooses a stage: a number typed for the old one counts for it.
    function chooseStage(i) {
        root.commitPendingEdits()
        select(i)
        stageClicked(i)
    }

    function pick(rgb) {
        setColor(curIndex, rgb)
        colorEdited(curIndex, colorAt(curIndex))
    }

    function setChannel(channel, v) {
        const rgb = colorAt(curIndex).slice()
        rgb[channel] = Conv.clampByte(v)
        pick(rgb)
    }

    width: 235
    height: paletteY + 120 + 10 + 24

    onStagesChanged: {
        if (curIndex >= stages)
            curIndex = stages - 1
    }

    Repeater {
        model: colorGroup.showStages ? colorGroup.stages : 0

        Item {
            id: stage

            required property int index
            readonly property bool chosen: colorGroup.curIndex === index
            readonly property var rgb: colorGroup.colorAt(index)

            objectName: "colorStage" + index
            x: colorGroup.stagePitch * index
            width: 26
            height: 26

            Accessible.role: Accessible.RadioButton
            Accessible.name: root.str(35) + " " + (index + 1)
            Accessible.checkable: true
            Accessible.checked: chosen
            Accessible.onPressAction: colorGroup.chooseStage(index)

            Rectangle {
                anchors.fill: parent
                radius: 4
                color: "transparent"
                border.width: 2
                border.color: stage.chosen ? root.globalSetting_color : (stageArea.containsMouse ? "#6600FFFF"
                                                                                                : "#2c3c4c")
            }

            Rectangle {
                anchors.fill: parent
                anchors.margins: 4
                radius: 2
                color: Rgb.toColor(stage.rgb)
            }

            MouseArea {
                id: stageArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: colorGroup.chooseStage(stage.index)
            }
        }
    }

    Image {
        id: palette
        objectName: "palette"
        x: 17
        y: colorGroup.paletteY
        source: root.skinImage("common/draw_palette")

        Image {
            readonly property point at: colorGroup.palettePoint(colorGroup.curColor)

            x: at.x - 7
            y: at.y - 7
            source: root.skinImage("common/draw_paletteIndex")
        }

        MouseArea {
            anchors.fill: parent
            Accessible.role: Accessible.ColorChooser
            Accessible.name: root.str(35)
            onPressed: function (mouse) {
                colorGroup.pick(colorGroup.paletteColor(mouse.x, mouse.y))
            }
            onPositionChanged: function (mouse) {
                if (pressed)
                    colorGroup.pick(colorGroup.paletteColor(mouse.x, mouse.y))
            }
        }
    }

    // The fields follow the selected colour; a number typed into one changes that channel only.
    onCurColorChanged: {
        for (let c = 0; c < 3; ++c) {
            const field = channels.itemAt(c)
            if (field)
                field.setValue(curColor[c])
        }
    }

    Row {
        y: palette.y + 130
        spacing: 9

        Repeater {
            id: channels
            model: ["R ", "G ", "B "]

            ValueInput {
                required property int index
                required property string modelData

                objectName: "channel" + index
                width: 72
                preText: modelData
                Component.onCompleted: setValue(colorGroup.curColor[index])
                onInputComplete: function (v) {
                    colorGroup.setChannel(index, v)
                }
            }
        }
    }
}
