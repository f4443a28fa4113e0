import QtQuick

// The recoil page over the real program: what it reads from the recoil files, what the user sees and
// changes, and what an apply writes into the files and sends to the fire key's profile on the mouse.
Item {
    width: 1000
    height: 600

    PageTestCase {
        name: "GunPageOnTheMouse"

        readonly property var systemNames: ["VECTOR", "UZI", "TMX", "UNP9", "AKM", "M16A4", "SCAR-L_7", "M416",
            "TOMMY GUN", "RIFLE"]
        readonly property var systemY: [27, 18, 50, 28, 43, 35, 35, 45, 25, 40]

        function openScene(connected) {
            testEnv.reset(connected)
            scene = createScene()
            page = findChild(scene, "gunPage")
            // The program initialises the scene only when it found the mouse.
            startScene(connected)
        }

        function click(name, x, y) {
            clickAt(child(name), x, y)
        }

        function typeInto(name, text, enter) {
            click(name)
            for (const c of String(text))
                keyClick(c)
            if (enter)
                keyClick(Qt.Key_Return)
        }

        // One gun's line of a table file replaced by the given values.
        function writeGun(game, gun, values) {
            const file = "modules/gun/gunData" + game + ".bin"
            const lines = testEnv.readFile(file).split("\n")
            const at = lines.findIndex(l => l.startsWith(gun + "="))
            verify(at >= 0)
            lines[at] = gun + "=" + values.join(", ")
            verify(testEnv.writeFile(file, lines.join("\n")))
        }

        function writeSelection(slots) {
            verify(testEnv.writeFile("modules/gun/selGunData.bin",
                                     "[gunData]\n" + slots.map((s, i) => i + "=" + s).join("\n") + "\n"))
        }

        // A stored list as plain texts, as the file holds them.
        function stored(file, key) {
            const value = testEnv.setting(file, key)
            return value === undefined || value === null ? value : Array.from(value, v => String(v))
        }

        function storedGun(game, gun) {
            return stored("modules/gun/gunData" + game + ".bin", "gunData/" + gun)
        }

        function systemGun(game, gun) {
            if (game === 0 && gun < 10)
                return [systemNames[gun], String(gun), "0", String(systemY[gun]), "0", "1", "0"]
            return ["", String(gun), "0", "5", "6", "1", game === 0 ? "0" : "1"]
        }

        function shown() {
            return [child("gunNameInput").text, child("gunYInput").value, child("gunTimesInput").value,
                    child("gunSwitch").checked, child("gunCursorReturn").checked]
        }

        function init() {
            openScene(true)
        }

        function test_initReadsTheTablesAndFireKey1() {
            writeGun(2, 7, ["SNIPER", 7, 3, 12, 9, 0, 1])
            writeSelection(["2, 7", "1, 1", "0, 0"])
            page.initUI()
            showPage(4)
            compare([page.curSlot, page.curGame, page.curGun], [0, 2, 7])
            verify(child("gunPicture").source.toString().endsWith("gun/2/7.png"))
            verify(page.useSystem, "SYSTEM is ticked at start")
            compare(shown(), ["", 5, 6, true, true])
            click("gunUser")
            compare(shown(), ["SNIPER", 12, 9, false, true])
            compare(child("gunTimesRange").text, "(0 - 10 )")
            compare(child("gunGameList").curText, "GAME 3", "the built-in list has no game names")
        }

        function test_gameNamesFollowTheLanguage_data() {
            return [
                { tag: "built-in list: fallback names", lang: "", names: ["GAME 1", "GAME 2", "GAME 3"],
                  caption: "GAME", nameCaption: "TYPE NAME" },
                { tag: "English file", lang: "031225", names: ["GAME 1", "GAME 2", "GAME 3"], caption: "GAME",
                  nameCaption: "TYPE NAME" },
                { tag: "Chinese file", lang: "025044", names: ["游戏 1", "游戏 2", "游戏 3"], caption: "游戏",
                  nameCaption: "输入名称" }
            ]
        }

        function test_gameNamesFollowTheLanguage(data) {
            showPage(4)
            page.chooseGame(1)
            scene.globalSetting_stringList = data.lang === "" ? scene.builtInStringList
                                                              : ui_View.getGlobalStrings(data.lang)
            compare(child("gunGameList").elements, data.names)
            compare(child("gunGameList").curText, data.names[1], "the chosen game stays chosen")
            compare(page.label(134, "GAME"), data.caption)
            compare(page.label(133, "TYPE NAME"), data.nameCaption)
        }

        function test_chooseGameAndGun_data() {
            return [
                { tag: "game 1, first gun", game: 0, gun: 0 },
                { tag: "game 2, second row", game: 1, gun: 5 },
                { tag: "game 3, last gun", game: 2, gun: 11 }
            ]
        }

        function test_chooseGameAndGun(data) {
            writeGun(data.game, data.gun, ["G" + data.game + "-" + data.gun, data.gun, 0, 100 - data.gun, 1, 1, 0])
            page.initUI()
            showPage(4)
            click("gunUser")
            click("gunGameList", 60, 13)
            click("gunGameList", 60, 26 + 2 + 4 + 24 * data.game + 12)
            compare(page.curGame, data.game)
            click("gunPictureArea")
            verify(child("gunGrid").visible)
            click("gunCell" + data.gun)
            verify(!child("gunGrid").visible, "choosing a gun closes the grid")
            compare(page.curGun, data.gun)
            verify(child("gunPicture").source.toString().endsWith("gun/" + data.game + "/" + data.gun + ".png"))
            compare(shown(), ["G" + data.game + "-" + data.gun, 100 - data.gun, 1, true, false])
        }

        function test_editsChangeTheTable_data() {
            return [
                { tag: "Y ADJUST typed", kind: "y", expected: ["AKM", "4", "0", "77", "0", "1", "0"] },
                { tag: "Y ADJUST typed without Enter, then another gun", kind: "y then gun",
                  expected: ["AKM", "4", "0", "77", "0", "1", "0"] },
                { tag: "Y ADJUST above 127", kind: "y big", expected: ["AKM", "4", "0", "127", "0", "1", "0"] },
                { tag: "TIMES typed", kind: "times", expected: ["AKM", "4", "0", "43", "15", "1", "0"] },
                { tag: "name typed", kind: "name", expected: ["AKMx", "4", "0", "43", "0", "1", "0"] },
                { tag: "switch clicked off", kind: "switch", expected: ["AKM", "4", "0", "43", "0", "0", "0"] },
                { tag: "cursor return clicked on", kind: "cursor", expected: ["AKM", "4", "0", "43", "0", "1", "1"] }
            ]
        }

        function test_editsChangeTheTable(data) {
            showPage(4)
            page.chooseGun(4)
            click("gunUser")
            switch (data.kind) {
            case "y": typeInto("gunYInput", "77", true); break
            case "y big": typeInto("gunYInput", "200", true); break
            case "times": typeInto("gunTimesInput", "15", true); break
            case "y then gun":
                typeInto("gunYInput", "77", false)
                click("gunPictureArea")
                click("gunCell5")
                compare(child("gunYInput").value, Number(systemGun(0, 5)[3]), "the field shows the other gun")
                break
            case "name": click("gunNameInput", 150); keyClick(Qt.Key_End); keyClick("x"); break
            case "switch": click("gunSwitch", 8); break
            case "cursor": click("gunCursorReturn", 8); break
            }
            const r = page.userTables[0][4]
            compare([r.name, String(r.index), String(r.x), String(r.y), String(r.times), r.enable ? "1" : "0",
                     r.cursorReturn ? "1" : "0"], data.expected)
            click("gunApply")
            compare(storedGun(0, 4), data.expected)
            compare(storedGun(0, 5), systemGun(0, 5), "the other guns stay")
        }

        function test_typedNumberCountsOnApply() {
            showPage(4)
            click("gunUser")
            typeInto("gunYInput", "33", false)
            click("gunApply")
            compare(testEnv.profileBlock(2)[81], 33)
            compare(storedGun(0, 0)[3], "33")
        }

        function test_timesCap_data() {
            return [
                { tag: "cursor return off: the full range", y: 50, cr: false, times: 100, kept: 100, cap: 127 },
                { tag: "Y 5 caps at 25", y: 5, cr: true, times: 100, kept: 25, cap: 25 },
                { tag: "Y 43 caps at floor(2.95)", y: 43, cr: true, times: 5, kept: 2, cap: 2 },
                { tag: "Y 127 caps at 1", y: 127, cr: true, times: 3, kept: 1, cap: 1 },
                { tag: "Y 0 moves nothing: the full range", y: 0, cr: true, times: 127, kept: 127, cap: 127 },
                { tag: "below the cap stays", y: 10, cr: true, times: 12, kept: 12, cap: 12 },
                { tag: "Y above 127 is 127", y: 500, cr: true, times: 9, kept: 1, cap: 1 }
            ]
        }

        function test_timesCap(data) {
            showPage(4)
            page.useSystem = false
            page.setCursorReturn(false)
            page.setTimes(data.times)
            page.setY(data.y)
            page.setCursorReturn(data.cr)
            compare(page.userTables[0][0].times, data.kept)
            compare(child("gunTimesInput").value, data.kept)
            compare(child("gunTimesRange").text, "(0 - " + data.cap + " )")
            page.setTimes(127)
            compare(page.userTables[0][0].times, data.cap, "typing more than the cap gives the cap")
        }

        function test_systemValues_data() {
            return [
                { tag: "game 1 VECTOR", game: 0, gun: 0 },
                { tag: "game 1 AKM", game: 0, gun: 4 },
                { tag: "game 1 RIFLE", game: 0, gun: 9 },
                { tag: "game 1 unnamed gun 11", game: 0, gun: 10 },
                { tag: "game 2 first gun", game: 1, gun: 0 },
                { tag: "game 2 last gun", game: 1, gun: 11 },
                { tag: "game 3 gun 7", game: 2, gun: 6 }
            ]
        }

        function test_systemValues(data) {
            writeGun(data.game, data.gun, ["MINE", data.gun, 0, 99, 1, 0, 0])
            page.initUI()
            showPage(4)
            page.chooseGame(data.game)
            page.chooseGun(data.gun)
            const sys = systemGun(data.game, data.gun)
            const builtIn = [sys[0], Number(sys[3]), Number(sys[4]), sys[5] === "1", sys[6] === "1"]
            compare(shown(), builtIn)
            verify(!child("gunYInput").enabled, "the built-in values are not for editing")
            click("gunUser")
            compare(shown(), ["MINE", 99, 1, false, false])
            click("gunSystem")
            compare(shown(), builtIn)
        }

        function test_fireKeysLoadTheirSelection_data() {
            return [
                { tag: "fire key 1", key: 0, game: 0, gun: 3 },
                { tag: "fire key 2", key: 1, game: 1, gun: 5 },
                { tag: "fire key 3", key: 2, game: 2, gun: 11 },
                { tag: "a selection that names no gun keeps the choice", key: 2, sel3: "7, 40", game: 1, gun: 5 },
                { tag: "a selection of one value keeps the choice", key: 2, sel3: "1", game: 1, gun: 5 }
            ]
        }

        function test_fireKeysLoadTheirSelection(data) {
            writeSelection(["0, 3", "1, 5", data.sel3 === undefined ? "2, 11" : data.sel3])
            page.initUI()
            showPage(4)
            click("gunFireKey1")
            click("gunFireKey" + data.key)
            compare(page.curSlot, data.key)
            compare([page.curGame, page.curGun], [data.game, data.gun])
            verify(child("gunFireKey" + data.key).selected)
        }

        function test_applySendsTheGunToTheFireKeyProfile_data() {
            return [
                { tag: "fire key 1, user values", key: 0, system: false, y: 20, times: 6, sw: true, cr: true },
                { tag: "fire key 2, switch off", key: 1, system: false, y: 127, times: 90, sw: false, cr: false },
                { tag: "fire key 3, built-in values", key: 2, system: true, y: 5, times: 6, sw: true, cr: true }
            ]
        }

        function test_applySendsTheGunToTheFireKeyProfile(data) {
            showPage(4)
            click("gunFireKey" + data.key)
            page.chooseGame(1)
            page.chooseGun(4)
            if (!data.system) {
                click("gunUser")
                page.setCursorReturn(data.cr)
                page.setSwitch(data.sw)
                page.setY(data.y)
                page.setTimes(data.times)
            }
            const before = []
            for (let p = 0; p < 6; ++p)
                before.push(testEnv.profileBlock(p))
            testEnv.clearCommands()
            click("gunApply")
            compare(testEnv.commands(), ["0C"], "one block, to the fire key's profile")
            const profile = data.key + 2
            const block = testEnv.profileBlock(profile)
            const flags = (before[profile][65] & ~0x1C) | (data.sw ? 0x08 : 0) | (data.cr ? 0x10 : 0)
            compare([block[65], block[78], block[79], block[80], block[81]], [flags, 0xF0, data.times, 0, data.y])
            for (let i = 0; i < 128; ++i) {
                if ([65, 78, 79, 80, 81].indexOf(i) < 0 && block[i] !== before[profile][i])
                    fail("byte " + i + " changed")
            }
            for (let p = 0; p < 6; ++p) {
                if (p !== profile)
                    compare(testEnv.profileBlock(p), before[p], "profile " + p + " untouched")
            }
            const user = data.system ? systemGun(1, 4)
                                     : ["", "4", "0", String(data.y), String(data.times), data.sw ? "1" : "0",
                                        data.cr ? "1" : "0"]
            compare(storedGun(1, 4), user)
            compare(stored("modules/gun/selGunData.bin", "gunData/" + data.key), ["1", "4"])
            for (let s = 0; s < 3; ++s) {
                if (s !== data.key)
                    compare(stored("modules/gun/selGunData.bin", "gunData/" + s), ["0", "0"])
            }
        }

        function test_allResetStoresTheBuiltInValues() {
            writeGun(0, 2, ["MINE", 2, 0, 99, 1, 0, 0])
            writeGun(2, 9, ["OTHER", 9, 0, 3, 4, 1, 1])
            writeSelection(["2, 9", "0, 0", "0, 0"])
            page.initUI()
            showPage(4)
            click("gunUser")
            testEnv.clearCommands()
            const reset = findChild(scene, "allResetButton")
            mouseClick(reset, reset.width / 2, reset.height / 2)
            compare(testEnv.commands(), [], "nothing is sent")
            for (let g = 0; g < 3; ++g) {
                for (let w = 0; w < 12; ++w)
                    compare(storedGun(g, w), systemGun(g, w), "game " + g + " gun " + w)
            }
            compare([page.curGame, page.curGun], [2, 9], "the choice stays")
            compare(shown(), ["", 5, 6, true, true])
        }

        function test_unusableFiles_data() {
            const shipped1 = "UZI, 1, 0, 18, 0, 1, 0"
            return [
                { tag: "a table of five guns is shown built-in and left in its file",
                  table: "[gunData]\n0=A, 0, 0, 9, 9, 1, 0\n1=B, 1, 0, 9, 9, 1, 0\n2=C, 2, 0, 9, 9, 1, 0\n" +
                         "3=D, 3, 0, 9, 9, 1, 0\n4=E, 4, 0, 9, 9, 1, 0\n",
                  shown: ["VECTOR", 27, 0, true, false], keptFile: true },
                { tag: "a record that is a single text",
                  table: "[gunData]\n0=A\n1=" + shipped1 + "\n", shown: ["VECTOR", 27, 0, true, false], keptFile: true },
                { tag: "values that are no numbers take the built-in ones",
                  lines: [0, ["ZZ", 0, "a", "", "1.5", "maybe", "x"]],
                  shown: ["ZZ", 27, 0, true, false], stored: ["ZZ", "0", "0", "27", "0", "1", "0"] },
                { tag: "Y and TIMES out of range are held to it",
                  lines: [0, ["BIG", 0, -4, 300, 50, 1, 1]],
                  shown: ["BIG", 127, 1, true, true], stored: ["BIG", "0", "0", "127", "1", "1", "1"] }
            ]
        }

        function test_unusableFiles(data) {
            if (data.table !== undefined)
                verify(testEnv.writeFile("modules/gun/gunData0.bin", data.table))
            else
                writeGun(0, data.lines[0], data.lines[1])
            const file = testEnv.readFile("modules/gun/gunData0.bin")
            page.initUI()
            showPage(4)
            page.chooseGun(0)
            click("gunUser")
            compare(shown(), data.shown)
            click("gunApply")
            compare(testEnv.profileBlock(2)[81], data.shown[1])
            if (data.keptFile)
                compare(testEnv.readFile("modules/gun/gunData0.bin"), file)
            else
                compare(storedGun(0, 0), data.stored)
            // A change to that game is the user's: the table is written whole.
            page.setY(11)
            click("gunApply")
            compare(storedGun(0, 0)[3], "11")
            compare(ui_View.getGundata(0).length, 84)
        }

        function test_namesSurviveTheFile_data() {
            return [
                { tag: "comma", name: "AK, 47" },
                { tag: "quotes", name: "the \"best\" gun" },
                { tag: "equals and semicolon", name: "a=b;c" },
                { tag: "backslash", name: "C:\\gun" },
                { tag: "outer blanks", name: "  M4  " },
                { tag: "not Latin", name: "枪 1 ☆" },
                { tag: "too long is cut", name: "ABCDEFGHIJKLMNOPQRSTUVWXYZ", kept: "ABCDEFGHIJKLMNOPQRSTUVWX" },
                { tag: "emptied", name: "" }
            ]
        }

        function test_namesSurviveTheFile(data) {
            showPage(4)
            page.chooseGun(3)
            click("gunUser")
            page.setName(data.name)
            click("gunApply")
            page.initUI()
            const kept = data.kept === undefined ? data.name : data.kept
            compare(page.userTables[0][3].name, kept)
            compare(page.userTables[0][3].y, 28, "the values after the name stay in place")
            compare(ui_View.getGundata(0).length, 84)
        }

        function test_withoutTheMouse() {
            failOnWarning(/.*/)
            openScene(false)
            writeGun(0, 1, ["MINE", 1, 0, 99, 1, 0, 0])
            // "ALL SAVE" before the page was ever shown keeps the user's tables.
            const save = findChild(scene, "allSaveButton")
            mouseClick(save, save.width / 2, save.height / 2)
            compare(storedGun(0, 1), ["MINE", "1", "0", "99", "1", "0", "0"])
            showPage(4)
            compare([page.curSlot, page.curGame, page.curGun], [0, 0, 0])
            compare(shown(), ["VECTOR", 27, 0, true, false])
            click("gunUser")
            page.chooseGun(1)
            compare(shown(), ["MINE", 99, 1, false, false])
            click("gunApply")
            compare(storedGun(0, 1), ["MINE", "1", "0", "99", "1", "0", "0"])
        }
    }
}
