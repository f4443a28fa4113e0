import QtQuick
import QtTest

// The product frame over the real program: the profile menu switches, loads, saves and resets profiles on
// the mouse, and the pages that show the profile read it again.
Item {
    width: 1000
    height: 600

    SignalSpy {
        id: switchSpy
        signalName: "profileSwitched"
    }

    PageTestCase {
        name: "FrameOnTheMouse"

        function openScene() {
            scene = createScene()
            startScene(true)
            switchSpy.target = frame
            switchSpy.clear()
        }

        function init() {
            testEnv.reset()
            openScene()
        }

        function test_leftClickSwitchesTheMouseToTheProfile() {
            ui_View.vesk_02H_SetCurrentProfile(0)
            frame.initUI()
            const menu = findChild(frame, "menuProf")
            compare(menu.curProfile, 0)
            testEnv.clearCommands()
            clickAt(menu, 28, 48 + 20)
            compare(testEnv.currentProfile(), 1)
            compare(testEnv.commands()[0], "02")
            compare(menu.curProfile, 1)
            compare(switchSpy.count, 1)
            testEnv.clearCommands()
            clickAt(menu, 28, 48 + 20)
            compare(switchSpy.count, 1, "a click on the current profile switches nothing")
            compare(testEnv.commands(), [])
        }

        function test_pagesAreBuiltWhenFirstNeeded_data() {
            return [
                { tag: "not by initUI, which may come during the opening", how: "initUI", built: ["sensorPage"] },
                { tag: "by opening a page: that page only", how: "open", built: ["colorPage"] },
                { tag: "not by the opening", how: "run", built: [] },
                { tag: "every page by ALL SAVE, which sends the mirror's values", how: "allSave",
                  built: ["keyPage", "macroPage", "colorPage", "sensorPage", "gunPage"], sends: true },
                { tag: "a page opened later reads only itself", how: "second", built: ["colorPage", "sensorPage"] }
            ]
        }

        // Without a mouse at start the window shows before the pages exist; key events and the bottom bar
        // meanwhile reach nothing and break nothing.
        function test_pagesAreBuiltWhenFirstNeeded(data) {
            const fresh = createTemporaryObject(sceneComponent, parent)
            fresh.buildParts()
            const freshFrame = findChild(fresh, "productFrame")
            compare(freshFrame.pages.filter(page => page !== null).length, 0)
            fresh.detectKeyboard(true, 0x04)
            testEnv.clearCommands()
            if (data.how === "initUI") {
                fresh.initUI()
                compare(freshFrame.pages.filter(page => page !== null).length, 0)
                freshFrame.functionClicked(3)
                const stages = Array.from(ui_View.vesk_8CH_GetDpi8Stage()).slice(0, 8)
                compare(findChild(fresh, "sensorPage").dpiValues, stages.map(v => Number(v) * freshFrame.dpiBase),
                        "built after initUI: the mouse's values at once")
            } else if (data.how === "open") {
                freshFrame.functionClicked(2)
                tryCompare(freshFrame, "curPage", 2, 2000)
            } else if (data.how === "run") {
                fresh.animation_speed = 10
                fresh.run()
                tryVerify(() => freshFrame.settled, 3000)
            } else if (data.how === "allSave") {
                freshFrame.totalApply()
            } else {
                fresh.initUI()
                freshFrame.functionClicked(2)
                const colorPage = findChild(fresh, "colorPage")
                colorPage.brightnessPos = (colorPage.brightnessPos + 1) % 8
                const edited = colorPage.brightnessPos
                freshFrame.functionClicked(3)
                compare(colorPage.brightnessPos, edited, "the lighting page keeps what the user changed")
            }
            for (const name of ["keyPage", "macroPage", "colorPage", "sensorPage", "gunPage"])
                compare(findChild(fresh, name) !== null, data.built.includes(name), name)
            compare(freshFrame.pagesBuilt, data.built.length === 5)
            if (data.sends)
                verify(testEnv.commands().length > 0, "ALL SAVE sends")
            else
                compare(testEnv.commands(), [], "building the pages sends nothing")
        }

        // Every control that shows no text, and every one whose action hides behind a right click or a click
        // on a picture, says what it does once the cursor rests on it: within the window, beside the control
        // and not over it, gone when the control is pressed. The macro tools say it while they are resting too.
        function test_tips_data() {
            const macro = 1
            return [
                { tag: "the gear", page: -1, part: "settingButton", text: "OPTIONS" },
                { tag: "the close mark at the window's corner", page: -1, part: "closeButton", text: "CLOSE" },
                { tag: "the logo", page: -1, part: "logo", text: "OPEN THE WEB PAGE" },
                { tag: "a profile", page: -1, part: "menuProf", x: 28, y: 68, text: "RIGHT CLICK: LOAD, SAVE OR RESET" },
                { tag: "new macro", page: macro, part: "addMacro", text: "NEW MACRO" },
                { tag: "delete the macro", page: macro, part: "deleteMacro", text: "DELETE THE MACRO" },
                { tag: "record", page: macro, part: "record", text: "RECORD FROM THE KEYBOARD" },
                { tag: "stop, resting", page: macro, part: "stop", text: "STOP RECORDING" },
                { tag: "add the key", page: macro, part: "addKey", text: "ADD THE KEY" },
                { tag: "add the mouse button", page: macro, part: "addMouseButton", text: "ADD THE MOUSE BUTTON" },
                { tag: "add the delay", page: macro, part: "addDelay", text: "ADD THE DELAY" },
                { tag: "delete the line", page: macro, part: "deleteRow", text: "DELETE THE LINE" },
                { tag: "cut", page: macro, part: "cutRow", text: "CUT THE LINE" },
                { tag: "copy", page: macro, part: "copyRow", text: "COPY THE LINE" },
                { tag: "paste at the page's right edge", page: macro, part: "pasteRow",
                  text: "PASTE BEFORE THE CHOSEN LINE" },
                { tag: "a macro of the library", page: macro, part: "macroLibrary", x: 40, y: 18,
                  text: "RIGHT CLICK: LOAD, SAVE OR RENAME" },
                { tag: "a DPI stage", page: 3, part: "dpiGroup", x: 56 * 7 + 28, y: 13,
                  text: "RIGHT CLICK: CHOOSE ITS DPI" },
                { tag: "the recoil picture", page: 4, part: "gunPictureArea", text: "CLICK TO CHOOSE THE GUN" },
                { tag: "a control without a tip shows none", page: 3, part: "sensorApply", text: "" }
            ]
        }

        function test_tips(data) {
            ui_View.createMacroIni()
            if (data.page >= 0)
                showPage(data.page)
            const tip = findChild(scene, "hoverTip")
            tip.delay = 50
            const part = findChild(scene, data.part)
            verify(part, data.part)
            const x = data.x === undefined ? part.width / 2 : data.x
            const y = data.y === undefined ? part.height / 2 : data.y
            mouseMove(part, x, y)
            if (data.text === "") {
                wait(200)
                verify(!tip.visible)
                return
            }
            tryVerify(() => tip.visible, 1000, "the tip shows")
            compare(tip.text, data.text)
            const at = tip.mapToItem(scene, 0, 0)
            verify(at.x >= 0 && at.y >= 0 && at.x + tip.width <= scene.width && at.y + tip.height <= scene.height,
                   "within the window: " + at + " " + tip.width + " × " + tip.height)
            verify(findChild(tip, "tipText").implicitWidth <= findChild(tip, "tipText").width, "the text whole")
            const cursor = part.mapToItem(scene, x, y)
            verify(!tip.contains(tip.mapFromItem(scene, cursor.x, cursor.y)), "not under the cursor")
            // Released away from the control, the press clicks nothing.
            mousePress(part, x, y)
            verify(!tip.visible, "a press puts it away")
            mouseRelease(part, x, y + 300)
        }

        function test_profileActions_data() {
            return [
                { tag: "save", action: 1, switched: 0 },
                { tag: "load the current profile", action: 0, switched: 1 },
                { tag: "reset the current profile", action: 2, switched: 1 },
                { tag: "cancel", action: 3, switched: 0 }
            ]
        }

        function test_profileActions(data) {
            const file = testEnv.folder + "/exported.pf"
            ui_View.vesk_saveProfile(1)
            testEnv.saveAnswer = file
            testEnv.openAnswer = file
            ui_View.vesk_saveProfile(1)
            verify(testEnv.readFile(file).length > 0)
            const dialogs = testEnv.fileDialogs
            testEnv.clearCommands()
            const menu = findChild(frame, "menuProf")
            clickAt(menu, 28, 48 + 20, Qt.RightButton)
            const actions = findChild(menu, "profileActions")
            verify(actions.visible)
            clickAt(actions, 60, 30 * data.action + 14)
            verify(!actions.visible)
            compare(switchSpy.count, data.switched)
            compare(testEnv.fileDialogs - dialogs, data.action <= 1 ? 1 : 0)
            compare(testEnv.commands().indexOf("02") >= 0, data.switched === 1)
        }
    }
}
