import QtQuick

// A stand-in for the scene's key-name table with a few names, enough for the key field's tests.
QtObject {
    readonly property var keycode2str: ({ 4: "A", 49: "\\ |", 79: "►", 224: "L Ctrl" })

    function keycodeTostr(keycode) {
        return keycode2str[keycode]
    }
}
