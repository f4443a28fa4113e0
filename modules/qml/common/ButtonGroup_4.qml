import QtQuick

// Four exclusive buttons on one track (the polling rates): a click chooses one and only one.
Item {
    id: buttonGroup

    property var valueForIndex: ["", "", "", ""]
    property int curIndex: -1
    // What a screen reader calls the group: the caption the page shows beside it.
    property string name: ""
    readonly property int segmentWidth: 60

    // Only for choices the user makes.
    signal btnClicked(int index)

    function setCurIndex(index) {
        const i = Number(index)
        curIndex = Number.isInteger(i) && i >= 0 && i < 4 ? i : -1
    }

    function getCurIndex() {
        return curIndex
    }

    function choose(index) {
        curIndex = index
        btnClicked(index)
    }

    width: base.implicitWidth
    height: base.implicitHeight
    opacity: enabled ? 1.0 : 0.4

    Accessible.role: Accessible.Grouping
    Accessible.name: name

    Image {
        id: base
        source: root.skinImage("common/btnGroup_4_BASE")
    }

    Repeater {
        model: 4

        Item {
            id: segment

            required property int index
            readonly property bool chosen: buttonGroup.curIndex === index
            readonly property string text: String(buttonGroup.valueForIndex[index] ?? "")

            x: buttonGroup.segmentWidth * index
            width: buttonGroup.segmentWidth
            height: buttonGroup.height

            Accessible.role: Accessible.RadioButton
            Accessible.name: text
            Accessible.checkable: true
            Accessible.checked: chosen
            Accessible.onPressAction: {
                if (buttonGroup.enabled)
                    buttonGroup.choose(index)
            }

            Image {
                visible: segment.chosen || mouseArea.containsMouse
                source: root.skinImage(segment.chosen ? "common/btnGroup_FILLER_1" : "common/btnGroup_FILLER_0")
            }

            Text {
                anchors.centerIn: parent
                width: Math.min(implicitWidth, segment.width - 6)
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: segment.text
                color: segment.chosen ? root.globalSetting_color : root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size
            }

            MouseArea {
                id: mouseArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: buttonGroup.choose(segment.index)
            }
        }
    }
}
