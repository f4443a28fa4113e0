import QtQuick
import "../common"
import "../common/Rgb.js" as Rgb
import "Conversions.js" as Conv

// The lighting page: the eight lighting colours (profile 0's, global to the mouse), the effect of the current
// profile with its brightness and speed. Nothing reaches the mouse before Apply.
Item {
    id: colorPage
    objectName: "colorPage"

    // String index of each effect's name, by effect code 0–10.
    readonly property var effectStrings: [87, 13, 88, 14, 20, 15, 89, 90, 91, 92, 24]
    readonly property var offered: offeredEffects(mainVesk.effectEnable)
    // The effect byte as read: a code the page does not offer is kept and sent back unchanged.
    property int effect: 3
    property int brightnessPos: 7
    property int speedPos: 4
    readonly property bool hasSpeed: Conv.speedRange(effect) !== null

    // The effects on offer, in code order: [{ code, text }] for each "true" entry.
    function offeredEffects(enable) {
        const out = []
        for (let e = 0; e < effectStrings.length; ++e) {
            if (enable && String(enable[e]).trim() === "true")
                out.push({ code: e, text: effectStrings[e] })
        }
        return out
    }

    // [effect, brightness, speed] as the mouse stores them.
    function showEffect(e, light, speed) {
        const code = Math.round(Number(e))
        if (isNaN(code) || code < 0 || code > 255) {
            console.debug("lighting effect", e, "unusable, keeping", effect)
            return
        }
        effect = code
        brightnessPos = Conv.brightnessPosition(light)
        const s = Conv.speedPosition(code, speed)
        if (s >= 0)
            speedPos = s
    }

    function chooseEffect(code) {
        effect = code
    }

    function initUI() {
        refresh()
    }

    function refresh() {
        colorGroup.setValues24(ui_View.vesk_GetLED8StageColor())
        const fx = ui_View.vesk_8CH_GetRGBLedEffect()
        if (fx && fx.length === 3)
            showEffect(fx[0], fx[1], fx[2])
        else
            console.debug("lighting effect: a list of", fx ? fx.length : 0, "values instead of 3 ignored")
    }

    function translateStrings() {
        // Every text is bound to the string list.
    }

    // The factory colours (profile 0) and effect, shown; sent only by a later Apply. The busy guard is the
    // caller's: the page's buttons raise it, the bottom bar raises its own.
    function pageReset() {
        const d = ui_View.vesk_getDefaultProfile("profile_fw", 0)
        const m = mouseLayout
        if (!d || d.length < m.effect + m.effectCount) {
            console.debug("lighting defaults unreadable:", d ? d.length : 0, "values; nothing changed")
            return
        }
        colorGroup.setValues24(d.slice(m.led8StageColor, m.led8StageColor + m.led8StageColorCount))
        showEffect(d[m.effect], d[m.light], d[m.speed])
    }

    function pageApply() {
        root.commitPendingEdits()
        if (!mainVesk.maySend("lighting colours and effect"))
            return
        ui_View.vesk_SetLED8StageColor(colorGroup.values24())
        ui_View.vesk_0CH_SetRGBLedEffect(effect, Conv.brightnessValue(brightnessPos), Conv.speedValue(effect, speedPos))
    }

    width: 759
    height: 442

    // A slider that the user moved no longer follows its binding: the page puts it in place itself.
    onBrightnessPosChanged: brightnessSlider.setValue(brightnessPos)
    onSpeedPosChanged: speedSlider.setValue(speedPos)

    Image {
        source: root.skinImage("list_center/fnColorBackground")
    }

    Model_Color_Vesk {
        objectName: "colorModel"
        x: 20
        y: 21
        glowStrength: colorPage.brightnessPos / 7
        glowColor: Rgb.toColor(colorGroup.curColor)
    }

    Column {
        x: 294
        y: 28
        spacing: 12

        Repeater {
            model: colorPage.offered

            RadioButton {
                required property var modelData

                objectName: "effect" + modelData.code
                chkStr: root.str(modelData.text)
                checked: colorPage.effect === modelData.code
                onClicked: colorPage.chooseEffect(modelData.code)
            }
        }
    }

    ColorGroup_8 {
        id: colorGroup
        objectName: "colorGroup"
        x: 502
        y: 26
        maxStage: mainVesk.colorMaxStage
    }

    Text {
        x: 510
        y: 222
        textFormat: Text.PlainText
        text: root.str(4)
        color: root.globalSetting_color_enable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    Slider {
        id: brightnessSlider
        objectName: "brightnessSlider"
        x: 510
        y: 242
        name: root.str(4)
        // The share of full brightness that the page sends.
        valueText: Conv.brightnessPercent(value) + " %"
        value: colorPage.brightnessPos
        onMoved: function (v) {
            colorPage.brightnessPos = v
        }
    }

    Text {
        x: 510
        y: 272
        textFormat: Text.PlainText
        text: root.str(3)
        color: colorPage.hasSpeed ? root.globalSetting_color_enable : root.globalSetting_color_disable
        font.family: root.globalSetting_fontFamily
        font.pixelSize: root.globalSetting_size
    }

    Slider {
        id: speedSlider
        objectName: "speedSlider"
        x: 510
        y: 292
        enabled: colorPage.hasSpeed
        name: root.str(3)
        // A level, faster to the right: the mouse's own speed values count the other way, from a base
        // that differs by effect.
        valueText: String(value + 1)
        value: colorPage.speedPos
        onMoved: function (v) {
            colorPage.speedPos = v
        }
    }

    Image {
        x: 495
        y: 370
        source: root.skinImage("common/fram_2btn")
    }

    Button_2state {
        objectName: "colorReset"
        x: 505
        y: 378
        source0: root.skinImage("common/reset_0")
        source1: root.skinImage("common/reset_1")
        text: root.str(77)
        textX: 30
        onClicked: {
            root.setProtectUI(800)
            colorPage.pageReset()
        }
    }

    Button_2state {
        objectName: "colorApply"
        x: 625
        y: 378
        source0: root.skinImage("common/apply_0")
        source1: root.skinImage("common/apply_1")
        text: root.str(107)
        textX: 30
        onClicked: {
            root.setProtectUI(800)
            colorPage.pageApply()
        }
    }
}
