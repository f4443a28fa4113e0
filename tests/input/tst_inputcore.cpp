// The system-independent core of the global input hooks: translation tables, overrides, state, mouse
// messages, callbacks; the Linux bridge from evdev codes to scan codes, and the program's own windows when
// XInput 2 is out of reach.
#include "globalinputhook.h"
#include "keys/keynamemap.h"
#include "linux/evdevscancode.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>
#include <QTest>
#include <QWindow>

#include <cstdlib>

class TestInputCore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();

    void everyScanRowReachesItsUsage_data();
    void everyScanRowReachesItsUsage();
    void tablesHoldExactlyTheirRows();
    void usagesNoScanCodeProduces_data();
    void usagesNoScanCodeProduces();
    void keySequences_data();
    void keySequences();
    void isoLayoutMovesTheKeyBesideEnter_data();
    void isoLayoutMovesTheKeyBesideEnter();
    void stateIsKeptWithoutACallback();
    void mouseMessages_data();
    void mouseMessages();
    void callbacksGetTheirContext();

    void evdevCodesBecomeScanCodes_data();
    void evdevCodesBecomeScanCodes();
    void withoutXInputTheProgramsWindowsReport_data();
    void withoutXInputTheProgramsWindowsReport();

    void keyNameMapHoldsEveryName();

private:
    static void resetState() { GlobalInputHook::resetUsageDownState(); }
};

namespace {

constexpr uint Ext = 0x01;
constexpr uint Alt = 0x20;

QStringList s_reports;
void *s_seenContext = nullptr;

void recordKey(int usage, bool isDown, void *context)
{
    s_seenContext = context;
    s_reports.append(QString::number(usage, 16).rightJustified(2, QLatin1Char('0')) +
                     (isDown ? QLatin1Char('+') : QLatin1Char('-')));
}

void recordMouse(int button, bool isDown, int x, int y, void *context)
{
    s_seenContext = context;
    s_reports.append(QStringLiteral("%1%2@%3,%4")
                         .arg(QString::number(button, 16), isDown ? QStringLiteral("+") : QStringLiteral("-"))
                         .arg(x)
                         .arg(y));
}

QString reports()
{
    return s_reports.join(QLatin1Char(' '));
}

struct ScanRow
{
    uint scan;
    uint flags;
    int usage;
    const char *key;
};

// What each physical key position must give, whatever the layout: the USB usage of the key at that place.
const ScanRow ScanRows[] = {
    {0x01, 0, 0x29, "Esc"},       {0x02, 0, 0x1E, "1"},           {0x03, 0, 0x1F, "2"},
    {0x04, 0, 0x20, "3"},         {0x05, 0, 0x21, "4"},           {0x06, 0, 0x22, "5"},
    {0x07, 0, 0x23, "6"},         {0x08, 0, 0x24, "7"},           {0x09, 0, 0x25, "8"},
    {0x0A, 0, 0x26, "9"},         {0x0B, 0, 0x27, "0"},           {0x0C, 0, 0x2D, "minus"},
    {0x0D, 0, 0x2E, "equals"},    {0x0E, 0, 0x2A, "Backspace"},   {0x0F, 0, 0x2B, "Tab"},
    {0x10, 0, 0x14, "Q"},         {0x11, 0, 0x1A, "W"},           {0x12, 0, 0x08, "E"},
    {0x13, 0, 0x15, "R"},         {0x14, 0, 0x17, "T"},           {0x15, 0, 0x1C, "Y"},
    {0x16, 0, 0x18, "U"},         {0x17, 0, 0x0C, "I"},           {0x18, 0, 0x12, "O"},
    {0x19, 0, 0x13, "P"},         {0x1A, 0, 0x2F, "["},           {0x1B, 0, 0x30, "]"},
    {0x1C, 0, 0x28, "Enter"},     {0x1D, 0, 0xE0, "L Ctrl"},      {0x1E, 0, 0x04, "A"},
    {0x1F, 0, 0x16, "S"},         {0x20, 0, 0x07, "D"},           {0x21, 0, 0x09, "F"},
    {0x22, 0, 0x0A, "G"},         {0x23, 0, 0x0B, "H"},           {0x24, 0, 0x0D, "J"},
    {0x25, 0, 0x0E, "K"},         {0x26, 0, 0x0F, "L"},           {0x27, 0, 0x33, "semicolon"},
    {0x28, 0, 0x34, "quote"},     {0x29, 0, 0x35, "grave"},       {0x2A, 0, 0xE1, "L Shift"},
    {0x2B, 0, 0x31, "backslash"}, {0x2C, 0, 0x1D, "Z"},           {0x2D, 0, 0x1B, "X"},
    {0x2E, 0, 0x06, "C"},         {0x2F, 0, 0x19, "V"},           {0x30, 0, 0x05, "B"},
    {0x31, 0, 0x11, "N"},         {0x32, 0, 0x10, "M"},           {0x33, 0, 0x36, "comma"},
    {0x34, 0, 0x37, "period"},    {0x35, 0, 0x38, "slash"},       {0x37, 0, 0x55, "KP *"},
    {0x38, 0, 0xE2, "L Alt"},     {0x39, 0, 0x2C, "Space"},       {0x3A, 0, 0x39, "Caps"},
    {0x3B, 0, 0x3A, "F1"},        {0x3C, 0, 0x3B, "F2"},          {0x3D, 0, 0x3C, "F3"},
    {0x3E, 0, 0x3D, "F4"},        {0x3F, 0, 0x3E, "F5"},          {0x40, 0, 0x3F, "F6"},
    {0x41, 0, 0x40, "F7"},        {0x42, 0, 0x41, "F8"},          {0x43, 0, 0x42, "F9"},
    {0x44, 0, 0x43, "F10"},       {0x45, 0, 0x48, "Pause"},       {0x46, 0, 0x47, "Scroll Lock"},
    {0x47, 0, 0x5F, "KP 7"},      {0x48, 0, 0x60, "KP 8"},        {0x49, 0, 0x61, "KP 9"},
    {0x4A, 0, 0x56, "KP -"},      {0x4B, 0, 0x5C, "KP 4"},        {0x4C, 0, 0x5D, "KP 5"},
    {0x4D, 0, 0x5E, "KP 6"},      {0x4E, 0, 0x57, "KP +"},        {0x4F, 0, 0x59, "KP 1"},
    {0x50, 0, 0x5A, "KP 2"},      {0x51, 0, 0x5B, "KP 3"},        {0x52, 0, 0x62, "KP 0"},
    {0x53, 0, 0x63, "KP ."},      {0x56, 0, 0x64, "ISO extra"},   {0x57, 0, 0x44, "F11"},
    {0x58, 0, 0x45, "F12"},       {0x6E, 0, 0x72, "F23"},         {0x1C, Ext, 0x58, "KP Enter"},
    {0x1D, Ext, 0xE4, "R Ctrl"},  {0x35, Ext, 0x54, "KP /"},      {0x36, Ext, 0xE5, "R Shift"},
    {0x37, Ext, 0x46, "Print"},   {0x38, Ext, 0xE6, "R Alt"},     {0x45, Ext, 0x53, "Num Lock"},
    {0x47, Ext, 0x4A, "Home"},    {0x48, Ext, 0x52, "Up"},        {0x49, Ext, 0x4B, "Page Up"},
    {0x4B, Ext, 0x50, "Left"},    {0x4D, Ext, 0x4F, "Right"},     {0x4F, Ext, 0x4D, "End"},
    {0x50, Ext, 0x51, "Down"},    {0x51, Ext, 0x4E, "Page Down"}, {0x52, Ext, 0x49, "Insert"},
    {0x53, Ext, 0x4C, "Delete"},  {0x5B, Ext, 0xE3, "L Win"},     {0x5D, Ext, 0x65, "Menu"},
};

} // namespace

void TestInputCore::init()
{
    GlobalInputHook::buildTables(false);
    resetState();
    GlobalInputHook::setKeyboardCallback(&recordKey, this);
    GlobalInputHook::setMouseCallback(&recordMouse, this);
    s_reports.clear();
    s_seenContext = nullptr;
}

void TestInputCore::everyScanRowReachesItsUsage_data()
{
    QTest::addColumn<uint>("scan");
    QTest::addColumn<uint>("flags");
    QTest::addColumn<int>("usage");
    for (const ScanRow &row : ScanRows)
        QTest::newRow(row.key) << row.scan << row.flags << row.usage;
}

void TestInputCore::everyScanRowReachesItsUsage()
{
    QFETCH(uint, scan);
    QFETCH(uint, flags);
    QFETCH(int, usage);
    GlobalInputHook::keyboardEvent(scan, flags, true);
    GlobalInputHook::keyboardEvent(scan, flags, false);
    const QString code = QString::number(usage, 16).rightJustified(2, QLatin1Char('0'));
    QCOMPARE(reports(), code + QStringLiteral("+ ") + code + QLatin1Char('-'));
}

void TestInputCore::tablesHoldExactlyTheirRows()
{
    QSet<quint16> expected;
    for (const ScanRow &row : ScanRows)
        expected.insert(quint16(row.scan << 8 | row.flags));
    QCOMPARE(expected.size(), 105);
    QSet<quint16> built;
    for (const auto &[key, vk] : GlobalInputHook::scanToVirtualKey()) {
        QVERIFY(vk != 0);
        built.insert(key);
    }
    QCOMPARE(built, expected);
    QCOMPARE(int(GlobalInputHook::virtualKeyToUsage().size()), 121);

    // Rebuilding starts from empty tables.
    GlobalInputHook::buildTables(true);
    GlobalInputHook::buildTables(false);
    QCOMPARE(int(GlobalInputHook::scanToVirtualKey().size()), 105);
    QCOMPARE(int(GlobalInputHook::virtualKeyToUsage().size()), 121);
}

void TestInputCore::usagesNoScanCodeProduces_data()
{
    QTest::addColumn<int>("virtualKey");
    QTest::addColumn<int>("usage");
    QTest::newRow("R Win") << 0x5C << 0xE7;
    for (int f = 13; f <= 22; ++f)
        QTest::addRow("F%d", f) << 0x7C + f - 13 << 0x68 + f - 13;
    QTest::newRow("F24") << 0x87 << 0x73;
    QTest::newRow("0xC1") << 0xC1 << 0x87;
    QTest::newRow("0xC2") << 0xC2 << 0x85;
    QTest::newRow("0xEB") << 0xEB << 0x8B;
    QTest::newRow("0xFF") << 0xFF << 0x66;
}

void TestInputCore::usagesNoScanCodeProduces()
{
    QFETCH(int, virtualKey);
    QFETCH(int, usage);
    const auto &table = GlobalInputHook::virtualKeyToUsage();
    const auto it = table.find(quint8(virtualKey));
    QVERIFY(it != table.end());
    QCOMPARE(int(it->second), usage);
}

void TestInputCore::keySequences_data()
{
    QTest::addColumn<QList<QList<uint>>>("events"); // scan, flags, isDown
    QTest::addColumn<QString>("reported");
    using E = QList<uint>;
    QTest::newRow("held key reports once")
        << QList<E>{{0x1E, 0, 1}, {0x1E, 0, 1}, {0x1E, 0, 1}, {0x1E, 0, 0}} << "04+ 04-";
    QTest::newRow("release without a press") << QList<E>{{0x1E, 0, 0}} << "";
    QTest::newRow("second release") << QList<E>{{0x1E, 0, 1}, {0x1E, 0, 0}, {0x1E, 0, 0}} << "04+ 04-";
    QTest::newRow("left ctrl") << QList<E>{{0x1D, 0, 1}, {0x1D, 0, 0}} << "e0+ e0-";
    QTest::newRow("keypad enter apart from enter")
        << QList<E>{{0x1C, Ext, 1}, {0x1C, 0, 1}, {0x1C, 0, 0}, {0x1C, Ext, 0}} << "58+ 28+ 28- 58-";
    QTest::newRow("pause") << QList<E>{{0x45, 0, 1}, {0x45, 0, 0}} << "48+ 48-";
    QTest::newRow("ctrl+break is pause")
        << QList<E>{{0x1D, 0, 1}, {0x46, Ext, 1}, {0x46, Ext, 0}, {0x1D, 0, 0}} << "e0+ 48+ 48- e0-";
    QTest::newRow("scroll lock is not break") << QList<E>{{0x46, 0, 1}} << "47+";
    QTest::newRow("print screen") << QList<E>{{0x37, Ext, 1}, {0x37, Ext, 0}} << "46+ 46-";
    QTest::newRow("alt+print screen is print screen")
        << QList<E>{{0x38, Alt, 1}, {0x54, Alt, 1}, {0x54, Alt, 0}, {0x38, 0, 0}} << "e2+ 46+ 46- e2-";
    QTest::newRow("scan 54 without alt") << QList<E>{{0x54, 0, 1}, {0x54, 0, 0}} << "";
    QTest::newRow("right windows key") << QList<E>{{0x5C, Ext, 1}, {0x5C, Ext, 0}} << "";
    QTest::newRow("left windows key") << QList<E>{{0x5B, Ext, 1}} << "e3+";
    QTest::newRow("scan 36 without extended flag") << QList<E>{{0x36, 0, 1}} << "";
    QTest::newRow("other flag bits ignored") << QList<E>{{0x1C, Ext | 0x10 | 0x80, 1}} << "58+";
    QTest::newRow("scan code above 0xFF is 0, not its low byte") << QList<E>{{0x11E, 0, 1}} << "";
    QTest::newRow("largest scan code") << QList<E>{{0xFFFFFFFFu, 0xFFFFFFFFu, 1}} << "";
    QTest::newRow("scan 0") << QList<E>{{0x00, 0, 1}, {0x00, Ext, 1}} << "";
    QTest::newRow("unknown scan code") << QList<E>{{0x7F, 0, 1}, {0xFF, Ext, 1}} << "";
}

void TestInputCore::keySequences()
{
    QFETCH(QList<QList<uint>>, events);
    QFETCH(QString, reported);
    for (const QList<uint> &e : events)
        GlobalInputHook::keyboardEvent(e[0], e[1], e[2] != 0);
    QCOMPARE(reports(), reported);
}

void TestInputCore::isoLayoutMovesTheKeyBesideEnter_data()
{
    QTest::addColumn<bool>("iso");
    QTest::addColumn<QString>("reported");
    QTest::newRow("ANSI backslash") << false << "31+";
    QTest::newRow("ISO hash") << true << "32+";
}

void TestInputCore::isoLayoutMovesTheKeyBesideEnter()
{
    QFETCH(bool, iso);
    QFETCH(QString, reported);
    GlobalInputHook::buildTables(iso);
    GlobalInputHook::keyboardEvent(0x2B, 0, true);
    GlobalInputHook::buildTables(false);
    QCOMPARE(reports(), reported);
}

void TestInputCore::stateIsKeptWithoutACallback()
{
    GlobalInputHook::setKeyboardCallback(nullptr, nullptr);
    GlobalInputHook::keyboardEvent(0x1E, 0, true);
    QVERIFY(GlobalInputHook::usageIsDown(0x04));
    GlobalInputHook::setKeyboardCallback(&recordKey, this);
    GlobalInputHook::keyboardEvent(0x1E, 0, true);
    GlobalInputHook::keyboardEvent(0x1E, 0, false);
    QCOMPARE(reports(), QStringLiteral("04-"));
    QVERIFY(!GlobalInputHook::usageIsDown(0x04));
}

void TestInputCore::mouseMessages_data()
{
    QTest::addColumn<uint>("message");
    QTest::addColumn<QString>("reported");
    QTest::newRow("left down") << 0x0201u << "f0+@100,200";
    QTest::newRow("left up") << 0x0202u << "f0-@100,200";
    QTest::newRow("left double click") << 0x0203u << "";
    QTest::newRow("right down") << 0x0204u << "f1+@100,200";
    QTest::newRow("right up") << 0x0205u << "f1-@100,200";
    QTest::newRow("right double click") << 0x0206u << "";
    QTest::newRow("middle down") << 0x0207u << "f2+@100,200";
    QTest::newRow("middle up") << 0x0208u << "f2-@100,200";
    QTest::newRow("move") << 0x0200u << "";
    QTest::newRow("middle double click") << 0x0209u << "";
    QTest::newRow("wheel") << 0x020Au << "";
    QTest::newRow("extra button") << 0x020Bu << "";
    QTest::newRow("zero") << 0u << "";
    QTest::newRow("largest") << 0xFFFFFFFFu << "";
}

void TestInputCore::mouseMessages()
{
    QFETCH(uint, message);
    QFETCH(QString, reported);
    GlobalInputHook::mouseEvent(message, 100, 200);
    QCOMPARE(reports(), reported);
}

void TestInputCore::callbacksGetTheirContext()
{
    int keyboardContext = 0;
    int mouseContext = 0;
    GlobalInputHook::setKeyboardCallback(&recordKey, &keyboardContext);
    GlobalInputHook::setMouseCallback(&recordMouse, &mouseContext);
    GlobalInputHook::keyboardEvent(0x1E, 0, true);
    QCOMPARE(s_seenContext, &keyboardContext);
    // The mouse keeps no state: every press is reported.
    GlobalInputHook::mouseEvent(0x0201, -5, 7);
    GlobalInputHook::mouseEvent(0x0201, -5, 7);
    QCOMPARE(s_seenContext, &mouseContext);
    QCOMPARE(reports(), QStringLiteral("04+ f0+@-5,7 f0+@-5,7"));
}

void TestInputCore::evdevCodesBecomeScanCodes_data()
{
    QTest::addColumn<uint>("evdev");
    QTest::addColumn<int>("scan"); // -1: none
    QTest::addColumn<bool>("extended");
    QTest::addColumn<int>("usage"); // what the core makes of it; 0: nothing
    QTest::newRow("Esc") << 1u << 0x01 << false << 0x29;
    QTest::newRow("A") << 30u << 0x1E << false << 0x04;
    QTest::newRow("Right Shift") << 54u << 0x36 << true << 0xE5;
    QTest::newRow("Left Alt") << 56u << 0x38 << false << 0xE2;
    QTest::newRow("Num Lock") << 69u << 0x45 << true << 0x53;
    QTest::newRow("Scroll Lock") << 70u << 0x46 << false << 0x47;
    QTest::newRow("F12") << 88u << 0x58 << false << 0x45;
    QTest::newRow("KP Enter") << 96u << 0x1C << true << 0x58;
    QTest::newRow("Right Ctrl") << 97u << 0x1D << true << 0xE4;
    QTest::newRow("KP /") << 98u << 0x35 << true << 0x54;
    QTest::newRow("Print") << 99u << 0x37 << true << 0x46;
    QTest::newRow("Right Alt") << 100u << 0x38 << true << 0xE6;
    QTest::newRow("Home") << 102u << 0x47 << true << 0x4A;
    QTest::newRow("Up") << 103u << 0x48 << true << 0x52;
    QTest::newRow("Page Up") << 104u << 0x49 << true << 0x4B;
    QTest::newRow("Left") << 105u << 0x4B << true << 0x50;
    QTest::newRow("Right") << 106u << 0x4D << true << 0x4F;
    QTest::newRow("End") << 107u << 0x4F << true << 0x4D;
    QTest::newRow("Down") << 108u << 0x50 << true << 0x51;
    QTest::newRow("Page Down") << 109u << 0x51 << true << 0x4E;
    QTest::newRow("Insert") << 110u << 0x52 << true << 0x49;
    QTest::newRow("Delete") << 111u << 0x53 << true << 0x4C;
    QTest::newRow("Pause") << 119u << 0x45 << false << 0x48;
    QTest::newRow("Left Meta") << 125u << 0x5B << true << 0xE3;
    QTest::newRow("Right Meta") << 126u << 0x5C << true << 0;
    QTest::newRow("Menu") << 127u << 0x5D << true << 0x65;
    QTest::newRow("F23") << 193u << 0x6E << false << 0x72;
    QTest::newRow("reserved 0") << 0u << -1 << false << 0;
    QTest::newRow("past the plain range") << 89u << -1 << false << 0;
    QTest::newRow("mute") << 113u << -1 << false << 0;
    QTest::newRow("largest") << 0xFFFFFFFFu << -1 << false << 0;
}

void TestInputCore::evdevCodesBecomeScanCodes()
{
    QFETCH(uint, evdev);
    QFETCH(int, scan);
    QFETCH(bool, extended);
    QFETCH(int, usage);
    const std::optional<PcScanCode> code = scanCodeForEvdev(evdev);
    QCOMPARE(code.has_value(), scan >= 0);
    if (!code)
        return;
    QCOMPARE(int(code->scanCode), scan);
    QCOMPARE(code->extended, extended);
    GlobalInputHook::keyboardEvent(code->scanCode, code->extended ? Ext : 0, true);
    QCOMPARE(reports(),
             usage ? QString::number(usage, 16).rightJustified(2, QLatin1Char('0')) + QLatin1Char('+')
                   : QString());
}

void TestInputCore::withoutXInputTheProgramsWindowsReport_data()
{
    // Key events as Qt delivers them to a window: the native scan code is the X key code (evdev + 8).
    // Positive: pressed; negative: released; above 0xFFFF: the desktop's repeat of a held key.
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<bool>(
        "systemWindow");             // false: a window without a platform window (the scene's offscreen one)
    QTest::addColumn<bool>("click"); // then a left click at (12, 34)
    QTest::addColumn<QString>("expected");

    QTest::newRow("a letter") << QList<int>{38, -38} << true << false << "04+ 04-";
    QTest::newRow("an extended key (right Ctrl)") << QList<int>{105, -105} << true << false << "e4+ e4-";
    QTest::newRow("the desktop's repeat") << QList<int>{38, 0x10000 + 38, -38} << true << false << "04+ 04-";
    QTest::newRow("no X key code") << QList<int>{5, -5} << true << false << "";
    QTest::newRow("a click") << QList<int>{} << true << true << "f0+@12,34 f0-@12,34";
    QTest::newRow("handed on to the offscreen scene") << QList<int>{38, -38} << false << true << "";
}

void TestInputCore::withoutXInputTheProgramsWindowsReport()
{
    QFETCH(QList<int>, keys);
    QFETCH(bool, systemWindow);
    QFETCH(bool, click);
    QFETCH(QString, expected);

    // No X display: XInput 2 is out of reach, as in a Wayland session without XWayland.
    const QByteArray display = qgetenv("DISPLAY");
    qunsetenv("DISPLAY");
    const bool installed = GlobalInputHook::installHooks();
    qputenv("DISPLAY", display);
    QVERIFY(installed);

    QWindow window;
    if (systemWindow)
        window.create();
    for (const int key : keys) {
        const quint32 code = quint32(std::abs(key) & 0xFFFF);
        QKeyEvent event(key < 0 ? QEvent::KeyRelease : QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier,
                        code, 0, 0, QString(), key > 0xFFFF);
        QCoreApplication::sendEvent(&window, &event);
    }
    if (click) {
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, QPointF(2, 4), QPointF(12, 34), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QCoreApplication::sendEvent(&window, &event);
        }
    }
    GlobalInputHook::removeHooks();
    QCOMPARE(reports(), expected);
}

void TestInputCore::keyNameMapHoldsEveryName()
{
    keyNameMap.insert(QStringLiteral("left over"), 0x99);
    buildKeyNameMap();
    QCOMPARE(keyNameMap.size(), 132);
    QVERIFY(!keyNameMap.contains(QStringLiteral("left over")));

    QSet<uchar> codes;
    for (auto it = keyNameMap.cbegin(); it != keyNameMap.cend(); ++it)
        codes.insert(it.value());
    QCOMPARE(codes.size(), 132);

    QCOMPARE(keyNameMap.value(QStringLiteral("\\ |")), uchar(0x31));
    QCOMPARE(keyNameMap.value(QStringLiteral("' \"")), uchar(0x34));
    QCOMPARE(keyNameMap.value(QStringLiteral("KP 7 ")), uchar(0x5F));
    QVERIFY(!keyNameMap.contains(QStringLiteral("KP 7")));
    QCOMPARE(keyNameMap.value(QStringLiteral("Intl'2")), uchar(0x88));
    QCOMPARE(keyNameMap.value(QStringLiteral("Int'l 2")), uchar(0x89));
    QCOMPARE(keyNameMap.value(QString(QChar(0x25BA))), uchar(0x4F));
    QCOMPARE(keyNameMap.value(QString(QChar(0x25C4))), uchar(0x50));
    QCOMPARE(keyNameMap.value(QString(QChar(0x25BC))), uchar(0x51));
    QCOMPARE(keyNameMap.value(QString(QChar(0x25B2))), uchar(0x52));
    QCOMPARE(keyNameMap.value(QStringLiteral("MS-B5")), uchar(0xF4));
    QVERIFY(!keyNameMap.contains(QStringLiteral("a")));
}

QTEST_MAIN(TestInputCore)
#include "tst_inputcore.moc"
