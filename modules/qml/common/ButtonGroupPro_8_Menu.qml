import QtQuick

// The value menu of a stage button: the 18 values on offer, the stage's own value lit.
Item {
    id: menu

    property var valueForMenuIndex: []
    property var curValue
    readonly property int columns: 3
    readonly property size cell: Qt.size(60, 24)

    signal menuClicked(int index)

    width: columns * cell.width + 16
    height: Math.ceil(Math.max(valueForMenuIndex.length, 1) / columns) * cell.height + 16

    // The list picture is translucent; what lies under an open menu must not show through it.
    Rectangle {
        anchors.fill: parent
        anchors.margins: 2
        radius: 6
        color: "#F20A0E13"
    }

    BorderImage {
        anchors.fill: parent
        source: root.skinImage("common/filelist_BASE")
        border.left: 8
        border.top: 8
        border.right: 8
        border.bottom: 8
    }

    // Presses inside the menu stay in it; a screen reader has the entries.
    MouseArea {
        anchors.fill: parent
        Accessible.ignored: true
    }

    Grid {
        x: 8
        y: 8
        columns: menu.columns

        Repeater {
            model: menu.valueForMenuIndex

            Item {
                id: entry

                required property int index
                required property var modelData
                readonly property bool current: String(modelData) === String(menu.curValue)

                width: menu.cell.width
                height: menu.cell.height

                Accessible.role: Accessible.MenuItem
                Accessible.name: String(modelData)
                Accessible.checkable: true
                Accessible.checked: current
                Accessible.onPressAction: menu.menuClicked(index)

                Rectangle {
                    anchors.fill: parent
                    anchors.margins: 1
                    radius: 3
                    color: "#2600FFFF"
                    visible: entryArea.containsMouse
                }

                Text {
                    anchors.centerIn: parent
                    textFormat: Text.PlainText
                    text: String(entry.modelData)
                    color: entry.current || entryArea.containsMouse ? root.globalSetting_color
                                                                   : root.globalSetting_color_enable
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }

                MouseArea {
                    id: entryArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: menu.menuClicked(entry.index)
                }
            }
        }
    }
}
