import QtQuick
import QtTest

// The global-settings panel inside the whole scene, against a stand-in for the program.
Item {
    id: container
    width: 1000
    height: 600

    readonly property var sceneComponent: Qt.createComponent("qrc:/modules/qml/main.qml")
    // The shipped configuration as the settings file hands it over: every entry as text.
    readonly property var shipped: ["2", "0", "0", "0", "1", "false", "", "0", "0", "255", "255", "255", "255",
        "255", "255", "0", "0", "255", "127", "0", "255", "255", "0", "0", "255", "0", "255", "0", "255", "0", "7",
        "https://vesk.example.com/"]
    readonly property var chinese: ["Noto Sans CJK SC", "选项", "循环"]

    TestCase {
        name: "GlobalSetting"
        when: windowShown

        property var scene: null
        property var panel: null

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            ui_View.clear()
            ui_View.languages = { "CHINESE (Simp)": "025044", "ENGLISH (UNITED STATES)": "031225" }
            ui_View.strings = { "025044": container.chinese }
            ui_View.defaultConfig = container.shipped
            scene = createTemporaryObject(container.sceneComponent, container)
            verify(scene)
            scene.buildParts()
            panel = findChild(scene, "globalSetting")
            verify(panel)
        }

        function openPanel() {
            scene.visible = true
            scene.globalSettingOpen = true
            tryCompare(findChild(panel, "panelContent"), "x", 0, 3000)
        }

        function configWith(changes) {
            const list = container.shipped.slice()
            for (const entry in changes)
                list[entry] = changes[entry]
            return list
        }

        function test_configurationIsApplied_data() {
            return [
                { tag: "shipped", changes: {}, speed: 800, size: 11, color: "#FF00FFFF", background: false },
                { tag: "animations off", changes: { 3: "1" }, speed: 10, size: 11, color: "#FF00FFFF",
                  background: false },
                { tag: "larger text", changes: { 7: "1" }, speed: 800, size: 12, color: "#FF00FFFF",
                  background: false },
                { tag: "third preset at brightness 0", changes: { 29: "2", 30: "0" }, speed: 800, size: 11,
                  color: "#2DFF0000", background: false },
                { tag: "recoloured preset", changes: { 8: "10", 9: "20", 10: "30" }, speed: 800, size: 11,
                  color: "#FF0A141E", background: false },
                { tag: "background on", changes: { 5: "true", 6: "file:modules/img/skin1/gun/0/3.png" }, speed: 800,
                  size: 11, color: "#FF00FFFF", background: true },
                { tag: "background on without a picture stays off", changes: { 5: "true", 6: "" }, speed: 800,
                  size: 11, color: "#FF00FFFF", background: false },
                { tag: "malformed entries keep the defaults", changes: { 3: "abc", 7: "5", 8: "300", 29: "9",
                  30: "-1" }, speed: 800, size: 11, color: "#FF00FFFF", background: false },
                { tag: "a short list keeps what it lacks", changes: null, speed: 10, size: 11,
                  color: "#FF00FFFF", background: false }
            ]
        }

        function test_configurationIsApplied(data) {
            ui_View.config = data.changes === null ? ["2", "0", "0", "1"] : configWith(data.changes)
            scene.initUI()
            compare(scene.animation_speed, data.speed)
            compare(scene.globalSetting_size, data.size)
            verify(Qt.colorEqual(scene.globalSetting_color, data.color), String(scene.globalSetting_color))
            compare(scene.isCustomBackground, data.background)
        }

        function test_brightnessSetsTheTextAlpha_data() {
            return [
                { tag: "darkest", step: 0, alpha: 45, readout: "18 %" },
                { tag: "middle", step: 3, alpha: 135, readout: "53 %" },
                { tag: "brightest", step: 7, alpha: 255, readout: "100 %" }
            ]
        }

        // The slider's read-out tells how opaque the text is.
        function test_brightnessSetsTheTextAlpha(data) {
            ui_View.config = configWith({ 30: String(data.step) })
            scene.initUI()
            compare(Math.round(scene.globalSetting_color.a * 255), data.alpha)
            openPanel()
            compare(findChild(panel, "readout").text, data.readout)
        }

        function test_languageFromTheConfigurationBringsItsStrings() {
            ui_View.config = configWith({ 4: "0" })
            scene.initUI()
            compare(scene.globalSetting_langCode, "025044")
            compare(scene.globalSetting_fontFamily, "Noto Sans CJK SC")
            compare(scene.str(1), "选项")
            compare(scene.str(113), "ALL RESET", "entries the file lacks keep the built-in text")
            compare(scene.str(144), "FIRMWARE", "so do the entries added after the file was written")
            compare(scene.str(145), "CHOOSE A FUNCTION AT THE LEFT", "and the tips after them")
            compare(scene.globalSetting_stringList.length, scene.builtInStringList.length)
        }

        function test_languageWithoutItsFileShowsTheBuiltInStrings() {
            ui_View.config = configWith({ 4: "1" })
            scene.initUI()
            compare(scene.globalSetting_langCode, "031225")
            compare(scene.globalSetting_stringList, scene.builtInStringList)
            compare(scene.globalSetting_fontFamily, "Arial")
        }

        function test_languageIndexOutsideTheListIsIgnored() {
            ui_View.config = configWith({ 4: "7" })
            scene.initUI()
            compare(scene.globalSetting_langCode, "")
            compare(ui_View.calls.filter(c => c.startsWith("getGlobalStrings")).length, 0)
        }

        function test_choosingALanguageFromTheMenu() {
            openPanel()
            const menu = findChild(panel, "languageList")
            clickAt(menu, 20, 13)
            verify(menu.opened)
            compare(menu.elements, ["CHINESE (Simp)", "ENGLISH (UNITED STATES)"])
            clickAt(menu, 40, 26 + 2 + 4 + 12)
            compare(scene.globalSetting_langCode, "025044")
            compare(scene.str(2), "循环")
            verify(ui_View.calls.indexOf("vesk_getProductLayoutStrings 025044") >= 0,
                   "the product frame takes its key names too")
        }

        function test_panelOpenedBeforeInitStillListsTheLanguages() {
            scene.globalSettingOpen = true
            compare(findChild(panel, "languageList").elements.length, 2)
        }

        function test_firmwareVersion_data() {
            return [
                { tag: "read when the panel opens", before: "1.0A", after: "1.0A", sync: false, shown: "1.0A" },
                { tag: "no mouse", before: "unknown", after: "unknown", sync: false, shown: "unknown" },
                { tag: "read again after a check", before: "unknown", after: "1.0B", sync: true, shown: "1.0B" },
                { tag: "nothing from the program", before: "", after: "", sync: false, shown: "" }
            ]
        }

        function test_firmwareVersion(data) {
            ui_View.fwVersion = data.before
            openPanel()
            ui_View.fwVersion = data.after
            if (data.sync)
                scene.deviceSynced(false)
            compare(findChild(panel, "firmwareVersion").text, data.shown)
            const row = findChild(panel, "firmwareRow")
            verify(row.children[0].text === "FIRMWARE", row.children[0].text)
            verify(row.x > 100 && row.x + row.width <= panel.width, "in the title's row: " + row.x)
        }

        // A picture whose name holds characters with a meaning in URLs is shown all the same.
        function test_backgroundChooser_data() {
            return [
                { tag: "cancelled", path: "", on: false, source: "" },
                { tag: "chosen", path: "/home/user/Pictures/wall.png", on: true,
                  source: "file:/home/user/Pictures/wall.png" },
                { tag: "a name with # ? % and blanks", picture: "wall #1?100% 50%25.png", on: true }
            ]
        }

        function test_backgroundChooser(data) {
            const path = data.picture ? ui_View.copyPicture("modules/img/skin1/background.png", data.picture)
                                      : data.path
            verify(!data.picture || path !== "", "the picture was copied")
            ui_View.customPath = path
            panel.toggleBackground()
            compare(scene.isCustomBackground, data.on)
            compare(scene.sourceCustomBackground, data.picture ? "file:" + path : data.source)
            if (data.picture)
                tryCompare(findChild(scene, "customBackground"), "status", Image.Ready, 3000)
            panel.toggleBackground()
            compare(scene.isCustomBackground, false)
            compare(ui_View.calls.filter(c => c === "getCustomFilePath").length, data.on ? 1 : 2,
                    "switching off asks for nothing")
        }

        function test_applyStoresTheListAndClosesThePanel() {
            ui_View.config = configWith({ 3: "1", 4: "0", 7: "1", 29: "3", 30: "5" })
            scene.initUI()
            openPanel()
            clickAt(findChild(panel, "applyButton"))
            verify(!scene.globalSettingOpen)
            const saved = ui_View.saved
            compare(saved.length, 32)
            const expected = configWith({ 3: "1", 4: "0", 7: "1", 29: "3", 30: "5" })
            for (let i = 0; i < 32; ++i)
                compare(String(saved[i]), expected[i], "entry " + i)
        }

        function test_applyWithoutInitStoresTheShownSettings() {
            scene.globalSettingOpen = true
            panel.apply()
            const saved = ui_View.saved
            compare(saved.length, 32)
            compare(saved[0], 2)
            compare(saved[4], -1, "no language chosen: the built-in strings")
            compare(saved[31], "https://vesk.example.com/")
        }

        function test_resetBringsBackTheShippedConfiguration() {
            ui_View.config = configWith({ 3: "1", 4: "0", 7: "1", 29: "3" })
            scene.initUI()
            openPanel()
            clickAt(findChild(panel, "resetButton"))
            verify(ui_View.calls.indexOf("resetApconfig") >= 0)
            compare(scene.animation_speed, 800)
            compare(scene.globalSetting_size, 11)
            compare(scene.globalSetting_langCode, "031225")
            verify(Qt.colorEqual(scene.globalSetting_color, "#FF00FFFF"), String(scene.globalSetting_color))
        }

        function test_paletteRecoloursTheChosenPreset() {
            ui_View.config = configWith({ 29: "1" })
            scene.initUI()
            scene.globalSettingOpen = true
            panel.paletteOpen = true
            panel.setPresetColor(Qt.hsva(0, 1, 1, 1))
            compare(panel.presetColors[1], [255, 0, 0])
            compare(panel.presetColors[0], [0, 255, 255], "the other presets keep their colours")
            verify(Qt.colorEqual(scene.globalSetting_color, "#FFFF0000"))
            panel.apply()
            compare([ui_View.saved[11], ui_View.saved[12], ui_View.saved[13]], [255, 0, 0])
        }
    }
}
