import QtQuick

// Stands in for the scene and records the hook events the program hands to its root functions.
Item {
    property var calls: []

    function initUI() {}
    function run() {}
    function setProtectUI(interval) {}
    function detectKeyboard(isDown, usbCode) {
        calls = calls.concat(["key " + isDown + " " + usbCode])
    }
    function detectMouse(isDown, buttonCode, x, y) {
        calls = calls.concat(["mouse " + isDown + " " + buttonCode + " " + x + " " + y])
    }

    width: 1000
    height: 600
}
