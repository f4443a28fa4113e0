import QtQuick
import QtTest
import "qrc:/modules/qml/common"

Item {
    id: scene
    width: 700
    height: 500

    SceneRoot {
        id: root
    }

    FileList {
        id: fileList
        x: 10
        y: 10
        height: 200
    }

    DropdownList {
        id: dropdown
        x: 300
        y: 10
        elements: ["CHINESE (Simp)", "ENGLISH (UNITED STATES)", "GERMAN"]
    }

    FileListButton {
        id: fileButton
        x: 300
        y: 250
        onRequestToUpdateList: {
            fileButton.fileList.clear()
            fileButton.fileList.append("Macro. 001", "")
            fileButton.fileList.append("Macro. 002", "")
        }
    }

    TextMetrics {
        id: markupMetrics
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    SignalSpy {
        id: rowClicked
        target: fileList
        signalName: "rowClicked"
    }

    SignalSpy {
        id: rowRightClicked
        target: fileList
        signalName: "rowRightClicked"
    }

    SignalSpy {
        id: renamed
        target: fileList
        signalName: "editFileName_completed"
    }

    SignalSpy {
        id: chosen
        target: dropdown
        signalName: "listElementClicked"
    }

    SignalSpy {
        id: updateRequested
        target: fileButton
        signalName: "requestToUpdateList"
    }

    SignalSpy {
        id: fileSelected
        target: fileButton
        signalName: "fileSelected"
    }

    TestCase {
        name: "Lists"
        when: windowShown

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        // Row i of the list, in the list's own coordinates (6 px inside its frame, 24 px a row).
        function rowY(i) {
            return 6 + 24 * i + 12
        }

        function init() {
            fileList.clear()
            fileList.append("A", "    [Down]")
            fileList.append("50", "   [Delay]")
            fileList.append("A", "      [Up]")
            dropdown.setCurIndex(-1)
            dropdown.opened = false
            fileButton.opened = false
            fileButton.curText = ""
            for (const spy of [rowClicked, rowRightClicked, renamed, chosen, updateRequested, fileSelected])
                spy.clear()
            // The list makes its rows when it next lays itself out.
            waitForRendering(scene)
        }

        function test_leftClickSelectsAndASecondClickDeselects() {
            clickAt(fileList, 40, rowY(1))
            compare(fileList.curIndex, 1)
            clickAt(fileList, 40, rowY(2))
            compare(fileList.curIndex, 2)
            clickAt(fileList, 40, rowY(2))
            compare(fileList.curIndex, -1)
            compare(rowClicked.count, 3)
        }

        function test_rightClickIsReportedAndKeepsTheSelection() {
            fileList.setCurIndex(0)
            clickAt(fileList, 40, rowY(2), Qt.RightButton)
            compare(rowRightClicked.count, 1)
            compare(rowRightClicked.signalArguments[0][0], 2)
            compare(fileList.curIndex, 0)
        }

        function test_rowTopFollowsTheRows_data() {
            return [
                { tag: "first row", index: 0, top: 6 },
                { tag: "third row", index: 2, top: 6 + 2 * 24 },
                { tag: "no such row", index: 3, top: -1 },
                { tag: "negative index", index: -1, top: -1 }
            ]
        }

        function test_rowTopFollowsTheRows(data) {
            compare(fileList.rowTop(data.index), data.top)
        }

        // The Text item under `item` that shows `text`, or null.
        function shownText(item, text) {
            const children = item.children ?? []
            for (let i = 0; i < children.length; ++i) {
                const child = children[i]
                if (child.text === text && child.lineCount !== undefined)
                    return child
                const found = shownText(child, text)
                if (found)
                    return found
            }
            return null
        }

        // A line from a macro file is shown as it is: markup in it stays text and fetches nothing.
        function test_aRowIsTheLeftTextFollowedByTheRightText() {
            compare(fileList.lineAt(1), "50   [Delay]")
            compare(fileList.lineAt(3), "", "no row, no text")
            const markup = "<b>A</b><img src=\"no-such-picture.png\">"
            fileList.append(markup, "    [Down]")
            waitForRendering(scene)
            compare(fileList.lineAt(3), markup + "    [Down]")
            const shown = shownText(fileList, markup)
            verify(shown, "the row shows the line")
            markupMetrics.text = markup
            fuzzyCompare(shown.implicitWidth, markupMetrics.advanceWidth, 1, "every character of the line")
            compare(shown.lineCount, 1)
        }

        function test_theSelectionStaysOnItsRow_data() {
            return [
                { tag: "insert before the selected row", selected: 1, insertAt: 0, removeAt: -1, expected: 2 },
                { tag: "insert after the selected row", selected: 1, insertAt: 2, removeAt: -1, expected: 1 },
                { tag: "insert past the end appends", selected: 1, insertAt: 9, removeAt: -1, expected: 1 },
                { tag: "remove a row before it", selected: 2, insertAt: -1, removeAt: 0, expected: 1 },
                { tag: "remove the selected row", selected: 1, insertAt: -1, removeAt: 1, expected: -1 },
                { tag: "remove a row after it", selected: 0, insertAt: -1, removeAt: 2, expected: 0 }
            ]
        }

        function test_theSelectionStaysOnItsRow(data) {
            fileList.setCurIndex(data.selected)
            const line = fileList.lineAt(data.selected)
            if (data.insertAt >= 0)
                fileList.insert(data.insertAt, "B", "    [Down]")
            if (data.removeAt >= 0)
                fileList.remove(data.removeAt)
            compare(fileList.curIndex, data.expected)
            if (data.expected >= 0)
                compare(fileList.lineAt(data.expected), line)
        }

        function test_renameReportsOldAndNewNameOnEnter() {
            fileList.editFileName(1)
            compare(fileList.editIndex, 1)
            waitForRendering(scene)
            keyClick(Qt.Key_A, Qt.ControlModifier)
            for (const c of "Fast fire")
                keyClick(c)
            keyClick(Qt.Key_Return)
            compare(renamed.count, 1)
            compare(renamed.signalArguments[0][0], "50")
            compare(renamed.signalArguments[0][1], "Fast fire")
            compare(fileList.editIndex, -1)
            compare(fileList.textXAt(1), "50", "the owner renames the row once the file is renamed")
        }

        function test_renameEndsWithoutReport_data() {
            return [
                { tag: "unchanged name", typed: null, key: Qt.Key_Return },
                { tag: "empty name", typed: "", key: Qt.Key_Return },
                { tag: "only blanks", typed: "   ", key: Qt.Key_Return },
                { tag: "escape", typed: "other", key: Qt.Key_Escape }
            ]
        }

        function test_renameEndsWithoutReport(data) {
            fileList.editFileName(0)
            waitForRendering(scene)
            if (data.typed !== null) {
                keyClick(Qt.Key_A, Qt.ControlModifier)
                keyClick(Qt.Key_Delete)
                for (const c of data.typed)
                    keyClick(c)
            }
            keyClick(data.key)
            compare(renamed.count, 0)
            compare(fileList.editIndex, -1)
        }

        function test_pressOnTheBackgroundCancelsTheRename() {
            fileList.editFileName(2)
            root.emptyAreaPressed()
            compare(fileList.editIndex, -1)
            compare(renamed.count, 0)
        }

        function test_dropdownChoosesAnEntryAndCloses() {
            clickAt(dropdown, 20, 13)
            verify(dropdown.opened)
            // Entries lie under the button: 2 px gap, 4 px inside the frame, 24 px a row.
            clickAt(dropdown, 40, 26 + 2 + 4 + 24 * 1 + 12)
            verify(!dropdown.opened)
            compare(dropdown.getCurIndex(), 1)
            compare(dropdown.curText, "ENGLISH (UNITED STATES)")
            compare(chosen.count, 1)
            compare(chosen.signalArguments[0][0], 1)
        }

        function test_dropdownIndexOutsideItsEntriesShowsNone_data() {
            return [
                { tag: "inside", index: 2, expected: 2, text: "GERMAN" },
                { tag: "past the end", index: 3, expected: -1, text: "" },
                { tag: "negative", index: -1, expected: -1, text: "" }
            ]
        }

        function test_dropdownIndexOutsideItsEntriesShowsNone(data) {
            dropdown.setCurIndex(data.index)
            compare(dropdown.getCurIndex(), data.expected)
            compare(dropdown.curText, data.text)
        }

        function test_emptyDropdownDoesNotOpen() {
            const entries = dropdown.elements
            dropdown.elements = []
            clickAt(dropdown, 20, 13)
            verify(!dropdown.opened)
            dropdown.elements = entries
        }

        function test_fileListButtonAsksForTheListBeforeItOpens() {
            clickAt(fileButton, 20, 13)
            compare(updateRequested.count, 1)
            verify(fileButton.opened)
            compare(fileButton.fileList.count, 2)
            waitForRendering(scene)
            clickAt(fileButton, 40, 26 + 2 + rowY(1))
            verify(!fileButton.opened)
            compare(fileButton.curText, "Macro. 002")
            compare(fileSelected.count, 1)
            compare(fileSelected.signalArguments[0][1], "Macro. 002")
        }
    }
}
