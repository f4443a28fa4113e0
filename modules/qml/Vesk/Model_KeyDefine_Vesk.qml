import QtQuick
import "../common"

// The mouse's sixteen keys on the key page's picture, each with its four-byte assignment code (type, then
// three parameters), and the conversions between a code and what the page's controls show. The conversions
// take everything they need as arguments, so that they can be checked one by one.
Item {
    id: keyModel

    readonly property int keyCount: mouseLayout.keyCount
    readonly property int entrySize: mouseLayout.keyEntrySize
    readonly property int macroSlots: mouseLayout.macroSlotCount
    // The parameters of the scroll and DPI functions.
    readonly property int scrollUp: 1
    readonly property int scrollDown: 2
    readonly property int dpiUp: 1
    readonly property int dpiDown: 2
    readonly property int dpiSwitch: 3
    // Three left clicks: a fire key of the left button with a speed byte of its own.
    readonly property var tripleClickCode: [mouseLayout.keyTypeFire, mouseLayout.firstMouseCode, 0x21, 3]
    // The gun menu's entries: loop switch, two-gun loop, three-gun loop.
    readonly property var gunVariants: [mouseLayout.gunLoopSwitch, mouseLayout.gunTwoGunLoop,
        mouseLayout.gunThreeGunLoop]
    // What the keys hold before the profile's defaults are read, and whenever they cannot be: the shipped
    // matrix.
    readonly property var fallbackDefaults: [
        buttonCode(0), buttonCode(1), buttonCode(2), buttonCode(4),
        buttonCode(3), dpiCode(dpiSwitch), [mouseLayout.keyTypeGunSlot, 0, 0, 0], dpiCode(dpiSwitch),
        [mouseLayout.keyTypeUnknown, 0, 3, 0], usageCode(0x018A), usageCode(0x0223), usageCode(0x0194),
        keyboardCode(0), keyboardCode(0), scrollCode(scrollUp), scrollCode(scrollDown)
    ]
    // Where each key sits on the picture (x, y, width, height); the buttons are large regions, the rest small.
    readonly property var keyBoxes: [
        [42, 16, 70, 167], [129, 16, 70, 167], [112, 66, 16, 44], [40, 186, 14, 30], [40, 222, 14, 30],
        [113, 134, 14, 12], [36, 98, 12, 28], [113, 152, 14, 12], [112, 198, 16, 16], [45, 262, 14, 18],
        [43, 286, 14, 18], [41, 310, 14, 18], [186, 192, 14, 28], [186, 226, 14, 28], [113, 50, 14, 9],
        [113, 117, 14, 9]
    ]

    // The function menu's entries, in menu order.
    readonly property int fnKeyboard: 0
    readonly property int fnMouse: 1
    readonly property int fnMedia: 2
    readonly property int fnCombo: 3
    readonly property int fnMacro: 4
    readonly property int fnFire: 5
    readonly property int fnLed: 6
    readonly property int fnGun: 7

    // The MOUSE list: LEFT … FORWARD, SCROLL UP, SCROLL DOWN, DPI +, DPI -, DPI SWITCH, TRIPLE CLICK.
    readonly property var mouseEntryCodes: [
        buttonCode(0), buttonCode(1), buttonCode(2), buttonCode(3),
        buttonCode(4), scrollCode(scrollUp), scrollCode(scrollDown), dpiCode(dpiUp),
        dpiCode(dpiDown), dpiCode(dpiSwitch), tripleClickCode
    ]
    readonly property int tripleClickEntry: 10
    readonly property int buttonCount: 5
    // The consumer usages of the MEDIA list, in list order (NEXT TRACK … WWW FAVORITES).
    readonly property var mediaUsages: [0x00B5, 0x00B6, 0x00B7, 0x00CD, 0x00E2, 0x00E9, 0x00EA, 0x0183, 0x018A,
        0x0192, 0x0194, 0x0221, 0x0223, 0x0224, 0x0225, 0x0226, 0x0227, 0x022A]

    // The key chosen on the page, -1 for none; the keys the page offers (only those can be clicked).
    property int selectedKey: -1
    property var offeredKeys: []
    // The names of the offered keys, in the same order: each key's tip and what a screen reader calls it.
    property var offeredNames: []
    // Bumped on every change of a code, for whatever shows codes.
    property int revision: 0

    signal keyClicked(int key)

    // ---- the sixteen codes ----

    // A list from the program or a file as a code: four integers 0–255, or null.
    function normalisedCode(list) {
        if (!list || list.length !== entrySize)
            return null
        const code = []
        for (let i = 0; i < entrySize; ++i) {
            const v = Number(list[i])
            if (!Number.isInteger(v) || v < 0 || v > 255)
                return null
            code.push(v)
        }
        return code
    }

    function sameCode(a, b) {
        for (let i = 0; i < entrySize; ++i) {
            if (a[i] !== b[i])
                return false
        }
        return true
    }

    function isKey(key) {
        return Number.isInteger(key) && key >= 0 && key < keyCount
    }

    // The codes start as the fallback defaults, whichever part of the scene asks first.
    function ensureCodes() {
        for (let k = codes.count; k < keyCount; ++k) {
            const c = fallbackDefaults[k]
            codes.append({ "keyCode0": c[0], "keyCode1": c[1], "keyCode2": c[2], "keyCode3": c[3] })
        }
    }

    function codeOf(key) {
        ensureCodes()
        if (!isKey(key))
            return [0, 0, 0, 0]
        const e = codes.get(key)
        return [e.keyCode0, e.keyCode1, e.keyCode2, e.keyCode3]
    }

    // Returns whether the code was taken; a bad key or code changes nothing.
    function setCode(key, code) {
        const c = normalisedCode(code)
        if (!isKey(key) || c === null) {
            console.debug(keyLog, "refused code", JSON.stringify(code), "for key", key)
            return false
        }
        ensureCodes()
        codes.set(key, { "keyCode0": c[0], "keyCode1": c[1], "keyCode2": c[2], "keyCode3": c[3] })
        ++revision
        return true
    }

    function allCodes() {
        const all = []
        for (let k = 0; k < keyCount; ++k)
            all.push(codeOf(k))
        return all
    }

    // The key matrix's values, key 0's four first.
    function matrix() {
        return flattened(allCodes())
    }

    function flattened(codeList) {
        const values = []
        for (const code of codeList)
            values.push(...code)
        return values
    }

    // ---- building codes from the controls ----

    function keyboardCode(usage) {
        return [mouseLayout.keyTypeKeyboard, 0, usage, 0]
    }

    // Mouse button 0–4: left, right, middle, backward, forward.
    function buttonCode(button) {
        return [mouseLayout.keyTypeMouse, 0, mouseLayout.firstMouseCode + button, 0]
    }

    // The mouse button a key code names, -1 for none.
    function buttonOf(keyCode) {
        const button = keyCode - mouseLayout.firstMouseCode
        return button >= 0 && button < buttonCount ? button : -1
    }

    function scrollCode(direction) {
        return [mouseLayout.keyTypeScroll, 0, direction, 0]
    }

    function dpiCode(action) {
        return [mouseLayout.keyTypeDpi, 0, action, 0]
    }

    function mouseCode(entry) {
        return entry >= 0 && entry < mouseEntryCodes.length ? mouseEntryCodes[entry].slice() : null
    }

    // A consumer usage, low byte first.
    function usageCode(usage) {
        return [mouseLayout.keyTypeMedia, 0, usage & 0xFF, usage >> 8]
    }

    function mediaCode(entry) {
        if (entry < 0 || entry >= mediaUsages.length)
            return null
        return usageCode(mediaUsages[entry])
    }

    // Modifier entry 0 is "×" (none); entry m sets bit m − 1 (L Ctrl … R Win).
    function modifierMask(entry) {
        return entry > 0 && entry <= 8 ? 1 << (entry - 1) : 0
    }

    function comboCode(modifierEntry, key1, key2) {
        return [mouseLayout.keyTypeKeyboard, modifierMask(modifierEntry), key1, key2]
    }

    function fireSpeedValue(position) {
        return (7 - position) * 35 + 10
    }

    function fireCode(source, position, shots) {
        return [mouseLayout.keyTypeFire, source, fireSpeedValue(position), shots]
    }

    function gunCode(entry) {
        return entry >= 0 && entry < gunVariants.length ? [mouseLayout.keyTypeGun, 0, gunVariants[entry], 0] : null
    }

    function macroCode(mode, macroId) {
        return [mouseLayout.keyTypeMacro, mode, macroId, 0]
    }

    function ledCode() {
        return [mouseLayout.keyTypeLed, 0, 0, 0]
    }

    function isLeftButton(code) {
        return sameCode(code, buttonCode(0))
    }

    // ---- reading a code back ----

    // The MOUSE list's entry of a code, -1 for none.
    function mouseEntryOf(code) {
        return mouseEntryCodes.findIndex(e => sameCode(e, code))
    }

    // What the page shows for a code: the function menu entry (fn, -1 for none) and the values of that
    // function's controls; a list entry of -1 chooses nothing.
    function readBack(code) {
        const r = { "fn": -1, "entry": -1, "key1": 0, "key2": 0, "modifier": 0, "fireKeyMode": false,
            "speed": 7, "shots": 10, "mode": -1, "macroIndex": -1 }
        const c = normalisedCode(code)
        if (c === null)
            return r
        const [type, p1, p2, p3] = c
        const m = mouseLayout
        switch (type) {
        case m.keyTypeKeyboard:
            if (p1 === 0 && p2 !== 0 && p3 === 0) {
                r.fn = fnKeyboard
                r.key1 = p2
            } else {
                // The lowest set modifier bit wins; all zeros is an empty combination.
                r.fn = fnCombo
                r.modifier = keyCodeString.logByte(p1)
                r.key1 = p2
                r.key2 = p3
            }
            break
        case m.keyTypeMouse:
            if (p1 === 0 && p2 !== 0 && p3 === 0) {
                r.fn = fnMouse
                r.entry = mouseEntryOf(c)
            }
            break
        case m.keyTypeMedia:
            if (p1 === 0 && p2 !== 0) {
                r.fn = fnMedia
                r.entry = mediaUsages.indexOf(p3 * 256 + p2)
            }
            break
        case m.keyTypeScroll:
            if (p1 === 0 && p3 === 0 && (p2 === scrollUp || p2 === scrollDown)) {
                r.fn = fnMouse
                r.entry = mouseEntryOf(c)
            }
            break
        case m.keyTypeDpi:
            if (p1 === 0 && p3 === 0) {
                r.fn = fnMouse
                r.entry = mouseEntryOf(c)
            }
            break
        case m.keyTypeGun:
        case m.keyTypeGunSlot:
            r.fn = fnGun
            r.entry = gunVariants.indexOf(p2)
            break
        case m.keyTypeMacro:
            r.fn = fnMacro
            r.mode = p1 <= 2 ? p1 : -1
            r.macroIndex = p2 - 1
            break
        case m.keyTypeFire:
            if (sameCode(c, tripleClickCode)) {
                r.fn = fnMouse
                r.entry = tripleClickEntry
                break
            }
            r.fn = fnFire
            r.entry = buttonOf(p1)
            r.fireKeyMode = r.entry < 0
            r.key1 = r.fireKeyMode ? p1 : 0
            // A speed value below 10 counts as 10; halves round up.
            r.speed = Math.max(0, Math.min(7, 7 - Math.round((Math.max(p2, 10) - 10) / 35)))
            r.shots = p3
            break
        case m.keyTypeLed:
            if (p1 === 0 && p2 === 0 && p3 === 0)
                r.fn = fnLed
            break
        }
        return r
    }

    // ---- macro slots ----

    // The slot index (0–99) a code plays, or -1: a macro key uses slot P2 − 1.
    function macroIndexOf(code) {
        const c = normalisedCode(code)
        if (c === null)
            return -1
        const [type, , slot, p3] = c
        if (type !== mouseLayout.keyTypeMacro || p3 !== 0)
            return -1
        const index = slot - 1
        return index >= 0 && index < macroSlots ? index : -1
    }

    function usedMacroIndexes(allKeyCodes) {
        const used = []
        for (const code of allKeyCodes) {
            const index = macroIndexOf(code)
            if (index >= 0 && used.indexOf(index) < 0)
                used.push(index)
        }
        return used
    }

    // The smallest slot index that no key plays and that no other library macro holds, -1 when all 100
    // are taken.
    function smallestFreeMacroIndex(allKeyCodes, claimedIndexes) {
        const taken = usedMacroIndexes(allKeyCodes).concat(claimedIndexes || [])
        for (let i = 0; i < macroSlots; ++i) {
            if (taken.indexOf(i) < 0)
                return i
        }
        return -1
    }

    // ---- the picture ----

    function resetToFallback() {
        for (let k = 0; k < keyCount; ++k)
            setCode(k, fallbackDefaults[k])
    }

    width: 240
    height: 400

    Component.onCompleted: ensureCodes()

    LoggingCategory {
        id: keyLog
        name: "vesk.scene.keys"
        defaultLogLevel: LoggingCategory.Warning
    }

    ListModel {
        id: codes
    }

    Image {
        source: root.skinImage("model_ms/model_Vesk_KeyDefine")
    }

    // Later keys lie above earlier ones: the small keys at the buttons' edges win over the buttons.
    Repeater {
        model: keyModel.keyCount

        Item {
            id: keySpot

            required property int index
            readonly property var box: keyModel.keyBoxes[index]
            readonly property bool offered: keyModel.offeredKeys.indexOf(index) >= 0
            readonly property bool chosen: keyModel.selectedKey === index
            readonly property string name: String(keyModel.offeredNames[keyModel.offeredKeys.indexOf(index)] ?? "")

            objectName: "modelKey" + index
            x: box[0]
            y: box[1]
            width: box[2]
            height: box[3]

            Accessible.role: Accessible.Button
            Accessible.name: name
            Accessible.ignored: !offered
            Accessible.checkable: true
            Accessible.checked: chosen
            Accessible.onPressAction: {
                if (offered)
                    keyModel.keyClicked(index)
            }

            Rectangle {
                anchors.fill: parent
                anchors.margins: keySpot.width > 40 ? 6 : -2
                radius: 3
                color: keySpot.chosen ? "#3300FFFF" : "transparent"
                border.width: keySpot.chosen || spotArea.containsMouse ? 1 : 0
                border.color: root.globalSetting_color
                visible: keySpot.offered && (keySpot.chosen || spotArea.containsMouse)
            }

            TipArea {
                id: spotArea
                anchors.fill: parent
                tip: keySpot.name
                enabled: keySpot.offered
                onClicked: keyModel.keyClicked(keySpot.index)
            }
        }
    }
}
