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

    KeyCodeString {
        id: keyCodeString
    }

    KeyInput_2 {
        id: keyInput
        x: 10
        y: 10
    }

    SignalSpy {
        id: completed
        target: keyInput
        signalName: "inputComplete"
    }

    TestCase {
        name: "KeyInput_2"
        when: windowShown

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            keyInput.clear()
            completed.clear()
        }

        function shownText() {
            return findChild(keyInput, "caption").text
        }

        function test_emptyFieldAsksForAKey() {
            compare(shownText(), "KEY【 PRESS ANY 】")
        }

        function test_anUnarmedFieldTakesNothing() {
            verify(!keyInput.keyEvent(true, 4))
            compare(keyInput.keyCode, 0)
            compare(completed.count, 0)
        }

        function test_armedFieldTakesTheNextNamedKeyPress_data() {
            return [
                { tag: "letter", code: 4, name: "A" },
                { tag: "name with blanks", code: 49, name: "\\ |" },
                { tag: "arrow", code: 79, name: "►" },
                { tag: "modifier", code: 224, name: "L Ctrl" }
            ]
        }

        function test_armedFieldTakesTheNextNamedKeyPress(data) {
            clickAt(keyInput)
            verify(keyInput.armed)
            verify(!keyInput.keyEvent(false, data.code), "a release is not a key press")
            verify(keyInput.keyEvent(true, data.code))
            compare(keyInput.keyCode, data.code)
            verify(!keyInput.armed)
            compare(shownText(), "KEY 【 " + data.name + " 】")
            compare(completed.count, 1)
            compare(completed.signalArguments[0][0], data.code)
            verify(!keyInput.keyEvent(true, 4), "once taken, the field waits for the next click")
        }

        function test_aKeyWithoutANameLeavesTheFieldArmed() {
            keyInput.setKeyCode(4)
            clickAt(keyInput)
            verify(!keyInput.keyEvent(true, 0x32))
            verify(keyInput.armed)
            compare(keyInput.keyCode, 4)
            compare(completed.count, 0)
        }

        function test_disarmedByASecondClickOrTheBackground() {
            clickAt(keyInput)
            clickAt(keyInput)
            verify(!keyInput.armed)
            clickAt(keyInput)
            root.emptyAreaPressed()
            verify(!keyInput.armed)
        }

        function test_storedCodeWithoutANameShowsAnEmptyField() {
            keyInput.setKeyCode(0x32)
            compare(keyInput.keyCode, 0)
            compare(shownText(), "KEY【 PRESS ANY 】")
        }
    }
}
