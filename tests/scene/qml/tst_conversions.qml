import QtQuick
import QtTest
import "qrc:/modules/qml/Vesk/Conversions.js" as Conv
import "qrc:/modules/qml/common/Rgb.js" as Rgb

// The pages' conversions between the mouse's values and what they show, and the colours, each on its own. The
// pages' tests show that the pages use them.
TestCase {
    name: "Conversions"

    function test_dpiByte_data() {
        return [
            { tag: "400 in steps of 50", base: 50, dpi: 400, value: 8 },
            { tag: "12000 in steps of 50", base: 50, dpi: 12000, value: 240 },
            { tag: "half a step rounds up", base: 100, dpi: 250, value: 3 },
            { tag: "under half a step rounds down", base: 100, dpi: 249, value: 2 },
            { tag: "beyond a byte stays at the top", base: 10, dpi: 12000, value: 255 }
        ]
    }

    function test_dpiByte(data) {
        compare(Conv.dpiByte(data.dpi, data.base), data.value)
    }

    // The polling interval the mouse reports, as the rate button shown.
    function test_rateButton_data() {
        return [
            { tag: "1 ms is 1000 Hz", rate: 1, button: 3 },
            { tag: "2 ms is 500 Hz", rate: 2, button: 2 },
            { tag: "4 ms is 250 Hz", rate: 4, button: 1 },
            { tag: "8 ms is 125 Hz", rate: 8, button: 0 },
            { tag: "no bit set shows 1000 Hz", rate: 0, button: 3 },
            { tag: "lowest bit wins", rate: 6, button: 2 },
            { tag: "beyond 8 ms shows 125 Hz", rate: 16, button: 0 }
        ]
    }

    function test_rateButton(data) {
        compare(Conv.rateButton(data.rate), data.button)
    }

    // The mouse's 1-based DPI stage as the stage button shown, within the stages offered.
    function test_stageButton_data() {
        return [
            { tag: "stage 0 shows the first", stage: 0, stages: 8, button: 0 },
            { tag: "stage 1 shows the first", stage: 1, stages: 8, button: 0 },
            { tag: "stage 8 shows the eighth", stage: 8, stages: 8, button: 7 },
            { tag: "stage 200 shows the eighth", stage: 200, stages: 8, button: 7 },
            { tag: "beyond the stages offered shows the last", stage: 6, stages: 4, button: 3 }
        ]
    }

    function test_stageButton(data) {
        compare(Conv.stageButton(data.stage, data.stages), data.button)
    }

    // Brightness slider position, the value the mouse keeps, and the read-out's share of full brightness.
    function test_brightness_data() {
        return [
            { tag: "off", p: 0, value: 0, percent: 0 },
            { tag: "step 1 rounds down", p: 1, value: 36, percent: 14 },
            { tag: "step 2 rounds up", p: 2, value: 73, percent: 29 },
            { tag: "step 3", p: 3, value: 109, percent: 43 },
            { tag: "step 4", p: 4, value: 146, percent: 57 },
            { tag: "step 5", p: 5, value: 182, percent: 71 },
            { tag: "step 6", p: 6, value: 219, percent: 86 },
            { tag: "full", p: 7, value: 255, percent: 100 }
        ]
    }

    function test_brightness(data) {
        compare(Conv.brightnessValue(data.p), data.value)
        compare(Conv.brightnessPosition(data.value), data.p)
        compare(Conv.brightnessPercent(data.p), data.percent)
    }

    // Per effect, the value of speed positions 0–7: the highest position is the lowest value.
    function test_speed_data() {
        return [
            { tag: "breathing 1..10", effect: 3, values: [10, 9, 7, 6, 5, 4, 2, 1] },
            { tag: "neon 1..10", effect: 4, values: [10, 9, 7, 6, 5, 4, 2, 1] },
            { tag: "wave 1..10", effect: 5, values: [10, 9, 7, 6, 5, 4, 2, 1] },
            { tag: "vertical flipping 10..20", effect: 8, values: [20, 19, 17, 16, 14, 13, 11, 10] },
            { tag: "yo-yo 5..15", effect: 9, values: [15, 14, 12, 11, 9, 8, 6, 5] },
            { tag: "spotlight 20..30", effect: 10, values: [30, 29, 27, 26, 24, 23, 21, 20] },
            { tag: "led power on has no speed", effect: 0, values: [0, 0, 0, 0, 0, 0, 0, 0] },
            { tag: "static has no speed", effect: 1, values: [0, 0, 0, 0, 0, 0, 0, 0] },
            { tag: "twinkling has no speed", effect: 2, values: [0, 0, 0, 0, 0, 0, 0, 0] },
            { tag: "gliding has no speed", effect: 6, values: [0, 0, 0, 0, 0, 0, 0, 0] },
            { tag: "finger moving has no speed", effect: 7, values: [0, 0, 0, 0, 0, 0, 0, 0] },
            { tag: "unknown effect 11 has no speed", effect: 11, values: [0, 0, 0, 0, 0, 0, 0, 0] }
        ]
    }

    function test_speed(data) {
        const hasSpeed = data.values[0] !== 0
        for (let s = 0; s < 8; ++s) {
            compare(Conv.speedValue(data.effect, s), data.values[s], "position " + s)
            compare(Conv.speedPosition(data.effect, data.values[s]), hasSpeed ? s : -1, "value " + data.values[s])
        }
    }

    // A speed the mouse reports outside the effect's range shows at the nearest end of the slider.
    function test_speedOutOfRange_data() {
        return [
            { tag: "below breathing's range", effect: 3, value: 0, position: 7 },
            { tag: "far above breathing's range", effect: 3, value: 200, position: 0 },
            { tag: "below spotlight's range", effect: 10, value: 5, position: 7 },
            { tag: "half a step rounds upward", effect: 8, value: 15, position: 3 }
        ]
    }

    function test_speedOutOfRange(data) {
        compare(Conv.speedPosition(data.effect, data.value), data.position)
    }

    // The palette picture of 200 × 120: hue from left to right, saturation from top to bottom.
    function test_paletteColour_data() {
        return [
            { tag: "top left is red", x: 0, y: 0, rgb: [255, 0, 0] },
            { tag: "bottom is white", x: 120, y: 119, rgb: [255, 255, 255] },
            { tag: "a third across is green", x: 66.52, y: 0, rgb: [0, 255, 0] },
            { tag: "outside the palette clamps", x: -20, y: 500, rgb: [255, 255, 255] }
        ]
    }

    function test_paletteColour(data) {
        compare(Rgb.fromColor(Rgb.paletteColor(data.x, data.y, 200, 120)), data.rgb)
    }

    // What the settings and the mouse keep comes back unchanged from the colour shown.
    function test_colourRoundTrip_data() {
        return [
            { tag: "black", rgb: [0, 0, 0] },
            { tag: "every channel its own", rgb: [1, 127, 254] },
            { tag: "white", rgb: [255, 255, 255] }
        ]
    }

    function test_colourRoundTrip(data) {
        compare(Rgb.fromColor(Rgb.toColor(data.rgb)), data.rgb)
        compare(Rgb.toColor(data.rgb).a, 1, "opaque unless told")
        fuzzyCompare(Rgb.toColor(data.rgb, 45 / 255).a, 45 / 255, 0.001)
    }
}
