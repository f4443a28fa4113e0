import QtQuick

// The sensor page over the real program and the virtual mouse: polling rate, pointer settings, DPI stages and
// their LED colours, from what the mouse holds to what Apply sends, in the order the mouse needs.
Item {
    width: 1000
    height: 600

    PageTestCase {
        name: "SensorPage"

        function openScene() {
            scene = createScene()
            page = findChild(scene, "sensorPage")
            startScene(true)
            showPage(3)
        }

        function init() {
            testEnv.reset()
            openScene()
        }

        function clickRate(button) {
            clickAt(child("rateGroup"), 60 * button + 30, 13)
        }

        function clickStage(i) {
            clickAt(child("dpiGroup"), 56 * i + 28, 13)
        }

        // Opens the value menu of stage i and takes menu entry m (3 columns of 60 × 24 from (8, 8)).
        function chooseDpi(i, m) {
            const group = child("dpiGroup")
            clickAt(group, 56 * i + 28, 13, Qt.RightButton)
            compare(group.menuIndex, i)
            const menuX = Math.max(0, Math.min(56 * i, group.width - 196))
            clickAt(group, menuX + 8 + 60 * (m % 3) + 30, group.height + 2 + 8 + 24 * Math.floor(m / 3) + 12)
        }

        function apply() {
            testEnv.clearCommands()
            clickAt(child("sensorApply"))
        }

        function test_rateShown_data() {
            return [
                { tag: "1 ms is 1000 Hz", rate: 1, button: 3 },
                { tag: "2 ms is 500 Hz", rate: 2, button: 2 },
                { tag: "4 ms is 250 Hz", rate: 4, button: 1 },
                { tag: "8 ms is 125 Hz", rate: 8, button: 0 }
            ]
        }

        function test_rateShown(data) {
            ui_View.vesk_03H_SetReportRate(data.rate)
            page.initUI()
            compare(child("rateGroup").curIndex, data.button)
            compare(child("rateGroup").valueForIndex[data.button], ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"][data.button])
        }

        function test_rateSent_data() {
            return [
                { tag: "125 Hz sends 8", button: 0, rate: 8 },
                { tag: "250 Hz sends 4", button: 1, rate: 4 },
                { tag: "500 Hz sends 2", button: 2, rate: 2 },
                { tag: "1000 Hz sends 1", button: 3, rate: 1 }
            ]
        }

        function test_rateSent(data) {
            clickRate(data.button)
            apply()
            compare(testEnv.reportRate(1), data.rate)
            compare(testEnv.commands()[0], "03")
        }

        // Slider positions reach the view unchanged; the view turns them into system values, which the
        // sliders' read-outs show.
        function test_pointerSliders_data() {
            return [
                { tag: "all at 0", cursor: 0, scroll: 0, dbl: 0, system: [1, 1, 900],
                  readouts: ["1", "1 LINE", "900 ms"] },
                { tag: "all at 10", cursor: 10, scroll: 10, dbl: 10, system: [20, 11, 200],
                  readouts: ["20", "11 LINES", "200 ms"] },
                { tag: "start positions", cursor: 5, scroll: 2, dbl: 5, system: [10, 3, 550],
                  readouts: ["10", "3 LINES", "550 ms"] },
                { tag: "mixed", cursor: 3, scroll: 7, dbl: 1, system: [6, 8, 830],
                  readouts: ["6", "8 LINES", "830 ms"] }
            ]
        }

        function test_pointerSliders(data) {
            // Position p of the 11-position slider sits at x = 8 + 20 p.
            clickAt(child("cursorSlider"), 8 + 20 * data.cursor, 8)
            clickAt(child("scrollSlider"), 8 + 20 * data.scroll, 8)
            clickAt(child("doubleClickSlider"), 8 + 20 * data.dbl, 8)
            compare(["cursorSlider", "scrollSlider", "doubleClickSlider"].map(s => findChild(child(s), "readout").text),
                    data.readouts)
            apply()
            compare(slice(testEnv.pointer(), 1, 3), data.system)
            compare([ui_View.getCursorSpeed(), ui_View.getVerticalScrollLines(), ui_View.getDoubleClickSpeed()],
                    [data.cursor, data.scroll, data.dbl])
        }

        // The stages go out in the frame's DPI step, whatever the step.
        function test_dpiInTheFramesStep() {
            frame.dpiBase = 100
            page.dpiValues = [400, 800, 1600, 2400, 3200, 4800, 6400, 8000]
            compare(page.dpi16(), [4, 8, 16, 24, 32, 48, 64, 80, 4, 8, 16, 24, 32, 48, 64, 80])
        }

        // The menu's value for a stage goes out in DPI steps, the eight stages twice.
        function test_dpiChosenFromTheMenu_data() {
            return [
                { tag: "first stage, first entry", stage: 0, entry: 0, dpi: 400 },
                { tag: "fourth stage, 12000", stage: 3, entry: 17, dpi: 12000 },
                { tag: "last stage, 3200", stage: 7, entry: 9, dpi: 3200 }
            ]
        }

        function test_dpiChosenFromTheMenu(data) {
            const before = slice(testEnv.profileBlock(1), 84, 8)
            chooseDpi(data.stage, data.entry)
            compare(page.dpiValues[data.stage], data.dpi)
            compare(child("dpiGroup").valueForIndex[data.stage], data.dpi)
            apply()
            const eight = before.slice()
            eight[data.stage] = data.dpi / 50
            compare(slice(testEnv.profileBlock(1), 84, 16), eight.concat(eight))
        }

        function test_stageSent_data() {
            return [
                { tag: "first button sends 1", button: 0, stage: 1 },
                { tag: "fourth button sends 4", button: 3, stage: 4 },
                { tag: "eighth button sends 8", button: 7, stage: 8 }
            ]
        }

        function test_stageSent(data) {
            clickStage(data.button)
            compare(page.stageIndex, data.button)
            apply()
            compare(testEnv.dpiStage(1), data.stage)
        }

        // The mouse's stage as the page shows it; reading the mouse brings back the 8 stages it offers.
        function test_stageShown_data() {
            return [
                { tag: "stage 1 shows the first", stage: 1, stages: 8, button: 0 },
                { tag: "stage 8 shows the eighth", stage: 8, stages: 8, button: 7 },
                { tag: "stage 6 of 8 after 4 were offered", stage: 6, stages: 4, button: 5 }
            ]
        }

        function test_stageShown(data) {
            page.maxStage = data.stages
            ui_View.vesk_04H_SetDPIStage(data.stage)
            page.initUI()
            compare(child("dpiGroup").curIndex, data.button)
        }

        // Twinkle type 0: the stage holds a colour number (profile 0's block); else an RGB colour (current).
        function test_ledSent_data() {
            return [
                { tag: "colour number for stage 1", kind: 0, stage: 0, number: 7 },
                { tag: "colour number for stage 6", kind: 0, stage: 5, number: 2 },
                { tag: "RGB colour for stage 3", kind: 1, stage: 2, rgb: [17, 200, 3] },
                { tag: "RGB colour for stage 8", kind: 2, stage: 7, rgb: [0, 0, 0] },
                { tag: "RGB colour typed without Enter, then APPLY", kind: 1, stage: 4, rgb: [5, 60, 250],
                  enter: false }
            ]
        }

        function test_ledSent(data) {
            testEnv.setTwinkleType(data.kind)
            testEnv.syncView()
            page.initUI()
            compare(page.ledKind, data.kind)
            compare(child("ledNumbers").visible, data.kind === 0)
            compare(child("ledColors").visible, data.kind !== 0)
            const io = slice(testEnv.profileBlock(0), 16, 8)
            const colours = slice(testEnv.profileBlock(1), 104, 24)
            clickStage(data.stage)
            if (data.kind === 0) {
                clickAt(child("ledNumber" + data.number))
                io[data.stage] = data.number
            } else {
                const group = child("ledColors")
                for (let c = 0; c < 3; ++c) {
                    clickAt(child("channel" + c))
                    keyClick(Qt.Key_A, Qt.ControlModifier)
                    for (const digit of String(data.rgb[c]))
                        keyClick(Qt.Key_0 + Number(digit))
                    if (data.enter !== false)
                        keyClick(Qt.Key_Return)
                }
                if (data.enter !== false)
                    compare(group.colorAt(data.stage), data.rgb)
                colours.splice(3 * data.stage, 3, ...data.rgb)
            }
            apply()
            compare(testEnv.commands(), ["03", "0C", "0C", "04"])
            compare(slice(testEnv.profileBlock(0), 16, 8), io)
            compare(slice(testEnv.profileBlock(1), 104, 24), colours)
        }

        // The whole Apply: one rate, the LED block, the DPI block, the stage, under the 1600 ms guard.
        function test_applyOrder() {
            findChild(scene, "protectTimer").interval = 1
            clickRate(1)
            clickStage(2)
            apply()
            compare(testEnv.commands(), ["03", "0C", "0C", "04"])
            compare(findChild(scene, "protectTimer").interval, 1600)
            compare(testEnv.reportRate(1), 4)
            compare(testEnv.dpiStage(1), 3)
        }

        // Reset shows the current profile's factory values and sends nothing; Apply then sends them.
        function test_resetShowsDefaults() {
            ui_View.vesk_03H_SetReportRate(8)
            ui_View.setCursorSpeed(9)
            ui_View.setVerticalScrollLines(9)
            ui_View.setDoubleClickSpeed(9)
            ui_View.vesk_04H_SetDPIStage(7)
            ui_View.vesk_0CH_SetDpi8Stage([1, 2, 3, 4, 5, 6, 7, 8, 1, 2, 3, 4, 5, 6, 7, 8])
            ui_View.vesk_0CH_SetDpi8Io([7, 7, 7, 7, 7, 7, 7, 7])
            page.initUI()
            compare(page.rateIndex, 0)
            findChild(scene, "protectTimer").interval = 1
            testEnv.clearCommands()
            clickAt(child("sensorReset"))
            compare(testEnv.commands(), [])
            compare(findChild(scene, "protectTimer").interval, 800)

            const p = ui_View.vesk_82H_GetCurrentProfile()
            const fw = ui_View.vesk_getDefaultProfile("profile_fw", p).map(Number)
            const fw0 = ui_View.vesk_getDefaultProfile("profile_fw", 0).map(Number)
            const other = ui_View.vesk_getDefaultProfile("other_fw", p).map(Number)
            const sw = ui_View.vesk_getDefaultProfile("profile_sw", p)
            compare(child("rateGroup").curIndex, 3, "other_fw rate 1 is 1000 Hz")
            compare([child("cursorSlider").value, child("scrollSlider").value, child("doubleClickSlider").value],
                    [Number(sw[1]), Number(sw[2]), Number(sw[3])])
            compare(child("dpiGroup").curIndex, other[0] - 1)
            compare(page.dpiValues, slice(fw, 0x54, 8).map(v => v * 50))
            compare(page.ledNumbers, slice(fw0, 0x10, 8))
            compare(child("ledColors").values24(), slice(fw, 0x68, 24))

            apply()
            compare(slice(testEnv.profileBlock(1), 84, 16), slice(fw, 0x54, 16))
            compare(slice(testEnv.profileBlock(0), 16, 8), slice(fw0, 0x10, 8))
            compare(testEnv.reportRate(1), other[1])
            compare(testEnv.dpiStage(1), other[0])
        }

        function test_resetWithoutDefaultsKeepsWhatIsShown() {
            clickRate(0)
            chooseDpi(1, 17)
            verify(testEnv.writeFile("modules/setting/pD_Vesk.bin", "[other_fw]\n1=2\n"))
            testEnv.clearCommands()
            page.pageReset()
            compare(testEnv.commands(), [])
            compare(page.rateIndex, 0)
            compare(page.dpiValues[1], 12000)
        }

        // After a profile switch the page shows the other profile's rate and stage.
        function test_profileSwitch_data() {
            return [
                { tag: "to profile 0", profile: 0, rate: 8, button: 0, stage: 5 },
                { tag: "to profile 2", profile: 2, rate: 2, button: 2, stage: 1 }
            ]
        }

        function test_profileSwitch(data) {
            ui_View.vesk_02H_SetCurrentProfile(data.profile)
            ui_View.vesk_03H_SetReportRate(data.rate)
            ui_View.vesk_04H_SetDPIStage(data.stage)
            ui_View.vesk_02H_SetCurrentProfile(1)
            frame.profileChanged(1)
            ui_View.vesk_02H_SetCurrentProfile(data.profile)
            frame.profileChanged(data.profile)
            compare(page.rateIndex, data.button)
            compare(page.stageIndex, data.stage - 1)
        }

        // A colour number outside the palette shows the first colour and goes back unchanged.
        function test_unknownColourNumberIsKept() {
            ui_View.vesk_0CH_SetDpi8Io([9, 1, 2, 3, 4, 5, 6, 7])
            page.initUI()
            compare(page.ledColorOf(0), [255, 0, 0])
            page.pageApply()
            compare(slice(testEnv.profileBlock(0), 16, 8), [9, 1, 2, 3, 4, 5, 6, 7])
        }
    }

    // Without the mouse at start the page shows the store's profiles, which the program's mirror holds whole
    // (the shipped store's values are those the page shows before it reads any).
    PageTestCase {
        name: "SensorPageWithoutMouse"

        function test_theStoresValues() {
            testEnv.reset(false)
            scene = createScene()
            page = findChild(scene, "sensorPage")
            startScene(false)
            verify(ui_View.hasProfileData())
            compare(findChild(page, "rateGroup").curIndex, 3)
            compare([findChild(page, "cursorSlider").value, findChild(page, "scrollSlider").value,
                     findChild(page, "doubleClickSlider").value], [5, 2, 5])
            compare(findChild(page, "dpiGroup").valueForIndex, [400, 800, 1600, 2400, 3200, 4800, 6400, 8000])
            compare(findChild(page, "dpiGroup").curIndex, 1)
            // Read again, the store gives the same; Apply without a mouse fails quietly.
            page.initUI()
            compare(page.rateIndex, 3)
            page.rateIndex = 0
            page.pageApply()
            compare(ui_View.vesk_83H_GetReportRate(), 8)
        }
    }
}
