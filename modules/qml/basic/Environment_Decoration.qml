import QtQuick

// Lit brackets around the page area, tick rows at its top left and bottom right, the light rails along the
// window's sides and chevrons above the bottom bar's corners: small pictures, each at its place in the window.
Item {
    width: 1000
    height: 600

    Repeater {
        model: [
            { name: "decoBracketTopLeft", x: 146, y: 71 },
            { name: "decoBracketTopRight", x: 901, y: 71 },
            { name: "decoBracketBottomLeft", x: 146, y: 509 },
            { name: "decoBracketBottomRight", x: 901, y: 509 },
            { name: "decoTicksTop", x: 200, y: 84 },
            { name: "decoTicksBottom", x: 830, y: 542 },
            { name: "decoRailLeft", x: 0, y: 174 },
            { name: "decoRailRight", x: 982, y: 194 },
            { name: "decoChevronsLeft", x: 20, y: 538 },
            { name: "decoChevronsRight", x: 948, y: 538 }
        ]

        Image {
            required property var modelData

            x: modelData.x
            y: modelData.y
            source: root.skinImage("frame/" + modelData.name)
            asynchronous: true
        }
    }
}
