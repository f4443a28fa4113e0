import QtQuick
import "../common"

// The profile menu: entries for profiles 0 and 1, of which only profile 1 ("P01") is offered. A left click
// switches to the entry's profile; a right click opens LOAD, SAVE, RESET and CANCEL for it.
Item {
    id: menuProf

    // The mouse's current profile as the scene knows it.
    property int curProfile: 1
    // The profile whose menu is open, -1 while it is closed.
    property int menuProfile: -1
    readonly property int entryCount: 2
    readonly property int entryPitch: 44

    // After the mouse switched to the profile, or after the current profile was loaded or reset: the pages
    // read it again.
    signal profileSwitched(int profileId)

    function profileLabel(n) {
        return "P" + (n < 10 ? "0" : "") + n
    }

    function switchTo(n) {
        root.commitPendingEdits()
        ui_View.vesk_02H_SetCurrentProfile(n)
        curProfile = n
        profileSwitched(n)
    }

    // A left click switches to the entry's profile, a right click opens its menu.
    function entryClicked(n, rightButton) {
        if (rightButton) {
            menuProfile = n
            return
        }
        menuProfile = -1
        if (n !== curProfile)
            switchTo(n)
    }

    function menuChosen(action) {
        const n = menuProfile
        menuProfile = -1
        if (n < 0)
            return
        // A number typed on a page counts for the profile it was typed in, before the profile is read again.
        root.commitPendingEdits()
        if (action === "load") {
            ui_View.vesk_loadProfile(n)
            if (n === curProfile)
                switchTo(n)
        } else if (action === "save") {
            ui_View.vesk_saveProfile(n)
        } else if (action === "reset") {
            ui_View.vesk_resetProfile(n)
            if (n === curProfile)
                switchTo(n)
        }
    }

    width: container.implicitWidth
    height: container.implicitHeight

    onEnabledChanged: {
        if (!enabled)
            menuProfile = -1
    }

    Image {
        id: container
        source: root.skinImage("list_pf/listPfContainer")
    }

    Repeater {
        model: menuProf.entryCount

        Item {
            id: entry

            required property int index
            readonly property bool lit: menuProf.curProfile === index || mouseArea.containsMouse

            x: 4
            y: 4 + menuProf.entryPitch * index
            width: 48
            height: 40
            // Profile 0 holds the mouse's global settings and is not offered.
            visible: index !== 0

            Accessible.role: Accessible.Button
            Accessible.name: menuProf.profileLabel(index)
            Accessible.description: root.str(160)
            Accessible.checkable: true
            Accessible.checked: menuProf.curProfile === index
            Accessible.onPressAction: {
                if (menuProf.enabled)
                    menuProf.entryClicked(index, false)
            }

            Image {
                source: root.skinImage("list_pf/profileFW" + (entry.lit ? "_1" : "_0"))
            }

            Text {
                anchors.centerIn: parent
                textFormat: Text.PlainText
                text: menuProf.profileLabel(entry.index)
                color: entry.lit ? root.globalSetting_color : root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size
            }

            TipArea {
                id: mouseArea
                anchors.fill: parent
                acceptedButtons: Qt.LeftButton | Qt.RightButton
                tip: root.str(160)
                onClicked: function (mouse) {
                    menuProf.entryClicked(entry.index, mouse.button === Qt.RightButton)
                }
            }
        }
    }

    Column {
        objectName: "profileActions"
        x: -width - 6
        y: 4 + menuProf.entryPitch * Math.max(menuProf.menuProfile, 0)
        spacing: 2
        visible: menuProf.menuProfile >= 0

        Repeater {
            model: [[84, "load"], [85, "save"], [77, "reset"], [78, "cancel"]]

            Button_2state {
                required property var modelData

                source0: root.skinImage("common/btnFrame")
                source1: root.skinImage("common/btnFrame")
                text: root.str(modelData[0])
                onClicked: menuProf.menuChosen(modelData[1])
            }
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            menuProf.menuProfile = -1
        }
    }
}
