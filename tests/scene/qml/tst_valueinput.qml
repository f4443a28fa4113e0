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

    ValueInput {
        id: input
        x: 10
        y: 10
        width: 120
    }

    SignalSpy {
        id: completed
        target: input
        signalName: "inputComplete"
    }

    TestCase {
        name: "ValueInput"
        when: windowShown

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            input.minValue = 0
            input.maxValue = 255
            input.maxDigits = 3
            input.setValue(10)
            completed.clear()
        }

        function type(text) {
            clickAt(input, 5, 12)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_Delete)
            for (const c of text)
                keyClick(c)
        }

        function test_enterCommitsTheNumberClamped_data() {
            return [
                { tag: "inside the range", min: 0, max: 255, digits: 3, typed: "200", value: 200 },
                { tag: "above the maximum", min: 0, max: 255, digits: 3, typed: "300", value: 255 },
                { tag: "below the minimum", min: 10, max: 65535, digits: 5, typed: "7", value: 10 },
                { tag: "digits beyond the limit are refused", min: 0, max: 65535, digits: 5, typed: "1234567",
                  value: 12345 },
                { tag: "letters are refused", min: 0, max: 255, digits: 3, typed: "1a2", value: 12 },
                { tag: "leading zeros", min: 0, max: 255, digits: 3, typed: "007", value: 7 },
                { tag: "emptied field keeps the number", min: 0, max: 255, digits: 3, typed: "", value: 10 }
            ]
        }

        function test_enterCommitsTheNumberClamped(data) {
            input.minValue = data.min
            input.maxValue = data.max
            input.maxDigits = data.digits
            input.setValue(10)
            type(data.typed)
            keyClick(Qt.Key_Return)
            compare(input.value, data.value)
            compare(completed.count, 1, "one report per Enter")
            compare(completed.signalArguments[0][0], data.value)
            verify(!input.editing)
        }

        function test_pressOnTheBackgroundCommitsOnce() {
            type("42")
            root.emptyAreaPressed()
            compare(input.value, 42)
            compare(completed.count, 1)
        }

        function test_valueFromTheProgramIsClamped() {
            input.maxValue = 127
            input.setValue(500)
            compare(input.value, 127)
            compare(completed.count, 0)
        }
    }
}
