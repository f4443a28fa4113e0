import QtQuick
import "basic"
import "common"
import "Vesk"

// The scene's root: the frameless 1000 × 600 window face, hidden until "run" starts the opening animation.
// Every scene file reads the global properties below through the id "root".
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
        "", "", "", "", "", "", "", "", "", "", "", "", "", ""
    ]

    signal msg_KB(bool isDown, int usbCode)
    signal emptyAreaPressed()

    // Called once at start-up, before "run", and only when the mouse was found. The panel goes first: it
    // brings the configured language, whose strings the product frame then shows.
    function initUI() {
        globalSetting.initUI()
        productFrame.initUI()
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
        busyIndicator.visible = true
        ui_View.setEnabled(false)
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

    // Pictures are files beside the program, found through the working directory.
    function skinImage(subPath) {
        return "file:modules/img/skin" + root.skin_No + "/" + subPath + ".png"
    }

    // Every part whose texts are not bound to the string list takes them again.
    function translateStrings() {
        productFrame.translateStrings(root.globalSetting_langCode)
    }

    function close() {
        if (!closeAnimation.running)
            closeAnimation.start()
    }

    width: 1000
    height: 600
    visible: false
    clip: true

    onMsg_KB: function (isDown, usbCode) {
        productFrame.relayKey(isDown, usbCode)
    }

    Timer {
        id: protectTimer
        objectName: "protectTimer"
        interval: 1000
        repeat: false
        onTriggered: {
            ui_View.setEnabled(true)
            busyIndicator.visible = false
        }
    }

    // The whole background is the window's drag handle: the window follows the cursor, so the press point
    // stays under it.
    MouseArea {
        id: dragArea

        property point pressPoint

        anchors.fill: parent
        onPressed: function (mouse) {
            pressPoint = Qt.point(mouse.x, mouse.y)
            root.emptyAreaPressed()
        }
        onPositionChanged: function (mouse) {
            if (!pressed)
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

    Main_Vesk {
        id: productFrame
        objectName: "productFrame"
    }

    Environment_Decoration {
        id: decoration
        objectName: "decoration"
        opacity: 0
    }

    Menu_Down {
        id: menuDown
        objectName: "menuDown"
        y: root.height
        onBtnTotalResetClicked: productFrame.totalReset()
        onBtnTotalApplyClicked: productFrame.totalApply()
    }

    Menu_Up {
        id: menuUp
        objectName: "menuUp"
        y: -root.height
        onSettingClicked: root.globalSettingOpen = !root.globalSettingOpen
        onCloseClicked: root.close()
    }

    Button_2state {
        id: logo
        objectName: "logo"
        x: (root.width - width) / 2
        y: 270
        opacity: 0
        source0: root.skinImage("frame/web_0")
        source1: root.skinImage("frame/web_1")
        onClicked: Qt.openUrlExternally(root.globalSetting_url)
    }

    Page_Globalsetting {
        id: globalSetting
        objectName: "globalSetting"
        x: 5
        y: 27
    }

    // Key names for every part of the scene (key inputs, the macro page).
    KeyCodeString {
        id: keyCodeString
    }

    BusyIndicator {
        id: busyIndicator
        objectName: "busyIndicator"
        anchors.centerIn: parent
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
            script: productFrame.startEntry()
        }
        ParallelAnimation {
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
