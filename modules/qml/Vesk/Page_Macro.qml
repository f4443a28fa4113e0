import QtQuick
import "../common"

// The macro page: the macro library at the left, the selected macro's lines in the middle and the tools that
// edit them at the right. Every edit writes the whole macro back to its library file at once; the page has
// no apply or reset of its own.
Item {
    id: macroPage
    objectName: "macroPage"

    // The selected macro's name; empty when none is selected.
    readonly property string macroName: libraryList.curIndex >= 0 ? libraryList.textXAt(libraryList.curIndex) : ""
    property bool recording: false
    // One copied or cut line; a cut line pastes once, a copied one any number of times.
    property string clipboard: ""
    property bool clipboardOnce: false
    // The library row whose right-click menu is open, -1 while it is closed.
    property int menuIndex: -1
    // Whether the library has been listed: when the page is first shown, or when asked to (initUI).
    property bool listed: false

    readonly property string downTag: "    [Down]"
    readonly property string upTag: "      [Up]"
    readonly property string delayTag: "   [Delay]"
    readonly property int tagLength: 10
    readonly property var mouseButtonTexts: ["MOUSE【 LEFT 】", "MOUSE【 RIGHT 】", "MOUSE【 MIDDLE 】",
        "MOUSE【 BACKWARD 】", "MOUSE【 FORWARD 】"]

    function initUI() {
        listLibrary("")
    }

    // The header and menu texts follow the string list through their bindings.
    function translateStrings() {
    }

    // Every key event of the desktop: recorded while recording, otherwise offered to the armed key capture.
    function keyEvent(isDown, usbCode) {
        if (recording) {
            const name = keyName(usbCode)
            if (name === "") {
                console.debug("macro page: key code", usbCode, "has no name; not recorded")
                return
            }
            actionList.append(name, isDown ? downTag : upTag)
            return
        }
        keyInput.keyEvent(isDown, usbCode)
    }

    function keyName(code) {
        const name = keyCodeString.keycodeTostr(code)
        return name === undefined || name === null ? "" : String(name)
    }

    // The library from the files, with the macro keepName selected when it is still there.
    function listLibrary(keepName) {
        listed = true
        menuIndex = -1
        libraryList.clear()
        const files = ui_View.getMacroIniNames()
        for (let i = 0; i < files.length; ++i) {
            const file = String(files[i])
            if (file.length > 4)
                libraryList.append(file.slice(0, -4), "")
        }
        selectMacro(keepName === "" ? -1 : indexOfMacro(keepName))
    }

    function indexOfMacro(name) {
        for (let i = 0; i < libraryList.count; ++i) {
            if (libraryList.textXAt(i) === name)
                return i
        }
        return -1
    }

    function selectMacro(index) {
        libraryList.setCurIndex(index)
        loadLines()
    }

    // The selected macro's lines into the action list; a line is shown as its payload and its tag.
    function loadLines() {
        actionList.clear()
        if (macroName === "")
            return
        const lines = ui_View.loadMacroIni(macroName)
        for (let i = 0; i < lines.length; ++i)
            appendLine(lines[i])
    }

    function splitLine(line) {
        const text = String(line)
        const cut = Math.max(0, text.length - tagLength)
        return [text.slice(0, cut), text.slice(cut)]
    }

    function appendLine(line) {
        const parts = splitLine(line)
        actionList.append(parts[0], parts[1])
    }

    // Before the selected row, or at the end when no row is selected.
    function insertLine(line) {
        const parts = splitLine(line)
        actionList.insert(actionList.curIndex, parts[0], parts[1])
    }

    function lines() {
        const all = []
        for (let i = 0; i < actionList.count; ++i)
            all.push(actionList.lineAt(i))
        return all
    }

    // After every edit: the whole macro goes to its file. A refused save (the file is gone) leaves nothing
    // to edit, so the list empties rather than show lines that are stored nowhere.
    function saveLines() {
        if (macroName === "")
            return false
        if (ui_View.saveMacroIni(macroName, lines()) === true)
            return true
        console.debug("macro page: saving", macroName, "failed; its lines are cleared")
        actionList.clear()
        return false
    }

    function addMacro() {
        if (recording)
            return
        const name = ui_View.createMacroIni()
        if (name === undefined || name === null || String(name) === "") {
            console.debug("macro page: no new macro could be created")
            return
        }
        libraryList.append(String(name), "")
        selectMacro(libraryList.count - 1)
    }

    function deleteMacro() {
        if (recording || macroName === "")
            return
        const index = libraryList.curIndex
        if (ui_View.deleteMacroIni(macroName) !== true) {
            console.debug("macro page: deleting", macroName, "failed; it stays in the list")
            return
        }
        libraryList.remove(index)
        actionList.clear()
    }

    function startRecording() {
        if (recording || macroName === "")
            return
        keyInput.armed = false
        actionList.clear()
        recording = true
    }

    function stopRecording() {
        if (!recording)
            return
        recording = false
        saveLines()
    }

    function addKey() {
        if (recording || macroName === "")
            return
        const name = keyName(keyInput.keyCode)
        if (name === "")
            return
        insertLine(name + downTag)
        insertLine(name + upTag)
        saveLines()
    }

    function addMouseButton() {
        const entry = mouseList.curIndex
        if (recording || macroName === "" || entry < 0 || entry >= mouseButtonTexts.length)
            return
        const name = keyCodeString.mousecodeTostr(mouseLayout.firstMouseCode + entry)
        if (name === undefined || name === null)
            return
        insertLine(name + downTag)
        insertLine(name + upTag)
        saveLines()
    }

    // A delay below 10 ms is no pause the mouse can make: Enter turns it into 10 ms.
    function delayCommitted(value) {
        if (value < 10)
            delayInput.setValue(10)
    }

    function addDelay() {
        if (recording || macroName === "")
            return
        root.commitPendingEdits()
        insertLine(String(delayInput.value) + delayTag)
        saveLines()
    }

    function deleteRow() {
        const index = actionList.curIndex
        if (recording || macroName === "" || index < 0)
            return
        actionList.remove(index)
        saveLines()
    }

    function cutRow() {
        const index = actionList.curIndex
        if (recording || macroName === "" || index < 0)
            return
        clipboard = actionList.lineAt(index)
        clipboardOnce = true
        actionList.remove(index)
        saveLines()
    }

    function copyRow() {
        const index = actionList.curIndex
        if (recording || index < 0)
            return
        clipboard = actionList.lineAt(index)
        clipboardOnce = false
    }

    function pasteRow() {
        if (recording || macroName === "" || clipboard === "")
            return
        insertLine(clipboard)
        if (clipboardOnce)
            clipboard = ""
        saveLines()
    }

    function openMenu(index) {
        if (recording)
            return
        menuIndex = index
    }

    function menuChosen(action) {
        const index = menuIndex
        menuIndex = -1
        const name = libraryList.textXAt(index)
        if (name === "")
            return
        if (action === "load") {
            ui_View.loadMacroIniFromFile(name)
            if (name === macroName)
                loadLines()
        } else if (action === "save") {
            ui_View.saveMacroIniToFile(name)
        } else if (action === "rename") {
            libraryList.editFileName(index)
        }
    }

    // The list is read again after a rename, so that it shows the names the files really have: a refused
    // rename (a name taken or not allowed) keeps the old one.
    function renameMacro(oldName, newName) {
        const selected = macroName
        ui_View.renameMacroIniFile(oldName, newName)
        listLibrary("")
        const renamed = indexOfMacro(newName) >= 0 && indexOfMacro(oldName) < 0
        if (!renamed)
            console.debug("macro page: renaming", oldName, "to", newName, "failed")
        selectMacro(indexOfMacro(selected === oldName && renamed ? newName : selected))
    }

    width: 759
    height: 442

    // Recording reaches keys typed anywhere on the desktop; it ends when the user leaves the page.
    onVisibleChanged: {
        if (!visible) {
            stopRecording()
            menuIndex = -1
        } else if (!listed) {
            listLibrary("")
        }
    }

    Image {
        source: root.skinImage("list_center/fnMacroBackground")
    }

    // The macro library.
    Text {
        x: 24
        y: 12
        height: 36
        verticalAlignment: Text.AlignVCenter
        textFormat: Text.PlainText
        text: root.str(44)
        color: root.globalSetting_color
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    Button_2state {
        objectName: "addMacro"
        x: 184
        y: 17
        source0: root.skinImage("common/add_0")
        source1: root.skinImage("common/add_1")
        tip: root.str(146)
        enabled: !macroPage.recording
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.addMacro()
    }

    Button_2state {
        objectName: "deleteMacro"
        x: 216
        y: 17
        source0: root.skinImage("common/delete_0")
        source1: root.skinImage("common/delete_1")
        tip: root.str(147)
        enabled: !macroPage.recording && macroPage.macroName !== ""
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.deleteMacro()
    }

    FileList {
        id: libraryList
        objectName: "macroLibrary"
        x: 12
        y: 50
        width: 240
        height: 376
        enabled: !macroPage.recording
        opacity: enabled ? 1.0 : 0.5
        name: root.str(44)
        rowTip: root.str(157)
        onRowClicked: macroPage.loadLines()
        onRowRightClicked: function (index) {
            macroPage.openMenu(index)
        }
        onEditFileName_completed: function (oldName, newName) {
            macroPage.renameMacro(oldName, newName)
        }
    }

    // The selected macro's lines.
    Text {
        x: 276
        y: 12
        height: 36
        verticalAlignment: Text.AlignVCenter
        textFormat: Text.PlainText
        text: root.str(45)
        color: root.globalSetting_color
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    FileList {
        id: actionList
        objectName: "actionList"
        x: 264
        y: 50
        width: 300
        height: 376
        name: root.str(45)
    }

    // The tools.
    Button_2state {
        objectName: "record"
        x: 588
        y: 20
        source0: root.skinImage("common/record_0")
        source1: root.skinImage("common/record_1")
        tip: root.str(148)
        selected: macroPage.recording
        enabled: macroPage.macroName !== ""
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.startRecording()
    }

    Button_2state {
        objectName: "stop"
        x: 622
        y: 20
        source0: root.skinImage("common/stop_0")
        source1: root.skinImage("common/stop_1")
        tip: root.str(149)
        enabled: macroPage.recording
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.stopRecording()
    }

    KeyInput_2 {
        id: keyInput
        objectName: "keyInput"
        x: 582
        y: 64
        width: 129
        enabled: !macroPage.recording
    }

    Button_2state {
        objectName: "addKey"
        x: 715
        y: 64
        source0: root.skinImage("common/add_0")
        source1: root.skinImage("common/add_1")
        tip: root.str(150)
        enabled: !macroPage.recording && macroPage.macroName !== "" && keyInput.keyCode > 0
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.addKey()
    }

    Text {
        x: 588
        y: 100
        height: 26
        verticalAlignment: Text.AlignVCenter
        textFormat: Text.PlainText
        text: root.str(47)
        color: root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    Button_2state {
        objectName: "addMouseButton"
        x: 715
        y: 100
        source0: root.skinImage("common/add_0")
        source1: root.skinImage("common/add_1")
        tip: root.str(151)
        enabled: !macroPage.recording && macroPage.macroName !== ""
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.addMouseButton()
    }

    // One button is always chosen: a click on the chosen row keeps it.
    FileList {
        id: mouseList
        objectName: "mouseButtons"
        x: 580
        y: 130
        width: 163
        height: 5 * rowHeight + 12
        rowHeight: 22
        name: root.str(47)
        enabled: !macroPage.recording
        opacity: enabled ? 1.0 : 0.5
        onRowClicked: function (index) {
            mouseList.setCurIndex(index)
        }
        Component.onCompleted: {
            for (const text of macroPage.mouseButtonTexts)
                append(text, "")
            setCurIndex(0)
        }
    }

    ValueInput {
        id: delayInput
        objectName: "delayInput"
        x: 582
        y: 276
        width: 129
        height: 26
        minValue: 0
        maxValue: 65535
        maxDigits: 5
        value: 1000
        preText: "DELAY【 "
        postText: " 】ms"
        enabled: !macroPage.recording
        onInputComplete: function (value) {
            macroPage.delayCommitted(value)
        }
    }

    Button_2state {
        objectName: "addDelay"
        x: 715
        y: 276
        source0: root.skinImage("common/add_0")
        source1: root.skinImage("common/add_1")
        tip: root.str(152)
        enabled: !macroPage.recording && macroPage.macroName !== ""
        opacity: enabled ? 1.0 : 0.4
        onClicked: macroPage.addDelay()
    }

    Image {
        x: 584
        y: 322
        width: 155
        height: 3
        source: root.skinImage("common/draw_line")
    }

    Row {
        x: 592
        y: 340
        spacing: 12

        Repeater {
            model: [["deleteRow", "solid-delete", 153], ["cutRow", "solid-cut", 154], ["copyRow", "solid-copy", 155],
                ["pasteRow", "solid-paste", 156]]

            Button_2state {
                required property var modelData

                objectName: modelData[0]
                source0: root.skinImage("common/" + modelData[1] + "_0")
                source1: root.skinImage("common/" + modelData[1] + "_1")
                tip: root.str(modelData[2])
                enabled: !macroPage.recording && macroPage.macroName !== ""
                         && (modelData[0] === "pasteRow" ? macroPage.clipboard !== "" : actionList.curIndex >= 0)
                opacity: enabled ? 1.0 : 0.4
                onClicked: macroPage[modelData[0]]()
            }
        }
    }

    // The right-click menu of a library row.
    Column {
        objectName: "macroActions"
        x: libraryList.x + 110
        y: {
            // Under the row it belongs to, as far as the list reaches.
            const top = libraryList.rowTop(macroPage.menuIndex)
            const wanted = libraryList.y + (top < 0 ? 0 : top + libraryList.rowHeight)
            return Math.min(Math.max(wanted, libraryList.y), libraryList.y + libraryList.height - height)
        }
        spacing: 2
        visible: macroPage.menuIndex >= 0
        z: 5

        Repeater {
            model: [[84, "load"], [85, "save"], [112, "rename"], [78, "cancel"]]

            Button_2state {
                required property var modelData

                source0: root.skinImage("common/btnFrame")
                source1: root.skinImage("common/btnFrame")
                text: root.str(modelData[0])
                onClicked: macroPage.menuChosen(modelData[1])
            }
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            macroPage.menuIndex = -1
        }
    }
}
