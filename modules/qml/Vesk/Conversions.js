.pragma library

// How the mouse's values and what the pages show turn into each other: DPI, report rate and DPI stage (sensor
// page), brightness and effect speed (lighting page), and the pointer settings' read-outs. Each takes all it
// needs as arguments, so that it can be checked on its own.

// Rounds to the nearest integer, halves upward.
function nearest(x) {
    return Math.floor(x + 0.5)
}

// An integer lo–hi, the nearest to v; fallback for what is not a number.
function clampInt(v, lo, hi, fallback) {
    const n = Math.round(Number(v))
    return isNaN(n) ? fallback : Math.max(lo, Math.min(hi, n))
}

function clampByte(v) {
    return clampInt(v, 0, 255, 0)
}

// ---- sensor ----

// A DPI as the mouse stores it: in steps of `base` DPI, one byte. A value beyond a byte would wrap into a tiny
// DPI, so it is sent as the nearest end.
function dpiByte(dpi, base) {
    const v = nearest(Number(dpi) / base)
    if (isNaN(v) || v < 0 || v > 255) {
        console.debug("DPI", dpi, "does not fit in steps of", base, "; sent as the nearest end")
        return isNaN(v) || v < 0 ? 0 : 255
    }
    return v
}

function dpiOfByte(value, base) {
    return clampByte(value) * base
}

// Report-rate button 0–3 ("125 Hz" … "1000 Hz") ↔ the polling interval in ms the mouse takes: 8, 4, 2, 1.
function rateValue(button) {
    return 1 << (3 - clampInt(button, 0, 3, 3))
}

// The interval's lowest set bit counts: none shows 1000 Hz, one beyond 8 ms shows 125 Hz.
function rateButton(rate) {
    const byte = Number(rate) & 0xFF
    for (let bit = 0; bit < 8; ++bit) {
        if (byte & (1 << bit))
            return Math.max(3 - bit, 0)
    }
    return 3
}

// The mouse counts DPI stages from 1; the page's stage buttons from 0, `stages` of them.
function stageButton(stage, stages) {
    return Math.min(Math.min(Math.max(Number(stage) - 1, 0), 7), stages - 1)
}

function stageValue(button, stages) {
    return Math.min(button, stages - 1) + 1
}

// What the desktop gets for a pointer slider position 0–10, as the view sets it (view/pointer.cpp): the
// pointer speed on the 1–20 scale (10 is the desktop's default), the lines a wheel notch scrolls, the
// double-click time in ms.
function pointerSpeed(position) {
    return position === 0 ? 1 : 2 * position
}

function scrollLines(position) {
    return position + 1
}

function doubleClickMs(position) {
    return 900 - 70 * position
}

// ---- lighting ----

// A lighting slider's position, 0–7.
function lightPosition(p) {
    return clampInt(p, 0, 7, 0)
}

function brightnessValue(position) {
    return nearest(lightPosition(position) * 255 / 7)
}

function brightnessPosition(value) {
    return lightPosition(nearest(Number(value) * 7 / 255))
}

// The share of full brightness a position sends, in per cent.
function brightnessPercent(position) {
    return Math.round(brightnessValue(position) * 100 / 255)
}

// The speed values of the effects that have a speed: base, and the span that the 8 positions cover; null for
// an effect without a speed.
function speedRange(effect) {
    switch (Number(effect)) {
    case 3:
    case 4:
    case 5:
        return { base: 1, span: 9 }
    case 8:
        return { base: 10, span: 10 }
    case 9:
        return { base: 5, span: 10 }
    case 10:
        return { base: 20, span: 10 }
    }
    return null
}

// The highest position is the lowest value (the fastest effect); effects without a speed send 0.
function speedValue(effect, position) {
    const r = speedRange(effect)
    return r === null ? 0 : nearest((7 - lightPosition(position)) * r.span / 7) + r.base
}

// The position of a speed value read back; -1 for an effect without a speed. A value outside the effect's
// range shows at the nearest end.
function speedPosition(effect, value) {
    const r = speedRange(effect)
    if (r === null)
        return -1
    return lightPosition(7 - nearest((Number(value) - r.base) * 7 / r.span))
}
