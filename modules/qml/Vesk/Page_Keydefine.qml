import QtQuick
import "../common"

// The key page: the mouse with its keys, the list of keys the product offers, and for the chosen key its
// function and that function's control. Every control writes the key's code in the key model at once;
// APPLY sends the sixteen codes to the mouse, RESET brings back the chosen key's default. Macros bound to
// a key take a device slot, which the macro's library file remembers.
Item {
    id: keyPage
    objectName: "keyPage"

    // The sixteen default codes as the key matrix's values; the profile's defaults replace them.
    property var defaults: keyModel.flattened(keyModel.fallbackDefaults)
    // List position → key number, and the names the list shows.
    property var mapping_for_keyId: []
    property var keyNames: []
    property int curPosition: -1
    readonly property int selectedKey: curPosition >= 0 && curPosition < mapping_for_keyId.length
                                       ? mapping_for_keyId[curPosition] : -1
    // The function menu's entry shown for the chosen key, -1 for none.
    property int shownFunction: -1
    property var macroNames: []
    property alias macroMode: controls.macroMode
    property alias fireKeyMode: controls.fireKeyMode

    readonly property var fallbackKeys: [0, 1, 2, 3, 4, 5, 6, 14, 15]
    readonly property int openingPosition: 3

    function initUI() {
        readDefaults()
        buildKeyList()
        loadMacroNames()
        for (let k = 0; k < keyModel.keyCount; ++k) {
            const code = keyModel.normalisedCode(callView("getKeydefine", k))
            if (code === null) {
                console.debug(keyLog, "no usable code for key", k, "from the program; showing its default")
                keyModel.setCode(k, defaultCode(k))
            } else {
                keyModel.setCode(k, code)
            }
        }
        showKey()
    }

    function translateStrings() {
        buildKeyList()
        showKey()
    }

    function keyEvent(isDown, usbCode) {
        controls.keyEvent(isDown, usbCode)
    }

    // "ALL RESET": every key back to its default; slots no key plays any more are given up.
    function pageReset() {
        for (let k = 0; k < keyModel.keyCount; ++k)
            keyModel.setCode(k, defaultCode(k))
        refreshMacroSlots()
        showKey()
    }

    // "ALL SAVE": the frame has raised the busy guard already.
    function pageApply() {
        sendMatrix()
    }

    // A call into the program; undefined (and a debug line) when the program does not offer it.
    function callView(method, ...args) {
        if (typeof ui_View === "undefined" || !ui_View || typeof ui_View[method] !== "function") {
            console.debug(keyLog, "the program offers no", method)
            return undefined
        }
        return ui_View[method](...args)
    }

    function textOr(index, fallback) {
        const s = root.str(index)
        return s !== "" ? s : fallback
    }

    function readDefaults() {
        const profile = Number(callView("vesk_82H_GetCurrentProfile"))
        const list = callView("vesk_getDefaultProfile", "matrix_fw", Number.isInteger(profile) ? profile : 0)
        const size = mouseLayout.keyMatrixSize
        const values = []
        for (let i = 0; list && list.length === size && i < size; ++i) {
            const v = Number(list[i])
            if (!Number.isInteger(v) || v < 0 || v > 255)
                break
            values.push(v)
        }
        if (values.length === size)
            defaults = values
        else
            console.debug(keyLog, "the profile's default key matrix is unusable; keeping the previous defaults")
    }

    function defaultCode(key) {
        const size = mouseLayout.keyEntrySize
        return defaults.slice(size * key, size * (key + 1))
    }

    // The keys the product names in the chosen language, or the nine built-in ones; the chosen key stays
    // chosen when it is still offered.
    function buildKeyList() {
        const layout = mainVesk.productLayoutStrings
        let keys = []
        let names = []
        for (let i = 0; layout && i < Math.min(layout.length, keyModel.keyCount); ++i) {
            const name = layout[i] === undefined || layout[i] === null ? "" : String(layout[i])
            if (name !== "") {
                keys.push(i)
                names.push(name)
            }
        }
        if (keys.length === 0) {
            keys = fallbackKeys
            names = fallbackKeys.map((k, i) => "KEY " + String.fromCharCode(0xFF11 + i))
        }
        const previous = selectedKey
        mapping_for_keyId = keys
        keyNames = names
        const at = keys.indexOf(previous)
        curPosition = at >= 0 ? at : Math.min(openingPosition, keys.length - 1)
    }

    function selectPosition(position) {
        if (position < 0 || position >= mapping_for_keyId.length)
            return
        root.commitPendingEdits()
        curPosition = position
        showKey()
    }

    // ---- showing a key ----

    function clearControls() {
        controls.clear()
    }

    function showKey() {
        clearControls()
        const r = keyModel.readBack(keyModel.codeOf(selectedKey))
        shownFunction = selectedKey >= 0 ? r.fn : -1
        functionMenu.setCurIndex(shownFunction)
        controls.show(r)
        if (shownFunction === keyModel.fnMacro)
            showMacro(r.macroIndex)
    }

    // The macro whose slot index the key plays, with its repeat count.
    function showMacro(index) {
        loadMacroNames()
        const m = macroConfigs().find(c => c.index === index)
        if (m)
            controls.showMacro(macroNames.indexOf(m.name), m.name, m.repeat)
    }

    // ---- changing a key ----

    // Taking the left button from the last offered key that holds it needs the user's word.
    function leftButtonGuard(newCode) {
        if (!keyModel.isLeftButton(keyModel.codeOf(selectedKey)))
            return true
        if (newCode && keyModel.isLeftButton(newCode))
            return true
        for (const k of mapping_for_keyId) {
            if (k !== selectedKey && keyModel.isLeftButton(keyModel.codeOf(k)))
                return true
        }
        return callView("getMsgAns_FoolProofing") === true
    }

    function chooseFunction(fn) {
        if (selectedKey < 0 || fn === shownFunction)
            return
        root.commitPendingEdits()
        if (!leftButtonGuard(null)) {
            showKey()
            return
        }
        const [heldType] = keyModel.codeOf(selectedKey)
        clearControls()
        if (heldType === mouseLayout.keyTypeMacro) {
            keyModel.setCode(selectedKey, [0, 0, 0, 0])
            refreshMacroSlots()
        }
        shownFunction = fn
        functionMenu.setCurIndex(fn)
        if (fn === keyModel.fnLed)
            keyModel.setCode(selectedKey, keyModel.ledCode())
        else if (fn === keyModel.fnMacro)
            loadMacroNames()
    }

    function setSelectedCode(code) {
        if (selectedKey >= 0 && code)
            keyModel.setCode(selectedKey, code)
    }

    function chooseMouseEntry(entry) {
        const code = keyModel.mouseCode(entry)
        if (!leftButtonGuard(code)) {
            showKey()
            return
        }
        setSelectedCode(code)
    }

    function writeCombo() {
        setSelectedCode(keyModel.comboCode(controls.comboModifierEntry, controls.comboKey1Code,
                                           controls.comboKey2Code))
    }

    // A fire key needs its button or key before it can be written.
    function writeFire() {
        const button = controls.fireButtonEntry
        const source = fireKeyMode ? controls.fireKeyCode : (button >= 0 ? mouseLayout.firstMouseCode + button : 0)
        if (source === 0) {
            console.debug(keyLog, "fire key without a button or key; nothing written")
            return
        }
        setSelectedCode(keyModel.fireCode(source, controls.fireSpeedPosition, controls.fireShotCount))
    }

    function resetKey() {
        if (selectedKey < 0)
            return
        const def = defaultCode(selectedKey)
        if (!leftButtonGuard(def))
            return
        const [heldType] = keyModel.codeOf(selectedKey)
        keyModel.setCode(selectedKey, def)
        if (heldType === mouseLayout.keyTypeMacro)
            refreshMacroSlots()
        showKey()
    }

    function applyKeys() {
        root.setProtectUI(800)
        sendMatrix()
    }

    function sendMatrix() {
        root.commitPendingEdits()
        if (mainVesk.maySend("key matrix"))
            callView("vesk_0DH_SetKeyMatrix", keyModel.matrix())
    }

    // ---- macros ----

    function loadMacroNames() {
        const files = callView("getMacroIniNames")
        const names = []
        for (let i = 0; files && i < files.length; ++i)
            names.push(String(files[i]).slice(0, -4))
        macroNames = names
        controls.setMacroNames(names)
    }

    // Every library macro with its slot index and repeat count.
    function macroConfigs() {
        const configs = []
        const files = callView("getMacroIniNames")
        for (let i = 0; files && i < files.length; ++i) {
            const name = String(files[i]).slice(0, -4)
            const config = callView("loadMacroIniConfig", name)
            if (config && config.length >= 2)
                configs.push({ "name": name, "index": Number(config[0]), "repeat": Number(config[1]) })
        }
        return configs
    }

    // A macro whose slot no key plays any more gives the slot up.
    function refreshMacroSlots() {
        const used = keyModel.usedMacroIndexes(keyModel.allCodes())
        for (const m of macroConfigs()) {
            if (used.indexOf(m.index) < 0 && (m.index !== -1 || m.repeat !== 1))
                callView("setMacroIniConfig", m.name, [-1, 1])
        }
    }

    // Only for the key shown with the MACRO function: its macro controls are the ones the user used.
    function bindMacro() {
        const key = selectedKey
        if (key < 0)
            return
        if (shownFunction !== keyModel.fnMacro) {
            console.debug(keyLog, "key", key, "is not shown as a macro key; no macro bound")
            return
        }
        keyModel.setCode(key, [0, 0, 0, 0])
        const name = controls.macroName
        if (name === "")
            return
        // Which slots are free is known only from the mouse's key matrix.
        if (!mainVesk.maySend("macro " + name))
            return
        const config = callView("loadMacroIniConfig", name)
        if (!config || config.length < 2) {
            console.debug(keyLog, "macro", name, "has no library file; the key stays unassigned")
            return
        }
        const claimedByOthers = macroConfigs().filter(m => m.name !== name).map(m => m.index)
            .filter(i => Number.isInteger(i) && i >= 0 && i < keyModel.macroSlots)
        let index = Number(config[0])
        // A slot index out of range, or one another macro holds too (a copied file), would make two macros
        // share one device slot: the macro gets a slot of its own instead.
        if (!Number.isInteger(index) || index < 0 || index >= keyModel.macroSlots
                || claimedByOthers.indexOf(index) >= 0) {
            if (index !== -1)
                console.debug(keyLog, "macro", name, "holds slot index", config[0], "which it cannot use")
            index = keyModel.smallestFreeMacroIndex(keyModel.allCodes(), claimedByOthers)
            if (index < 0) {
                console.debug(keyLog, "all", keyModel.macroSlots, "macro slots are taken; key", key,
                              "stays unassigned")
                return
            }
        }
        callView("setMacroIniConfig", name, [index, controls.macroCount])
        callView("vesk_0FH_SetMacroKey", index + 1, name)
        keyModel.setCode(key, keyModel.macroCode(Math.max(0, macroMode), index + 1))
        // The macro the key played before may have lost its last key.
        refreshMacroSlots()
    }

    width: 759
    height: 442

    LoggingCategory {
        id: keyLog
        name: "vesk.scene.keys"
        defaultLogLevel: LoggingCategory.Warning
    }

    Component.onCompleted: {
        buildKeyList()
        showKey()
    }

    Image {
        source: root.skinImage("list_center/fnKeydefineBackground")
    }

    Model_KeyDefine_Vesk {
        id: keyModel
        objectName: "keyModel"
        x: 20
        y: 21
        offeredKeys: keyPage.mapping_for_keyId
        offeredNames: keyPage.keyNames
        selectedKey: keyPage.selectedKey
        onKeyClicked: function (key) {
            keyPage.selectPosition(keyPage.mapping_for_keyId.indexOf(key))
        }
    }

    // The key list.
    Item {
        id: keyList
        objectName: "keyList"
        x: 280
        y: 12
        width: 180
        height: 418

        Accessible.role: Accessible.List
        Accessible.name: root.str(74)

        readonly property int rowHeight: Math.min(30, Math.floor((height - 20) / Math.max(1, keyPage.keyNames.length)))

        Repeater {
            model: keyPage.keyNames

            Item {
                id: keyRow

                required property int index
                required property var modelData
                readonly property bool chosen: keyPage.curPosition === index

                objectName: "keyRow" + index
                x: 10
                y: 10 + keyList.rowHeight * index
                width: keyList.width - 20
                height: keyList.rowHeight

                Accessible.role: Accessible.ListItem
                Accessible.name: String(modelData)
                Accessible.selectable: true
                Accessible.selected: chosen
                Accessible.onPressAction: keyPage.selectPosition(index)

                Rectangle {
                    x: 2
                    width: Math.min(parent.width - 4, rowText.implicitWidth + 20)
                    height: Math.min(26, parent.height - 2)
                    anchors.verticalCenter: parent.verticalCenter
                    radius: 3
                    color: keyRow.chosen ? "#3300FFFF" : "#1A00FFFF"
                    border.width: keyRow.chosen ? 1 : 0
                    border.color: root.globalSetting_color
                    visible: keyRow.chosen || rowArea.containsMouse
                }

                Text {
                    id: rowText
                    x: 12
                    width: Math.min(implicitWidth, keyRow.width - 16)
                    anchors.verticalCenter: parent.verticalCenter
                    elide: Text.ElideRight
                    textFormat: Text.PlainText
                    text: String(keyRow.modelData)
                    color: keyRow.chosen || rowArea.containsMouse ? root.globalSetting_color
                                                                  : root.globalSetting_color_enable
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }

                MouseArea {
                    id: rowArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: keyPage.selectPosition(keyRow.index)
                }
            }
        }
    }

    Image {
        x: 484
        y: 66
        width: 251
        source: root.skinImage("common/draw_line")
    }

    KeyFunctionControls {
        id: controls
        objectName: "functionControls"
        keyModel: keyModel
        shownFunction: keyPage.shownFunction
        // The drop-down lists are translucent: the controls rest while the function menu is open.
        visible: !functionMenu.opened
        onKeyboardCaptured: function (usbCode) {
            keyPage.setSelectedCode(keyModel.keyboardCode(usbCode))
        }
        onMouseChosen: function (entry) {
            keyPage.chooseMouseEntry(entry)
        }
        onMediaChosen: function (entry) {
            keyPage.setSelectedCode(keyModel.mediaCode(entry))
        }
        onComboChanged: keyPage.writeCombo()
        onMacroListOpening: keyPage.loadMacroNames()
        onMacroChosen: keyPage.bindMacro()
        onMacroModeChosen: keyPage.bindMacro()
        onMacroCountEntered: {
            if (controls.macroMode === 0)
                keyPage.bindMacro()
        }
        onFireChanged: keyPage.writeFire()
        onGunChosen: function (entry) {
            keyPage.setSelectedCode(keyModel.gunCode(entry))
        }
    }

    // Above the controls, so that its list opens over them.
    DropdownList {
        id: functionMenu
        objectName: "functionMenu"
        x: 490
        y: 30
        width: 235
        maxRows: 8
        name: root.str(166)
        elements: [root.str(46), root.str(47), root.str(48), root.str(49), root.str(50), root.str(93),
            root.str(111), keyPage.textOr(132, "Gun key")]
        onListElementClicked: function (index) {
            keyPage.chooseFunction(index)
        }
    }

    Image {
        id: buttonFrame
        x: 484
        y: 372
        source: root.skinImage("common/fram_2btn")

        Button_2state {
            objectName: "resetButton"
            x: 10
            y: 8
            source0: root.skinImage("common/reset_0")
            source1: root.skinImage("common/reset_1")
            text: root.str(77)
            textX: 30
            onClicked: keyPage.resetKey()
        }

        Button_2state {
            objectName: "applyButton"
            x: 130
            y: 8
            source0: root.skinImage("common/apply_0")
            source1: root.skinImage("common/apply_1")
            text: root.str(107)
            textX: 30
            onClicked: keyPage.applyKeys()
        }
    }
}
