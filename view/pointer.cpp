#include "myqquickview.h"
#include "viewlog.h"

#include <QSettings>

#include <algorithm>

namespace {

// Entries of a profile's "profile_sw" list.
enum PointerEntry {
    AccelerationEntry,
    CursorSpeedEntry,
    ScrollLinesEntry,
    DoubleClickEntry,
    PointerEntryCount
};
// The sensor page reads the stored lists by the layout's names for these entries.
static_assert(CursorSpeedEntry == kSupportedModel.layout.swCursorSpeed &&
                  ScrollLinesEntry == kSupportedModel.layout.swScrollLines &&
                  DoubleClickEntry == kSupportedModel.layout.swDoubleClick &&
                  PointerEntryCount == kSupportedModel.layout.profileSwLength,
              "the layout names the pointer settings where the view keeps them");

// The sensor page's sliders have eleven positions; the system values below are only defined for them.
constexpr uint MaxIndex = 10;
// What the page starts from, for a profile that has no value recorded yet.
constexpr bool DefaultAcceleration = false;
constexpr uint DefaultCursorSpeed = 5;
constexpr uint DefaultScrollLines = 2;
constexpr uint DefaultDoubleClick = 5;

constexpr int SlowestDoubleClickMs = 900;
constexpr int DoubleClickStepMs = 70;

constexpr int systemCursorSpeed(uint index)
{
    return index == 0 ? PointerSettings::MinSpeed : int(2 * index);
}
constexpr unsigned systemScrollLines(uint index)
{
    return index + 1;
}
constexpr unsigned systemDoubleClickMs(uint index)
{
    return unsigned(SlowestDoubleClickMs - DoubleClickStepMs * int(index));
}
static_assert(systemCursorSpeed(MaxIndex) == PointerSettings::MaxSpeed, "index 10 is the fastest speed");
static_assert(systemDoubleClickMs(MaxIndex) == 200, "index 10 is the shortest double-click time");

// Above 10 the formulas leave what the system accepts (the double-click time even wraps around), so such
// an index is taken as 10, for the system and for the store alike.
uint clampedIndex(uint index, const char *setter)
{
    if (index <= MaxIndex)
        return index;
    qCDebug(lcView) << setter << "index" << index << "is above" << MaxIndex << "and taken as" << MaxIndex;
    return MaxIndex;
}

QString pointerKey(uchar profile)
{
    return QStringLiteral("profile_sw/%1").arg(profile);
}

QVariantList defaultPointerList()
{
    return {DefaultAcceleration, DefaultCursorSpeed, DefaultScrollLines, DefaultDoubleClick};
}

// A profile without a complete list gets the page's starting values for what is missing; entries beyond the
// four are kept as they are.
QVariantList pointerList(QSettings &store, uchar profile)
{
    const QVariant stored = store.value(pointerKey(profile));
    QVariantList list;
    // Only a list is a list: Qt 6 would turn a lone text into a list of its characters.
    if (stored.metaType().id() == QMetaType::QVariantList || stored.metaType().id() == QMetaType::QStringList)
        list = stored.toList();
    if (list.size() < PointerEntryCount) {
        qCDebug(lcView) << "profile" << profile << "has" << list.size()
                        << "pointer settings recorded; the rest are the starting values";
        const QVariantList defaults = defaultPointerList();
        for (int i = int(list.size()); i < PointerEntryCount; ++i)
            list.append(defaults.at(i));
    }
    return list;
}

void recordPointerSetting(QSettings &store, uchar profile, PointerEntry entry, const QVariant &value)
{
    QVariantList list = pointerList(store, profile);
    list[entry] = value;
    store.setValue(pointerKey(profile), list);
}

uint recordedIndex(QSettings &store, uchar profile, PointerEntry entry)
{
    bool ok = false;
    const uint index = pointerList(store, profile).at(entry).toUInt(&ok);
    if (!ok) {
        qCDebug(lcView) << "profile" << profile << "pointer setting" << entry
                        << "is not a number; reads as 0";
        return 0;
    }
    return std::min(index, MaxIndex);
}

} // namespace

void myQQuickView::setPointerSettings(std::unique_ptr<PointerSettings> pointerSettings)
{
    m_pointerSettings = std::move(pointerSettings);
}

PointerSettings &myQQuickView::pointerSettings()
{
    // Made on first use: the desktop's settings are only reached when the page applies them.
    if (!m_pointerSettings)
        m_pointerSettings = PointerSettings::createSystemSettings();
    return *m_pointerSettings;
}

void myQQuickView::setAcceleration(bool acceleration)
{
    // The thresholds stay as the system has them; only the switch changes, and only once they are known.
    PointerSettings::MouseParams params;
    if (!pointerSettings().mouseParams(params) ||
        !pointerSettings().setMouseParams({params.threshold1, params.threshold2, acceleration ? 1 : 0}))
        qCDebug(lcView) << "setAcceleration Failed";
    recordPointerSetting(*profileStore, curProfile, AccelerationEntry, acceleration);
}

void myQQuickView::setCursorSpeed(uint cursorSpeed)
{
    cursorSpeed = clampedIndex(cursorSpeed, "setCursorSpeed");
    if (!pointerSettings().setMouseSpeed(systemCursorSpeed(cursorSpeed)))
        qCDebug(lcView) << "setCursorSpeed Failed";
    recordPointerSetting(*profileStore, curProfile, CursorSpeedEntry, cursorSpeed);
}

void myQQuickView::setVerticalScrollLines(uint lines)
{
    lines = clampedIndex(lines, "setVerticalScrollLines");
    if (!pointerSettings().setWheelScrollLines(systemScrollLines(lines)))
        qCDebug(lcView) << "setVerticalScrollLines Failed";
    recordPointerSetting(*profileStore, curProfile, ScrollLinesEntry, lines);
}

void myQQuickView::setDoubleClickSpeed(uint speed)
{
    speed = clampedIndex(speed, "setDoubleClickSpeed");
    if (!pointerSettings().setDoubleClickTime(systemDoubleClickMs(speed)))
        qCDebug(lcView) << "setDoubleClickSpeed Failed";
    recordPointerSetting(*profileStore, curProfile, DoubleClickEntry, speed);
}

bool myQQuickView::getAcceleration()
{
    return pointerList(*profileStore, curProfile).at(AccelerationEntry).toBool();
}

uint myQQuickView::getCursorSpeed()
{
    return recordedIndex(*profileStore, curProfile, CursorSpeedEntry);
}

uint myQQuickView::getVerticalScrollLines()
{
    return recordedIndex(*profileStore, curProfile, ScrollLinesEntry);
}

uint myQQuickView::getDoubleClickSpeed()
{
    return recordedIndex(*profileStore, curProfile, DoubleClickEntry);
}
