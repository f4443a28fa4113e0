import QtQuick

// Stands in for the real scene and records which of its root functions the program called, in order.
Item {
    property var calls: []

    function initUI() { calls = calls.concat(["initUI"]) }
    function run() { calls = calls.concat(["run"]) }
    function setProtectUI(interval) { calls = calls.concat(["setProtectUI " + interval]) }
    function setDeviceBusy(busy) { calls = calls.concat(["setDeviceBusy " + busy]) }
    function deviceSynced(connected) { calls = calls.concat(["deviceSynced " + connected]) }
    function deviceNotice(kind) { calls = calls.concat(["deviceNotice " + kind]) }

    width: 1000
    height: 600
}
