import QtQuick

// A picture button: the normal picture, the hover picture while the cursor is over it or while it is
// selected, and its tip. It shows no text, so it needs no font: the logo, shown from the first frame on, is
// one.
Item {
    id: button

    property url source0
    property url source1
    property bool selected: false
    property string tip: ""
    // What a screen reader calls the button.
    property string accessibleName: tip
    // A resting (disabled) button still shows its tip, but does not light up as if it could be clicked.
    readonly property bool lit: selected || (enabled && mouseArea.containsMouse)

    signal clicked()

    width: picture.implicitWidth
    height: picture.implicitHeight

    Accessible.role: Accessible.Button
    Accessible.name: accessibleName
    Accessible.description: tip !== accessibleName ? tip : ""
    Accessible.onPressAction: {
        if (enabled)
            clicked()
    }

    Image {
        id: picture
        source: button.lit ? button.source1 : button.source0
    }

    TipArea {
        id: mouseArea
        anchors.fill: parent
        tip: button.tip
        onClicked: button.clicked()
    }
}
