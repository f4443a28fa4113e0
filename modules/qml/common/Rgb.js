.pragma library

// Colours as the mouse and the configuration keep them, [R, G, B] of 0–255, and as Qt Quick shows them.

// alpha 0–1, opaque when left out.
function toColor(rgb, alpha) {
    return Qt.rgba(rgb[0] / 255, rgb[1] / 255, rgb[2] / 255, alpha === undefined ? 1 : alpha)
}

function fromColor(color) {
    return [Math.round(color.r * 255), Math.round(color.g * 255), Math.round(color.b * 255)]
}

// The palette picture (common/draw_palette), `width` × `height`: hue from left to right, saturation from top
// to bottom, full value. A point outside it takes the nearest edge.
function paletteColor(px, py, width, height) {
    const x = Math.max(0, Math.min(width - 1, px))
    const y = Math.max(0, Math.min(height - 1, py))
    return Qt.hsva(x / (width - 1) * 359 / 360, 1 - y / (height - 1), 1, 1)
}

// Where a colour sits on the palette: colours without hue at the left, greys at the bottom.
function palettePoint(color, width, height) {
    return Qt.point(Math.max(0, color.hsvHue) * 360 / 359 * (width - 1), (1 - color.hsvSaturation) * (height - 1))
}
