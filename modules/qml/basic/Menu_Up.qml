import QtQuick
import "../common"

// The top bar: the gear toggles the global-settings panel, the mark at the right end closes the program.
Item {
    id: menuUp

    signal settingClicked()
    signal closeClicked()

    width: 1000
    height: 64

    Image {
        source: root.skinImage("list_up/listUpContainer")
    }

    Button_2state {
        objectName: "settingButton"
        x: 8
        y: 2
        source0: root.skinImage("list_up/applicationSetting_0")
        source1: root.skinImage("list_up/applicationSetting_1")
        selected: root.globalSettingOpen
        tip: root.str(1)
        onClicked: menuUp.settingClicked()
    }

    Button_2state {
        objectName: "closeButton"
        x: menuUp.width - 8 - width
        y: 2
        source0: root.skinImage("list_up/applicationMinimize_0")
        source1: root.skinImage("list_up/applicationMinimize_1")
        tip: root.str(161)
        onClicked: menuUp.closeClicked()
    }
}
