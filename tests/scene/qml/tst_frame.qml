import QtQuick
import QtTest

// The product frame: function menu, product constants, and when the pages take the mouse's values and may
// send them, against a stand-in for the program (the profile menu is tested against the real program, with
// the pages).
Item {
    id: container
    width: 1000
    height: 600

    readonly property var sceneComponent: Qt.createComponent("qrc:/modules/qml/main.qml")

    TestCase {
        name: "Frame"
        when: windowShown

        property var scene: null
        property var frame: null

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            ui_View.clear()
            scene = createTemporaryObject(container.sceneComponent, container)
            verify(scene)
            scene.buildParts()
            frame = findChild(scene, "productFrame")
            scene.animation_speed = 10
            scene.run()
            tryCompare(findChild(frame, "menuFunc"), "x", 8, 1000)
        }

        // The empty page area says where to begin, until a page is shown and again once it is closed.
        function test_functionMenuOpensClosesAndSwitchesPages() {
            const menu = findChild(frame, "menuFunc")
            const hint = findChild(frame, "emptyPageHint")
            compare(frame.curPage, -1, "nothing is shown at start")
            tryCompare(hint, "visible", true, 1000)
            compare(hint.text, "CHOOSE A FUNCTION AT THE LEFT")
            clickAt(menu, 75, 50 * 2 + 18)
            tryCompare(frame, "curPage", 2, 1000)
            verify(!hint.visible)
            clickAt(menu, 75, 50 * 4 + 18)
            tryCompare(frame, "curPage", 4, 1000)
            clickAt(menu, 75, 50 * 4 + 18)
            tryCompare(frame, "curPage", -1, 1000)
            verify(hint.visible)
        }

        function test_profileMenuRestsWhileTheMacroPageIsShown() {
            const menu = findChild(frame, "menuFunc")
            clickAt(menu, 75, 50 * 1 + 18)
            tryCompare(frame, "curPage", 1, 1000)
            verify(!findChild(frame, "menuProf").enabled)
            clickAt(menu, 75, 50 * 0 + 18)
            tryCompare(frame, "curPage", 0, 1000)
            verify(findChild(frame, "menuProf").enabled)
        }

        // What every page but the macro page sends on ALL SAVE.
        readonly property var pageSends: ["vesk_0DH_SetKeyMatrix", "vesk_SetLED8StageColor", "vesk_0CH_SetRGBLedEffect",
            "vesk_03H_SetReportRate", "setCursorSpeed", "vesk_0CH_SetDpi8Stage", "vesk_0CH_SetPressGun"]

        // Whether the program was asked for name, with or without arguments.
        function called(name) {
            return ui_View.calls.some(c => c === name || c.startsWith(name + " "))
        }

        // A scene that was not run: its pages are built only when the test says so.
        function freshScene() {
            const fresh = createTemporaryObject(container.sceneComponent, container)
            verify(fresh)
            fresh.buildParts()
            fresh.visible = true
            return fresh
        }

        function test_deviceSynced_data() {
            return [
                { tag: "mouse read: the pages read it", built: true, loaded: false, connected: true, mirror: true,
                  reads: true },
                { tag: "mouse read before the pages exist: they read it when built", built: false, loaded: false,
                  connected: true, mirror: true, reads: true },
                { tag: "no mouse, whole mirror: the mirror's values", built: true, loaded: false, connected: false,
                  mirror: true, reads: true },
                { tag: "no mouse, no mirror: the built-in values stay", built: true, loaded: false,
                  connected: false, mirror: false, reads: false },
                { tag: "no mouse, no mirror, pages built later: still nothing read", built: false, loaded: false,
                  connected: false, mirror: false, reads: false },
                { tag: "mouse gone: what the pages show stays", built: true, loaded: true, connected: false,
                  mirror: true, reads: false },
                { tag: "mouse back: read again", built: true, loaded: true, connected: true, mirror: true,
                  reads: true }
            ]
        }

        function test_deviceSynced(data) {
            ui_View.curProfile = 1
            ui_View.apValues = { colorMaxStage: "6" }
            const fresh = freshScene()
            const f = findChild(fresh, "productFrame")
            if (data.built)
                f.buildPages()
            if (data.loaded)
                fresh.deviceSynced(true)
            ui_View.calls = []
            ui_View.curProfile = 0
            ui_View.profileData = data.mirror
            fresh.deviceSynced(data.connected)
            compare(f.pagesBuilt, data.built, "a check builds no pages")
            compare(f.valuesLoaded, data.loaded || data.reads)
            compare(f.colorMaxStage, 6, "the product's constants, mouse or not")
            if (!data.built)
                f.buildPages()
            for (const read of ["vesk_8CH_GetRGBLedEffect", "vesk_8CH_GetDpi8Stage"])
                compare(called(read), data.reads, read)
            compare(findChild(f, "menuProf").curProfile, data.reads ? 0 : 1, "the mouse's current profile")
        }

        function test_allSaveSendsOnlyLoadedValues_data() {
            return [
                { tag: "nothing loaded: nothing sent", atBuild: false, synced: null, mirror: true, sent: false,
                  told: true },
                { tag: "no mouse, no whole mirror: nothing sent", atBuild: false, synced: false, mirror: false,
                  sent: false, told: true },
                { tag: "pages built while the store holds whole profiles", atBuild: true, synced: null,
                  mirror: true, sent: true },
                { tag: "the mirror's values without the mouse", atBuild: false, synced: false, mirror: true,
                  sent: true },
                { tag: "the mouse's values", atBuild: false, synced: true, mirror: true, sent: true },
                { tag: "the mouse's values, while it is read again", atBuild: false, synced: true, mirror: true,
                  busy: true, sent: false, told: false }
            ]
        }

        function test_allSaveSendsOnlyLoadedValues(data) {
            const fresh = freshScene()
            const f = findChild(fresh, "productFrame")
            ui_View.profileData = data.atBuild
            f.buildPages()
            ui_View.profileData = data.mirror
            if (data.synced !== null)
                fresh.deviceSynced(data.synced)
            if (data.busy)
                fresh.setDeviceBusy(true)
            ui_View.calls = []
            f.totalApply()
            for (const send of pageSends)
                compare(called(send), data.sent, send)
            const notice = findChild(fresh, "notice")
            compare(notice.visible, data.told === true, "the user is told")
            if (data.told)
                compare(notice.text, "NO MOUSE FOUND: CHANGES ARE NOT SENT")
        }

        function test_productConstants_data() {
            return [
                { tag: "shipped", values: { colorMaxStage: "6", dpiBase: "50" }, stages: 6, base: 50 },
                { tag: "missing keys keep the fallbacks", values: {}, stages: 8, base: 50 },
                { tag: "a zero DPI step is refused", values: { dpiBase: "0" }, stages: 8, base: 50 },
                { tag: "too many stages are refused", values: { colorMaxStage: "12" }, stages: 8, base: 50 }
            ]
        }

        function test_productConstants(data) {
            ui_View.apValues = data.values
            frame.readProductConstants()
            compare(frame.colorMaxStage, data.stages)
            compare(frame.dpiBase, data.base)
            compare(frame.dpiValue.length, 18)
            compare(frame.effectEnable.length, 11)
        }
    }
}
