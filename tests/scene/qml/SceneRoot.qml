import QtQuick
import "qrc:/modules/qml/basic"

// What the widgets read from the scene's root, for testing them on their own: give it the id "root". It
// covers its parent, so that the tooltip has the test's window to stand in.
Item {
    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property string globalSetting_fontFamily: "Arial"
    property int skin_No: 1
    property bool globalSettingOpen: false

    signal emptyAreaPressed()
    signal commitPendingRequested()

    function commitPendingEdits() {
        commitPendingRequested()
    }

    function skinImage(subPath) {
        return "file:modules/img/skin" + skin_No + "/" + subPath + ".png"
    }

    function str(i) {
        return "S" + i
    }

    function showTip(item, text) {
        hoverTip.show(item, text)
    }

    function hideTip(item) {
        hoverTip.hide(item)
    }

    width: parent ? parent.width : 0
    height: parent ? parent.height : 0
    z: 100

    HoverTip {
        id: hoverTip
        objectName: "hoverTip"
    }
}
