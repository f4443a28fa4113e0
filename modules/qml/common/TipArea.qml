import QtQuick

// The mouse area of a control with a tip: while the cursor rests on it the scene's tooltip says what the
// control does (root.showTip); a press puts the tip away.
MouseArea {
    id: tipArea

    property string tip: ""
    // The control the tip stands beside.
    property Item tipTarget: parent

    hoverEnabled: true
    onContainsMouseChanged: {
        if (containsMouse)
            root.showTip(tipTarget, tip)
        else
            root.hideTip(tipTarget)
    }
    onPressedChanged: {
        if (pressed)
            root.hideTip(tipTarget)
    }
}
