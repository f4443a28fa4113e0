import QtQuick
import "../common"

// The key page (work in progress).
Item {
    id: keyPage
    objectName: "keyPage"

    function initUI() {
    }

    function translateStrings() {
    }

    function keyEvent(isDown, usbCode) {
    }

    function pageReset() {
    }

    function pageApply() {
    }

    width: 759
    height: 442

    Image {
        source: root.skinImage("list_center/fnKeydefineBackground")
    }
}
