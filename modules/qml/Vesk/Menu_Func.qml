import QtQuick

// The function menu: one button per page ("KEY", "MACRO", "COLOR", "SENSOR", "Game"). The frame decides what
// a click means; curIndex is the page shown, -1 for none.
Item {
    id: menuFunc

    property int curIndex: -1
    readonly property var icons: ["fnKeydefine", "fnMacro", "fnColor", "fnSensor", "fnpressGun"]
    readonly property var captions: [74, 75, 76, 86, 119]
    readonly property int buttonPitch: 50

    signal functionClicked(int index)

    width: 150
    height: buttonPitch * (icons.length - 1) + 37

    Repeater {
        model: menuFunc.icons.length

        Item {
            id: button

            required property int index
            readonly property bool lit: menuFunc.curIndex === index || mouseArea.containsMouse
            readonly property string suffix: lit ? "_1" : "_0"

            y: menuFunc.buttonPitch * index
            width: 150
            height: 37

            Accessible.role: Accessible.PageTab
            Accessible.name: caption.text
            Accessible.checkable: true
            Accessible.checked: menuFunc.curIndex === index
            Accessible.onPressAction: {
                if (menuFunc.enabled)
                    menuFunc.functionClicked(index)
            }

            Image {
                source: root.skinImage("list_fn/listFnBtn" + button.suffix)
            }

            Image {
                x: 8
                y: 5
                source: root.skinImage("list_fn/" + menuFunc.icons[button.index] + button.suffix)
            }

            Text {
                id: caption
                x: 44
                width: button.width - x - 10
                anchors.verticalCenter: parent.verticalCenter
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: root.str(menuFunc.captions[button.index])
                color: button.lit ? root.globalSetting_color : root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size + 1
            }

            MouseArea {
                id: mouseArea
                anchors.fill: parent
                hoverEnabled: true
                onClicked: menuFunc.functionClicked(button.index)
            }
        }
    }
}
