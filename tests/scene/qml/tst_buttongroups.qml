import QtQuick
import QtTest
import "qrc:/modules/qml/common"

Item {
    id: scene
    width: 600
    height: 400

    SceneRoot {
        id: root
    }

    ButtonGroup_4 {
        id: group4
        x: 10
        y: 10
        valueForIndex: ["125 Hz", "250 Hz", "500 Hz", "1000 Hz"]
    }

    ButtonGroupPro_8 {
        id: group8
        x: 10
        y: 60
        valueForMenuIndex: [400, 600, 800, 1000, 1200, 1600, 2000, 2400, 3000, 3200, 4000, 4800, 5000, 6000, 7200,
            8000, 10000, 12000]
    }

    SignalSpy {
        id: clicked4
        target: group4
        signalName: "btnClicked"
    }

    SignalSpy {
        id: stageClicked
        target: group8
        signalName: "stageClicked"
    }

    SignalSpy {
        id: valueChanged
        target: group8
        signalName: "stageValueChanged"
    }

    TestCase {
        name: "ButtonGroups"
        when: windowShown

        // A user moves the mouse before clicking; a press out of nowhere can land on a stale hover.
        function clickAt(item, x, y, button) {
            const px = x === undefined ? item.width / 2 : x
            const py = y === undefined ? item.height / 2 : y
            mouseMove(item, px, py)
            mouseClick(item, px, py, button === undefined ? Qt.LeftButton : button)
        }

        function init() {
            group4.setCurIndex(-1)
            group8.maxStage = 8
            group8.valueForIndex = [400, 800, 1200, 1600, 2000, 2400, 2800, 3200]
            group8.setCurIndex(-1)
            group8.menuIndex = -1
            clicked4.clear()
            stageClicked.clear()
            valueChanged.clear()
        }

        function test_fourButtonsAreExclusive() {
            clickAt(group4, 60 * 1 + 30, 13)
            compare(group4.getCurIndex(), 1)
            clickAt(group4, 60 * 3 + 30, 13)
            compare(group4.getCurIndex(), 3)
            clickAt(group4, 60 * 3 + 30, 13)
            compare(group4.getCurIndex(), 3, "a click on the chosen button keeps it chosen")
            compare(clicked4.count, 3)
            compare(clicked4.signalArguments[1][0], 3)
        }

        function test_setCurIndexOutsideTheGroupChoosesNone_data() {
            return [
                { tag: "first", index: 0, expected: 0 },
                { tag: "last", index: 3, expected: 3 },
                { tag: "past the end", index: 4, expected: -1 },
                { tag: "negative", index: -2, expected: -1 },
                { tag: "not a number", index: "x", expected: -1 }
            ]
        }

        function test_setCurIndexOutsideTheGroupChoosesNone(data) {
            group4.setCurIndex(data.index)
            compare(group4.getCurIndex(), data.expected)
            compare(clicked4.count, 0, "only the user's choices are reported")
        }

        function test_stagesAreExclusive() {
            clickAt(group8, 56 * 2 + 28, 13)
            clickAt(group8, 56 * 5 + 28, 13)
            compare(group8.getCurIndex(), 5)
            compare(stageClicked.count, 2)
            compare(group8.menuIndex, -1, "choosing a stage opens no menu")
        }

        function test_maxStageLimitsTheStages_data() {
            return [
                { tag: "four stages", maxStage: 4, stages: 4, width: 224 },
                { tag: "more than eight", maxStage: 12, stages: 8, width: 448 },
                { tag: "none at all", maxStage: 0, stages: 1, width: 56 }
            ]
        }

        function test_maxStageLimitsTheStages(data) {
            group8.setCurIndex(7)
            group8.maxStage = data.maxStage
            compare(group8.stages, data.stages)
            compare(group8.width, data.width)
            verify(group8.getCurIndex() < data.stages, "the chosen stage stays among the stages shown")
            group8.setCurIndex(data.stages)
            compare(group8.getCurIndex(), -1)
        }

        function test_rightClickPicksTheStageValueFromTheMenu() {
            clickAt(group8, 56 * 3 + 28, 13, Qt.RightButton)
            compare(group8.menuIndex, 3)
            // The menu lies under the track: entry 7 (2400) is row 2, column 1 of the 3-column grid.
            clickAt(group8, Math.min(56 * 3, group8.width - 196) + 8 + 60 + 30, 26 + 2 + 8 + 24 * 2 + 12)
            compare(group8.menuIndex, -1)
            compare(group8.valueForIndex[3], 2400)
            compare(valueChanged.count, 1)
            compare(valueChanged.signalArguments[0][0], 3)
            compare(valueChanged.signalArguments[0][1], 2400)
            compare(group8.getCurIndex(), -1, "the right click chooses no stage")
        }

        function test_clickOnTheChosenStageOpensItsMenu() {
            clickAt(group8, 56 * 1 + 28, 13)
            clickAt(group8, 56 * 1 + 28, 13)
            compare(group8.menuIndex, 1)
            root.emptyAreaPressed()
            compare(group8.menuIndex, -1, "a press on the background closes the menu")
            compare(valueChanged.count, 0)
        }
    }
}
