import QtQuick

// Stands in for the real scene and records which of its root functions the program called, in order.
Item {
    property var calls: []

    function initUI() { calls = calls.concat(["initUI"]) }
    function run() { calls = calls.concat(["run"]) }
    function setProtectUI(interval) { calls = calls.concat(["setProtectUI " + interval]) }

    width: 1000
    height: 600
}
