import QtQuick
import QtTest
import "qrc:/modules/qml/basic"

TestCase {
    name: "KeyCodeString"

    KeyCodeString {
        id: names
    }

    function test_everyProgramNameIsASceneName() {
        var count = 0
        for (var name in keyNameTable) {
            var code = keyNameTable[name]
            if (code >= 0xF0) {
                compare(names.strTomousecode(name), code, "mouse name " + JSON.stringify(name))
                compare(names.mousecodeTostr(code), name, "mouse code " + code)
            } else {
                compare(names.strTokeycode(name), code, "key name " + JSON.stringify(name))
                compare(names.keycodeTostr(code), name, "key code " + code)
            }
            ++count
        }
        compare(count, 132)
    }

    function test_everySceneNameIsAProgramName() {
        var keys = 0
        for (var code in names.keycode2str) {
            compare(keyNameTable[names.keycode2str[code]], Number(code), names.keycode2str[code])
            ++keys
        }
        var buttons = 0
        for (code in names.mousecode2str) {
            compare(keyNameTable[names.mousecode2str[code]], Number(code), names.mousecode2str[code])
            ++buttons
        }
        compare(keys, 127)
        compare(buttons, 5)
        compare(Object.keys(names.str2keycode).length, 127)
        compare(Object.keys(names.str2mousecode).length, 5)
    }

    function test_lookups_data() {
        return [
            { tag: "backslash by code", value: names.keycodeTostr(0x31), expected: "\\ |" },
            { tag: "backslash by name", value: names.strTokeycode("\\ |"), expected: 0x31 },
            { tag: "code without a name", value: names.keycodeTostr(0x32), expected: undefined },
            { tag: "KP 7 without its space", value: names.strTokeycode("KP 7"), expected: undefined },
            { tag: "KP 7 with its space", value: names.strTokeycode("KP 7 "), expected: 0x5F },
            { tag: "two names for Intl 2", value: names.strTokeycode("Intl'2"), expected: 0x88 },
            { tag: "the other Intl 2", value: names.strTokeycode("Int'l 2"), expected: 0x89 },
            { tag: "right arrow", value: names.keycodeTostr(0x4F), expected: "\u25BA" },
            { tag: "mouse code in the key map", value: names.keycodeTostr(0xF0), expected: undefined },
            { tag: "key name in the mouse map", value: names.strTomousecode("A"), expected: undefined },
            { tag: "inherited member is no name", value: names.strTokeycode("constructor"), expected: undefined },
            { tag: "inherited member is no mouse name", value: names.strTomousecode("toString"), expected: undefined },
            { tag: "middle button", value: names.mousecodeTostr(0xF2), expected: "MS-M" },
            { tag: "lowercase is another name", value: names.strTokeycode("a"), expected: undefined }
        ]
    }

    function test_lookups(data) {
        compare(data.value, data.expected)
    }

    function test_logByte_data() {
        return [
            { tag: "no bit", value: 0x00, expected: 0 },
            { tag: "bit 0", value: 0x01, expected: 1 },
            { tag: "bit 7", value: 0x80, expected: 8 },
            { tag: "lowest of two", value: 0x06, expected: 2 },
            { tag: "all bits", value: 0xFF, expected: 1 }
        ]
    }

    function test_logByte(data) {
        compare(names.logByte(data.value), data.expected)
    }
}
