import QtQuick

// The macro page over the real program: what its buttons, lists and recorded keys leave in the macro library
// files, in the mouse's macro slots and on the screen.
Item {
    width: 1000
    height: 600

    PageTestCase {
        name: "MacroPage"

        property var library: null
        property var actions: null

        readonly property string down: "    [Down]"
        readonly property string up: "      [Up]"
        readonly property string delay: "   [Delay]"

        function click(name) {
            clickAt(child(name))
        }

        // Row i of a list, in the list's own coordinates.
        function rowY(list, i) {
            return 6 + list.rowHeight * i + list.rowHeight / 2
        }

        function clickRow(list, i, button) {
            // The list builds its rows when it next lays itself out.
            tryVerify(() => list.rowTop(i) >= 0, 1000, "row " + i + " is shown")
            clickAt(list, 40, rowY(list, i), button)
        }

        function openScene(connected) {
            scene = createScene()
            startScene(connected)
            page = findChild(frame, "macroPage")
            library = findChild(page, "macroLibrary")
            actions = findChild(page, "actionList")
            showPage(1)
            waitForRendering(scene)
        }

        function init() {
            failOnWarning(/qrc:\/modules\/qml|TypeError|ReferenceError/)
            testEnv.reset()
            openScene(true)
        }

        function libraryFile(name) {
            return testEnv.folder + "/modules/macro/1/" + name + ".bin"
        }

        // The lines of a macro as its library file holds them.
        function stored(name) {
            const file = libraryFile(name)
            const total = Number(testEnv.setting(file, "config/total"))
            const lines = []
            for (let i = 0; i < total; ++i)
                lines.push(String(testEnv.setting(file, "macro/" + i)))
            return lines
        }

        function shown() {
            const lines = []
            for (let i = 0; i < actions.count; ++i)
                lines.push(actions.lineAt(i))
            return lines
        }

        function names() {
            const all = []
            for (let i = 0; i < library.count; ++i)
                all.push(library.textXAt(i))
            return all
        }

        // Macros made by the program, listed by the page, the first one selected and holding the given lines.
        function macrosWith(count, lines) {
            for (let i = 0; i < count; ++i)
                ui_View.createMacroIni()
            if (lines.length > 0)
                verify(ui_View.saveMacroIni("Macro. 001", lines))
            page.initUI()
            clickRow(library, 0)
            compare(page.macroName, "Macro. 001")
            waitForRendering(actions)
        }

        function captureKey(code) {
            click("keyInput")
            scene.detectKeyboard(true, code)
            scene.detectKeyboard(false, code)
            compare(child("keyInput").keyCode, code)
        }

        function typeInto(text) {
            for (const ch of text)
                keyClick(ch)
        }

        function test_addCreatesAMacroFileAndSelectsIt() {
            click("addMacro")
            compare(testEnv.macroFiles(), ["Macro. 001.bin"])
            compare(names(), ["Macro. 001"])
            compare(page.macroName, "Macro. 001")
            click("addMacro")
            compare(testEnv.macroFiles(), ["Macro. 001.bin", "Macro. 002.bin"])
            compare(library.curIndex, 1)
            compare(page.macroName, "Macro. 002")
            compare(stored("Macro. 002"), [])
            compare(shown(), [])
        }

        function test_deleteMacro_data() {
            return [
                { tag: "removes the file and the row", goneBefore: false, files: ["Macro. 002.bin"],
                  rows: ["Macro. 002"] },
                { tag: "a file gone meanwhile keeps the row", goneBefore: true, files: ["Macro. 002.bin"],
                  rows: ["Macro. 001", "Macro. 002"] }
            ]
        }

        function test_deleteMacro(data) {
            macrosWith(2, ["A" + down])
            compare(shown(), ["A" + down])
            if (data.goneBefore)
                ui_View.deleteMacroIni("Macro. 001")
            click("deleteMacro")
            compare(testEnv.macroFiles(), data.files)
            compare(names(), data.rows)
            compare(shown(), data.goneBefore ? ["A" + down] : [])
        }

        function test_recording_data() {
            return [
                { tag: "a named key down and up", events: [[true, 0x04], [false, 0x04]],
                  lines: ["A" + down, "A" + up] },
                { tag: "unnamed codes are ignored",
                  events: [[true, 0x32], [true, 0x00], [true, 0x04], [false, 0x32], [false, 0x04], [true, 0xFF]],
                  lines: ["A" + down, "A" + up] },
                { tag: "mouse button codes are not keys", events: [[true, 0xF0], [false, 0xF0]], lines: [] },
                { tag: "modifier and a name with a trailing space",
                  events: [[true, 0xE1], [true, 0x5F], [false, 0x5F], [false, 0xE1]],
                  lines: ["L Shift" + down, "KP 7 " + down, "KP 7 " + up, "L Shift" + up] },
                { tag: "nothing typed stores an empty macro", events: [], lines: [] }
            ]
        }

        function test_recording(data) {
            macrosWith(2, ["500" + delay])
            click("record")
            verify(page.recording)
            compare(shown(), [], "recording starts from an empty macro")
            verify(!library.enabled, "the library is locked while recording")
            verify(!child("addMacro").enabled)
            verify(!child("deleteMacro").enabled)
            clickRow(library, 1)
            compare(page.macroName, "Macro. 001", "a click on the locked library selects nothing")
            for (const e of data.events)
                scene.detectKeyboard(e[0], e[1])
            compare(shown(), data.lines)
            compare(stored("Macro. 001"), ["500" + delay], "nothing is written before stop")
            click("stop")
            verify(!page.recording)
            verify(library.enabled)
            compare(stored("Macro. 001"), data.lines)
            scene.detectKeyboard(true, 0x05)
            compare(shown(), data.lines, "keys after stop are not recorded")
        }

        function test_leavingThePageEndsTheRecording() {
            macrosWith(1, [])
            click("record")
            scene.detectKeyboard(true, 0x06)
            showPage(0)
            verify(!page.recording)
            compare(stored("Macro. 001"), ["C" + down])
            scene.detectKeyboard(false, 0x06)
            compare(stored("Macro. 001"), ["C" + down], "keys typed elsewhere are not recorded")
        }

        function test_addInsertsBeforeTheSelectedRowOrAtTheEnd_data() {
            const first = "100" + delay
            const second = "200" + delay
            return [
                { tag: "key at the end", tool: "key", row: -1,
                  lines: [first, second, "Z" + down, "Z" + up] },
                { tag: "key before the selected row", tool: "key", row: 1,
                  lines: [first, "Z" + down, "Z" + up, second] },
                { tag: "mouse button at the end", tool: "mouse", row: -1,
                  lines: [first, second, "MS-B4" + down, "MS-B4" + up] },
                { tag: "mouse button before the first row", tool: "mouse", row: 0,
                  lines: ["MS-B4" + down, "MS-B4" + up, first, second] },
                { tag: "delay at the end", tool: "delay", row: -1, lines: [first, second, "250" + delay] },
                { tag: "delay before the selected row", tool: "delay", row: 1, lines: [first, "250" + delay, second] }
            ]
        }

        function test_addInsertsBeforeTheSelectedRowOrAtTheEnd(data) {
            macrosWith(1, ["100" + delay, "200" + delay])
            if (data.row >= 0)
                clickRow(actions, data.row)
            if (data.tool === "key") {
                captureKey(0x1D)
                click("addKey")
            } else if (data.tool === "mouse") {
                const buttons = child("mouseButtons")
                compare(buttons.textXAt(3), "MOUSE【 BACKWARD 】")
                clickRow(buttons, 3)
                click("addMouseButton")
            } else {
                click("delayInput")
                typeInto("250")
                keyClick(Qt.Key_Return)
                click("addDelay")
            }
            compare(shown(), data.lines)
            compare(stored("Macro. 001"), data.lines)
        }

        // Lines the page did not write (a missing key reads "0", a line shorter than a tag) go back unchanged.
        function test_foreignLinesSurviveAnEdit() {
            ui_View.createMacroIni()
            verify(testEnv.writeFile(libraryFile("Macro. 001"),
                                     "[config]\nindex=-1\ntotal=3\nrepeat=1\n[macro]\n0=A    [Down]\n2=xy\n"))
            page.initUI()
            clickRow(library, 0)
            compare(shown(), ["A" + down, "0", "xy"])
            compare(actions.textRAt(2), "xy")
            click("addDelay")
            compare(stored("Macro. 001"), ["A" + down, "0", "xy", "1000" + delay])
        }

        function test_addKeyNeedsACapturedKey() {
            macrosWith(1, [])
            click("addKey")
            click("keyInput")
            scene.detectKeyboard(true, 0x32)
            verify(child("keyInput").armed, "a key without a name leaves the field waiting")
            click("addKey")
            compare(stored("Macro. 001"), [])
        }

        function test_delayField_data() {
            return [
                { tag: "below 10 becomes 10", typed: "3", value: 10 },
                { tag: "zero becomes 10", typed: "0", value: 10 },
                { tag: "10 stays", typed: "10", value: 10 },
                { tag: "the largest value", typed: "65535", value: 65535 },
                { tag: "above the largest is clamped", typed: "70000", value: 65535 },
                { tag: "a sixth digit is not taken", typed: "123456", value: 12345 }
            ]
        }

        function test_delayField(data) {
            macrosWith(1, [])
            const field = child("delayInput")
            compare(field.value, 1000, "the field starts at 1000 ms")
            click("delayInput")
            typeInto(data.typed)
            keyClick(Qt.Key_Return)
            compare(field.value, data.value)
            click("addDelay")
            compare(stored("Macro. 001"), [data.value + delay])
        }

        // Steps: a number selects that row of the action list (a click on the selected row deselects it),
        // a text clicks that button.
        function test_rowEdits_data() {
            const a = "A" + down, b = "50" + delay, c = "A" + up
            return [
                { tag: "delete the selected row", steps: [1, "deleteRow"], lines: [a, c], clipboard: "" },
                { tag: "cut pastes once", steps: [0, "cutRow", "pasteRow", "pasteRow"], lines: [b, c, a],
                  clipboard: "" },
                { tag: "copy pastes many times", steps: [2, "copyRow", 2, "pasteRow", "pasteRow"],
                  lines: [a, b, c, c, c], clipboard: c },
                { tag: "paste goes before the selected row", steps: [2, "copyRow", 0, "pasteRow"],
                  lines: [c, a, b, c], clipboard: c },
                { tag: "cut then paste moves a row", steps: [2, "cutRow", 0, "pasteRow"], lines: [c, a, b],
                  clipboard: "" },
                { tag: "without a selected row nothing is deleted, cut or copied",
                  steps: ["deleteRow", "cutRow", "copyRow", "pasteRow"], lines: [a, b, c], clipboard: "" }
            ]
        }

        function test_rowEdits(data) {
            macrosWith(1, ["A" + down, "50" + delay, "A" + up])
            for (const step of data.steps) {
                if (typeof step === "number")
                    clickRow(actions, step)
                else
                    click(step)
            }
            compare(shown(), data.lines)
            compare(stored("Macro. 001"), data.lines)
            compare(page.clipboard, data.clipboard)
        }

        function test_pasteNeedsAMacroAndCrossesMacros() {
            macrosWith(2, ["B" + down])
            clickRow(actions, 0)
            click("copyRow")
            clickRow(library, 0)
            compare(page.macroName, "", "the macro is deselected")
            click("pasteRow")
            compare(stored("Macro. 001"), ["B" + down])
            compare(stored("Macro. 002"), [])
            clickRow(library, 1)
            click("pasteRow")
            compare(stored("Macro. 002"), ["B" + down])
        }

        function test_anEditOfABoundMacroReachesItsSlot() {
            macrosWith(1, [])
            ui_View.setMacroIniConfig("Macro. 001", [4, 1])
            testEnv.clearCommands()
            captureKey(0x04)
            click("addKey")
            compare(testEnv.commands(), ["0F"])
            compare(testEnv.macroBlock(5).slice(0, 8), [0x00, 0x01, 0x01, 0x04, 0x81, 0x04, 0x00, 0x00])
        }

        // The file disappears behind the page's back: the program refuses the save, and the page shows no
        // lines that are stored nowhere.
        function test_aRefusedSaveClearsTheList_data() {
            return [
                { tag: "add key", steps: ["addKey"] },
                { tag: "add mouse button", steps: ["addMouseButton"] },
                { tag: "add delay", steps: ["addDelay"] },
                { tag: "delete row", steps: [0, "deleteRow"] },
                { tag: "cut", steps: [0, "cutRow"] },
                { tag: "paste", steps: [0, "copyRow", "pasteRow"] },
                { tag: "record and stop", steps: ["record", "stop"] }
            ]
        }

        function test_aRefusedSaveClearsTheList(data) {
            macrosWith(1, ["A" + down, "A" + up])
            captureKey(0x04)
            ui_View.deleteMacroIni("Macro. 001")
            for (const step of data.steps) {
                if (typeof step === "number")
                    clickRow(actions, step)
                else
                    click(step)
            }
            compare(actions.count, 0)
            compare(testEnv.macroFiles(), [], "a refused save creates no file")
        }

        function openMenuOn(row) {
            clickRow(library, row, Qt.RightButton)
            const menu = child("macroActions")
            verify(menu.visible)
            return menu
        }

        function chooseFromMenu(row, entry) {
            const menu = openMenuOn(row)
            clickAt(menu, 60, 30 * entry + 14)
            verify(!menu.visible)
        }

        function test_menuExchangesMacroFiles_data() {
            return [
                { tag: "load into the shown macro", entry: 0, row: 0, answer: "in.mc", dialogs: 1,
                  shown: ["B" + down], file: ["B" + down] },
                { tag: "load into another macro", entry: 0, row: 1, answer: "in.mc", dialogs: 1,
                  shown: ["A" + down], file: ["A" + down], other: ["B" + down] },
                { tag: "load cancelled", entry: 0, row: 0, answer: "", dialogs: 1, shown: ["A" + down],
                  file: ["A" + down] },
                { tag: "save exports the file", entry: 1, row: 0, answer: "out.mc", dialogs: 1,
                  shown: ["A" + down], file: ["A" + down], exported: true },
                { tag: "cancel does nothing", entry: 3, row: 0, answer: "in.mc", dialogs: 0, shown: ["A" + down],
                  file: ["A" + down] }
            ]
        }

        function test_menuExchangesMacroFiles(data) {
            macrosWith(2, ["A" + down])
            verify(testEnv.writeFile(testEnv.folder + "/in.mc",
                                     "[config]\nindex=-1\ntotal=1\nrepeat=1\n[macro]\n0=B    [Down]\n"))
            const answer = data.answer === "" ? "" : testEnv.folder + "/" + data.answer
            testEnv.openAnswer = answer
            testEnv.saveAnswer = answer
            chooseFromMenu(data.row, data.entry)
            compare(testEnv.fileDialogs, data.dialogs)
            compare(shown(), data.shown)
            compare(stored("Macro. 001"), data.file)
            if (data.other)
                compare(stored("Macro. 002"), data.other)
            if (data.exported)
                compare(testEnv.readFile(answer), testEnv.readFile(libraryFile("Macro. 001")))
            compare(page.macroName, "Macro. 001", "the selection stays")
        }

        function test_renameByEnter_data() {
            return [
                { tag: "a free name renames the file", typed: "Boss", files: ["Boss.bin", "Macro. 002.bin"],
                  rows: ["Boss", "Macro. 002"], selected: "Boss" },
                { tag: "a taken name keeps both files", typed: "Macro. 002",
                  files: ["Macro. 001.bin", "Macro. 002.bin"], rows: ["Macro. 001", "Macro. 002"],
                  selected: "Macro. 001" },
                { tag: "a name with a slash is refused", typed: "a/b", files: ["Macro. 001.bin", "Macro. 002.bin"],
                  rows: ["Macro. 001", "Macro. 002"], selected: "Macro. 001", refused: true }
            ]
        }

        function test_renameByEnter(data) {
            macrosWith(2, ["A" + down])
            if (data.refused)
                ignoreWarning(/rename refused/)
            chooseFromMenu(0, 2)
            compare(library.editIndex, 0)
            typeInto(data.typed)
            keyClick(Qt.Key_Return)
            compare(library.editIndex, -1)
            compare(testEnv.macroFiles(), data.files)
            compare(names(), data.rows)
            compare(page.macroName, data.selected)
            compare(shown(), ["A" + down])
            compare(stored(data.selected), ["A" + down])
        }

        function test_withoutASelectedMacroTheToolsDoNothing_data() {
            return [
                { tag: "record", steps: ["record", "stop"] },
                { tag: "add key", steps: ["addKey"] },
                { tag: "add mouse button", steps: ["addMouseButton"] },
                { tag: "add delay", steps: ["addDelay"] },
                { tag: "delete macro", steps: ["deleteMacro"] },
                { tag: "row edits", steps: ["deleteRow", "cutRow", "copyRow", "pasteRow"] },
                { tag: "recording by call", calls: ["startRecording", "addKey", "addMouseButton", "addDelay",
                                                    "deleteRow", "cutRow", "copyRow", "pasteRow", "deleteMacro",
                                                    "stopRecording"] }
            ]
        }

        function test_withoutASelectedMacroTheToolsDoNothing(data) {
            ui_View.createMacroIni()
            page.initUI()
            compare(page.macroName, "")
            captureKey(0x04)
            const before = testEnv.readFile(libraryFile("Macro. 001"))
            for (const step of data.steps || [])
                click(step)
            for (const call of data.calls || [])
                page[call]()
            scene.detectKeyboard(true, 0x05)
            verify(!page.recording)
            compare(actions.count, 0)
            compare(testEnv.macroFiles(), ["Macro. 001.bin"])
            compare(testEnv.readFile(libraryFile("Macro. 001")), before)
        }
    }

    // Without the mouse at start the frame never starts the pages; the library is still there to edit.
    PageTestCase {
        name: "MacroPageWithoutMouse"

        function test_theLibraryIsListedWhenThePageIsFirstShown() {
            failOnWarning(/qrc:\/modules\/qml|TypeError|ReferenceError/)
            testEnv.reset(false)
            ui_View.createMacroIni()
            scene = createScene()
            frame = findChild(scene, "productFrame")
            scene.animation_speed = 10
            scene.run()
            const library = findChild(frame, "macroLibrary")
            compare(library.count, 0)
            frame.functionClicked(1)
            tryCompare(frame, "curPage", 1, 1000)
            compare(library.count, 1)
            compare(library.textXAt(0), "Macro. 001")
        }
    }
}
