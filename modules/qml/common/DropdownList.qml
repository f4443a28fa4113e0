import QtQuick

// A list that drops open under its button: choosing an entry closes it and reports the entry's index.
Item {
    id: dropdown

    property var elements: []
    property int curIndex: -1
    property bool opened: false
    property int maxRows: 6
    // What a screen reader calls the list: the caption the page shows beside it, or what the list is for.
    property string name: ""
    readonly property int rowHeight: 24
    readonly property string curText: curIndex >= 0 && curIndex < elements.length ? String(elements[curIndex]) : ""

    // Only for choices the user makes.
    signal listElementClicked(int index)

    function setCurIndex(index) {
        const i = Number(index)
        curIndex = Number.isInteger(i) && i >= 0 && i < elements.length ? i : -1
    }

    function getCurIndex() {
        return curIndex
    }

    function toggle() {
        opened = !opened && elements.length > 0
    }

    function choose(index) {
        opened = false
        curIndex = index
        listElementClicked(index)
    }

    width: 180
    height: header.height
    z: opened ? 10 : 0
    opacity: enabled ? 1.0 : 0.4

    Accessible.role: Accessible.ComboBox
    Accessible.name: name
    Accessible.description: curText
    Accessible.onPressAction: {
        if (enabled)
            toggle()
    }

    onElementsChanged: {
        if (curIndex >= elements.length)
            curIndex = -1
    }
    onEnabledChanged: {
        if (!enabled)
            opened = false
    }

    // Stretches between its left edge and the chevron cell.
    BorderImage {
        id: header
        width: parent.width
        height: 26
        source: root.skinImage("common/btnFileListFrame")
        border.left: 8
        border.right: 30
    }

    Text {
        x: 8
        width: header.width - 8 - 30
        anchors.verticalCenter: header.verticalCenter
        elide: Text.ElideRight
        textFormat: Text.PlainText
        text: dropdown.curText
        color: dropdown.opened || headerArea.containsMouse ? root.globalSetting_color
                                                           : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    MouseArea {
        id: headerArea
        anchors.fill: header
        hoverEnabled: true
        onClicked: dropdown.toggle()
    }

    Item {
        id: drop
        visible: dropdown.opened
        y: header.height + 2
        width: dropdown.width
        height: Math.min(dropdown.elements.length, dropdown.maxRows) * dropdown.rowHeight + 8

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

        ListView {
            id: listView
            anchors.fill: parent
            anchors.margins: 4
            clip: true
            boundsBehavior: Flickable.StopAtBounds
            model: dropdown.elements

            delegate: Item {
                id: row

                required property int index
                required property var modelData

                width: listView.width
                height: dropdown.rowHeight

                Accessible.role: Accessible.ListItem
                Accessible.name: String(modelData)
                Accessible.selectable: true
                Accessible.selected: index === dropdown.curIndex
                Accessible.onPressAction: dropdown.choose(index)

                Rectangle {
                    anchors.fill: parent
                    radius: 3
                    color: "#2600FFFF"
                    visible: rowArea.containsMouse
                }

                Text {
                    x: 6
                    width: row.width - 12
                    anchors.verticalCenter: parent.verticalCenter
                    elide: Text.ElideRight
                    textFormat: Text.PlainText
                    text: String(row.modelData)
                    color: row.index === dropdown.curIndex || rowArea.containsMouse ? root.globalSetting_color
                                                                                    : root.globalSetting_color_enable
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }

                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: dropdown.choose(row.index)
                }
            }
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            dropdown.opened = false
        }
    }
}
