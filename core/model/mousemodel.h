#pragma once

// What one mouse model is to the program: where its 128-byte profile block keeps each value and which codes
// its key matrix takes (the layout), and what the program calls its files, which entry of the
// supported-device list finds it and which macro folder is its own (the product). Every other part of the
// program reads these values; nothing else states an offset, a count or a file name of the mouse.

#include <QLatin1String>
#include <QtGlobal>

#include <array>
#include <tuple>

// The firmware profile block and the key matrix of one model.
struct ProfileLayout
{
    int profileCount; // on-board profiles 0..profileCount-1
    int blockSize;    // a profile block and a padded key matrix travel as blocks of this size

    // Offsets into the profile block. Bytes not named here are carried unchanged.
    int optionBits;
    uchar optionNoTwoGunLoop; // kept by the key-matrix setter in profile 0's block
    int dpi8Io;               // palette index per DPI stage, profile 0 only
    int dpi8IoCount;
    int led8StageColor; // eight lighting colours R, G, B, profile 0 only
    int led8StageColorCount;
    int gunFlags;
    uchar gunFlagCleared;
    uchar gunFlagEnable;
    uchar gunFlagCursorReturn;
    int maxDpiStage;
    int effect; // then brightness and speed
    int effectCount;
    int gunMarker;
    uchar gunMarkerValue;
    int times;
    int xOffset;
    int yOffset;
    int dpi8Stage; // the stages in units of the DPI base, then the same stages again
    int dpi8StageCount;
    int dpiStageCount; // stages the sensor page shows
    int dpi8Color;     // indicator colour R, G, B per DPI stage
    int dpi8ColorCount;

    // The key matrix: keyCount entries of keyEntrySize bytes (type, then three parameters).
    int keyCount;
    int keyEntrySize;
    uchar keyTypeKeyboard; // a key, or a combination with modifiers
    uchar keyTypeMouse;    // a mouse button
    uchar keyTypeMedia;    // a consumer usage, low byte first
    uchar keyTypeScroll;   // wheel up or down
    uchar keyTypeDpi;      // DPI up, down, switch
    uchar keyTypeGun;      // a gun key; its variant byte picks the loop
    uchar keyTypeMacro;    // plays a macro slot
    uchar keyTypeFire;     // fire key: a button or key repeated
    uchar keyTypeGunSlot;  // the shipped matrices' gun key; the page reads it as a gun key
    uchar keyTypeLed;      // lighting control
    // The shipped matrix holds this type on key 8 (third byte 3). What it does is not known: the key page
    // offers it nowhere, shows such a key with no function and sends its code back unchanged.
    uchar keyTypeUnknown;
    int gunVariantByte;
    uchar gunLoopSwitch;
    uchar gunTwoGunLoop;
    uchar gunThreeGunLoop;
    // The profiles that carry a gun loop: the main one gets the matrix the user sees, the others its
    // variants.
    uchar gunMainProfile;
    std::array<uchar, 3> gunLoopProfiles;
    // Key 0 of every gun-loop profile.
    std::array<uchar, 4> gunLoopKey0;
    uchar firstMouseCode; // key codes from here on are mouse buttons

    // The "other" values of a profile as the program keeps them: DPI stage, report rate, LED twinkle type.
    int otherStage;
    int otherRate;
    int otherTwinkle;
    int otherMinLength;
    int profileSwLength; // pointer acceleration, cursor speed, scroll lines, double-click speed
    // Where a profile's pointer settings ("profile_sw") keep the values the sensor page shows.
    int swCursorSpeed;
    int swScrollLines;
    int swDoubleClick;

    int macroSlotCount; // a macro whose library index is i plays from macro ID i + 1

    constexpr int keyMatrixSize() const { return keyCount * keyEntrySize; }
    constexpr int light() const { return effect + 1; }
    constexpr int speed() const { return effect + 2; }
};

// What the program calls one model's files and where it finds the model.
struct Product
{
    QLatin1String name;               // the model's group in the application configuration
    QLatin1String configFile;         // the application configuration
    QLatin1String configDefaultsFile; // what RESET of the global settings brings back
    QLatin1String storeFile;          // the working profile store
    QLatin1String defaultsFile;       // the shipped profiles
    QLatin1String layoutStringsGroup; // the key names of the model's picture in the language files
    int productNumber;                // the macro library lives in ./modules/macro/<productNumber>/
    int deviceListEntry;              // the entry of the supported-device list that finds the model
};

struct MouseModel
{
    ProfileLayout layout;
    Product product;
};

inline constexpr ProfileLayout kVeskLayout{
    /* profileCount */ 6,
    /* blockSize */ 128,
    /* optionBits */ 2,
    /* optionNoTwoGunLoop */ 0x10,
    /* dpi8Io */ 0x10,
    /* dpi8IoCount */ 8,
    /* led8StageColor */ 0x18,
    /* led8StageColorCount */ 24,
    /* gunFlags */ 0x41,
    /* gunFlagCleared */ 0x04,
    /* gunFlagEnable */ 0x08,
    /* gunFlagCursorReturn */ 0x10,
    /* maxDpiStage */ 0x46,
    /* effect */ 0x47,
    /* effectCount */ 3,
    /* gunMarker */ 0x4E,
    /* gunMarkerValue */ 0xF0,
    /* times */ 0x4F,
    /* xOffset */ 0x50,
    /* yOffset */ 0x51,
    /* dpi8Stage */ 0x54,
    /* dpi8StageCount */ 16,
    /* dpiStageCount */ 8,
    /* dpi8Color */ 0x68,
    /* dpi8ColorCount */ 24,
    /* keyCount */ 16,
    /* keyEntrySize */ 4,
    /* keyTypeKeyboard */ 0x00,
    /* keyTypeMouse */ 0x01,
    /* keyTypeMedia */ 0x03,
    /* keyTypeScroll */ 0x04,
    /* keyTypeDpi */ 0x07,
    /* keyTypeGun */ 0x08,
    /* keyTypeMacro */ 0x09,
    /* keyTypeFire */ 0x0A,
    /* keyTypeGunSlot */ 0x0B,
    /* keyTypeLed */ 0x0C,
    /* keyTypeUnknown */ 0x05,
    /* gunVariantByte */ 2,
    /* gunLoopSwitch */ 4,
    /* gunTwoGunLoop */ 5,
    /* gunThreeGunLoop */ 6,
    /* gunMainProfile */ 1,
    /* gunLoopProfiles */ {2, 3, 4},
    /* gunLoopKey0: a left-button fire key */ {0x0A, 0xF0, 0x21, 0x00},
    /* firstMouseCode */ 0xF0,
    /* otherStage */ 0,
    /* otherRate */ 1,
    /* otherTwinkle */ 2,
    /* otherMinLength */ 3,
    /* profileSwLength */ 4,
    /* swCursorSpeed */ 1,
    /* swScrollLines */ 2,
    /* swDoubleClick */ 3,
    /* macroSlotCount */ 100,
};

// The mouse checks what it is sent against none of this; a layout that breaks these rules sends one value's
// bytes into another's.
constexpr bool layoutHolds(const ProfileLayout &l)
{
    return l.dpi8Io + l.dpi8IoCount == l.led8StageColor              // the palette runs up to the colours
           && l.led8StageColor + l.led8StageColorCount <= l.gunFlags // eight colours, then the gun flags
           && l.speed() == l.effect + l.effectCount - 1              // effect, brightness, speed adjacent
           && l.yOffset < l.dpi8Stage                                // the recoil values before the stages
           && l.dpi8Stage + l.dpi8StageCount <= l.dpi8Color          // the stages before their colours
           && l.dpi8Color + l.dpi8ColorCount <= l.blockSize          // the colours inside the block
           && l.dpiStageCount * 2 == l.dpi8StageCount                // the stages twice
           && l.keyMatrixSize() <= l.blockSize                       // the matrix fits a block
           && l.keyEntrySize == int(std::tuple_size_v<decltype(l.gunLoopKey0)>) // one key entry
           && l.gunLoopProfiles[2] < l.profileCount;                            // the loop's profiles exist
}
static_assert(layoutHolds(kVeskLayout), "the Vesk layout keeps its values apart");
static_assert(kVeskLayout.dpi8Color + kVeskLayout.dpi8ColorCount == kVeskLayout.blockSize,
              "the DPI colours close the Vesk block");
static_assert(kVeskLayout.keyMatrixSize() == 64, "the Vesk key matrix fills half a block");

inline constexpr Product kVeskProduct{
    QLatin1String("Vesk"),
    QLatin1String("./modules/setting/apConfig.bin"),
    QLatin1String("./modules/setting/apConfigD.bin"),
    QLatin1String("./modules/setting/p_Vesk.bin"),
    QLatin1String("./modules/setting/pD_Vesk.bin"),
    QLatin1String("Vesk_133C6AA"),
    /* productNumber */ 1,
    // Entry 0 of the list is not this mouse; detection never looks for it.
    /* deviceListEntry */ 1,
};

inline constexpr MouseModel kVeskModel{kVeskLayout, kVeskProduct};

// The model this program configures.
inline constexpr const MouseModel &kSupportedModel = kVeskModel;
