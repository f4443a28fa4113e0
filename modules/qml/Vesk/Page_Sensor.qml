import QtQuick
import "../common"

// The sensor page (work in progress).
Item {
    id: sensorPage
    objectName: "sensorPage"

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
