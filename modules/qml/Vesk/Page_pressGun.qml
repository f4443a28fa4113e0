import QtQuick
import "../common"

// The recoil page (work in progress).
Item {
    id: gunPage
    objectName: "gunPage"

    function initUI() {
    }

    function translateStrings() {
    }

    function pageReset() {
    }

    function pageApply() {
    }

    width: 759
    height: 442

    Image {
        source: root.skinImage("list_center/fnCommonBackground")
    }
}
