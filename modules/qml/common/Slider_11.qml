// A slider of 11 positions, 0–10 (the pointer settings).
Slider {
    positions: 11
    firstX: 8
    step: 20
    baseName: "common/slider_11_BASE"
    fillerName: "common/slider_11_FILLER"
}
