import QtQuick
import "../common"

// The macro page (work in progress).
Item {
    id: macroPage
    objectName: "macroPage"

    function initUI() {
    }

    function translateStrings() {
    }

    function keyEvent(isDown, usbCode) {
    }

    width: 759
    height: 442

    Image {
        source: root.skinImage("list_center/fnMacroBackground")
    }
}
