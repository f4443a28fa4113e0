import QtQuick
import "../common"

// The mouse's sixteen keys on the key page's picture, each with its four-byte assignment code (type, then
// three parameters), and the conversions between a code and what the page's controls show. The conversions
// take everything they need as arguments, so that they can be checked one by one.
Item {
    id: keyModel

    readonly property int keyCount: 16
    readonly property int macroSlots: 100
    // What the keys hold before the profile's defaults are read, and whenever they cannot be.
    readonly property var fallbackDefaults: [
        [0x01, 0x00, 0xF0, 0x00], [0x01, 0x00, 0xF1, 0x00], [0x01, 0x00, 0xF2, 0x00], [0x01, 0x00, 0xF4, 0x00],
        [0x01, 0x00, 0xF3, 0x00], [0x07, 0x00, 0x03, 0x00], [0x0B, 0x00, 0x00, 0x00], [0x07, 0x00, 0x03, 0x00],
        [0x05, 0x00, 0x03, 0x00], [0x03, 0x00, 0x8A, 0x01], [0x03, 0x00, 0x23, 0x02], [0x03, 0x00, 0x94, 0x01],
        [0x00, 0x00, 0x00, 0x00], [0x00, 0x00, 0x00, 0x00], [0x04, 0x00, 0x01, 0x00], [0x04, 0x00, 0x02, 0x00]
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
        [0x01, 0x00, 0xF0, 0x00], [0x01, 0x00, 0xF1, 0x00], [0x01, 0x00, 0xF2, 0x00], [0x01, 0x00, 0xF3, 0x00],
        [0x01, 0x00, 0xF4, 0x00], [0x04, 0x00, 0x01, 0x00], [0x04, 0x00, 0x02, 0x00], [0x07, 0x00, 0x01, 0x00],
        [0x07, 0x00, 0x02, 0x00], [0x07, 0x00, 0x03, 0x00], [0x0A, 0xF0, 0x21, 0x03]
    ]
    readonly property int tripleClickEntry: 10
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
        if (!list || list.length !== 4)
            return null
        const code = []
        for (let i = 0; i < 4; ++i) {
            const v = Number(list[i])
            if (!Number.isInteger(v) || v < 0 || v > 255)
                return null
            code.push(v)
        }
        return code
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

    // The 64 values of the key matrix, key 0's four first.
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
        return [0x00, 0x00, usage, 0x00]
    }

    function mouseCode(entry) {
        return entry >= 0 && entry < mouseEntryCodes.length ? mouseEntryCodes[entry].slice() : null
    }

    function mediaCode(entry) {
        if (entry < 0 || entry >= mediaUsages.length)
            return null
        const usage = mediaUsages[entry]
        return [0x03, 0x00, usage & 0xFF, usage >> 8]
    }

    // Modifier entry 0 is "×" (none); entry m sets bit m − 1 (L Ctrl … R Win).
    function modifierMask(entry) {
        return entry > 0 && entry <= 8 ? 1 << (entry - 1) : 0
    }

    function comboCode(modifierEntry, key1, key2) {
        return [0x00, modifierMask(modifierEntry), key1, key2]
    }

    function fireSpeedValue(position) {
        return (7 - position) * 35 + 10
    }

    function fireCode(source, position, shots) {
        return [0x0A, source, fireSpeedValue(position), shots]
    }

    function gunCode(entry) {
        return entry >= 0 && entry < 3 ? [0x08, 0x00, 0x04 + entry, 0x00] : null
    }

    function macroCode(mode, macroId) {
        return [0x09, mode, macroId, 0x00]
    }

    function ledCode() {
        return [0x0C, 0x00, 0x00, 0x00]
    }

    function isLeftButton(code) {
        return code[0] === 0x01 && code[1] === 0x00 && code[2] === 0xF0 && code[3] === 0x00
    }

    // ---- reading a code back ----

    // What the page shows for a code: the function menu entry (fn, -1 for none) and the values of that
    // function's controls; a list entry of -1 chooses nothing.
    function readBack(code) {
        const r = { "fn": -1, "entry": -1, "key1": 0, "key2": 0, "modifier": 0, "fireKeyMode": false,
            "speed": 7, "shots": 10, "mode": -1, "macroIndex": -1 }
        const c = normalisedCode(code)
        if (c === null)
            return r
        const [type, p1, p2, p3] = c
        switch (type) {
        case 0x00:
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
        case 0x01:
            if (p1 === 0 && p2 !== 0 && p3 === 0) {
                r.fn = fnMouse
                r.entry = p2 >= 0xF0 && p2 <= 0xF4 ? p2 - 0xF0 : -1
            }
            break
        case 0x03:
            if (p1 === 0 && p2 !== 0) {
                r.fn = fnMedia
                r.entry = mediaUsages.indexOf(p3 * 256 + p2)
            }
            break
        case 0x04:
            if (p1 === 0 && p3 === 0 && (p2 === 1 || p2 === 2)) {
                r.fn = fnMouse
                r.entry = 4 + p2
            }
            break
        case 0x07:
            if (p1 === 0 && p3 === 0) {
                r.fn = fnMouse
                r.entry = p2 >= 1 && p2 <= 3 ? 6 + p2 : -1
            }
            break
        case 0x08:
        case 0x0B:
            r.fn = fnGun
            r.entry = p2 >= 4 && p2 <= 6 ? p2 - 4 : -1
            break
        case 0x09:
            r.fn = fnMacro
            r.mode = p1 <= 2 ? p1 : -1
            r.macroIndex = p2 - 1
            break
        case 0x0A:
            if (p1 === 0xF0 && p2 === 0x21 && p3 === 0x03) {
                r.fn = fnMouse
                r.entry = tripleClickEntry
                break
            }
            r.fn = fnFire
            r.fireKeyMode = p1 < 0xF0 || p1 > 0xF4
            r.entry = r.fireKeyMode ? -1 : p1 - 0xF0
            r.key1 = r.fireKeyMode ? p1 : 0
            // A speed value below 10 counts as 10; halves round up.
            r.speed = Math.max(0, Math.min(7, 7 - Math.round((Math.max(p2, 10) - 10) / 35)))
            r.shots = p3
            break
        case 0x0C:
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
        if (c === null || c[0] !== 0x09 || c[3] !== 0x00)
            return -1
        const index = c[2] - 1
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
