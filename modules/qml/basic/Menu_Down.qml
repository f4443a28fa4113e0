import QtQuick
import "../common"

// The bottom bar: "ALL RESET" and "ALL SAVE" for every page at once. It rests while the global-settings panel
// is open and while the mouse is being read.
Item {
    id: menuDown

    signal btnTotalResetClicked()
    signal btnTotalApplyClicked()

    width: 1000
    height: 44
    enabled: !root.globalSettingOpen && !root.deviceBusy
    opacity: root.partOpacity(false)

    Image {
        source: root.skinImage("list_dn/listDnContainer")
    }

    Button_2state {
        objectName: "allResetButton"
        x: 372
        y: 9
        source0: root.skinImage("common/btnFrame")
        source1: root.skinImage("common/btnFrame")
        text: root.str(113)
        onClicked: {
            root.setProtectUI(800)
            menuDown.btnTotalResetClicked()
        }
    }

    Button_2state {
        objectName: "allSaveButton"
        x: 508
        y: 9
        source0: root.skinImage("common/btnFrame")
        source1: root.skinImage("common/btnFrame")
        text: root.str(114)
        onClicked: {
            root.setProtectUI(2000)
            menuDown.btnTotalApplyClicked()
        }
    }
}
