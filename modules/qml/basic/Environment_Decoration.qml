import QtQuick

// Lit brackets around the page area and the light rails along the window's sides.
Item {
    width: 1000
    height: 600

    Image {
        source: root.skinImage("frame/decoration1")
        asynchronous: true
    }

    Image {
        source: root.skinImage("frame/decoration2")
        asynchronous: true
    }
}
