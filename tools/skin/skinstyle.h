#pragma once

// The skin's one table: every colour, size and style knob of the pictures. Restyle the skin here; the drawing
// code only combines these values. Sizes are the pixel sizes of the pictures the scene loads, so a change
// here is a change of the scene's layout too (tools/skin/README.md lists them).

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QtGui/qrgb.h>

namespace style {

// --- Colours (ARGB)
// -------------------------------------------------------------------------------------------
constexpr QRgb kVoid = 0xff05070a;       // deepest shadow, window corners
constexpr QRgb kDeep = 0xff0a0e13;       // window background
constexpr QRgb kDeepGlow = 0xff0f2a33;   // soft light in the background
constexpr QRgb kSurfaceHi = 0xff1b2530;  // top of a raised panel
constexpr QRgb kSurface = 0xff121920;    // raised panel
constexpr QRgb kSurfaceLo = 0xff0b1015;  // bottom of a raised panel
constexpr QRgb kWell = 0xd0060a0e;       // recessed area, translucent
constexpr QRgb kWellEdge = 0xff1c2834;   // rim of a recessed area
constexpr QRgb kEdge = 0xff2c3c4c;       // thin edge of a raised part
constexpr QRgb kEdgeHi = 0xff4a6276;     // lit edge
constexpr QRgb kSheen = 0x1cffffff;      // top highlight of a raised part
constexpr QRgb kAccent = 0xff00ffff;     // the highlight: hover and selected states
constexpr QRgb kAccentDeep = 0xff007f8f; // darker highlight for gradients
constexpr QRgb kIdle = 0xff8c99a6;       // icons and marks in their normal state
constexpr QRgb kIdleDim = 0xff53606c;    // inactive marks, ticks
constexpr QRgb kRecord = 0xffff4d6a;     // the record dot
constexpr QRgb kGrid = 0x0f7fe8ff;       // faint pattern lines on big surfaces
constexpr QRgb kShadow = 0xff000000;     // shades, engraved lines (used with an opacity)
constexpr QRgb kLight = 0xffffffff;      // sheens, glints (used with an opacity)
constexpr QRgb kAccentPale = 0xffc8ffff; // the lit logo's brightest face

// One tint per game of the recoil page: edge light, and the body's gradient from top to bottom.
constexpr QRgb kGameEdge[3] = {0xff00e5ff, 0xffffa53a, 0xffc68cff};
constexpr QRgb kGameBodyTop[3] = {0xff33434f, 0xff463a2f, 0xff3b3049};
constexpr QRgb kGameBodyBottom[3] = {0xff10171d, 0xff17110c, 0xff130f1b};

// LED zones of the lighting model run through this spectrum.
constexpr QRgb kSpectrum[6] = {0xffff2a55, 0xffffa600, 0xfff4ff3a, 0xff22ff8a, 0xff00d5ff, 0xffa64dff};

// --- Style knobs
// ----------------------------------------------------------------------------------------------
constexpr qreal kWindowRadius = 14.0; // outside corners of the window
constexpr qreal kPanelRadius = 8.0;   // panels, wells
constexpr qreal kButtonRadius = 4.0;  // buttons, plates
constexpr qreal kEdgeWidth = 1.0;     // every thin edge
constexpr int kGlowRadius = 4;        // blur radius of a luminous edge
constexpr qreal kGlowStrength = 0.85; // opacity of that glow
constexpr int kGrain = 1;             // +- noise on big gradients, against banding
constexpr quint32 kSeed = 0x5eed1u;   // noise seed: the same pictures on every run

// --- Window and layout (scene coordinates)
// --------------------------------------------------------------------
constexpr QSize kWindow{1000, 600};
constexpr QRect kPageArea{171, 96, 759, 442};
constexpr QPoint kFnMenu{8, 180};
constexpr int kFnGap = 13;
constexpr int kProfileMenuY = 95;
constexpr QRect kSettingsPanel{5, 27, 340, 420};

// --- Picture sizes
// --------------------------------------------------------------------------------------------
constexpr QSize kTopBar{1000, 64};        // list_up/listUpContainer: 27 px band plus the logo's tab
constexpr int kTopBand = 27;              // height of the band across the window
constexpr QRect kTopTab{360, 0, 280, 64}; // the logo's tab below the band (its bottom edge)
constexpr QSize kTopIcon{23, 23};         // applicationSetting, applicationMinimize
constexpr QSize kLogo{180, 56};           // frame/web_0, web_1
constexpr QSize kBottomBar{1000, 44};     // list_dn/listDnContainer
constexpr int kBottomBand = 30;           // height of the band across the window
constexpr QRect kBottomTab{330, 0, 340, 44};
constexpr QSize kFnButton{150, 37};    // list_fn/listFnBtn
constexpr QSize kFnIcon{27, 27};       // list_fn/fn*
constexpr QPoint kFnIconAt{8, 5};      // icon inside the button
constexpr QSize kProfileMenu{56, 92};  // list_pf/listPfContainer
constexpr QSize kProfileEntry{48, 40}; // list_pf/profileFW
constexpr int kProfileEntryGap = 4;

constexpr QSize kModel{240, 400}; // model_ms/*

constexpr QSize kSlider8{212, 16};  // 8 positions
constexpr QSize kSlider11{216, 16}; // 11 positions
constexpr int kSliderInset = 8;     // centre of position 0 from the left edge
constexpr QSize kLine{400, 3};
constexpr QSize kFileList{240, 330};
constexpr QSize kInputValue{80, 24};
constexpr QSize kPalette{200, 120};
constexpr QSize kPaletteIndex{14, 14};
constexpr QSize kCheckbox{16, 16};
constexpr QSize kPageButton{110, 30}; // reset, apply, gun/apply_gun
constexpr QSize kTwoButtonFrame{250, 46};
constexpr QSize kToolIcon{26, 26}; // add, delete, record, stop, solid-*
constexpr QSize kGroup4Segment{60, 26};
constexpr QSize kGroup8Segment{56, 26};
constexpr QSize kFileListButton{180, 26};
constexpr QSize kButtonFrame{120, 28};

constexpr QSize kGun{280, 112};      // gun/<game>/<gun>
constexpr QSize kGunFrame{300, 132}; // the gun picture sits at (10, 10)
constexpr QSize kGunCell{140, 62};   // gun/gunFrame_s, one cell of the grid
constexpr int kGunGridMargin = 8;
constexpr int kGunGridGap = 6;
constexpr int kGunColumns = 4;
constexpr int kGunRows = 3;
constexpr QSize kGunPanel{360, 230}; // gun/frame
constexpr QSize kFireKey{40, 30};

constexpr int kGames = 3;
constexpr int kGunsPerGame = 12;

} // namespace style
