import QtQuick

// A button that drops open a FileList: opening it first asks the owner to refresh the list
// (requestToUpdateList), choosing a row closes it and shows the row's name on the button.
Item {
    id: fileListButton

    property alias fileList: list
    property bool opened: false
    property string curText: ""
    property int maxRows: 8
    // What a screen reader calls the button and its list.
    property string name: ""

    signal requestToUpdateList()
    signal fileSelected(int index, string name)

    function open() {
        requestToUpdateList()
        opened = true
    }

    function toggle() {
        if (opened)
            opened = false
        else
            open()
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
        text: fileListButton.curText
        color: fileListButton.opened || headerArea.containsMouse ? root.globalSetting_color
                                                                 : root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    MouseArea {
        id: headerArea
        anchors.fill: header
        hoverEnabled: true
        onClicked: fileListButton.toggle()
    }

    // The list picture is translucent; what lies under the open list must not show through it.
    Rectangle {
        visible: fileListButton.opened
        x: list.x + 2
        y: list.y + 2
        width: list.width - 4
        height: list.height - 4
        radius: 6
        color: "#F20A0E13"
    }

    FileList {
        id: list
        name: fileListButton.name
        visible: fileListButton.opened
        y: header.height + 2
        width: fileListButton.width
        height: Math.max(1, Math.min(count, fileListButton.maxRows)) * rowHeight + 12
        onRowClicked: function (index) {
            // The button shows the chosen name; a click on the chosen row keeps it chosen.
            curIndex = index
            fileListButton.curText = textXAt(index)
            fileListButton.opened = false
            fileListButton.fileSelected(index, fileListButton.curText)
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            fileListButton.opened = false
        }
    }
}
