import QtQuick

// The key page over the real program and the virtual mouse: how codes are shown and built, the left-button
// question, macro slots, and what APPLY and the resets send to the mouse and write to the macro files.
Item {
    width: 1000
    height: 600

    PageTestCase {
        name: "KeyPage"

        property var model: null

        readonly property var shippedDefaults: [
            [1, 0, 240, 0], [1, 0, 241, 0], [1, 0, 242, 0], [1, 0, 244, 0], [1, 0, 243, 0], [7, 0, 3, 0],
            [11, 0, 0, 0], [7, 0, 3, 0], [5, 0, 3, 0], [3, 0, 138, 1], [3, 0, 35, 2], [3, 0, 148, 1],
            [0, 0, 0, 0], [0, 0, 0, 0], [4, 0, 1, 0], [4, 0, 2, 0]
        ]

        function openScene(initialise) {
            scene = createScene()
            page = findChild(scene, "keyPage")
            model = findChild(page, "keyModel")
            startScene(initialise)
            clickFunction(0)
        }

        function init() {
            testEnv.reset()
            testEnv.confirmAnswer = true
            openScene(true)
            testEnv.clearCommands()
        }

        // Shows the given code on the key at list position 0 (key 0).
        function showCode(code) {
            page.selectPosition(0)
            verify(model.setCode(0, code))
            page.showKey()
        }

        // Choosing entry i of a drop-down list the way a user does.
        function chooseEntry(dropdown, i) {
            clickAt(dropdown, 60, 13)
            verify(dropdown.opened)
            clickAt(dropdown, 60, 26 + 2 + 4 + 24 * i + 12)
            verify(!dropdown.opened)
        }

        function newMacro(lines) {
            const name = String(ui_View.createMacroIni())
            verify(name !== "")
            ui_View.saveMacroIni(name, lines)
            return name
        }

        function config(name) {
            return [Number(testEnv.setting("modules/macro/1/" + name + ".bin", "config/index")),
                    Number(testEnv.setting("modules/macro/1/" + name + ".bin", "config/repeat"))]
        }

        // The device block of a macro "A down, A up" with the given repeat count.
        function blockOfA(repeat) {
            const block = [repeat >> 8, repeat & 0xFF, 0x01, 0x04, 0x81, 0x04]
            while (block.length < 128)
                block.push(0)
            return block
        }

        // Binds the macro to the key at the given list position through the page's macro controls.
        function bindTo(position, name, mode, count) {
            page.selectPosition(position)
            page.chooseFunction(model.fnMacro)
            const list = child("macroList")
            list.curText = name
            child("macroCount").setValue(count)
            page.macroMode = mode
            page.bindMacro()
        }

        function test_macroReadBack_data() {
            return [
                { tag: "normal play with its count", mode: 0, repeat: 7, shown: true },
                { tag: "always repeat", mode: 1, repeat: 1, shown: true },
                { tag: "repeat on pressed", mode: 2, repeat: 300, shown: true },
                { tag: "slot of no macro", mode: 0, repeat: 1, shown: false }
            ]
        }

        function test_macroReadBack(data) {
            const other = newMacro(["B    [Down]"])
            const name = newMacro(["A    [Down]", "A      [Up]"])
            ui_View.setMacroIniConfig(other, [2, 5])
            if (data.shown)
                ui_View.setMacroIniConfig(name, [4, data.repeat])
            showCode([0x09, data.mode, 5, 0x00])
            compare(child("functionMenu").curIndex, 4)
            compare(page.macroMode, data.mode)
            compare(child("macroList").curText, data.shown ? name : "")
            compare(child("macroCount").value, data.repeat)
            verify(child("macroMode" + data.mode).checked)
        }

        // ---- building codes ----

        function test_controlsWriteTheCode_data() {
            return [
                { tag: "keyboard capture", fn: 0, act: "keyboard", code: [0x00, 0x00, 0x04, 0x00] },
                { tag: "mouse right", fn: 1, act: "mouse 1", code: [0x01, 0x00, 0xF1, 0x00] },
                { tag: "mouse scroll down", fn: 1, act: "mouse 6", code: [0x04, 0x00, 0x02, 0x00] },
                { tag: "mouse DPI SWITCH", fn: 1, act: "mouse 9", code: [0x07, 0x00, 0x03, 0x00] },
                { tag: "media mute", fn: 2, act: "media 4", code: [0x03, 0x00, 0xE2, 0x00] },
                { tag: "combo L Alt + A + B", fn: 3, act: "combo", code: [0x00, 0x04, 0x04, 0x05] },
                { tag: "fire key by key capture", fn: 5, act: "fire key", code: [0x0A, 0x04, 10, 10] },
                { tag: "fire key by button", fn: 5, act: "fire button", code: [0x0A, 0xF3, 10, 10] },
                { tag: "LED CONTROL at once", fn: 6, act: "", code: [0x0C, 0x00, 0x00, 0x00] },
                { tag: "gun three gun loop", fn: 7, act: "gun 2", code: [0x08, 0x00, 0x06, 0x00] },
                { tag: "gun loop switch", fn: 7, act: "gun 0", code: [0x08, 0x00, 0x04, 0x00] }
            ]
        }

        function test_controlsWriteTheCode(data) {
            page.selectPosition(6) // key 6, the fallback gun key
            chooseEntry(child("functionMenu"), data.fn)
            compare(page.shownFunction, data.fn)
            const [act, arg] = data.act.split(" ")
            if (act === "keyboard") {
                clickAt(child("keyboardInput"), 40, 13)
                page.keyEvent(true, 0x04)
            } else if (act === "mouse") {
                chooseEntry(child("mouseList"), Number(arg))
            } else if (act === "media") {
                chooseEntry(child("mediaList"), Number(arg))
            } else if (act === "combo") {
                chooseEntry(child("comboModifier"), 3)
                clickAt(child("comboKey1"), 40, 13)
                page.keyEvent(true, 0x04)
                clickAt(child("comboKey2"), 40, 13)
                page.keyEvent(false, 0x05)
                compare(model.codeOf(6), [0x00, 0x04, 0x04, 0x00], "every change writes, releases are no key")
                page.keyEvent(true, 0x05)
            } else if (act === "fire") {
                compare(model.codeOf(6), [0x0B, 0x00, 0x00, 0x00], "no button or key yet: nothing written")
                if (arg === "key") {
                    clickAt(child("fireKeyInput"), 40, 13)
                    page.keyEvent(true, 0x04)
                } else {
                    chooseEntry(child("fireButtonList"), 3)
                }
                clickAt(child("fireSpeed"), 8 + 28 * 7, 8)
            } else if (act === "gun") {
                chooseEntry(child("gunList"), Number(arg))
            }
            compare(model.codeOf(6), data.code)
            compare(testEnv.commands(), [], "nothing reaches the mouse before APPLY")
        }

        function test_tripleClickEntry() {
            page.selectPosition(8)
            page.chooseFunction(model.fnMouse)
            page.chooseMouseEntry(10)
            compare(model.codeOf(15), [0x0A, 0xF0, 0x21, 0x03])
        }

        function test_fireShotsAreWritten() {
            showCode([0x0A, 0xF0, 45, 10])
            const shots = child("fireShots")
            shots.setValue(999)
            compare(shots.value, 255, "at most 255 shots")
            shots.commit()
            compare(model.codeOf(0), [0x0A, 0xF0, 45, 255])
        }

        // ---- the key list and the picture ----

        // The shipped configuration chooses English, whose file names nine keys.
        function test_keyListOpensOnPositionThree() {
            compare(page.curPosition, 3)
            compare(page.selectedKey, 3)
            compare(page.mapping_for_keyId, [0, 1, 2, 3, 4, 5, 6, 14, 15])
            compare(page.keyNames, ["LEFT BUTTON", "RIGHT BUTTON", "MIDDLE BUTTON", "FORWARD BUTTON",
                                    "BACKWARD BUTTON", "DPI SWITCH", "GUN KEY", "SCROLL UP", "SCROLL DOWN"])
            compare(child("functionMenu").elements[7], "GUN KEY")
        }

        function test_keyChoice_data() {
            return [
                { tag: "list row of the wheel", how: "list", position: 2, key: 2, fn: 1, entry: 2 },
                { tag: "list row of scroll up", how: "list", position: 7, key: 14, fn: 1, entry: 5 },
                { tag: "picture: DPI key", how: "picture", position: 5, key: 5, fn: 1, entry: 9 },
                { tag: "picture: right button", how: "picture", position: 1, key: 1, fn: 1, entry: 1 },
                { tag: "picture: key the list does not offer", how: "picture", position: 3, key: 8, fn: 1, entry: 4 }
            ]
        }

        function test_keyChoice(data) {
            if (data.how === "list") {
                const row = child("keyRow" + data.position)
                clickAt(row, 20, row.height / 2)
            } else {
                const spot = findChild(model, "modelKey" + data.key)
                clickAt(spot, spot.width / 2, spot.height / 2)
            }
            compare(page.curPosition, data.position)
            compare(model.selectedKey, page.mapping_for_keyId[data.position])
            compare(child("functionMenu").curIndex, data.fn)
            compare(child("mouseList").curIndex, data.entry)
        }

        function test_languageNamesTheKeys() {
            const strings = ["LEFT BUTTON", "", "", "FORWARD", "", "", "", "", "", "", "", "", "", "", "UP", ""]
            scene.globalSetting_langCode = "031225"
            findChild(scene, "productFrame").productLayoutStrings = strings
            page.translateStrings()
            compare(page.mapping_for_keyId, [0, 3, 14])
            compare(page.keyNames, ["LEFT BUTTON", "FORWARD", "UP"])
            compare(page.selectedKey, 3, "the chosen key stays chosen")
            findChild(scene, "productFrame").productLayoutStrings = ["", "", "", "", "", "", "", "", "", "", "",
                                                                     "", "", "", "", ""]
            page.translateStrings()
            compare(page.mapping_for_keyId.length, 9, "no names at all: the built-in list")
        }

        // ---- the left-button question ----

        function test_leftButtonGuard_data() {
            return [
                { tag: "OK takes it away", answer: true, secondLeft: false, questions: 1, changed: true },
                { tag: "Cancel keeps it", answer: false, secondLeft: false, questions: 1, changed: false },
                { tag: "another key holds it too", answer: false, secondLeft: true, questions: 0, changed: true }
            ]
        }

        function test_leftButtonGuard(data) {
            if (data.secondLeft)
                model.setCode(15, [0x01, 0x00, 0xF0, 0x00])
            testEnv.confirmAnswer = data.answer
            page.selectPosition(0)
            const asked = testEnv.questions
            chooseEntry(child("functionMenu"), 6)
            compare(testEnv.questions - asked, data.questions)
            compare(model.codeOf(0), data.changed ? [0x0C, 0x00, 0x00, 0x00] : [0x01, 0x00, 0xF0, 0x00])
            compare(child("functionMenu").curIndex, data.changed ? 6 : 1, "refused: the menu shows MOUSE")
            compare(child("mouseList").curIndex, data.changed ? -1 : 0)
        }

        function test_leftButtonGuardOnMouseListAndReset_data() {
            return [
                { tag: "mouse list, OK", answer: true, act: "list", code: [0x01, 0x00, 0xF1, 0x00] },
                { tag: "mouse list, Cancel", answer: false, act: "list", code: [0x01, 0x00, 0xF0, 0x00] },
                { tag: "reset to a default that is not LEFT, Cancel", answer: false, act: "reset",
                  code: [0x01, 0x00, 0xF0, 0x00] },
                { tag: "reset to a default that is not LEFT, OK", answer: true, act: "reset",
                  code: [0x01, 0x00, 0xF4, 0x00] }
            ]
        }

        function test_leftButtonGuardOnMouseListAndReset(data) {
            // Key 3 is made the only LEFT key: key 0 gives it up first.
            model.setCode(0, [0x00, 0x00, 0x04, 0x00])
            page.selectPosition(3)
            model.setCode(3, [0x01, 0x00, 0xF0, 0x00])
            page.showKey()
            testEnv.confirmAnswer = data.answer
            const asked = testEnv.questions
            if (data.act === "list") {
                chooseEntry(child("mouseList"), 1)
            } else {
                const reset = child("resetButton")
                clickAt(reset, 50, 15)
            }
            compare(testEnv.questions - asked, 1)
            compare(model.codeOf(3), data.code)
            compare(child("mouseList").curIndex, data.code[2] - 0xF0)
        }

        // ---- macros ----

        function test_bindingTakesTheSmallestFreeSlot() {
            const a = newMacro(["A    [Down]", "A      [Up]"])
            const b = newMacro(["A    [Down]", "A      [Up]"])
            model.setCode(9, [0x09, 0x00, 1, 0x00]) // a key not in the list plays slot 0
            testEnv.clearCommands()
            bindTo(1, a, 0, 3)
            compare(model.codeOf(1), [0x09, 0x00, 2, 0x00])
            compare(config(a), [1, 3])
            compare(testEnv.commands(), ["0F"])
            compare(testEnv.macroBlock(2), blockOfA(3))
            bindTo(2, b, 2, 1)
            compare(model.codeOf(2), [0x09, 0x02, 3, 0x00])
            compare(config(b), [2, 1])
            compare(testEnv.macroBlock(3), blockOfA(1))
        }

        function test_bindingReusesTheMacrosSlotWithItsCount() {
            const a = newMacro(["A    [Down]", "A      [Up]"])
            bindTo(1, a, 0, 1)
            compare(config(a), [0, 1])
            testEnv.clearCommands()
            bindTo(2, a, 1, 300)
            compare(model.codeOf(2), [0x09, 0x01, 1, 0x00])
            compare(model.codeOf(1), [0x09, 0x00, 1, 0x00], "the first key keeps playing it")
            compare(config(a), [0, 300])
            compare(testEnv.commands(), ["0F"])
            compare(testEnv.macroBlock(1), blockOfA(300))
        }

        function test_bindingThroughTheControls() {
            const a = newMacro(["A    [Down]", "A      [Up]"])
            page.selectPosition(4)
            chooseEntry(child("functionMenu"), 4)
            const list = child("macroList")
            clickAt(list, 60, 13)
            verify(list.opened)
            compare(list.fileList.count, 1)
            wait(50) // the opened list lays its rows out
            clickAt(list, 60, 26 + 2 + 6 + 12)
            compare(list.curText, a)
            compare(model.codeOf(4), [0x09, 0x00, 1, 0x00])
            clickAt(child("macroMode1"), 8, 8)
            compare(model.codeOf(4), [0x09, 0x01, 1, 0x00])
            const count = child("macroCount")
            count.setValue(12)
            count.commit()
            compare(config(a), [0, 1], "a count while another mode is chosen binds nothing")
            clickAt(child("macroMode0"), 8, 8)
            count.commit()
            compare(config(a), [0, 12])
            compare(testEnv.macroBlock(1), blockOfA(12))
        }

        // A number typed without Enter belongs to the key it was typed for, whatever the user does next; the
        // mouse then holds key 0's left button, key 1's code and the macro with the typed count.
        function test_typedNumberStaysWithItsKey_data() {
            return [
                { tag: "macro count, then LEFT BUTTON in the key list", field: "macroCount", then: "key list",
                  key1: [0x09, 0x00, 1, 0x00], repeat: 7 },
                { tag: "macro count, then MOUSE LEFT for the key", field: "macroCount", then: "function",
                  key1: [0x01, 0x00, 0xF0, 0x00], repeat: 7 },
                { tag: "macro count, then APPLY", field: "macroCount", then: "apply",
                  key1: [0x09, 0x00, 1, 0x00], repeat: 7 },
                { tag: "fire shots, then APPLY", field: "fireShots", then: "apply", key1: [0x0A, 0xF0, 45, 25] },
                { tag: "fire shots, then ALL SAVE", field: "fireShots", then: "all save",
                  key1: [0x0A, 0xF0, 45, 25] }
            ]
        }

        function test_typedNumberStaysWithItsKey(data) {
            if (data.field === "macroCount") {
                bindTo(1, newMacro(["A    [Down]", "A      [Up]"]), 0, 1)
            } else {
                page.selectPosition(1)
                model.setCode(1, [0x0A, 0xF0, 45, 10])
            }
            page.showKey()
            const field = child(data.field)
            clickAt(field, 5, 12)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            for (const digit of String(data.repeat ?? 25))
                keyClick(Qt.Key_0 + Number(digit))
            verify(field.pending)
            // Another key or function, then a press on the background, which ends any typing left.
            if (data.then === "key list") {
                clickAt(child("keyRow0"), 20, child("keyRow0").height / 2)
                compare(page.selectedKey, 0)
                scene.emptyAreaPressed()
            } else if (data.then === "function") {
                chooseEntry(child("functionMenu"), 1)
                chooseEntry(child("mouseList"), 0)
                scene.emptyAreaPressed()
            }
            if (data.then === "all save")
                clickAt(findChild(scene, "allSaveButton"))
            else
                clickAt(child("applyButton"), 50, 15)
            const matrix = testEnv.keyMatrix(ui_View.vesk_82H_GetCurrentProfile())
            compare(slice(matrix, 0, 4), [0x01, 0x00, 0xF0, 0x00], "key 0 keeps its left button")
            compare(slice(matrix, 4, 4), data.key1)
            if (data.repeat !== undefined)
                compare(testEnv.macroBlock(1), blockOfA(data.repeat), "the macro plays the typed count")
        }

        function test_allSlotsTaken() {
            for (let i = 0; i < 100; ++i) {
                const n = ("00" + (i + 1)).slice(-3)
                testEnv.writeFile("modules/macro/1/Macro. " + n + ".bin",
                                  "[config]\nindex=" + i + "\ntotal=0\nrepeat=1\n")
            }
            const extra = newMacro(["A    [Down]"])
            model.setCode(1, [0x00, 0x00, 0x04, 0x00])
            testEnv.clearCommands()
            bindTo(1, extra, 0, 1)
            compare(model.codeOf(1), [0, 0, 0, 0])
            compare(testEnv.commands(), [], "no 0F")
            compare(config(extra), [-1, 1])
        }

        function test_sharedOrBrokenSlotGetsAFreshOne_data() {
            return [
                { tag: "slot another macro holds", index: 0, fresh: 1 },
                { tag: "slot index past the last slot", index: 300, fresh: 1 }
            ]
        }

        function test_sharedOrBrokenSlotGetsAFreshOne(data) {
            const a = newMacro(["A    [Down]", "A      [Up]"])
            bindTo(1, a, 0, 1)
            const b = newMacro(["A    [Down]", "A      [Up]"])
            ui_View.setMacroIniConfig(b, [data.index, 1])
            testEnv.clearCommands()
            bindTo(2, b, 0, 1)
            compare(model.codeOf(2), [0x09, 0x00, data.fresh + 1, 0x00])
            compare(config(b), [data.fresh, 1])
            compare(config(a), [0, 1], "the other macro keeps its slot")
            compare(testEnv.commands(), ["0F"])
        }

        function test_leavingAMacroFreesItsSlot_data() {
            return [
                { tag: "to another function", how: "function", otherKeyUsesIt: false, freed: true },
                { tag: "to another function, another key plays it", how: "function", otherKeyUsesIt: true,
                  freed: false },
                { tag: "to another macro", how: "macro", otherKeyUsesIt: false, freed: true },
                { tag: "by RESET", how: "reset", otherKeyUsesIt: false, freed: true },
                { tag: "by ALL RESET", how: "all", otherKeyUsesIt: false, freed: true }
            ]
        }

        function test_leavingAMacroFreesItsSlot(data) {
            const a = newMacro(["A    [Down]", "A      [Up]"])
            const b = newMacro(["A    [Down]"])
            bindTo(1, a, 0, 4)
            if (data.otherKeyUsesIt)
                bindTo(2, a, 0, 4)
            page.selectPosition(1)
            page.showKey()
            compare(child("macroList").curText, a)
            if (data.how === "function") {
                chooseEntry(child("functionMenu"), 0)
                compare(model.codeOf(1), [0, 0, 0, 0], "the macro code is cleared at once")
            } else if (data.how === "macro") {
                bindTo(1, b, 0, 1)
            } else if (data.how === "reset") {
                clickAt(child("resetButton"), 50, 15)
                compare(model.codeOf(1), [0x01, 0x00, 0xF1, 0x00])
            } else {
                page.pageReset()
            }
            compare(config(a), data.freed ? [-1, 1] : [0, 4])
        }

        // ---- sending and resetting ----

        function test_applySendsTheSixteenCodes() {
            model.setCode(12, [0x00, 0x02, 0x04, 0x00])
            model.setCode(13, [0x0C, 0x00, 0x00, 0x00])
            const expected = model.matrix()
            compare(expected.length, 64)
            clickAt(child("applyButton"), 50, 15)
            verify(findChild(scene, "busyIndicator").visible, "under the busy guard")
            compare(testEnv.commands(), ["0D"])
            compare(testEnv.keyMatrix(ui_View.vesk_82H_GetCurrentProfile()), expected)
            compare(ui_View.getKeydefine(12), [0x00, 0x02, 0x04, 0x00])
        }

        function test_allSaveSendsLikeApply() {
            model.setCode(12, [0x03, 0x00, 0xE9, 0x00])
            findChild(scene, "productFrame").totalApply()
            compare(testEnv.commands().filter(c => c === "0D").length, 1)
            compare(testEnv.keyMatrix(ui_View.vesk_82H_GetCurrentProfile()), model.matrix())
        }

        function test_applyWithAGunKey() {
            model.setCode(6, [0x08, 0x00, 0x05, 0x00])
            page.applyKeys()
            compare(testEnv.commands(), ["0C", "0D", "0D", "0D", "0D"])
        }

        function test_resetRestoresTheDefaultAndSendsNothing() {
            page.selectPosition(7)
            model.setCode(14, [0x00, 0x00, 0x04, 0x00])
            page.showKey()
            compare(child("functionMenu").curIndex, 0)
            clickAt(child("resetButton"), 50, 15)
            compare(model.codeOf(14), [0x04, 0x00, 0x01, 0x00])
            compare(child("functionMenu").curIndex, 1)
            compare(child("mouseList").curIndex, 5)
            compare(testEnv.commands(), [])
        }

        function test_allResetRestoresEveryKey() {
            for (let k = 0; k < 16; ++k)
                model.setCode(k, [0x0C, 0x00, 0x00, 0x00])
            const a = newMacro(["A    [Down]"])
            ui_View.setMacroIniConfig(a, [7, 9])
            findChild(scene, "productFrame").totalReset()
            compare(model.allCodes(), shippedDefaults)
            compare(config(a), [-1, 1])
            compare(testEnv.commands(), [])
        }

        function test_initUiWithoutTheMouse() {
            testEnv.reset(false)
            failOnWarning(/.*/)
            openScene(false)
            compare(model.allCodes(), shippedDefaults, "the store's matrix, from the mirror")
            compare(page.curPosition, 3)
            compare(page.mapping_for_keyId, [0, 1, 2, 3, 4, 5, 6, 14, 15])
            compare(page.keyNames[0], "KEY \uFF11")
            compare(page.keyNames[8], "KEY \uFF19")
            compare(child("functionMenu").elements[7], "Gun key", "built-in strings lack it: the English text")
            compare(child("gunList").elements, ["LOOP SWITCH", "TWO GUN LOOP", "THREE GUN LOOP"])
            compare(child("mouseList").curIndex, 4)
            page.initUI()
            compare(model.allCodes(), shippedDefaults, "read again: the same")
            compare(page.selectedKey, 3)
            compare(child("functionMenu").curIndex, 1)
        }

        function test_unusableAnswersKeepSensibleValues() {
            model.setCode(2, [0x00, 0x00, 0x04, 0x00])
            compare(model.setCode(2, [1, 2, 3]), false, "a short code is refused")
            compare(model.setCode(2, [1, 2, 3, 256]), false, "a value past a byte is refused")
            compare(model.setCode(16, [0, 0, 4, 0]), false, "there is no key 16")
            compare(model.codeOf(2), [0x00, 0x00, 0x04, 0x00])
            compare(model.readBack(undefined).fn, -1)
            page.selectPosition(99)
            compare(page.curPosition, 3)
        }
    }

    // How codes are shown and built: one scene for all rows, nothing here changes the mouse or the files.
    PageTestCase {
        name: "KeyCodes"

        property var model: null

        function showCode(code) {
            page.selectPosition(0)
            verify(model.setCode(0, code))
            page.showKey()
        }

        function initTestCase() {
            testEnv.reset()
            // One scene for every row: it outlives the test functions.
            scene = sceneComponent.createObject(parent)
            verify(scene)
            scene.buildParts()
            findChild(scene, "productFrame").buildPages()
            page = findChild(scene, "keyPage")
            model = findChild(page, "keyModel")
            startScene(true)
            clickFunction(0)
        }

        function cleanupTestCase() {
            scene.destroy()
            scene = null
        }

        // ---- reading codes back ----

        function test_readBack_data() {
            return [
                { tag: "A", code: [0x00, 0x00, 0x04, 0x00], fn: 0, key1: 0x04 },
                { tag: "L Shift + A", code: [0x00, 0x02, 0x04, 0x00], fn: 3, modifier: 2, key1: 0x04, key2: 0 },
                { tag: "lowest modifier bit wins", code: [0x00, 0x06, 0x04, 0x05], fn: 3, modifier: 2, key1: 0x04,
                    key2: 0x05 },
                { tag: "R Win alone", code: [0x00, 0x80, 0x00, 0x00], fn: 3, modifier: 8, key1: 0, key2: 0 },
                { tag: "nothing assigned is an empty combination", code: [0, 0, 0, 0], fn: 3, modifier: 0, key1: 0,
                    key2: 0 },
                { tag: "keyboard key with a second key is a combination", code: [0x00, 0x00, 0x04, 0x05], fn: 3,
                    modifier: 0, key1: 0x04, key2: 0x05 },
                { tag: "left button", code: [0x01, 0x00, 0xF0, 0x00], fn: 1, entry: 0 },
                { tag: "forward button", code: [0x01, 0x00, 0xF4, 0x00], fn: 1, entry: 4 },
                { tag: "unknown button shows no entry", code: [0x01, 0x00, 0xF5, 0x00], fn: 1, entry: -1 },
                { tag: "button with P1 set matches nothing", code: [0x01, 0x01, 0xF0, 0x00], fn: -1 },
                { tag: "media next track", code: [0x03, 0x00, 0xB5, 0x00], fn: 2, entry: 0 },
                { tag: "media volume up", code: [0x03, 0x00, 0xE9, 0x00], fn: 2, entry: 5 },
                { tag: "media mail", code: [0x03, 0x00, 0x8A, 0x01], fn: 2, entry: 8 },
                { tag: "media www favorites", code: [0x03, 0x00, 0x2A, 0x02], fn: 2, entry: 17 },
                { tag: "media unknown usage", code: [0x03, 0x00, 0x01, 0x00], fn: 2, entry: -1 },
                { tag: "media without low byte matches nothing", code: [0x03, 0x00, 0x00, 0x01], fn: -1 },
                { tag: "scroll up", code: [0x04, 0x00, 0x01, 0x00], fn: 1, entry: 5 },
                { tag: "scroll down", code: [0x04, 0x00, 0x02, 0x00], fn: 1, entry: 6 },
                { tag: "wheel 3 matches nothing", code: [0x04, 0x00, 0x03, 0x00], fn: -1 },
                { tag: "DPI +", code: [0x07, 0x00, 0x01, 0x00], fn: 1, entry: 7 },
                { tag: "DPI -", code: [0x07, 0x00, 0x02, 0x00], fn: 1, entry: 8 },
                { tag: "DPI SWITCH", code: [0x07, 0x00, 0x03, 0x00], fn: 1, entry: 9 },
                { tag: "gun 08 loop switch", code: [0x08, 0x00, 0x04, 0x00], fn: 7, entry: 0 },
                { tag: "gun 08 three gun loop", code: [0x08, 0x00, 0x06, 0x00], fn: 7, entry: 2 },
                { tag: "gun 0B two gun loop", code: [0x0B, 0x00, 0x05, 0x00], fn: 7, entry: 1 },
                { tag: "gun 0B fallback default", code: [0x0B, 0x00, 0x00, 0x00], fn: 7, entry: -1 },
                { tag: "TRIPLE CLICK", code: [0x0A, 0xF0, 0x21, 0x03], fn: 1, entry: 10 },
                { tag: "fire P2 below 10 is slider 7", code: [0x0A, 0xF0, 0x05, 0x0A], fn: 5, keyMode: false,
                    entry: 0, speed: 7, shots: 10 },
                { tag: "fire like triple click but 4 shots", code: [0x0A, 0xF0, 0x21, 0x04], fn: 5, keyMode: false,
                    entry: 0, speed: 6, shots: 4 },
                { tag: "fire right button speed 5", code: [0x0A, 0xF1, 80, 0], fn: 5, keyMode: false, entry: 1,
                    speed: 5, shots: 0 },
                { tag: "fire key A fastest value", code: [0x0A, 0x04, 255, 3], fn: 5, keyMode: true, key1: 0x04,
                    speed: 0, shots: 3 },
                { tag: "fire half a step rounds up", code: [0x0A, 0xF2, 28, 255], fn: 5, keyMode: false, entry: 2,
                    speed: 6, shots: 255 },
                { tag: "fire under half a step rounds down", code: [0x0A, 0xF2, 27, 1], fn: 5, keyMode: false,
                    entry: 2, speed: 7, shots: 1 },
                { tag: "LED CONTROL", code: [0x0C, 0x00, 0x00, 0x00], fn: 6 },
                { tag: "LED with a parameter matches nothing", code: [0x0C, 0x00, 0x01, 0x00], fn: -1 },
                { tag: "type 05 matches nothing", code: [0x05, 0x00, 0x03, 0x00], fn: -1 }
            ]
        }

        function test_readBack(data) {
            showCode(data.code)
            compare(child("functionMenu").curIndex, data.fn)
            switch (data.fn) {
            case 0:
                compare(child("keyboardInput").keyCode, data.key1)
                break
            case 1:
                compare(child("mouseList").curIndex, data.entry)
                break
            case 2:
                compare(child("mediaList").curIndex, data.entry)
                break
            case 3:
                compare(child("comboModifier").curIndex, data.modifier)
                compare(child("comboKey1").keyCode, data.key1)
                compare(child("comboKey2").keyCode, data.key2)
                break
            case 5:
                compare(page.fireKeyMode, data.keyMode)
                compare(child("fireButtonList").curIndex, data.keyMode ? -1 : data.entry)
                compare(child("fireKeyInput").keyCode, data.keyMode ? data.key1 : 0)
                compare(child("fireSpeed").value, data.speed)
                compare(child("fireShots").value, data.shots)
                break
            case 7:
                compare(child("gunList").curIndex, data.entry)
                break
            }
            compare(model.codeOf(0), data.code, "showing a code leaves it as it is")
        }


        // ---- building codes ----

        function test_mediaCodes_data() {
            const usages = [0x00B5, 0x00B6, 0x00B7, 0x00CD, 0x00E2, 0x00E9, 0x00EA, 0x0183, 0x018A, 0x0192,
                            0x0194, 0x0221, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x022A]
            const names = ["NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP",
                           "VOLUME DOWN", "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH",
                           "WWW HOME", "WWW BACK", "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES"]
            return usages.map((u, i) => ({ tag: names[i], entry: i,
                                             code: [0x03, 0x00, u & 0xFF, u >> 8] }))
        }

        function test_mediaCodes(data) {
            compare(child("mediaList").elements[data.entry], data.tag)
            compare(model.mediaCode(data.entry), data.code)
            compare(model.readBack(data.code).entry, data.entry, "reads back as the same entry")
        }

        function test_comboMask_data() {
            return [
                { tag: "×", entry: 0, mask: 0x00 }, { tag: "L Ctrl", entry: 1, mask: 0x01 },
                { tag: "L Shift", entry: 2, mask: 0x02 }, { tag: "L Alt", entry: 3, mask: 0x04 },
                { tag: "L Win", entry: 4, mask: 0x08 }, { tag: "R Ctrl", entry: 5, mask: 0x10 },
                { tag: "R Shift", entry: 6, mask: 0x20 }, { tag: "R Alt", entry: 7, mask: 0x40 },
                { tag: "R Win", entry: 8, mask: 0x80 }
            ]
        }

        function test_comboMask(data) {
            compare(child("comboModifier").elements[data.entry], data.tag)
            compare(model.comboCode(data.entry, 0x04, 0x05), [0x00, data.mask, 0x04, 0x05])
        }

        function test_fireSpeed_data() {
            const values = [255, 220, 185, 150, 115, 80, 45, 10]
            const rows = []
            for (let s = 0; s < values.length; ++s)
                rows.push({ tag: "s = " + s, s: s, value: values[s] })
            return rows
        }

        function test_fireSpeed(data) {
            // Start at the other end, so that the click moves the slider.
            showCode([0x0A, 0xF1, data.s === 7 ? 255 : 10, 10])
            const slider = child("fireSpeed")
            // The slider's positions lie 28 px apart from x = 8.
            clickAt(slider, 8 + 28 * data.s, slider.height / 2)
            compare(slider.value, data.s)
            compare(model.codeOf(0), [0x0A, 0xF1, data.value, 10])
            compare(model.readBack(model.codeOf(0)).speed, data.s)
        }
    }
}
