import QtQuick
import "../common"
import "GunTable.js" as GunTable

// The recoil page: three games of twelve guns, each gun with its compensation values. The user's tables are
// the recoil files beside the program; SYSTEM shows the built-in values instead. Apply stores the tables and
// the chosen gun of the fire key, and sends that gun's values to the fire key's profile on the mouse.
Item {
    id: gunPage
    objectName: "gunPage"

    readonly property int fireKeyCount: 3
    // Fire key k (slot k - 1) has its values in profile k + 1.
    readonly property int firstFireKeyProfile: 2

    property int curGame: 0
    property int curGun: 0
    property int curSlot: 0
    property bool useSystem: true
    property bool gridOpen: false
    // The user's tables, 3 × 12 records; replaced whole or changed in place and then revision is raised.
    property var userTables: GunTable.builtInTables()
    readonly property var systemTables: GunTable.builtInTables()
    property int revision: 0
    // Whether the recoil files were read since the start; an apply first reads what it would overwrite.
    property bool loaded: false
    // Per game: the stored table was read whole, or the user changed it since. Only then does an apply
    // write it back: a table the page could not read stays in its file as it is.
    property var tableWritable: [false, false, false]

    readonly property var curRecord: {
        gunPage.revision
        return (useSystem ? systemTables : userTables)[curGame][curGun]
    }
    readonly property int curCap: GunTable.timesCap(curRecord.y, curRecord.cursorReturn)
    readonly property var gameNames: [label(129, "GAME 1"), label(130, "GAME 2"), label(131, "GAME 3")]

    // The strings 129–134 exist only in language files; the built-in list leaves them empty.
    function label(index, fallback) {
        const s = root.str(index)
        return s !== "" ? s : fallback
    }

    // Gun `gun` of the chosen game by its name in the table shown, or by its number where it has none.
    function gunName(gun) {
        const r = (useSystem ? systemTables : userTables)[curGame][gun]
        return r && r.name !== "" ? r.name : label(167, "GUN") + " " + (gun + 1)
    }

    // A table the page cannot read keeps what the page shows, and its file is not written back unless the
    // user changes that game.
    function readTable(game) {
        const table = GunTable.tableFrom(ui_View.getGundata(game), game)
        if (table === null)
            return false
        userTables[game] = table
        return true
    }

    // The game and gun a fire key used last; a selection that names no gun leaves the choice as it is.
    function readSelection(slot) {
        const sel = GunTable.selectionFrom(ui_View.getSelGundata(slot))
        if (sel === null) {
            console.debug("recoil selection of fire key", slot + 1, "unusable")
            return
        }
        curGame = sel.game
        curGun = sel.gun
    }

    function initUI() {
        const writable = []
        for (let g = 0; g < GunTable.gameCount; ++g)
            writable.push(readTable(g))
        tableWritable = writable
        curSlot = 0
        readSelection(0)
        loaded = true
        ++revision
    }

    function translateStrings() {
        // Every text is bound to the string list and follows it.
    }

    // A number typed for the gun shown counts for it before another one is shown.
    function chooseGame(game) {
        if (!(Number.isInteger(game) && game >= 0 && game < GunTable.gameCount))
            return
        root.commitPendingEdits()
        curGame = game
    }

    function chooseGun(gun) {
        if (!(Number.isInteger(gun) && gun >= 0 && gun < GunTable.gunsPerGame))
            return
        root.commitPendingEdits()
        curGun = gun
        gridOpen = false
    }

    function chooseSlot(slot) {
        if (!(Number.isInteger(slot) && slot >= 0 && slot < fireKeyCount))
            return
        root.commitPendingEdits()
        curSlot = slot
        readSelection(slot)
    }

    // The user's record of the shown gun, for a change; none while SYSTEM is shown.
    function editableRecord() {
        if (useSystem) {
            console.debug("recoil page: the built-in values are shown and cannot be changed")
            return null
        }
        const writable = tableWritable.slice()
        writable[curGame] = true
        tableWritable = writable
        return userTables[curGame][curGun]
    }

    function changed(record) {
        record.times = Math.min(record.times, GunTable.timesCap(record.y, record.cursorReturn))
        ++revision
    }

    function setY(value) {
        const r = editableRecord()
        if (!r)
            return
        r.y = GunTable.clampAdjust(value)
        changed(r)
    }

    function setTimes(value) {
        const r = editableRecord()
        if (!r)
            return
        r.times = GunTable.clampAdjust(value)
        changed(r)
    }

    function setName(name) {
        const r = editableRecord()
        if (!r)
            return
        r.name = String(name).substring(0, GunTable.maxNameLength)
        changed(r)
    }

    function setSwitch(on) {
        const r = editableRecord()
        if (!r)
            return
        r.enable = !!on
        changed(r)
    }

    function setCursorReturn(on) {
        const r = editableRecord()
        if (!r)
            return
        r.cursorReturn = !!on
        changed(r)
    }

    function showRecord() {
        const r = curRecord
        yInput.setValue(r.y)
        timesInput.maxValue = GunTable.timesCap(r.y, r.cursorReturn)
        timesInput.setValue(r.times)
        if (nameInput.text !== r.name)
            nameInput.text = r.name
        gameList.setCurIndex(curGame)
    }

    function showSystem(on) {
        root.commitPendingEdits()
        useSystem = on
    }

    function pageApply() {
        if (!loaded)
            initUI()
        root.commitPendingEdits()
        for (let g = 0; g < GunTable.gameCount; ++g) {
            if (tableWritable[g])
                ui_View.saveGundata(g, GunTable.tableValues(userTables[g]))
        }
        ui_View.saveSelGundata(curSlot, [curGame, curGun])
        // The files are the page's own; the fire key's profile block is the mouse's.
        if (!mainVesk.maySend("recoil values of fire key " + (curSlot + 1)))
            return
        const r = curRecord
        ui_View.vesk_0CH_SetPressGun(r.x, r.y, r.times, r.enable, r.cursorReturn, curSlot + firstFireKeyProfile)
    }

    // The built-in values become the user's and are stored; the mouse keeps what it has until an apply.
    function pageReset() {
        userTables = GunTable.builtInTables()
        tableWritable = [true, true, true]
        for (let g = 0; g < GunTable.gameCount; ++g)
            ui_View.saveGundata(g, GunTable.tableValues(userTables[g]))
        loaded = true
        ++revision
    }

    width: 759
    height: 442

    onCurRecordChanged: showRecord()
    // The recoil files do not depend on the mouse: the page reads them when first shown (or applied).
    onVisibleChanged: {
        if (visible && !loaded)
            initUI()
    }
    Component.onCompleted: showRecord()

    Image {
        source: root.skinImage("list_center/fnCommonBackground")
    }

    Text {
        id: fireKeyCaption
        x: 24
        y: 21
        height: 30
        verticalAlignment: Text.AlignVCenter
        textFormat: Text.PlainText
        text: root.str(93)
        color: root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    Row {
        anchors.left: fireKeyCaption.right
        anchors.leftMargin: 12
        y: 21
        spacing: 8

        Repeater {
            model: 3

            Button_2state {
                required property int index

                objectName: "gunFireKey" + index
                source0: root.skinImage("gun/fireKey")
                source1: root.skinImage("gun/fireKey_H")
                selected: gunPage.curSlot === index
                text: String(index + 1)
                accessibleName: root.str(93) + " " + text
                onClicked: gunPage.chooseSlot(index)
            }
        }
    }

    Text {
        id: gameCaption
        x: 371
        y: 23
        height: 26
        verticalAlignment: Text.AlignVCenter
        textFormat: Text.PlainText
        text: gunPage.label(134, "GAME")
        color: root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    BorderImage {
        x: 25
        y: 61
        width: 300
        height: 132
        source: root.skinImage("gun/gunFrame")
        border.left: 18
        border.top: 18
        border.right: 18
        border.bottom: 18

        Image {
            objectName: "gunPicture"
            x: 10
            y: 10
            width: 280
            height: 112
            fillMode: Image.PreserveAspectFit
            source: root.skinImage("gun/" + gunPage.curGame + "/" + gunPage.curGun)
        }

        TipArea {
            objectName: "gunPictureArea"
            anchors.fill: parent
            tip: root.str(159)
            onClicked: gunPage.gridOpen = !gunPage.gridOpen
            Accessible.role: Accessible.Button
            Accessible.name: {
                gunPage.revision
                return gunPage.gunName(gunPage.curGun)
            }
            Accessible.description: tip
            Accessible.checkable: true
            Accessible.checked: gunPage.gridOpen
            Accessible.onPressAction: gunPage.gridOpen = !gunPage.gridOpen
        }
    }

    BorderImage {
        id: panel
        x: 371
        y: 61
        width: 360
        height: 230
        source: root.skinImage("gun/frame")
        border.left: 24
        border.top: 24
        border.right: 24
        border.bottom: 24

        readonly property int labelX: 22
        readonly property int fieldX: 150
        readonly property int firstRow: 18
        readonly property int rowPitch: 34

        Repeater {
            model: [gunPage.label(133, "TYPE NAME"), root.str(121), root.str(122)]

            Text {
                required property int index
                required property string modelData

                x: panel.labelX
                y: panel.firstRow + panel.rowPitch * index
                width: panel.fieldX - x - 8
                height: 24
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                textFormat: Text.PlainText
                text: modelData
                opacity: gunPage.useSystem ? 0.4 : 1.0
                color: root.globalSetting_color_enable
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size
            }
        }

        BorderImage {
            x: panel.fieldX
            y: panel.firstRow
            width: 186
            height: 24
            opacity: enabled ? 1.0 : 0.4
            enabled: !gunPage.useSystem
            source: root.skinImage("common/draw_inputValue")
            border.left: 4
            border.top: 4
            border.right: 4
            border.bottom: 4

            TextInput {
                id: nameInput
                objectName: "gunNameInput"
                anchors.fill: parent
                anchors.leftMargin: 8
                anchors.rightMargin: 8
                verticalAlignment: TextInput.AlignVCenter
                clip: true
                maximumLength: GunTable.maxNameLength
                Accessible.role: Accessible.EditableText
                Accessible.name: gunPage.label(133, "TYPE NAME")
                color: activeFocus ? root.globalSetting_color : root.globalSetting_color_enable
                selectionColor: "#6600FFFF"
                selectByMouse: true
                font.family: root.globalSetting_fontFamily
                font.pixelSize: root.globalSetting_size
                onTextEdited: gunPage.setName(text)

                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    visible: nameInput.text === "" && !nameInput.activeFocus
                    textFormat: Text.PlainText
                    text: "Type name"
                    color: root.globalSetting_color_disable
                    font.family: root.globalSetting_fontFamily
                    font.pixelSize: root.globalSetting_size
                }

                Connections {
                    target: root
                    function onEmptyAreaPressed() {
                        nameInput.focus = false
                    }
                }
            }
        }

        ValueInput {
            id: yInput
            objectName: "gunYInput"
            x: panel.fieldX
            y: panel.firstRow + panel.rowPitch
            maxValue: GunTable.maxAdjust
            enabled: !gunPage.useSystem
            name: root.str(121)
            onInputComplete: function (value) {
                gunPage.setY(value)
            }
        }

        ValueInput {
            id: timesInput
            objectName: "gunTimesInput"
            x: panel.fieldX
            y: panel.firstRow + panel.rowPitch * 2
            maxValue: GunTable.maxAdjust
            enabled: !gunPage.useSystem
            name: root.str(122)
            onInputComplete: function (value) {
                gunPage.setTimes(value)
            }
        }

        Text {
            objectName: "gunTimesRange"
            x: panel.fieldX + timesInput.width + 10
            y: timesInput.y
            height: 24
            verticalAlignment: Text.AlignVCenter
            textFormat: Text.PlainText
            text: "(0 - " + gunPage.curCap + " )"
            opacity: gunPage.useSystem ? 0.4 : 1.0
            color: root.globalSetting_color_enable
            font.family: root.globalSetting_fontFamily
            font.pixelSize: root.globalSetting_size
        }

        Checkbox {
            objectName: "gunSwitch"
            x: panel.labelX
            y: panel.firstRow + panel.rowPitch * 3 + 4
            autoToggle: false
            enabled: !gunPage.useSystem
            checked: gunPage.curRecord.enable
            chkStr: root.str(123)
            onClicked: gunPage.setSwitch(!checked)
        }

        Checkbox {
            objectName: "gunCursorReturn"
            x: panel.fieldX
            y: panel.firstRow + panel.rowPitch * 3 + 4
            autoToggle: false
            enabled: !gunPage.useSystem
            checked: gunPage.curRecord.cursorReturn
            chkStr: root.str(124)
            onClicked: gunPage.setCursorReturn(!checked)
        }

        Image {
            x: panel.labelX
            y: panel.firstRow + panel.rowPitch * 4 + 10
            width: panel.width - 2 * panel.labelX
            height: 3
            source: root.skinImage("common/draw_line")
        }

        RadioButton {
            objectName: "gunSystem"
            x: panel.labelX
            y: panel.firstRow + panel.rowPitch * 5 - 4
            checked: gunPage.useSystem
            chkStr: root.str(125)
            onClicked: gunPage.showSystem(true)
        }

        RadioButton {
            objectName: "gunUser"
            x: panel.fieldX
            y: panel.firstRow + panel.rowPitch * 5 - 4
            checked: !gunPage.useSystem
            chkStr: root.str(126)
            onClicked: gunPage.showSystem(false)
        }
    }

    Button_2state {
        objectName: "gunApply"
        x: 621
        y: 388
        source0: root.skinImage("gun/apply_gun0")
        source1: root.skinImage("gun/apply_gun1")
        text: root.str(107)
        textX: 30
        onClicked: {
            root.setProtectUI(800)
            gunPage.pageApply()
        }
    }

    // Above the panel and the grid: its list drops open over them.
    DropdownList {
        id: gameList
        objectName: "gunGameList"
        anchors.left: gameCaption.right
        anchors.leftMargin: 10
        y: 23
        z: 20
        maxRows: 3
        name: gunPage.label(134, "GAME")
        elements: gunPage.gameNames
        onListElementClicked: function (index) {
            gunPage.chooseGame(index)
        }
    }

    // The gun grid of the chosen game opens from the picture.
    Item {
        id: grid
        objectName: "gunGrid"
        x: 24
        y: 200
        z: 10
        width: 594
        height: 214
        visible: gunPage.gridOpen

        Image {
            source: root.skinImage("gun/gunlist")
        }

        Repeater {
            model: GunTable.gunsPerGame

            Item {
                id: cell

                required property int index

                objectName: "gunCell" + index
                x: 8 + 146 * (index % 4)
                y: 8 + 68 * Math.floor(index / 4)
                width: 140
                height: 62

                Accessible.role: Accessible.Button
                Accessible.name: {
                    gunPage.revision
                    return gunPage.gunName(index)
                }
                Accessible.checkable: true
                Accessible.checked: index === gunPage.curGun
                Accessible.onPressAction: gunPage.chooseGun(index)

                // Decoded at the size shown, half the picture's own: twelve of them are on show at once.
                Image {
                    anchors.fill: parent
                    anchors.margins: 3
                    fillMode: Image.PreserveAspectFit
                    sourceSize.width: width
                    sourceSize.height: height
                    source: grid.visible ? root.skinImage("gun/" + gunPage.curGame + "/" + cell.index) : ""
                }

                Image {
                    visible: cell.index === gunPage.curGun || cellArea.containsMouse
                    opacity: cell.index === gunPage.curGun ? 1.0 : 0.5
                    source: root.skinImage("gun/gunFrame_s")
                }

                MouseArea {
                    id: cellArea
                    anchors.fill: parent
                    hoverEnabled: true
                    onClicked: gunPage.chooseGun(cell.index)
                }
            }
        }
    }

    Connections {
        target: root
        function onEmptyAreaPressed() {
            gunPage.gridOpen = false
        }
    }
}
