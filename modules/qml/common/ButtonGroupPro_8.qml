import QtQuick

// Up to eight exclusive stage buttons (the DPI levels), each showing its value. A click chooses a stage; a
// right click, or a click on the chosen stage, opens the value menu for that stage.
Item {
    id: buttonGroup

    property int maxStage: 8
    property var valueForIndex: [0, 0, 0, 0, 0, 0, 0, 0]
    property var valueForMenuIndex: []
    property int curIndex: -1
    // The stage whose value menu is open, -1 while it is closed.
    property int menuIndex: -1
    // What a screen reader calls the group, and the tip of each stage (its value menu hides behind a right
    // click).
    property string name: ""
    property string stageTip: ""
    readonly property int stages: Math.max(1, Math.min(8, maxStage))
    readonly property int segmentWidth: 56

    // Only for choices the user makes.
    signal stageClicked(int index)
    signal stageValueChanged(int index, var value)

    function setCurIndex(index) {
        const i = Number(index)
        curIndex = Number.isInteger(i) && i >= 0 && i < stages ? i : -1
    }

    function getCurIndex() {
        return curIndex
    }

    function openMenu(index) {
        menuIndex = valueForMenuIndex.length > 0 ? index : -1
    }

    // A click on a stage: the chosen one opens its value menu, another one is chosen.
    function stagePressed(index, rightButton) {
        if (rightButton || curIndex === index) {
            openMenu(index)
            return
        }
        menuIndex = -1
        curIndex = index
        stageClicked(index)
    }

    // Takes entry m of the menu as the value of the stage whose menu is open.
    function chooseMenuEntry(m) {
        const stage = menuIndex
        menuIndex = -1
        if (stage < 0 || m < 0 || m >= valueForMenuIndex.length)
            return
        const values = valueForIndex.slice()
        values[stage] = valueForMenuIndex[m]
        valueForIndex = values
        stageValueChanged(stage, values[stage])
    }

    width: segmentWidth * stages
    height: base.implicitHeight
    z: menuIndex >= 0 ? 10 : 0
    opacity: enabled ? 1.0 : 0.4

    Accessible.role: Accessible.Grouping
    Accessible.name: name

    onStagesChanged: {
        if (curIndex >= stages)
            curIndex = stages - 1
        menuIndex = -1
    }

    Item {
        width: buttonGroup.width
        height: buttonGroup.height
        clip: true

        Image {
            id: base
            source: root.skinImage("common/btnGroup_8_BASE")
        }
    }

    Repeater {
        model: buttonGroup.stages

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
            Accessible.description: buttonGroup.stageTip
            Accessible.checkable: true
            Accessible.checked: chosen
            Accessible.onPressAction: {
                if (buttonGroup.enabled)
                    buttonGroup.stagePressed(index, false)
            }

            Image {
                visible: segment.chosen || mouseArea.containsMouse
                source: root.skinImage(segment.chosen ? "common/btnGroup2_FILLER_1" : "common/btnGroup2_FILLER_0")
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

            TipArea {
                id: mouseArea
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                tip: buttonGroup.stageTip
                onClicked: function (mouse) {
                    buttonGroup.stagePressed(segment.index, mouse.button === Qt.RightButton)
                }
            }
        }
    }

    ButtonGroupPro_8_Menu {
        id: menu
        visible: buttonGroup.menuIndex >= 0
        x: Math.max(0, Math.min(buttonGroup.segmentWidth * buttonGroup.menuIndex,
                                buttonGroup.width - width))
        y: buttonGroup.height + 2
        valueForMenuIndex: buttonGroup.valueForMenuIndex
        curValue: buttonGroup.menuIndex >= 0 ? buttonGroup.valueForIndex[buttonGroup.menuIndex] : undefined
        onMenuClicked: function (index) {
            buttonGroup.chooseMenuEntry(index)
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            buttonGroup.menuIndex = -1
        }
    }
}
