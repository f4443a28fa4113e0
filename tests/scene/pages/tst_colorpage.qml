import QtQuick
import "qrc:/modules/qml/Vesk/Conversions.js" as Conv

// The lighting page over the real program and the virtual mouse: what it shows of the mouse's values, the
// effects it offers, and the exact bytes that Apply puts into the mouse's profile blocks.
Item {
    width: 1000
    height: 600

    PageTestCase {
        name: "ColorPage"

        // The effect names of the built-in strings, by effect code.
        readonly property var effectNames: ["LED POWER ON", "STATIC", "TWINKLING", "BREATHING", "NEON", "WAVE",
            "GLIDING", "FINGER MOVING", "VERTICAL FLIPPING", "YO-YO", "SPOTLIGHT"]

        function openScene(withInit) {
            scene = createScene()
            page = findChild(scene, "colorPage")
            startScene(withInit)
            showPage(2)
        }

        function init() {
            testEnv.reset()
            openScene(true)
        }

        // Position p of the 8-position slider sits at x = 8 + 28 p.
        function moveSlider(name, p) {
            clickAt(child(name), 8 + 28 * p, 8)
        }

        // The read-out shows the brightness the mouse holds, as a share of the full one; a brightness read
        // back moves the slider.
        function test_brightness_data() {
            return [
                { tag: "off", p: 0, value: 0, readout: "0 %" },
                { tag: "step 1 rounds down", p: 1, value: 36, readout: "14 %" },
                { tag: "full", p: 7, value: 255, readout: "100 %" }
            ]
        }

        function test_brightness(data) {
            moveSlider("brightnessSlider", 7 - data.p)
            page.showEffect(3, data.value, 5)
            compare(findChild(child("brightnessSlider"), "readout").text, data.readout)
        }

        // A speed the mouse reports outside the effect's range must not put the slider off its track.
        function test_speedOutOfRange_data() {
            return [
                { tag: "below breathing's range", effect: 3, value: 0, position: 7 },
                { tag: "far above breathing's range", effect: 3, value: 200, position: 0 }
            ]
        }

        function test_speedOutOfRange(data) {
            ui_View.vesk_0CH_SetRGBLedEffect(data.effect, 255, data.value)
            page.refresh()
            compare(child("speedSlider").value, data.position)
        }

        function test_effectList_data() {
            const all = ["true", "true", "true", "true", "true", "true", "true", "true", "true", "true", "true"]
            const some = ["false", "true", "false", "true", "false", "false", "false", "false", "true", "false",
                "true"]
            return [
                { tag: "all eleven", enable: all, codes: [0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10] },
                { tag: "four of them", enable: some, codes: [1, 3, 8, 10] },
                { tag: "none", enable: Array(11).fill("false"), codes: [] }
            ]
        }

        function test_effectList(data) {
            frame.effectEnable = data.enable
            compare(page.offered.map(e => e.code), data.codes)
            for (let e = 0; e < 11; ++e) {
                const row = findChild(page, "effect" + e)
                compare(row !== null, data.codes.indexOf(e) >= 0, "effect " + e)
                if (row)
                    compare(row.chkStr, effectNames[e])
            }
        }

        // Through clicks: an effect, brightness and speed, and a colour typed into the R field of stage 2 and
        // entered with Enter, or not entered before APPLY or before another stage is chosen.
        function test_applySendsTheBlock_data() {
            return [
                { tag: "neon", effect: 4, p: 2, s: 5, light: 73, speed: 4 },
                { tag: "R typed without Enter, then APPLY", effect: 4, p: 2, s: 5, light: 73, speed: 4,
                  then: "apply" },
                { tag: "R typed without Enter, then another stage", effect: 3, p: 4, s: 1, light: 146, speed: 9,
                  then: "stage" },
                { tag: "yo-yo at the slowest", effect: 9, p: 7, s: 0, light: 255, speed: 15 },
                { tag: "static sends speed 0", effect: 1, p: 1, s: 3, light: 36, speed: 0 },
                { tag: "spotlight dark and fast", effect: 10, p: 0, s: 7, light: 0, speed: 20 }
            ]
        }

        function test_applySendsTheBlock(data) {
            const before = testEnv.profileBlock(0)
            clickAt(child("effect" + data.effect))
            compare(page.effect, data.effect)
            moveSlider("brightnessSlider", data.p)
            if (page.hasSpeed)
                moveSlider("speedSlider", data.s)
            else
                page.speedPos = data.s
            clickAt(child("colorStage2"))
            const red = child("channel0")
            clickAt(red)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            keyClick(Qt.Key_1)
            keyClick(Qt.Key_7)
            if (data.then === "stage") {
                clickAt(child("colorStage4"))
                compare(red.value, child("colorGroup").colorAt(4)[0], "the field shows the new stage")
            } else if (data.then !== "apply") {
                keyClick(Qt.Key_Return)
            }
            if (data.then !== "apply")
                compare(child("colorGroup").colorAt(2)[0], 17)
            testEnv.clearCommands()
            clickAt(child("colorApply"))

            compare(testEnv.commands(), ["0C", "0C"], "the colours (profile 0), then the effect (profile 1)")
            const block0 = testEnv.profileBlock(0)
            const colours = slice(before, 24, 24)
            colours[6] = 17
            // The mouse keeps colours 7 and 8 equal to colour 6.
            for (let i = 18; i < 24; ++i)
                colours[i] = colours[15 + i % 3]
            compare(slice(block0, 24, 24), colours)
            compare(slice(testEnv.profileBlock(1), 71, 3), [data.effect, data.light, data.speed])
        }

        // The colour group reads its palette at the picture's size.
        function test_paletteColour() {
            compare(child("colorGroup").paletteColor(66.52, 0), [0, 255, 0], "a third across is green")
        }

        function test_paletteClickColoursTheSelectedStage() {
            const group = child("colorGroup")
            clickAt(child("colorStage4"))
            compare(group.curIndex, 4)
            clickAt(child("palette"), 0, 0)
            compare(group.colorAt(4), [255, 0, 0])
            compare(child("channel1").value, 0, "the fields follow the picked colour")
            const p = group.palettePoint([255, 0, 0])
            compare(Math.round(p.x), 0)
            compare(Math.round(p.y), 0)
        }

        // Reset shows the factory colours and effect of profile 0 and sends nothing; Apply then sends them.
        function test_resetShowsDefaults() {
            ui_View.vesk_SetLED8StageColor([1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22,
                23, 24])
            ui_View.vesk_0CH_SetRGBLedEffect(9, 36, 6)
            page.refresh()
            compare(page.effect, 9)
            testEnv.clearCommands()
            clickAt(child("colorReset"))
            compare(testEnv.commands(), [])
            const d = ui_View.vesk_getDefaultProfile("profile_fw", 0).map(Number)
            compare(child("colorGroup").values24(), slice(d, 0x18, 24))
            compare(page.effect, d[0x47])
            compare(Conv.brightnessValue(page.brightnessPos), d[0x48])
            compare(Conv.speedValue(page.effect, page.speedPos), d[0x49])
            clickAt(child("colorApply"))
            compare(slice(testEnv.profileBlock(1), 71, 3), slice(d, 0x47, 3))
        }

        function test_resetWithoutDefaultsKeepsWhatIsShown() {
            ui_View.vesk_0CH_SetRGBLedEffect(8, 146, 14)
            page.refresh()
            const colours = child("colorGroup").values24()
            verify(testEnv.writeFile("modules/setting/pD_Vesk.bin", "[profile_fw]\n0=1, 2, 3\n"))
            testEnv.clearCommands()
            page.pageReset()
            compare(testEnv.commands(), [])
            compare(child("colorGroup").values24(), colours)
            compare([page.effect, page.brightnessPos, page.speedPos], [8, 4, 4])
        }

        // The effect is the current profile's; a switch shows the other profile's.
        function test_refreshAfterProfileSwitch_data() {
            return [
                { tag: "to profile 0", profile: 0, effect: [5, 219, 2], shown: [5, 6, 6] },
                { tag: "back to profile 1", profile: 1, effect: [10, 0, 30], shown: [10, 0, 0] }
            ]
        }

        function test_refreshAfterProfileSwitch(data) {
            const other = data.profile === 0 ? 1 : 0
            ui_View.vesk_02H_SetCurrentProfile(data.profile)
            ui_View.vesk_0CH_SetRGBLedEffect(data.effect[0], data.effect[1], data.effect[2])
            ui_View.vesk_02H_SetCurrentProfile(other)
            ui_View.vesk_0CH_SetRGBLedEffect(2, 255, 0)
            frame.profileChanged(other)
            compare(page.effect, 2)
            ui_View.vesk_02H_SetCurrentProfile(data.profile)
            frame.profileChanged(data.profile)
            compare([page.effect, page.brightnessPos, page.speedPos], data.shown)
            verify(findChild(page, "effect" + data.effect[0]).checked)
        }

        // The page's own buttons raise the busy guard; the bottom bar's "ALL SAVE" keeps its longer one.
        function test_busyGuard_data() {
            return [
                { tag: "apply button", click: "colorApply", interval: 800 },
                { tag: "reset button", click: "colorReset", interval: 800 },
                { tag: "all save", click: "", interval: 2000 }
            ]
        }

        function test_busyGuard(data) {
            const timer = findChild(scene, "protectTimer")
            timer.interval = 1
            if (data.click !== "") {
                clickAt(child(data.click))
            } else {
                scene.setProtectUI(2000)
                frame.totalApply()
            }
            compare(timer.interval, data.interval)
        }

        // An effect code the page does not offer is kept as it is and goes back unchanged with Apply.
        function test_unofferedEffectIsKept() {
            frame.effectEnable = ["true", "true", "false", "true", "true", "true", "true", "true", "true", "true",
                "true"]
            ui_View.vesk_0CH_SetRGBLedEffect(2, 109, 0)
            page.refresh()
            compare(page.effect, 2)
            compare(findChild(page, "effect2"), null)
            page.pageApply()
            compare(slice(testEnv.profileBlock(1), 71, 3), [2, 109, 0])
        }
    }

    // Without the mouse at start the page shows the store's profiles, which the program's mirror holds whole,
    // and the shipped product constants.
    PageTestCase {
        name: "ColorPageWithoutMouse"

        function test_theStoresValues() {
            testEnv.reset(false)
            scene = createScene()
            page = findChild(scene, "colorPage")
            startScene(false)
            verify(ui_View.hasProfileData())
            const shown = [page.effect, Conv.brightnessValue(page.brightnessPos),
                           Conv.speedValue(page.effect, page.speedPos)]
            compare(shown, ui_View.vesk_8CH_GetRGBLedEffect().map(Number))
            compare(page.offered.length, 11)
            compare(findChild(page, "colorGroup").stages, 6, "the shipped configuration's stages")
            // Apply without a mouse: the view keeps the change in memory and nothing fails.
            page.chooseEffect(10)
            page.pageApply()
            compare(ui_View.vesk_8CH_GetRGBLedEffect().map(Number), [10, 255, 24])
        }
    }
}
