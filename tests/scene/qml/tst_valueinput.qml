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

        // However the typing ends, the typed number is committed once; a value the program sets meanwhile
        // replaces it instead, and nothing is left to commit.
        function test_pressOnTheBackgroundCommitsOnce_data() {
            return [
                { tag: "press on the background", how: "background", value: 42, reports: 1 },
                { tag: "the scene commits pending edits", how: "scene", value: 42, reports: 1 },
                { tag: "setValue drops the typed number", how: "setValue", value: 99, reports: 0 },
                { tag: "a value assigned drops the typed number", how: "assign", value: 99, reports: 0 }
            ]
        }

        function test_pressOnTheBackgroundCommitsOnce(data) {
            type("42")
            verify(input.pending)
            compare(input.value, 10, "not committed yet")
            if (data.how === "background")
                root.emptyAreaPressed()
            else if (data.how === "scene")
                root.commitPendingEdits()
            else if (data.how === "setValue")
                input.setValue(99)
            else
                input.value = 99
            compare(input.value, data.value)
            compare(completed.count, data.reports)
            verify(!input.pending)
            root.commitPendingEdits()
            root.emptyAreaPressed()
            compare(completed.count, data.reports, "nothing left to commit")
            compare(input.value, data.value)
            verify(!input.editing)
        }

        function test_valueFromTheProgramIsClamped() {
            input.maxValue = 127
            input.setValue(500)
            compare(input.value, 127)
            compare(completed.count, 0)
        }
    }
}
