import QtQuick

// This mouse's frame: the function menu at the left, the profile menu at the right and the page area
// between them with the five pages. It reads the product's constants, relays key events to the pages and
// keeps the product's layout strings.
Item {
    id: mainVesk
    objectName: "productFrame"

    // The product's constants from the application configuration; the values stand for a missing or
    // unusable entry.
    property int colorMaxStage: 8
    property var effectEnable: ["true", "true", "true", "true", "true", "true", "true", "true", "true", "true",
        "true"]
    property int dpiBase: 50
    property var dpiValue: [400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3000, 3200, 4000, 4800, 5000, 6000,
        7200, 8000, 10000, 12000]
    // The sixteen key names of the chosen language; empty while the built-in strings are shown.
    property var productLayoutStrings: []
    // The page shown, one of the five below, -1 for none.
    property int curPage: -1
    property int lastKeyCode: 0
    // The pages in function-menu order ("KEY", "MACRO", "COLOR", "SENSOR", "Game").
    readonly property int keyPage: 0
    readonly property int macroPage: 1
    readonly property int colorPage: 2
    readonly property int sensorPage: 3
    readonly property int gunPage: 4

    signal msg_KB(bool isDown, int usbCode)
    signal profileSwitched(int profileId)

    // Each page is built when first needed: when the user opens it, or when the bottom bar's ALL RESET or
    // ALL SAVE needs every page. The window thus shows without pages it does not show yet, and a page the
    // user never opens costs nothing.
    readonly property bool pagesBuilt: pages.every(page => page !== null)
    // Whether the pages show the mouse's values: read after a device check that found the mouse, or from the
    // program's mirror without it when that holds whole profiles. Until then the pages show their built-in
    // values, and nothing of what they show is sent: it would overwrite the mouse's own settings.
    property bool valuesLoaded: false
    // Whether the product's constants were read from the application configuration.
    property bool constantsRead: false
    // True once the opening has slid the page area in and no page is sliding: the pages take clicks where they show.
    property bool entered: false
    readonly property bool settled: entered && !entryAnimation.running && !pageSwitch.running
    // By page index: the loaders, and their pages (null where not built yet).
    readonly property var loaders: [keyLoader, macroLoader, colorLoader, sensorLoader, gunLoader]
    // The pages' files by page index. They load by name, so that the start compiles none of them; they are
    // compiled in the background once the frame is up (kept here), and opening a page then only builds it.
    readonly property var pageFiles: ["Page_Keydefine.qml", "Page_Macro.qml", "Page_Color.qml",
        "Page_Sensor.qml", "Page_pressGun.qml"]
    property var compiledPages: []
    readonly property var pages: loaders.map(loader => loader.item)

    // Builds page `index` if it is not built yet. A page built once the values are there reads them at once;
    // without them it reads the mirror if that is whole (the program has the store's values and the check
    // has not ended yet). The product's constants do not depend on the mouse: the pages have them from the
    // start.
    function buildPage(index) {
        const loader = loaders[index]
        if (loader === undefined || loader.active)
            return
        loader.active = true // the loader builds its page here and now
        const page = loader.item
        page.translateStrings()
        if (valuesLoaded)
            readProfilePage(index)
        else if (ui_View.hasProfileData())
            loadValues()
        else if (!constantsRead)
            readProductConstants()
    }

    function buildPages() {
        for (let i = 0; i < pages.length; ++i)
            buildPage(i)
    }

    // After the first device check that read the mouse.
    function initUI() {
        loadValues()
    }

    // A device check has ended. With the mouse read, everything shown reads it again. Without it (absent, or
    // not answering), pages that show values keep them, as the user saw them; pages that never had any take
    // the mirror's, if it holds whole profiles.
    function deviceSynced(connected) {
        if (connected || (!valuesLoaded && ui_View.hasProfileData()))
            loadValues()
        else if (!constantsRead)
            readProductConstants()
    }

    // The product's constants, the mouse's current profile, and the values of the pages built so far.
    function loadValues() {
        readProductConstants()
        menuProf.curProfile = ui_View.vesk_82H_GetCurrentProfile()
        valuesLoaded = true
        readProfilePages()
    }

    // The pages that show the mouse's values read them again. The macro and recoil pages show files, which
    // they read themselves when first shown.
    function readProfilePages() {
        for (let i = 0; i < pages.length; ++i)
            readProfilePage(i)
    }

    function readProfilePage(index) {
        const page = pages[index]
        if (!page)
            return
        if (index === keyPage || index === sensorPage)
            page.initUI()
        else if (index === colorPage)
            page.refresh()
    }

    // Whether a page may send what it shows: not before it has shown the mouse's values, nor while the mouse
    // is being read (what the page shows may be about to change).
    function maySend(what) {
        if (root.deviceBusy) {
            console.debug(what, "not sent: the mouse is being read")
            return false
        }
        if (valuesLoaded)
            return true
        console.debug(what, "not sent: no values of the mouse were loaded, the page shows its built-in ones")
        root.deviceNotice(1)
        return false
    }

    // After a switch to another profile, or after the current one was loaded or reset: the pages that show
    // the profile read it again.
    function profileChanged(profileId) {
        readProfilePages()
        profileSwitched(profileId)
    }

    // The bottom bar's "ALL RESET" and "ALL SAVE": every page but the macro page, which has neither. Both
    // build the pages the user has not opened yet: ALL RESET writes the recoil page's built-in tables to disk
    // and ALL SAVE sends every page, opened or not. Each page sends only once it shows real values.
    function totalReset() {
        buildPages()
        for (const page of pages) {
            if (page !== pages[macroPage])
                page.pageReset()
        }
    }

    function totalApply() {
        root.commitPendingEdits()
        buildPages()
        for (const page of pages) {
            if (page !== pages[macroPage])
                page.pageApply()
        }
    }

    function readProductConstants() {
        constantsRead = true
        const stages = Number(ui_View.vesk_getApConfig("colorMaxStage"))
        if (Number.isInteger(stages) && stages >= 1 && stages <= 8)
            colorMaxStage = stages
        else
            console.debug("colorMaxStage unusable, keeping", colorMaxStage)
        const effects = ui_View.vesk_getApConfig("effectEnable")
        if (Array.isArray(effects) && effects.length === 11)
            effectEnable = effects.map(e => String(e).trim())
        // A DPI step of 0 would turn every DPI value sent to the mouse into a division by zero.
        const base = Number(ui_View.vesk_getApConfig("dpiBase"))
        if (Number.isInteger(base) && base > 0)
            dpiBase = base
        const values = ui_View.vesk_getApConfig("dpiValue")
        if (Array.isArray(values) && values.length === 18 && values.every(v => Number(v) > 0))
            dpiValue = values.map(v => Number(v))
    }

    function translateStrings(langCode) {
        productLayoutStrings = langCode !== "" ? ui_View.vesk_getProductLayoutStrings(langCode) : []
        for (const page of pages) {
            if (page)
                page.translateStrings()
        }
    }

    function relayKey(isDown, usbCode) {
        if (isDown)
            lastKeyCode = usbCode
        msg_KB(isDown, usbCode)
        for (const page of [pages[keyPage], pages[macroPage]]) {
            if (page)
                page.keyEvent(isDown, usbCode)
        }
    }

    // The entry animation, run by the scene's opening.
    function startEntry() {
        entryAnimation.restart()
    }

    // A click on the shown page's button closes the page; a click on another switches to it.
    function functionClicked(index) {
        root.commitPendingEdits()
        buildPage(index)
        if (pageSwitch.running)
            pageSwitch.complete()
        pageSwitch.nextPage = index === curPage ? -1 : index
        pageSwitch.restart()
    }

    width: 1000
    height: 600

    Component.onCompleted: compiledPages = pageFiles.map(file => Qt.createComponent(file, Component.Asynchronous))

    Menu_Func {
        id: menuFunc
        objectName: "menuFunc"
        x: -150
        y: 180
        curIndex: mainVesk.curPage
        enabled: !root.globalSettingOpen
        opacity: enabled ? 1.0 : 0.2
        onFunctionClicked: function (index) {
            mainVesk.functionClicked(index)
        }
    }

    Menu_Prof {
        id: menuProf
        objectName: "menuProf"
        x: mainVesk.width
        y: 95
        enabled: !root.globalSettingOpen && !root.deviceBusy && mainVesk.curPage !== mainVesk.macroPage
        opacity: root.partOpacity(mainVesk.curPage === mainVesk.macroPage)
        onProfileSwitched: function (profileId) {
            mainVesk.profileChanged(profileId)
        }
    }

    // The page area: the pages go into pageSlot, which slides within the clipped area. A page may be opened
    // while the mouse is being read, but not edited.
    Item {
        id: pageArea
        objectName: "pageArea"
        x: 171
        y: 96
        width: 759
        height: 442
        clip: true
        enabled: !root.globalSettingOpen && !root.deviceBusy
        opacity: root.partOpacity(false)

        Item {
            id: pageSlot
            x: pageArea.width
            width: pageArea.width
            height: pageArea.height

            // Until a function is chosen the area is empty: one line, under the mark in its middle, says where
            // to begin; it slides in with the opening. It builds no page.
            Text {
                objectName: "emptyPageHint"
                anchors.horizontalCenter: parent.horizontalCenter
                y: 296
                visible: mainVesk.curPage === -1
                textFormat: Text.PlainText
                text: root.str(145)
                color: root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size + 2
                Accessible.role: Accessible.StaticText
                Accessible.name: text
            }

            Loader {
                id: keyLoader
                active: false
                visible: mainVesk.curPage === mainVesk.keyPage
                source: mainVesk.pageFiles[mainVesk.keyPage]
            }

            Loader {
                id: macroLoader
                active: false
                visible: mainVesk.curPage === mainVesk.macroPage
                source: mainVesk.pageFiles[mainVesk.macroPage]
            }

            Loader {
                id: colorLoader
                active: false
                visible: mainVesk.curPage === mainVesk.colorPage
                source: mainVesk.pageFiles[mainVesk.colorPage]
            }

            Loader {
                id: sensorLoader
                active: false
                visible: mainVesk.curPage === mainVesk.sensorPage
                source: mainVesk.pageFiles[mainVesk.sensorPage]
            }

            Loader {
                id: gunLoader
                active: false
                visible: mainVesk.curPage === mainVesk.gunPage
                source: mainVesk.pageFiles[mainVesk.gunPage]
            }
        }

    }

    SequentialAnimation {
        id: entryAnimation
        ParallelAnimation {
            NumberAnimation {
                target: menuProf
                property: "x"
                from: mainVesk.width
                to: mainVesk.width - menuProf.width - 8
                duration: root.animation_speed
                easing.type: Easing.OutElastic
                easing.amplitude: 1.0
                easing.period: 0.6
            }
            NumberAnimation {
                target: menuFunc
                property: "x"
                from: -150
                to: 8
                duration: root.animation_speed
                easing.type: Easing.OutElastic
                easing.amplitude: 1.0
                easing.period: 0.6
            }
        }
        NumberAnimation {
            target: pageSlot
            property: "x"
            from: pageArea.width
            to: 0
            duration: root.animation_speed * 0.5
        }
        PropertyAction {
            target: mainVesk
            property: "entered"
            value: true
        }
    }

    // The shown page slides out, then the chosen one slides in.
    SequentialAnimation {
        id: pageSwitch

        property int nextPage: -1

        NumberAnimation {
            target: pageSlot
            property: "x"
            to: -pageArea.width
            duration: mainVesk.curPage >= 0 ? root.animation_speed * 0.5 : 0
            easing.type: Easing.InQuad
        }
        PropertyAction {
            target: mainVesk
            property: "curPage"
            value: pageSwitch.nextPage
        }
        PropertyAction {
            target: pageSlot
            property: "x"
            value: pageArea.width
        }
        NumberAnimation {
            target: pageSlot
            property: "x"
            to: 0
            duration: pageSwitch.nextPage >= 0 ? root.animation_speed * 0.5 : 0
            easing.type: Easing.OutQuad
        }
    }
}
