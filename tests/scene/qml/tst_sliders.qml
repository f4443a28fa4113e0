import QtQuick
import QtTest
import "qrc:/modules/qml/common"

Item {
    id: scene
    width: 400
    height: 200

    SceneRoot {
        id: root
    }

    Slider {
        id: slider8
        x: 10
        y: 10
    }

    Slider_11 {
        id: slider11
        x: 10
        y: 60
    }

    SignalSpy {
        id: moved8
        target: slider8
        signalName: "moved"
    }

    TestCase {
        name: "Sliders"
        when: windowShown

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            slider8.value = 0
            slider11.value = 0
            moved8.clear()
        }

        // Position p of the 8-position track sits at x = 8 + 28 p; a click picks the nearest one.
        function test_eightPositions_data() {
            return [
                { tag: "left end is 0", x: 0, position: 0 },
                { tag: "on position 3", x: 8 + 28 * 3, position: 3 },
                { tag: "just short of half way rounds down", x: 8 + 28 * 4 + 13, position: 4 },
                { tag: "past half way rounds up", x: 8 + 28 * 4 + 15, position: 5 },
                { tag: "right end is 7", x: 211, position: 7 }
            ]
        }

        function test_eightPositions(data) {
            clickAt(slider8, data.x, 8)
            compare(slider8.value, data.position)
        }

        function test_elevenPositions_data() {
            return [
                { tag: "left end is 0", x: 0, position: 0 },
                { tag: "on position 5", x: 8 + 20 * 5, position: 5 },
                { tag: "right end is 10", x: 215, position: 10 }
            ]
        }

        function test_elevenPositions(data) {
            clickAt(slider11, data.x, 8)
            compare(slider11.value, data.position)
        }

        function test_dragFollowsTheCursorAndReportsEachNewPosition() {
            mousePress(slider8, 8, 8)
            mouseMove(slider8, 8 + 28 * 2, 8)
            mouseMove(slider8, 8 + 28 * 6, 8)
            mouseMove(slider8, 8 + 28 * 6 + 3, 8)
            mouseRelease(slider8, 8 + 28 * 6 + 3, 8)
            compare(slider8.value, 6)
            compare(moved8.count, 2, "a move within the same position reports nothing")
            compare(moved8.signalArguments[1][0], 6)
        }

        function test_valueFromTheProgramIsClampedAndNotReported_data() {
            return [
                { tag: "below the track", value: -3, position: 0 },
                { tag: "above the track", value: 12, position: 7 },
                { tag: "not a number", value: "x", position: 0 },
                { tag: "fraction", value: 2.6, position: 3 }
            ]
        }

        function test_valueFromTheProgramIsClampedAndNotReported(data) {
            slider8.setValue(data.value)
            compare(slider8.value, data.position)
            compare(moved8.count, 0)
        }
    }
}
