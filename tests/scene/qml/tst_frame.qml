import QtQuick
import QtTest

// The product frame: function menu and product constants, against a stand-in for the program (the profile
// menu is tested against the real program, with the pages).
Item {
    id: container
    width: 1000
    height: 600

    readonly property var sceneComponent: Qt.createComponent("qrc:/modules/qml/main.qml")

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
            frame.readProductConstants()
            compare(frame.colorMaxStage, data.stages)
            compare(frame.dpiBase, data.base)
            compare(frame.dpiValue.length, 18)
            compare(frame.effectEnable.length, 11)
        }
    }
}
