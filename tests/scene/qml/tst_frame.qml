import QtQuick
import QtTest

// The product frame: function menu, profile menu, product constants, against a stand-in for the program.
Item {
    id: container
    width: 1000
    height: 600

    readonly property var sceneComponent: Qt.createComponent("qrc:/modules/qml/main.qml")

    SignalSpy {
        id: switchSpy
        signalName: "profileSwitched"
    }

    TestCase {
        name: "Frame"
        when: windowShown

        property var scene: null
        property var frame: null

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            ui_View.clear()
            scene = createTemporaryObject(container.sceneComponent, container)
            verify(scene)
            frame = findChild(scene, "productFrame")
            scene.animation_speed = 10
            scene.run()
            tryCompare(findChild(frame, "menuFunc"), "x", 8, 1000)
            switchSpy.target = frame
            switchSpy.clear()
        }

        function test_functionMenuOpensClosesAndSwitchesPages() {
            const menu = findChild(frame, "menuFunc")
            compare(frame.curPage, -1, "nothing is shown at start")
            clickAt(menu, 75, 50 * 2 + 18)
            tryCompare(frame, "curPage", 2, 1000)
            clickAt(menu, 75, 50 * 4 + 18)
            tryCompare(frame, "curPage", 4, 1000)
            clickAt(menu, 75, 50 * 4 + 18)
            tryCompare(frame, "curPage", -1, 1000)
        }

        function test_profileMenuRestsWhileTheMacroPageIsShown() {
            const menu = findChild(frame, "menuFunc")
            clickAt(menu, 75, 50 * 1 + 18)
            tryCompare(frame, "curPage", 1, 1000)
            verify(!findChild(frame, "menuProf").enabled)
            clickAt(menu, 75, 50 * 0 + 18)
            tryCompare(frame, "curPage", 0, 1000)
            verify(findChild(frame, "menuProf").enabled)
        }

        function test_leftClickSwitchesToTheProfile() {
            ui_View.curProfile = 0
            frame.initUI()
            const menu = findChild(frame, "menuProf")
            compare(menu.curProfile, 0)
            clickAt(menu, 28, 48 + 20)
            compare(ui_View.calls[ui_View.calls.length - 1], "vesk_02H_SetCurrentProfile 1")
            compare(menu.curProfile, 1)
            compare(switchSpy.count, 1)
            clickAt(menu, 28, 48 + 20)
            compare(switchSpy.count, 1, "a click on the current profile switches nothing")
        }

        function test_profileActions_data() {
            return [
                { tag: "load the current profile", current: 1, action: 0,
                  calls: ["vesk_loadProfile 1", "vesk_02H_SetCurrentProfile 1"], switched: 1 },
                { tag: "load another profile", current: 0, action: 0, calls: ["vesk_loadProfile 1"], switched: 0 },
                { tag: "save", current: 1, action: 1, calls: ["vesk_saveProfile 1"], switched: 0 },
                { tag: "reset the current profile", current: 1, action: 2,
                  calls: ["vesk_resetProfile 1", "vesk_02H_SetCurrentProfile 1"], switched: 1 },
                { tag: "cancel", current: 1, action: 3, calls: [], switched: 0 }
            ]
        }

        function test_profileActions(data) {
            ui_View.curProfile = data.current
            frame.initUI()
            ui_View.calls = []
            const menu = findChild(frame, "menuProf")
            clickAt(menu, 28, 48 + 20, Qt.RightButton)
            const actions = findChild(menu, "profileActions")
            verify(actions.visible)
            clickAt(actions, 60, 30 * data.action + 14)
            verify(!actions.visible)
            compare(ui_View.calls, data.calls)
            compare(switchSpy.count, data.switched)
        }

        function test_productConstants_data() {
            return [
                { tag: "shipped", values: { colorMaxStage: "6", dpiBase: "50" }, stages: 6, base: 50 },
                { tag: "missing keys keep the fallbacks", values: {}, stages: 8, base: 50 },
                { tag: "a zero DPI step is refused", values: { dpiBase: "0" }, stages: 8, base: 50 },
                { tag: "too many stages are refused", values: { colorMaxStage: "12" }, stages: 8, base: 50 }
            ]
        }

        function test_productConstants(data) {
            ui_View.apValues = data.values
            frame.initUI()
            compare(frame.colorMaxStage, data.stages)
            compare(frame.dpiBase, data.base)
            compare(frame.dpiValue.length, 18)
            compare(frame.effectEnable.length, 11)
        }
    }
}
