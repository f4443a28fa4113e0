import QtQuick
import "basic"
import "common"

// The scene's root: the frameless 1000 × 600 window face, hidden until "run" starts the opening animation.
// Every scene file reads the global properties below through the id "root".
//
// The window shows with the backdrop, the decorations, the logo and the busy indicator only: that is all the
// opening's first part shows. The frame's parts (the product frame, the top and bottom bars, the settings
// panel, the notice and the tips) are built once the first frame is on screen, while the backdrop fades in,
// or earlier when something needs them (buildParts). Calls from the program that need them wait until then.
Item {
    id: root

    property int globalSetting_size: 11
    property color globalSetting_color: "#FF00FFFF"
    property color globalSetting_color_enable: "#FFAAAAAA"
    property color globalSetting_color_disable: "#80FFFFFF"
    property int animation_speed: 800
    property var globalSetting_stringList: builtInStringList
    property string globalSetting_fontFamily: "Arial"
    property string globalSetting_url: "https://vesk.example.com/"
    property int skin_No: 1
    property bool isCustomBackground: false
    property string sourceCustomBackground: ""

    // Open while the global-settings panel is shown: the menus, the pages and the bottom bar rest meanwhile.
    property bool globalSettingOpen: false
    // Code of the chosen language file; empty while the built-in strings are shown.
    property string globalSetting_langCode: ""
    // The program checks the mouse and reads it, or the check has ended and its result is still on its way:
    // the page area, the profile menu and the bottom bar take no input meanwhile and the pages send nothing
    // (they may still show what the mirror held before); the rest of the scene stays live.
    readonly property bool deviceBusy: deviceChecking || syncAwaited.running
    property bool deviceChecking: false
    // How far a part that rests for the device check fades: enough to tell, not so much that it flickers.
    readonly property real busyOpacity: 0.6

    // The user-interface strings by index; language files replace them, indexed the same way.
    readonly property var builtInStringList: [
        "Arial", "OPTIONS", "LOOP", "SPEED", "BRIGHTNESS", "DIRECTION", "PAINTING", "EFFECTS",
        "USER DEFINE 1", "USER DEFINE 2", "USER DEFINE 3", "USER DEFINE 4", "USER DEFINE 5",
        "STATIC", "BREATHING", "WAVE", "INDUCTION DARKEN", "MARQUEE", "RIPPLE", "INDUCTION BRIGHTEN", "NEON",
        "MARQUEE COLORFUL", "RAINING", "MARQUEE CIRCLE", "SPOTLIGHT", "ROTATION", "SKIN", "SOUND",
        "ANIMATED", "LANGUAGE", "BACKGROUND", "ON", "OFF", "TEXT", "SIZE", "COLOR", "BRIGHTNESS",
        "NORMAL", "LARGER", "SKIN 1", "SKIN 2", "SKIN 3", "SKIN 4", "SKIN 5",
        "MACRO", "ACTION", "KEYBOARD", "MOUSE", "MEDIA", "COMBO KEY", "MACRO",
        "LEFT", "RIGHT", "MIDDLE", "BACKWARD", "FORWARD",
        "NEXT TRACK", "PREVIOUS TRACK", "STOP", "PLAY / PAUSE", "MUTE", "VOLUME UP", "VOLUME DOWN",
        "MEDIA SELECT", "MAIL", "CALCULATOR", "MY COMPUTER", "WWW SEARCH", "WWW HOME", "WWW BACK",
        "WWW FORWARD", "WWW STOP", "WWW REFRESH", "WWW FAVORITES",
        "KEY", "MACRO", "COLOR", "RESET", "CANCEL", "GAMING MODE", "DELETE", "CUT", "PASTE", "COPY",
        "LOAD", "SAVE", "SENSOR", "LED POWER ON", "TWINKLING", "GLIDING", "FINGER MOVING",
        "VERTICAL FLIPPING", "YO-YO", "FIRE KEY", "TRIPLE CLICK", "DPI SWITCH", "NORMAL PLAY", "TIMES",
        "ALWAYS REPEAT", "REPEAT ON PRESSED", "POLLING RATE", "CURSOR SPEED", "VERTICAL SCROLL SPEED",
        "DOUBLE CLICK SPEED", "DPI LEVEL", "DPI INDICATOR LED", "DEFAULT", "APPLY", "SCROLL SWAP",
        "SCROLL UP", "SCROLL DOWN", "LED CONTROL", "RENAME", "ALL RESET", "ALL SAVE",
        "", "", "", "",
        "PRESS GUN", "X ADJUST", "Y ADJUST", "TIMES", "SWITCH", "CURSOR RETURN", "SYSTEM", "USER",
        "", "", "", "", "", "", "", "", "", "", "", "", "", "",
        "THE LAST CHANGE DID NOT REACH THE MOUSE", "NO MOUSE FOUND: CHANGES ARE NOT SENT", "THE MOUSE DOES NOT ANSWER",
        "FIRMWARE",
        // The hint of the empty page area, then the tips and names of the controls that show no text.
        "CHOOSE A FUNCTION AT THE LEFT", "NEW MACRO", "DELETE THE MACRO", "RECORD FROM THE KEYBOARD",
        "STOP RECORDING", "ADD THE KEY", "ADD THE MOUSE BUTTON", "ADD THE DELAY", "DELETE THE LINE", "CUT THE LINE",
        "COPY THE LINE", "PASTE BEFORE THE CHOSEN LINE", "RIGHT CLICK: LOAD, SAVE OR RENAME",
        "RIGHT CLICK: CHOOSE ITS DPI", "CLICK TO CHOOSE THE GUN", "RIGHT CLICK: LOAD, SAVE OR RESET", "CLOSE",
        "OPEN THE WEB PAGE", "PICK ANY COLOR", "LINE", "LINES", "KEY FUNCTION", "GUN"
    ]
    // Whether the frame's parts are built, and the calls that wait for them, in the order they came.
    property bool partsBuilt: false
    property var callsAwaitingParts: []
    // The parts, null until built.
    readonly property var productFrame: frameParts.item
    readonly property var globalSetting: panelParts.item
    readonly property var bars: barParts.item
    readonly property var overlay: overlayParts.item

    // The device notices' texts, by kind: not reached, no mouse, not answering.
    readonly property int firstNoticeString: 141
    readonly property int noticeKinds: 3

    signal msg_KB(bool isDown, int usbCode)
    signal emptyAreaPressed()
    // Every number field commits what was typed into it and not yet committed (commitPendingEdits).
    signal commitPendingRequested()

    // Called once, after the first device check that read the mouse (at start or when it is plugged in later);
    // "run" may come first. The panel goes first: it brings the configured language, whose strings the product
    // frame then shows.
    function initUI() {
        withParts(() => {
            globalSetting.initUI()
            productFrame.initUI()
        })
    }

    // Builds the frame's parts here and now, unless they are; then makes the calls that waited for them.
    function buildParts() {
        if (partsBuilt)
            return
        partsBuilt = true // every part's loader builds it at once
        const waiting = callsAwaitingParts
        callsAwaitingParts = []
        waiting.forEach(call => call())
    }

    // Makes a call that needs the frame's parts: at once once they are built, else when they are.
    function withParts(call) {
        if (partsBuilt)
            call()
        else
            callsAwaitingParts.push(call)
    }

    // Called directly when a device check with its reading of the mouse starts (true) and ends (false). The
    // check's result (deviceSynced) follows its end through the event queue.
    function setDeviceBusy(busy) {
        deviceChecking = !!busy
        if (deviceChecking)
            syncAwaited.stop()
        else
            syncAwaited.restart()
    }

    // A device check has ended and its result is in the program's mirror: connected when the mouse was found
    // and read.
    function deviceSynced(connected) {
        syncAwaited.stop()
        withParts(() => {
            productFrame.deviceSynced(!!connected)
            globalSetting.readFirmwareVersion()
        })
    }

    // Something the user did did not reach the mouse: 0 = a change did not reach it, 1 = no mouse,
    // 2 = the mouse does not answer. Shown for a moment, never as a box to close.
    function deviceNotice(kind) {
        const k = Number(kind)
        if (!Number.isInteger(k) || k < 0 || k >= noticeKinds) {
            console.debug("device notice of unknown kind", kind, "not shown")
            return
        }
        withParts(() => overlay.notice.show(str(firstNoticeString + k)))
    }

    // The opacity of a part of the frame that may rest: faint while the panel is open or for a reason of the
    // part's own, dimmed while the mouse is being read.
    function partOpacity(ownReason) {
        if (globalSettingOpen || ownReason)
            return 0.2
        return deviceBusy ? busyOpacity : 1.0
    }

    function run() {
        root.visible = true
        startAnimation.restart()
    }

    // Busy guard: the view takes no input until the interval has passed; a new call restarts the wait with
    // its own interval.
    function setProtectUI(interval) {
        let wait = Number(interval)
        if (interval === undefined || isNaN(wait))
            wait = 1000
        protectTimer.interval = Math.max(0, Math.round(wait))
        // restart() before the view is disabled: restarting a running timer lets it stop for a moment.
        protectTimer.restart()
        ui_View.setEnabled(false)
    }

    // Before a page shows another key, function, stage, gun or profile, and before anything is sent: a number
    // typed without Enter counts for what the field showed while it was typed, and what is sent is what the
    // fields show. At most one field can hold such a number, the one being edited.
    function commitPendingEdits() {
        commitPendingRequested()
    }

    // The logo opens the maker's web page. The address comes from the configuration file, which anyone may
    // edit: only a web address is handed to the desktop, never a file, a script or a program to start.
    function openWebPage(address) {
        const text = String(address ?? "").trim()
        if (!/^https?:\/\/[^\s\/?#]+([\/?#]\S*)?$/i.test(text)) {
            console.debug("the logo opens web pages only; address refused:", text)
            return false
        }
        Qt.openUrlExternally(text)
        return true
    }

    function detectKeyboard(isDown, usbCode) {
        root.msg_KB(isDown, usbCode)
    }

    function detectMouse(isDown, buttonCode, x, y) {
    }

    // The text of string i, empty where the list has none.
    function str(i) {
        const s = root.globalSetting_stringList[i]
        return s === undefined || s === null ? "" : String(s)
    }

    // Pictures are files beside the program, found through the working directory. None loads before the
    // frame's parts are built, after the first frame: that frame shows none (everything fades in from nothing),
    // and the first picture costs the program its image-format plugins.
    function skinImage(subPath) {
        if (!root.partsBuilt)
            return ""
        return "file:modules/img/skin" + root.skin_No + "/" + subPath + ".png"
    }

    // Every part whose texts are not bound to the string list takes them again.
    function translateStrings() {
        withParts(() => productFrame.translateStrings(root.globalSetting_langCode))
    }

    // The tip of a control under the cursor, and its end (common/TipArea).
    // A control under the cursor before the parts are built shows no tip.
    function showTip(item, text) {
        if (partsBuilt)
            overlay.hoverTip.show(item, text)
    }

    function hideTip(item) {
        if (partsBuilt)
            overlay.hoverTip.hide(item)
    }

    // The opening's second part: the product frame and the bars come in.
    function enterFrame() {
        buildParts()
        productFrame.startEntry()
        bars.enter()
    }

    function close() {
        if (!closeAnimation.running)
            closeAnimation.start()
    }

    width: 1000
    height: 600
    visible: false
    clip: true

    // Keys before the frame is built have no page to go to.
    onMsg_KB: function (isDown, usbCode) {
        if (productFrame)
            productFrame.relayKey(isDown, usbCode)
    }

    // From the end of a device check to its result. Should the result never come, the scene takes input again
    // with what it shows.
    Timer {
        id: syncAwaited
        objectName: "syncAwaited"
        interval: 3000
        onTriggered: console.debug("no result after the device check; the scene takes input again")
    }

    Timer {
        id: protectTimer
        objectName: "protectTimer"
        interval: 1000
        repeat: false
        onTriggered: ui_View.setEnabled(true)
    }

    // The whole background is the window's drag handle: the window follows the cursor, so the press point
    // stays under it.
    MouseArea {
        id: dragArea

        property point pressPoint
        // The desktop moves the window itself (Wayland): no position changes from the scene.
        property bool movedBySystem: false

        anchors.fill: parent
        // Only a pointer drags the window; there is nothing here for a screen reader.
        Accessible.ignored: true
        onPressed: function (mouse) {
            pressPoint = Qt.point(mouse.x, mouse.y)
            movedBySystem = ui_Ctl.onDragStarted()
            root.emptyAreaPressed()
        }
        onPositionChanged: function (mouse) {
            if (!pressed || movedBySystem)
                return
            ui_Ctl.onXChanged(mouse.x - pressPoint.x)
            ui_Ctl.onYChanged(mouse.y - pressPoint.y)
        }
    }

    Environment {
        id: environment
        objectName: "environment"
        opacity: 0
    }

    Loader {
        id: frameParts
        objectName: "frameParts"
        active: root.partsBuilt
        source: "Vesk/Main_Vesk.qml"
    }

    Environment_Decoration {
        id: decoration
        objectName: "decoration"
        opacity: 0
    }

    // The bars slide in from outside the window when the frame enters.
    Loader {
        id: barParts
        objectName: "barParts"
        active: root.partsBuilt
        sourceComponent: Item {
            function enter() {
                barsEntry.restart()
            }

            width: root.width
            height: root.height

            Menu_Down {
                id: menuDown
                objectName: "menuDown"
                y: root.height
                onBtnTotalResetClicked: root.productFrame.totalReset()
                onBtnTotalApplyClicked: root.productFrame.totalApply()
            }

            Menu_Up {
                id: menuUp
                objectName: "menuUp"
                y: -root.height
                onSettingClicked: root.globalSettingOpen = !root.globalSettingOpen
                onCloseClicked: root.close()
            }

            ParallelAnimation {
                id: barsEntry
                NumberAnimation {
                    target: menuUp
                    property: "y"
                    from: -root.height
                    to: 0
                    duration: root.animation_speed
                    easing.type: Easing.OutElastic
                    easing.amplitude: 1.0
                    easing.period: 0.6
                }
                NumberAnimation {
                    target: menuDown
                    property: "y"
                    from: root.height
                    to: root.height - menuDown.height
                    duration: root.animation_speed
                    easing.type: Easing.OutElastic
                    easing.amplitude: 1.0
                    easing.period: 0.6
                }
            }
        }
    }

    ImageButton {
        id: logo
        objectName: "logo"
        x: (root.width - width) / 2
        y: 270
        opacity: 0
        source0: root.skinImage("frame/web_0")
        source1: root.skinImage("frame/web_1")
        tip: root.str(162)
        onClicked: root.openWebPage(root.globalSetting_url)
    }

    Loader {
        id: panelParts
        objectName: "panelParts"
        x: 5
        y: 27
        active: root.partsBuilt
        source: "basic/Page_Globalsetting.qml"
    }

    // Key names for every part of the scene (key inputs, the macro page).
    KeyCodeString {
        id: keyCodeString
    }

    // Shown while either guard holds: the timed one of setProtectUI or the device check.
    BusyIndicator {
        id: busyIndicator
        objectName: "busyIndicator"
        anchors.centerIn: parent
        visible: protectTimer.running || root.deviceBusy
    }

    Loader {
        id: overlayParts
        objectName: "overlayParts"
        active: root.partsBuilt
        sourceComponent: Item {
            readonly property alias notice: notice
            readonly property alias hoverTip: hoverTip

            width: root.width
            height: root.height

            // Under the logo, between the top bar and the page area.
            Notice {
                id: notice
                objectName: "notice"
                x: (root.width - width) / 2
                y: 61
            }

            // Over everything else: a tip may reach past the part its control lies in.
            HoverTip {
                id: hoverTip
                objectName: "hoverTip"
            }
        }
    }

    SequentialAnimation {
        id: startAnimation
        ParallelAnimation {
            NumberAnimation {
                target: logo
                property: "opacity"
                from: 0
                to: 1
                duration: root.animation_speed
                easing.type: Easing.InQuad
            }
            NumberAnimation {
                target: logo
                property: "y"
                from: 270
                to: 4
                duration: root.animation_speed * 1.5
                easing.type: Easing.OutQuad
            }
            NumberAnimation {
                targets: [environment, decoration]
                property: "opacity"
                from: 0
                to: 1
                duration: root.animation_speed
            }
        }
        ScriptAction {
            script: root.enterFrame()
        }
    }

    SequentialAnimation {
        id: closeAnimation
        NumberAnimation {
            target: root
            property: "height"
            to: 0
            duration: root.animation_speed
            easing.type: Easing.InQuad
        }
        ScriptAction {
            script: ui_Ctl.onMinimize()
        }
    }
}
