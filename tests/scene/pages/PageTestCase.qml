import QtQuick
import QtTest

// A test case over the program's whole scene, shown in the test's window: starts the scene as the program does
// and brings its pages up at rest, where a click lands on what the test aims at.
TestCase {
    when: windowShown

    readonly property Component sceneComponent: Qt.createComponent("qrc:/modules/qml/main.qml")
    property var scene: null
    property var frame: null
    property var page: null

    // A scene for this test function, its frame and pages built at once (the program builds the frame after
    // the first frame, the pages when first needed).
    function createScene() {
        const created = createTemporaryObject(sceneComponent, parent)
        verify(created, "the scene")
        created.buildParts()
        findChild(created, "productFrame").buildPages()
        return created
    }

    // Runs the opening of `scene` as the program does: "run" at once, the device check at start (testEnv.reset
    // has run it) as the program reports it, busy while it runs, then its result and, when it read the mouse,
    // initUI. Waits for the opening's end: the page area slides in last, and a click while it slides can miss.
    function startScene(connected) {
        frame = findChild(scene, "productFrame")
        scene.animation_speed = 10
        scene.run()
        scene.setDeviceBusy(true)
        scene.setDeviceBusy(false)
        scene.deviceSynced(connected)
        if (connected) {
            scene.initUI()
            // initUI applies the stored configuration's animation setting.
            scene.animation_speed = 10
        }
        tryVerify(() => frame.settled, 3000, "the opening has ended")
    }

    // Shows page `index` through the frame.
    function showPage(index) {
        frame.functionClicked(index)
        waitForPage(index)
    }

    // Shows page `index` by clicking its button in the function menu, as the user does.
    function clickFunction(index) {
        clickAt(findChild(frame, "menuFunc"), 75, 18 + 50 * index)
        waitForPage(index)
    }

    function waitForPage(index) {
        tryCompare(frame, "curPage", index, 1000)
        tryVerify(() => frame.settled, 3000, "the page at rest")
    }

    // A click with `button` (the left one by default) at (x, y) of `item`, its centre by default.
    function clickAt(item, x, y, button) {
        const px = x === undefined ? item.width / 2 : x
        const py = y === undefined ? item.height / 2 : y
        mouseMove(item, px, py)
        mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
    }

    // The page's item named `name`, which the test needs to exist.
    function child(name) {
        const item = findChild(page, name)
        verify(item, name)
        return item
    }

    function slice(list, from, count) {
        return list.slice(from, from + count)
    }
}
