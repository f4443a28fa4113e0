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
                { tag: "not by initUI, which may come during the opening", how: "initUI" },
                { tag: "by opening a page", how: "open" },
                { tag: "after the opening", how: "run" }
            ]
        }

        // Without a mouse at start the window shows before the pages exist; key events and the bottom bar
        // meanwhile reach nothing and break nothing.
        function test_pagesAreBuiltWhenFirstNeeded(data) {
            const fresh = createTemporaryObject(sceneComponent, parent)
            const freshFrame = findChild(fresh, "productFrame")
            verify(!freshFrame.pagesBuilt)
            compare(findChild(fresh, "keyPage"), null)
            fresh.detectKeyboard(true, 0x04)
            freshFrame.totalApply()
            testEnv.clearCommands()
            if (data.how === "initUI") {
                fresh.initUI()
                verify(!freshFrame.pagesBuilt)
                freshFrame.functionClicked(0)
                verify(freshFrame.pagesBuilt)
                const stages = Array.from(ui_View.vesk_8CH_GetDpi8Stage()).slice(0, 8)
                compare(findChild(fresh, "sensorPage").dpiValues, stages.map(v => Number(v) * freshFrame.dpiBase),
                        "built after initUI: the mouse's values at once")
            } else if (data.how === "open") {
                freshFrame.functionClicked(2)
                verify(freshFrame.pagesBuilt)
                tryCompare(freshFrame, "curPage", 2, 2000)
            } else {
                fresh.animation_speed = 10
                fresh.run()
                tryVerify(() => freshFrame.pagesBuilt, 3000)
            }
            for (const name of ["keyPage", "macroPage", "colorPage", "sensorPage", "gunPage"])
                verify(findChild(fresh, name), name)
            compare(testEnv.commands(), [], "building the pages sends nothing")
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
