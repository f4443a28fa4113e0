#include "globalinputhook.h"

#include "copydatachannel.h"
#include "inputhookbackend.h"
#include "inputlog.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

constexpr uint MaxScanCode = 0xFF;
constexpr quint16 Extended = 0x01;

constexpr uint ScanBreak = 0x46;    // with the extended flag: Ctrl+Pause
constexpr uint ScanAltPrint = 0x54; // Print Screen while Alt is held
constexpr quint8 VkPause = 0x13;
constexpr quint8 VkSnapshot = 0x2C;
constexpr quint8 VkOem5 = 0xDC; // the key beside Enter: backslash on ANSI boards, # on ISO boards
constexpr quint8 UsageBackslash = 0x31;
constexpr quint8 UsageNonUsHash = 0x32;

std::map<quint16, quint8> s_scanToVirtualKey;
std::map<quint8, quint8> s_virtualKeyToUsage;
std::array<quint8, 256> s_usageDownState{};

GlobalInputHook::KeyboardCallback s_keyboardCallback = nullptr;
void *s_keyboardContext = nullptr;
GlobalInputHook::MouseCallback s_mouseCallback = nullptr;
void *s_mouseContext = nullptr;
QPointer<CopyDataChannel> s_copyData;

struct MouseRow
{
    int button; // 0: no report
    bool isDown;
};

// WM_LBUTTONDOWN .. WM_MBUTTONUP; the double clicks report nothing.
constexpr uint FirstMouseMessage = inputhook::MsgLeftButtonDown;
constexpr MouseRow MouseMessages[] = {
    {GlobalInputHook::ButtonLeft, true},   {GlobalInputHook::ButtonLeft, false},   {0, false},
    {GlobalInputHook::ButtonRight, true},  {GlobalInputHook::ButtonRight, false},  {0, false},
    {GlobalInputHook::ButtonMiddle, true}, {GlobalInputHook::ButtonMiddle, false},
};
static_assert(sizeof MouseMessages / sizeof MouseMessages[0] ==
                  inputhook::MsgMiddleButtonUp - inputhook::MsgLeftButtonDown + 1,
              "one row per message from WM_LBUTTONDOWN to WM_MBUTTONUP");

template<typename Key>
void setRow(std::map<Key, quint8> &table, Key key, quint8 value)
{
    const bool inserted = table.emplace(key, value).second;
    Q_ASSERT_X(inserted, "GlobalInputHook::buildTables", "a row is set twice");
    Q_UNUSED(inserted);
}

void setScanRange(quint16 firstScan, std::initializer_list<quint8> virtualKeys, quint16 extended = 0)
{
    quint16 scan = firstScan;
    for (quint8 vk : virtualKeys)
        setRow<quint16>(s_scanToVirtualKey, quint16(scan++ << 8 | extended), vk);
}

void setUsageRange(quint8 firstVk, quint8 lastVk, quint8 firstUsage)
{
    for (int vk = firstVk; vk <= lastVk; ++vk)
        setRow<quint8>(s_virtualKeyToUsage, quint8(vk), quint8(firstUsage + (vk - firstVk)));
}

void buildScanToVirtualKey()
{
    s_scanToVirtualKey.clear();
    setScanRange(0x01, {0x1B});
    setScanRange(0x02, {0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x30}); // 1..9, 0
    setScanRange(0x0C, {0xBD, 0xBB, 0x08, 0x09});
    setScanRange(0x10, {0x51, 0x57, 0x45, 0x52, 0x54, 0x59, 0x55, 0x49, 0x4F, 0x50}); // Q..P
    setScanRange(0x1A, {0xDB, 0xDD, 0x0D, 0xA2});
    setScanRange(0x1E, {0x41, 0x53, 0x44, 0x46, 0x47, 0x48, 0x4A, 0x4B, 0x4C}); // A..L
    setScanRange(0x27, {0xBA, 0xDE, 0xC0, 0xA0, 0xDC});
    setScanRange(0x2C, {0x5A, 0x58, 0x43, 0x56, 0x42, 0x4E, 0x4D}); // Z..M
    setScanRange(0x33, {0xBC, 0xBE, 0xBF});
    setScanRange(0x37, {0x6A, 0xA4, 0x20, 0x14});
    setScanRange(0x3B, {0x70, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79}); // F1..F10
    setScanRange(0x45,
                 {0x13, 0x91, 0x67, 0x68, 0x69, 0x6D, 0x64, 0x65, 0x66, 0x6B, 0x61, 0x62, 0x63, 0x60, 0x6E});
    setScanRange(0x56, {0xE2, 0x7A, 0x7B});
    setScanRange(0x6E, {0x86});

    setScanRange(0x1C, {0x0E, 0xA3}, Extended); // keypad Enter, right Ctrl
    setScanRange(0x35, {0x6F, 0xA1, 0x2C, 0xA5}, Extended);
    setScanRange(0x45, {0x90}, Extended);
    setScanRange(0x47, {0x24, 0x26, 0x21}, Extended);
    setScanRange(0x4B, {0x25}, Extended);
    setScanRange(0x4D, {0x27}, Extended);
    setScanRange(0x4F, {0x23, 0x28, 0x22, 0x2D, 0x2E}, Extended);
    setScanRange(0x5B, {0x5B}, Extended);
    setScanRange(0x5D, {0x5D}, Extended);
}

void buildVirtualKeyToUsage(bool isoLayout)
{
    s_virtualKeyToUsage.clear();
    setUsageRange(0x41, 0x5A, 0x04); // letters
    setUsageRange(0x31, 0x39, 0x1E); // digits 1..9
    setUsageRange(0x30, 0x30, 0x27);
    setUsageRange(0x0D, 0x0D, 0x28);
    setUsageRange(0x1B, 0x1B, 0x29);
    setUsageRange(0x08, 0x09, 0x2A);
    setUsageRange(0x20, 0x20, 0x2C);
    setUsageRange(0xBD, 0xBD, 0x2D);
    setUsageRange(0xBB, 0xBB, 0x2E);
    setUsageRange(0xDB, 0xDB, 0x2F);
    setUsageRange(0xDD, 0xDD, 0x30);
    setRow<quint8>(s_virtualKeyToUsage, VkOem5, isoLayout ? UsageNonUsHash : UsageBackslash);
    setUsageRange(0xBA, 0xBA, 0x33);
    setUsageRange(0xDE, 0xDE, 0x34);
    setUsageRange(0xC0, 0xC0, 0x35);
    setUsageRange(0xBC, 0xBC, 0x36);
    setUsageRange(0xBE, 0xBF, 0x37); // period, slash
    setUsageRange(0x14, 0x14, 0x39);
    setUsageRange(0x70, 0x7B, 0x3A); // F1..F12
    setUsageRange(0x2C, 0x2C, 0x46);
    setUsageRange(0x91, 0x91, 0x47);
    setUsageRange(0x13, 0x13, 0x48);
    setUsageRange(0x2D, 0x2D, 0x49);
    setUsageRange(0x24, 0x24, 0x4A);
    setUsageRange(0x21, 0x21, 0x4B);
    setUsageRange(0x2E, 0x2E, 0x4C);
    setUsageRange(0x23, 0x23, 0x4D);
    setUsageRange(0x22, 0x22, 0x4E);
    setUsageRange(0x27, 0x27, 0x4F);
    setUsageRange(0x25, 0x25, 0x50);
    setUsageRange(0x28, 0x28, 0x51);
    setUsageRange(0x26, 0x26, 0x52);
    setUsageRange(0x90, 0x90, 0x53);
    setUsageRange(0x6F, 0x6F, 0x54);
    setUsageRange(0x6A, 0x6A, 0x55);
    setUsageRange(0x6D, 0x6D, 0x56);
    setUsageRange(0x6B, 0x6B, 0x57);
    setUsageRange(0x0E, 0x0E, 0x58); // keypad Enter
    setUsageRange(0x61, 0x69, 0x59); // keypad 1..9
    setUsageRange(0x60, 0x60, 0x62);
    setUsageRange(0x6E, 0x6E, 0x63);
    setUsageRange(0xE2, 0xE2, 0x64);
    setUsageRange(0x5D, 0x5D, 0x65);
    setUsageRange(0xFF, 0xFF, 0x66);
    setUsageRange(0x7C, 0x87, 0x68); // F13..F24
    setUsageRange(0xC2, 0xC2, 0x85);
    setUsageRange(0xC1, 0xC1, 0x87);
    setUsageRange(0xEB, 0xEB, 0x8B);
    setUsageRange(0xA2, 0xA2, 0xE0);
    setUsageRange(0xA0, 0xA0, 0xE1);
    setUsageRange(0xA4, 0xA4, 0xE2);
    setUsageRange(0x5B, 0x5B, 0xE3);
    setUsageRange(0xA3, 0xA3, 0xE4);
    setUsageRange(0xA1, 0xA1, 0xE5);
    setUsageRange(0xA5, 0xA5, 0xE6);
    setUsageRange(0x5C, 0x5C, 0xE7);
}

template<typename Key>
quint8 lookup(const std::map<Key, quint8> &table, Key key)
{
    const auto it = table.find(key);
    return it == table.end() ? 0 : it->second;
}

void keyboardSink(unsigned scanCode, unsigned flags, bool isDown)
{
    GlobalInputHook::keyboardEvent(scanCode, flags, isDown);
}

void mouseSink(unsigned message, long x, long y)
{
    GlobalInputHook::mouseEvent(message, x, y);
}

} // namespace

GlobalInputHook::GlobalInputHook(bool isoLayout)
    : isoLayout(isoLayout)
{
    buildTables(isoLayout);
    installHooks();
}

GlobalInputHook::~GlobalInputHook()
{
    removeHooks();
}

void GlobalInputHook::buildTables(bool isoLayout)
{
    buildScanToVirtualKey();
    buildVirtualKeyToUsage(isoLayout);
}

const std::map<quint16, quint8> &GlobalInputHook::scanToVirtualKey()
{
    return s_scanToVirtualKey;
}

const std::map<quint8, quint8> &GlobalInputHook::virtualKeyToUsage()
{
    return s_virtualKeyToUsage;
}

bool GlobalInputHook::usageIsDown(quint8 usage)
{
    return s_usageDownState[usage] != 0;
}

void GlobalInputHook::resetUsageDownState()
{
    s_usageDownState.fill(0);
}

bool GlobalInputHook::installHooks()
{
    if (inputhook::backendInstalled())
        inputhook::removeBackend();
    const bool installed = inputhook::installBackend(&keyboardSink, &mouseSink);
    qCDebug(lcInput) << "global input hooks" << (installed ? "installed" : "not installed");
    return installed;
}

void GlobalInputHook::removeHooks()
{
    inputhook::removeBackend();
    if (s_copyData)
        s_copyData->remove();
}

void GlobalInputHook::setKeyboardCallback(KeyboardCallback callback, void *context)
{
    s_keyboardCallback = callback;
    s_keyboardContext = context;
}

void GlobalInputHook::setMouseCallback(MouseCallback callback, void *context)
{
    s_mouseCallback = callback;
    s_mouseContext = context;
}

bool GlobalInputHook::setAppMessageFilter(CopyDataCallback callback, QCoreApplication *application,
                                          void *context)
{
    if (!s_copyData)
        s_copyData = new CopyDataChannel(application);
    return s_copyData->install(callback, context);
}

void GlobalInputHook::keyboardEvent(uint scanCode, uint flags, bool isDown)
{
    if (scanCode > MaxScanCode)
        scanCode = 0;
    const auto key = quint16(scanCode << 8 | (flags & inputhook::FlagExtended));
    quint8 virtualKey = lookup(s_scanToVirtualKey, key);
    // Break and Alt+Print Screen arrive under scan codes of their own; they count as Pause and Print Screen.
    if (scanCode == ScanBreak && (flags & inputhook::FlagExtended))
        virtualKey = VkPause;
    else if (scanCode == ScanAltPrint && (flags & inputhook::FlagAltDown))
        virtualKey = VkSnapshot;
    if (virtualKey == 0)
        return;

    const quint8 usage = lookup(s_virtualKeyToUsage, virtualKey);
    // Auto-repeat, and the release of a key that was down before the program started, change nothing.
    if (usage == 0 || (s_usageDownState[usage] != 0) == isDown)
        return;
    s_usageDownState[usage] = isDown ? 1 : 0;
    if (s_keyboardCallback)
        s_keyboardCallback(usage, isDown, s_keyboardContext);
}

void GlobalInputHook::mouseEvent(uint message, long x, long y)
{
    if (message < FirstMouseMessage || message > inputhook::MsgMiddleButtonUp)
        return;
    const MouseRow &row = MouseMessages[message - FirstMouseMessage];
    if (row.button != 0 && s_mouseCallback)
        s_mouseCallback(row.button, row.isDown, int(x), int(y), s_mouseContext);
}
