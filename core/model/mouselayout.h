#pragma once

// The mouse's layout as the scene reads it: the context property "mouseLayout", set by the view before the
// scene loads (and by the scene's test harnesses). Every value is the layout's and constant, so that a page
// slices the profile block and reads key codes by name, never by number. QtCore only: QML reads the
// properties through the meta-object.

#include "mousemodel.h"

#include <QLatin1String>
#include <QObject>

class MouseLayout : public QObject
{
    Q_OBJECT

    // Sizes and counts.
    Q_PROPERTY(int profileCount READ profileCount CONSTANT)
    Q_PROPERTY(int blockSize READ blockSize CONSTANT)
    Q_PROPERTY(int keyCount READ keyCount CONSTANT)
    Q_PROPERTY(int keyEntrySize READ keyEntrySize CONSTANT)
    Q_PROPERTY(int keyMatrixSize READ keyMatrixSize CONSTANT)
    Q_PROPERTY(int macroSlotCount READ macroSlotCount CONSTANT)
    // Offsets into the profile block, each with its length where it holds more than one value.
    Q_PROPERTY(int optionBits READ optionBits CONSTANT)
    Q_PROPERTY(int dpi8Io READ dpi8Io CONSTANT)
    Q_PROPERTY(int dpi8IoCount READ dpi8IoCount CONSTANT)
    Q_PROPERTY(int led8StageColor READ led8StageColor CONSTANT)
    Q_PROPERTY(int led8StageColorCount READ led8StageColorCount CONSTANT)
    Q_PROPERTY(int gunFlags READ gunFlags CONSTANT)
    Q_PROPERTY(int maxDpiStage READ maxDpiStage CONSTANT)
    Q_PROPERTY(int effect READ effect CONSTANT)
    Q_PROPERTY(int light READ light CONSTANT)
    Q_PROPERTY(int speed READ speed CONSTANT)
    Q_PROPERTY(int effectCount READ effectCount CONSTANT)
    Q_PROPERTY(int gunMarker READ gunMarker CONSTANT)
    Q_PROPERTY(int times READ times CONSTANT)
    Q_PROPERTY(int xOffset READ xOffset CONSTANT)
    Q_PROPERTY(int yOffset READ yOffset CONSTANT)
    Q_PROPERTY(int dpi8Stage READ dpi8Stage CONSTANT)
    Q_PROPERTY(int dpi8StageCount READ dpi8StageCount CONSTANT)
    Q_PROPERTY(int dpiStageCount READ dpiStageCount CONSTANT)
    Q_PROPERTY(int dpi8Color READ dpi8Color CONSTANT)
    Q_PROPERTY(int dpi8ColorCount READ dpi8ColorCount CONSTANT)
    // The first byte of a key code, by function; the first key code of the mouse buttons.
    Q_PROPERTY(int keyTypeKeyboard READ keyTypeKeyboard CONSTANT)
    Q_PROPERTY(int keyTypeMouse READ keyTypeMouse CONSTANT)
    Q_PROPERTY(int keyTypeMedia READ keyTypeMedia CONSTANT)
    Q_PROPERTY(int keyTypeScroll READ keyTypeScroll CONSTANT)
    Q_PROPERTY(int keyTypeDpi READ keyTypeDpi CONSTANT)
    Q_PROPERTY(int keyTypeGun READ keyTypeGun CONSTANT)
    Q_PROPERTY(int keyTypeMacro READ keyTypeMacro CONSTANT)
    Q_PROPERTY(int keyTypeFire READ keyTypeFire CONSTANT)
    Q_PROPERTY(int keyTypeGunSlot READ keyTypeGunSlot CONSTANT)
    Q_PROPERTY(int keyTypeLed READ keyTypeLed CONSTANT)
    Q_PROPERTY(int keyTypeUnknown READ keyTypeUnknown CONSTANT)
    Q_PROPERTY(int firstMouseCode READ firstMouseCode CONSTANT)
    // A gun key's variants: loop switch, two-gun loop, three-gun loop.
    Q_PROPERTY(int gunLoopSwitch READ gunLoopSwitch CONSTANT)
    Q_PROPERTY(int gunTwoGunLoop READ gunTwoGunLoop CONSTANT)
    Q_PROPERTY(int gunThreeGunLoop READ gunThreeGunLoop CONSTANT)
    // Entries of a profile's "other" list.
    Q_PROPERTY(int otherStage READ otherStage CONSTANT)
    Q_PROPERTY(int otherRate READ otherRate CONSTANT)
    Q_PROPERTY(int otherTwinkle READ otherTwinkle CONSTANT)
    // Entries of a profile's pointer settings.
    Q_PROPERTY(int swCursorSpeed READ swCursorSpeed CONSTANT)
    Q_PROPERTY(int swScrollLines READ swScrollLines CONSTANT)
    Q_PROPERTY(int swDoubleClick READ swDoubleClick CONSTANT)

public:
    // The name the scene knows it by.
    static constexpr QLatin1String kContextProperty{"mouseLayout"};

    explicit MouseLayout(const ProfileLayout &layout, QObject *parent = nullptr)
        : QObject(parent)
        , m_layout(layout)
    {}

    int profileCount() const { return m_layout.profileCount; }
    int blockSize() const { return m_layout.blockSize; }
    int keyCount() const { return m_layout.keyCount; }
    int keyEntrySize() const { return m_layout.keyEntrySize; }
    int keyMatrixSize() const { return m_layout.keyMatrixSize(); }
    int macroSlotCount() const { return m_layout.macroSlotCount; }
    int optionBits() const { return m_layout.optionBits; }
    int dpi8Io() const { return m_layout.dpi8Io; }
    int dpi8IoCount() const { return m_layout.dpi8IoCount; }
    int led8StageColor() const { return m_layout.led8StageColor; }
    int led8StageColorCount() const { return m_layout.led8StageColorCount; }
    int gunFlags() const { return m_layout.gunFlags; }
    int maxDpiStage() const { return m_layout.maxDpiStage; }
    int effect() const { return m_layout.effect; }
    int light() const { return m_layout.light(); }
    int speed() const { return m_layout.speed(); }
    int effectCount() const { return m_layout.effectCount; }
    int gunMarker() const { return m_layout.gunMarker; }
    int times() const { return m_layout.times; }
    int xOffset() const { return m_layout.xOffset; }
    int yOffset() const { return m_layout.yOffset; }
    int dpi8Stage() const { return m_layout.dpi8Stage; }
    int dpi8StageCount() const { return m_layout.dpi8StageCount; }
    int dpiStageCount() const { return m_layout.dpiStageCount; }
    int dpi8Color() const { return m_layout.dpi8Color; }
    int dpi8ColorCount() const { return m_layout.dpi8ColorCount; }
    int keyTypeKeyboard() const { return m_layout.keyTypeKeyboard; }
    int keyTypeMouse() const { return m_layout.keyTypeMouse; }
    int keyTypeMedia() const { return m_layout.keyTypeMedia; }
    int keyTypeScroll() const { return m_layout.keyTypeScroll; }
    int keyTypeDpi() const { return m_layout.keyTypeDpi; }
    int keyTypeGun() const { return m_layout.keyTypeGun; }
    int keyTypeMacro() const { return m_layout.keyTypeMacro; }
    int keyTypeFire() const { return m_layout.keyTypeFire; }
    int keyTypeGunSlot() const { return m_layout.keyTypeGunSlot; }
    int keyTypeLed() const { return m_layout.keyTypeLed; }
    int keyTypeUnknown() const { return m_layout.keyTypeUnknown; }
    int firstMouseCode() const { return m_layout.firstMouseCode; }
    int gunLoopSwitch() const { return m_layout.gunLoopSwitch; }
    int gunTwoGunLoop() const { return m_layout.gunTwoGunLoop; }
    int gunThreeGunLoop() const { return m_layout.gunThreeGunLoop; }
    int otherStage() const { return m_layout.otherStage; }
    int otherRate() const { return m_layout.otherRate; }
    int otherTwinkle() const { return m_layout.otherTwinkle; }
    int swCursorSpeed() const { return m_layout.swCursorSpeed; }
    int swScrollLines() const { return m_layout.swScrollLines; }
    int swDoubleClick() const { return m_layout.swDoubleClick; }

private:
    const ProfileLayout m_layout;
};
