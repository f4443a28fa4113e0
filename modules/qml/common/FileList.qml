import QtQuick

// A scrolling list of rows, each a text at the left (textX) and one at the right (textR). A left click
// selects a row or, on the selected row, deselects it; a right click is reported for the owner's menu; a row
// can be renamed in place (editFileName), Enter reports the new name, Escape or a press elsewhere cancels.
Item {
    id: fileList

    property alias fileModel: rows
    property int curIndex: -1
    // The row being renamed, -1 when none.
    property int editIndex: -1
    property int rowHeight: 24
    // What a screen reader calls the list, and the tip of every row (for what a right click does).
    property string name: ""
    property string rowTip: ""
    readonly property int count: rows.count

    signal rowClicked(int index)
    signal rowRightClicked(int index)
    signal editFileName_completed(string oldName, string newName)

    function append(textX, textR) {
        rows.append({ "textX": String(textX), "textR": String(textR ?? "") })
    }

    // Before row index, or at the end when index is outside the list; the selection stays on its row.
    function insert(index, textX, textR) {
        const at = index >= 0 && index < rows.count ? index : rows.count
        rows.insert(at, { "textX": String(textX), "textR": String(textR ?? "") })
        if (curIndex >= at)
            ++curIndex
        if (editIndex >= at)
            ++editIndex
    }

    function remove(index) {
        if (index < 0 || index >= rows.count)
            return
        rows.remove(index)
        if (curIndex === index)
            curIndex = -1
        else if (curIndex > index)
            --curIndex
        if (editIndex === index)
            editIndex = -1
        else if (editIndex > index)
            --editIndex
    }

    function clear() {
        rows.clear()
        curIndex = -1
        editIndex = -1
    }

    function textXAt(index) {
        return index >= 0 && index < rows.count ? rows.get(index).textX : ""
    }

    function textRAt(index) {
        return index >= 0 && index < rows.count ? rows.get(index).textR : ""
    }

    // The row's whole line: textX followed by textR.
    function lineAt(index) {
        return textXAt(index) + textRAt(index)
    }

    function setTextX(index, text) {
        if (index >= 0 && index < rows.count)
            rows.setProperty(index, "textX", String(text))
    }

    function setCurIndex(index) {
        const i = Number(index)
        curIndex = Number.isInteger(i) && i >= 0 && i < rows.count ? i : -1
        if (curIndex >= 0)
            listView.positionViewAtIndex(curIndex, ListView.Contain)
    }

    function getCurIndex() {
        return curIndex
    }

    // Top edge of a row as the list shows it now (scrolling included), for placing a menu beside it; -1 when
    // the row is not built (outside the list or far out of view).
    function rowTop(index) {
        const item = index >= 0 && index < rows.count ? listView.itemAtIndex(index) : null
        return item ? listView.y + item.y - listView.contentY : -1
    }

    function editFileName(index) {
        if (index < 0 || index >= rows.count)
            return
        editIndex = index
        listView.positionViewAtIndex(index, ListView.Contain)
    }

    // A left click on a row: it is selected, or deselected when it was.
    function pressRow(index) {
        curIndex = curIndex === index ? -1 : index
        rowClicked(index)
    }

    function cancelEdit() {
        editIndex = -1
    }

    // Enter in the editor: an empty or unchanged name ends the editing without a report.
    function finishEdit(newName) {
        const index = editIndex
        editIndex = -1
        if (index < 0 || index >= rows.count)
            return
        const oldName = rows.get(index).textX
        if (newName.trim() === "" || newName === oldName)
            return
        editFileName_completed(oldName, newName)
    }

    width: 240
    height: 330

    Accessible.role: Accessible.List
    Accessible.name: name

    ListModel {
        id: rows
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
        anchors.margins: 6
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: rows
        // The list is a focus scope that gives the keyboard to its current row: the row being renamed.
        currentIndex: fileList.editIndex
        keyNavigationEnabled: false

        delegate: FocusScope {
            id: row

            required property int index
            required property string textX
            required property string textR
            readonly property bool selected: index === fileList.curIndex
            readonly property bool editing: index === fileList.editIndex

            width: listView.width
            height: fileList.rowHeight

            Accessible.role: Accessible.ListItem
            Accessible.name: (textX + " " + textR.trim()).trim()
            Accessible.description: fileList.rowTip
            Accessible.selectable: true
            Accessible.selected: selected
            Accessible.onPressAction: {
                if (fileList.enabled)
                    fileList.pressRow(index)
            }

            Rectangle {
                anchors.fill: parent
                radius: 3
                color: row.selected ? "#3300FFFF" : "#1A00FFFF"
                visible: row.selected || rowArea.containsMouse || row.editing
            }

            Text {
                id: right
                anchors.right: parent.right
                anchors.rightMargin: 6
                anchors.verticalCenter: parent.verticalCenter
                textFormat: Text.PlainText
                text: row.textR
                color: row.selected ? root.globalSetting_color : root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size
            }

            Text {
                x: 6
                width: right.x - x - 6
                anchors.verticalCenter: parent.verticalCenter
                visible: !row.editing
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: row.textX
                color: row.selected ? root.globalSetting_color : root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size
            }

            TipArea {
                id: rowArea
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                tip: fileList.rowTip
                onClicked: function (mouse) {
                    if (mouse.button === Qt.RightButton)
                        fileList.rowRightClicked(row.index)
                    else
                        fileList.pressRow(row.index)
                }
            }

            // Created only while the row is renamed, so that it starts from the row's current name.
            Loader {
                x: 6
                width: right.x - x - 6
                anchors.verticalCenter: parent.verticalCenter
                active: row.editing
                focus: true
                sourceComponent: TextInput {
                    Accessible.role: Accessible.EditableText
                    Accessible.name: row.textX
                    focus: true
                    text: row.textX
                    color: root.globalSetting_color
                    selectionColor: "#6600FFFF"
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                    clip: true
                    selectByMouse: true
                    Component.onCompleted: {
                        forceActiveFocus()
                        selectAll()
                    }
                    onAccepted: fileList.finishEdit(text)
                    Keys.onEscapePressed: fileList.cancelEdit()
                }
            }
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            fileList.cancelEdit()
        }
    }
}
