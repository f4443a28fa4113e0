import QtQuick
import QtTest

// The root item's functions, against stand-ins for the program (ui_View, ui_Ctl).
Item {
    id: container
    width: 1000
    height: 600

    readonly property var sceneComponent: Qt.createComponent("qrc:/modules/qml/main.qml")

    SignalSpy {
        id: keySpy
        signalName: "msg_KB"
    }

    SignalSpy {
        id: barSpy
    }

    SignalSpy {
        id: emptyAreaSpy
        signalName: "emptyAreaPressed"
    }

    SignalSpy {
        id: profileSpy
        signalName: "profileSwitched"
    }

    TestCase {
        name: "Root"
        when: windowShown

        property var scene: null

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            ui_View.clear()
            ui_Ctl.clear()
            compare(container.sceneComponent.status, Component.Ready, container.sceneComponent.errorString())
            scene = createTemporaryObject(container.sceneComponent, container)
            verify(scene)
            scene.buildParts()
        }

        function child(name) {
            const found = findChild(scene, name)
            verify(found, name)
            return found
        }

        function configWith(entry, value) {
            const list = ["2", "0", "0", "0", "0", "false", "", "0", "0", "255", "255", "255", "255", "255", "255",
                "0", "0", "255", "127", "0", "255", "255", "0", "0", "255", "0", "255", "0", "255", "0", "7",
                "https://vesk.example.com/"]
            list[entry] = value
            return list
        }

        function verifyDefaults() {
            compare(scene.globalSetting_size, 11)
            verify(Qt.colorEqual(scene.globalSetting_color, "#FF00FFFF"))
            verify(Qt.colorEqual(scene.globalSetting_color_enable, "#FFAAAAAA"))
            verify(Qt.colorEqual(scene.globalSetting_color_disable, "#80FFFFFF"))
            compare(scene.animation_speed, 800)
            compare(scene.globalSetting_stringList, scene.builtInStringList)
            compare(scene.globalSetting_fontFamily, "Arial")
            compare(scene.globalSetting_url, "https://vesk.example.com/")
            compare(scene.skin_No, 1)
            compare(scene.isCustomBackground, false)
            compare(scene.sourceCustomBackground, "")
        }

        function test_startsHiddenWithTheDefaults() {
            verify(!scene.visible)
            compare(scene.width, 1000)
            compare(scene.height, 600)
            verifyDefaults()
        }

        function test_builtInStrings_data() {
            return [
                { tag: "font family first", index: 0, text: "Arial" },
                { tag: "options", index: 1, text: "OPTIONS" },
                { tag: "user define 5", index: 12, text: "USER DEFINE 5" },
                { tag: "second brightness", index: 36, text: "BRIGHTNESS" },
                { tag: "skin 5", index: 43, text: "SKIN 5" },
                { tag: "play pause", index: 59, text: "PLAY / PAUSE" },
                { tag: "www favorites", index: 73, text: "WWW FAVORITES" },
                { tag: "yo-yo", index: 92, text: "YO-YO" },
                { tag: "all reset", index: 113, text: "ALL RESET" },
                { tag: "all save", index: 114, text: "ALL SAVE" },
                { tag: "first gap", index: 115, text: "" },
                { tag: "last of the gap", index: 118, text: "" },
                { tag: "press gun", index: 119, text: "PRESS GUN" },
                { tag: "user", index: 126, text: "USER" },
                { tag: "last of the design's entries", index: 140, text: "" },
                { tag: "change not reached", index: 141, text: "THE LAST CHANGE DID NOT REACH THE MOUSE" },
                { tag: "no mouse", index: 142, text: "NO MOUSE FOUND: CHANGES ARE NOT SENT" },
                { tag: "mouse not answering", index: 143, text: "THE MOUSE DOES NOT ANSWER" },
                { tag: "firmware", index: 144, text: "FIRMWARE" },
                { tag: "empty page hint", index: 145, text: "CHOOSE A FUNCTION AT THE LEFT" },
                { tag: "first tip", index: 146, text: "NEW MACRO" },
                { tag: "a tip with commas", index: 160, text: "RIGHT CLICK: LOAD, SAVE OR RESET" },
                { tag: "unnamed gun", index: 167, text: "GUN" },
                { tag: "past the list", index: 168, text: "" }
            ]
        }

        function test_builtInStrings(data) {
            compare(scene.builtInStringList.length, 168)
            compare(scene.str(data.index), data.text)
        }

        function test_runWithoutInitShowsTheBuiltInStrings() {
            ui_View.languages = { "CHINESE (Simp)": "025044" }
            ui_View.strings = { "025044": ["Noto Sans CJK SC", "选项"] }
            ui_View.config = configWith(4, "0")
            scene.run()
            verify(scene.visible)
            verifyDefaults()
            compare(ui_View.calls.indexOf("loadApConfig"), -1, "nothing is read without initUI")
        }

        function test_emptyConfigurationKeepsTheDefaults() {
            ui_View.languages = { "CHINESE (Simp)": "025044" }
            ui_View.config = []
            scene.initUI()
            verify(ui_View.calls.indexOf("loadApConfig") >= 0)
            verifyDefaults()
        }

        function test_initUiBringsThePanelFirstThenTheFrame() {
            ui_View.languages = { "CHINESE (Simp)": "025044", "ENGLISH (UNITED STATES)": "031225" }
            ui_View.strings = { "031225": ["Verdana", "OPTIONS"] }
            ui_View.config = configWith(4, "1")
            scene.initUI()
            const calls = ui_View.calls
            const order = ["chkLanguages", "loadApConfig", "getGlobalStrings 031225",
                           "vesk_getProductLayoutStrings 031225", "vesk_getApConfig colorMaxStage",
                           "vesk_82H_GetCurrentProfile"]
            let last = -1
            for (const call of order) {
                const at = calls.indexOf(call)
                verify(at > last, call + " in " + calls)
                last = at
            }
            compare(scene.globalSetting_fontFamily, "Verdana")
            compare(scene.globalSetting_langCode, "031225")
        }

        // The program's calls that reach the frame before it is built (the device check can end before the
        // first frame) are made, in their order, once it is; what the first frame shows loads nothing.
        function test_callsBeforeThePartsAreBuiltWaitForThem() {
            ui_View.clear()
            ui_View.languages = { "CHINESE (Simp)": "025044", "ENGLISH (UNITED STATES)": "031225" }
            ui_View.config = configWith(4, "1")
            const fresh = createTemporaryObject(container.sceneComponent, container)
            verify(!fresh.partsBuilt)
            compare(fresh.productFrame, null)
            compare(findChild(fresh, "menuUp"), null)
            compare(fresh.skinImage("background"), "", "no picture before the parts")
            fresh.run()
            fresh.setDeviceBusy(true)
            fresh.detectKeyboard(true, 0x04)
            fresh.deviceNotice(1)
            fresh.setDeviceBusy(false)
            fresh.deviceSynced(true)
            fresh.initUI()
            compare(ui_View.calls.indexOf("loadApConfig"), -1, "nothing read before the parts exist")

            fresh.buildParts()
            const calls = ui_View.calls
            verify(calls.indexOf("vesk_82H_GetCurrentProfile") >= 0, calls)
            verify(calls.indexOf("vesk_82H_GetCurrentProfile") < calls.indexOf("loadApConfig"),
                   "the check's result before initUI: " + calls)
            verify(findChild(fresh, "productFrame").valuesLoaded)
            compare(findChild(fresh, "notice").text, "NO MOUSE FOUND: CHANGES ARE NOT SENT")
            compare(fresh.globalSetting_langCode, "031225")
            verify(fresh.skinImage("background") !== "")
            fresh.buildParts()
            compare(findChild(fresh, "frameParts").item, fresh.productFrame, "built once")
        }

        function test_animationsOffTakeTenMilliseconds() {
            ui_View.config = configWith(3, "1")
            scene.initUI()
            compare(scene.animation_speed, 10)
            scene.run()
            tryCompare(child("menuUp"), "y", 0, 500)
            tryCompare(child("menuDown"), "y", 600 - 44, 500)
            tryCompare(child("menuFunc"), "x", 8, 500)
            tryCompare(child("logo"), "y", 4, 500)
        }

        function test_animationsOnTakeTheirTime() {
            scene.run()
            wait(400)
            verify(child("menuUp").y < 0, "the top bar waits for the logo and the background")
            tryCompare(child("menuUp"), "y", 0, 5000)
            tryCompare(child("menuProf"), "x", 1000 - 56 - 8, 5000)
        }

        function test_setProtectUIRestartsWithTheNewInterval() {
            scene.visible = true
            scene.setProtectUI(5000)
            compare(ui_View.enabled, false)
            verify(child("busyIndicator").visible)
            scene.setProtectUI(150)
            compare(child("protectTimer").interval, 150)
            compare(ui_View.enabled, false, "restarting keeps the guard up")
            verify(child("busyIndicator").visible)
            tryCompare(ui_View, "enabled", true, 1000)
            verify(!child("busyIndicator").visible)
        }

        function test_aSecondGuardExtendsTheWait() {
            scene.setProtectUI(400)
            wait(250)
            scene.setProtectUI(400)
            wait(250)
            compare(ui_View.enabled, false)
            tryCompare(ui_View, "enabled", true, 1000)
        }

        function test_protectIntervals_data() {
            return [
                { tag: "no interval waits one second", interval: undefined, expected: 1000 },
                { tag: "zero ends at the next timer run", interval: 0, expected: 0 },
                { tag: "negative counts as zero", interval: -20, expected: 0 },
                { tag: "text is no interval", interval: "soon", expected: 1000 }
            ]
        }

        function test_protectIntervals(data) {
            scene.setProtectUI(data.interval)
            compare(child("protectTimer").interval, data.expected)
            tryCompare(ui_View, "enabled", true, 2000)
        }

        function test_detectKeyboardReemitsMsgKB() {
            keySpy.target = scene
            keySpy.clear()
            scene.detectKeyboard(true, 4)
            scene.detectKeyboard(false, 4)
            scene.detectMouse(true, 0xF0, 10, 10)
            compare(keySpy.count, 2)
            compare(keySpy.signalArguments[0][0], true)
            compare(keySpy.signalArguments[0][1], 4)
            compare(keySpy.signalArguments[1][0], false)
            compare(child("productFrame").lastKeyCode, 4)
            scene.detectKeyboard(false, 5)
            compare(child("productFrame").lastKeyCode, 4, "the frame remembers the last key pressed")
        }

        function test_closeControlMinimizesAfterTheCloseAnimation() {
            scene.animation_speed = 200
            scene.run()
            tryCompare(child("menuUp"), "y", 0, 3000)
            clickAt(child("closeButton"))
            compare(ui_Ctl.minimizeCount, 0)
            verify(scene.height > 0)
            tryCompare(ui_Ctl, "minimizeCount", 1, 2000)
            compare(scene.height, 0)
        }

        function test_draggingTheBackgroundMovesTheWindowByTheCursorsTravel_data() {
            return [
                { tag: "the program moves its window", systemMoves: false, moves: ["x -10", "y 8"] },
                { tag: "the desktop moves it (Wayland)", systemMoves: true, moves: [] }
            ]
        }

        function test_draggingTheBackgroundMovesTheWindowByTheCursorsTravel(data) {
            scene.visible = true
            ui_Ctl.systemMoves = data.systemMoves
            emptyAreaSpy.target = scene
            emptyAreaSpy.clear()
            mousePress(scene, 600, 330)
            mouseMove(scene, 590, 338)
            mouseRelease(scene, 590, 338)
            compare(ui_Ctl.moves, data.moves)
            compare(emptyAreaSpy.count, 1)
        }

        function test_theOpenPanelRestsMenusPagesAndBottomBar() {
            scene.animation_speed = 10
            scene.run()
            tryCompare(child("menuUp"), "y", 0, 1000)
            clickAt(child("settingButton"))
            verify(scene.globalSettingOpen)
            for (const name of ["menuDown", "menuFunc", "menuProf", "pageArea"]) {
                verify(!child(name).enabled, name)
                compare(child(name).opacity, 0.2, name)
            }
            tryCompare(child("globalSetting"), "visible", true)
            clickAt(child("settingButton"))
            verify(!scene.globalSettingOpen)
            verify(child("menuDown").enabled)
            compare(child("menuDown").opacity, 1.0)
        }

        function test_bottomBarGuardsThenAsksThePages_data() {
            return [
                { tag: "all reset", button: "allResetButton", signalName: "btnTotalResetClicked", interval: 800 },
                { tag: "all save", button: "allSaveButton", signalName: "btnTotalApplyClicked", interval: 2000 }
            ]
        }

        function test_bottomBarGuardsThenAsksThePages(data) {
            scene.animation_speed = 10
            scene.run()
            tryCompare(child("menuDown"), "y", 600 - 44, 1000)
            barSpy.target = child("menuDown")
            barSpy.signalName = data.signalName
            barSpy.clear()
            clickAt(child(data.button))
            compare(barSpy.count, 1)
            compare(child("protectTimer").interval, data.interval)
            compare(ui_View.enabled, false)
        }

        // While the mouse is read, what edits or sends takes no click; the rest of the scene stays live.
        function test_busyRestsOnlyWhatEditsOrSends_data() {
            return [
                { tag: "ALL SAVE sends nothing", part: "allSaveButton", live: false, done: () => barSpy.count > 0 },
                { tag: "the profile menu switches nothing", part: "menuProf", x: 28, y: 48 + 20, live: false,
                  done: () => profileSpy.count > 0 },
                { tag: "the function menu opens a page", part: "menuFunc", x: 75, y: 50 * 3 + 18, live: true,
                  done: () => findChild(scene, "productFrame").curPage === 3 },
                { tag: "the gear opens the panel", part: "settingButton", live: true,
                  done: () => scene.globalSettingOpen },
                { tag: "the close control closes", part: "closeButton", live: true,
                  done: () => ui_Ctl.minimizeCount === 1 }
            ]
        }

        function test_busyRestsOnlyWhatEditsOrSends(data) {
            scene.animation_speed = 10
            scene.run()
            tryCompare(child("menuDown"), "y", 600 - 44, 1000)
            tryVerify(() => child("productFrame").settled, 1000)
            barSpy.target = child("menuDown")
            barSpy.signalName = "btnTotalApplyClicked"
            barSpy.clear()
            profileSpy.target = child("productFrame")
            profileSpy.clear()
            ui_View.curProfile = 0
            scene.deviceSynced(true)
            scene.setDeviceBusy(true)
            verify(child("busyIndicator").visible)
            clickAt(child(data.part), data.x, data.y)
            if (data.live) {
                tryVerify(data.done, 1000)
                return
            }
            wait(50)
            verify(!data.done(), "taken while the mouse is read")
            // The check's result follows its end through the event queue: until it is in, the pages may show
            // what the mouse no longer holds.
            scene.setDeviceBusy(false)
            clickAt(child(data.part), data.x, data.y)
            wait(50)
            verify(!data.done(), "taken before the check's result")
            scene.deviceSynced(true)
            clickAt(child(data.part), data.x, data.y)
            tryVerify(data.done, 1000, "taken once the result is in")
        }

        function test_busyDoesNotFreezeTheView() {
            scene.visible = true
            scene.setDeviceBusy(true)
            compare(ui_View.calls.filter(c => c.startsWith("setEnabled")), [], "the view stays live")
            mousePress(scene, 600, 330)
            mouseMove(scene, 590, 338)
            mouseRelease(scene, 590, 338)
            compare(ui_Ctl.moves, ["x -10", "y 8"], "the window drags")
            // The timed guard ends while the check runs: the indicator stays until both have ended.
            scene.setProtectUI(20)
            tryCompare(ui_View, "enabled", true, 1000)
            verify(child("busyIndicator").visible)
            scene.setDeviceBusy(false)
            verify(child("busyIndicator").visible, "until the check's result is in")
            scene.deviceSynced(false)
            verify(!child("busyIndicator").visible)
            for (const name of ["menuDown", "menuProf", "pageArea"]) {
                verify(child(name).enabled, name)
                compare(child(name).opacity, 1.0, name)
            }
            // A result that never comes does not hold the scene for good.
            child("syncAwaited").interval = 50
            scene.setDeviceBusy(true)
            scene.setDeviceBusy(false)
            verify(scene.deviceBusy)
            tryCompare(scene, "deviceBusy", false, 1000)
        }

        function test_deviceNotice_data() {
            return [
                { tag: "change not reached", kind: 0, text: "THE LAST CHANGE DID NOT REACH THE MOUSE" },
                { tag: "no mouse", kind: 1, text: "NO MOUSE FOUND: CHANGES ARE NOT SENT" },
                { tag: "mouse not answering", kind: 2, text: "THE MOUSE DOES NOT ANSWER" },
                { tag: "a kind past the list", kind: 3, text: null },
                { tag: "a negative kind", kind: -1, text: null },
                { tag: "no number", kind: "busy", text: null },
                { tag: "no kind at all", kind: undefined, text: null }
            ]
        }

        // Once, for a moment, then gone by itself; unknown kinds show nothing.
        function test_deviceNotice(data) {
            scene.visible = true
            const notice = child("notice")
            notice.holdTime = 150
            notice.fadeTime = 50
            scene.deviceNotice(data.kind)
            if (data.text === null) {
                verify(!notice.visible)
                return
            }
            verify(notice.visible)
            compare(notice.text, data.text)
            tryCompare(notice, "visible", false, 1000)
        }

        // A new notice takes the place of the shown one and its full time: one at a time, never a pile.
        function test_aNewNoticeReplacesTheShownOne() {
            scene.visible = true
            const notice = child("notice")
            notice.holdTime = 300
            notice.fadeTime = 50
            scene.deviceNotice(0)
            wait(200)
            scene.deviceNotice(2)
            compare(notice.text, "THE MOUSE DOES NOT ANSWER")
            wait(200)
            compare(notice.opacity, 1, "its time started again")
            tryCompare(notice, "visible", false, 1000)
        }

        // The configuration names the page; the logo hands only a web address to the desktop, and the
        // address is kept as the configuration gave it either way.
        function test_logoOpensTheConfiguredAddress_data() {
            return [
                { tag: "a web page", url: "https://example.org/vesk", opened: ["https://example.org/vesk"] },
                { tag: "plain http", url: "http://example.org/", opened: ["http://example.org/"] },
                { tag: "a local file", url: "file:///etc/passwd", opened: [] },
                { tag: "a script", url: "javascript:alert(1)", opened: [] },
                { tag: "a bare path", url: "/usr/bin/xterm", opened: [] },
                { tag: "a web scheme without a host", url: "https:///etc/passwd", opened: [] }
            ]
        }

        function test_logoOpensTheConfiguredAddress(data) {
            ui_View.config = configWith(31, data.url)
            scene.initUI()
            compare(scene.globalSetting_url, data.url)
            scene.visible = true
            clickAt(child("logo"))
            compare(ui_View.openedUrls, data.opened)
        }
    }
}
