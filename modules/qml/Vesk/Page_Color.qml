import QtQuick
import "../common"

// The lighting page (work in progress).
Item {
    id: colorPage
    objectName: "colorPage"

    function initUI() {
    }

    function translateStrings() {
    }

    function pageReset() {
    }

    function pageApply() {
    }

    function refresh() {
    }

    width: 759
    height: 442

    Image {
        source: root.skinImage("list_center/fnColorBackground")
    }
}
