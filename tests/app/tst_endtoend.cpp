// The whole program as a user drives it, against the virtual mouse: started from a copy of its folder under
// X, clicked and typed at with xdotool, and judged by what the mouse stores afterwards (its state file).
#include "programfolder.h"
#include "xdotool.h"

#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {

const QString Title = QStringLiteral("Vesk Mouse Configuration");

// Scene positions (the window's own coordinates) of what the user clicks. The pages sit at (171, 96).
const QPoint KeyPageButton(83, 198);
const QPoint MacroPageButton(83, 248);
const QPoint ColorPageButton(83, 298);
const QPoint SensorPageButton(83, 348);

const QPoint MacroAdd(368, 126);
const QPoint MacroRecord(772, 129);
const QPoint MacroStop(806, 129);

const QPoint KeyRowForward(541, 223); // the fourth entry of the key list: key 3
const QPoint KeyFunctionMenu(778, 139);
const QPoint KeyFunctionMacro(761, 266); // the fifth entry of the open menu
const QPoint KeyMacroList(778, 189);
const QPoint KeyMacroFirst(761, 222);
const QPoint KeyApply(840, 491);

const QPoint ColorRedChannel(708, 299);
const QPoint ColorApply(851, 489);

const QPoint SensorFirstStage(399, 322);
const QPoint SensorMenu1200(469, 382); // the first stage's value menu: third column, second row
const QPoint SensorApply(841, 489);

QByteArray block(const QList<int> &values)
{
    QByteArray bytes(128, '\0');
    for (int i = 0; i < values.size() && i < bytes.size(); ++i)
        bytes[i] = char(values.at(i));
    return bytes;
}

QList<int> storedList(const QSettings &store, const QString &key)
{
    QList<int> values;
    for (const QVariant &v : store.value(key).toList())
        values.append(v.toString().trimmed().toInt());
    return values;
}

} // namespace

class TestEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void mousePluggedInLaterShowsItsValues();
    void dpiStageChangedAndApplied();
    void recordedMacroBoundToAKeyAndApplied();
    void stageColourChangedAndApplied();

private:
    void click(const QPoint &scenePoint, int button = 1);
    void apply(const QPoint &applyButton);
    void openPage(const QPoint &menuButton);
    QByteArray mouseBlock(const QString &section) const;
    QByteArray readStateBlock(const QString &section, const QString &key) const;
    void setPlugged(bool plugged);

    QTemporaryDir m_work;
    QString m_state;
    QString m_store;
    QProcess m_program;
    QPoint m_origin;
    QByteArray m_profile0;
    QByteArray m_profile1;
};

void TestEndToEnd::initTestCase()
{
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        QSKIP("xdotool is needed to drive the program");
    QVERIFY(m_work.isValid());
    const QString folder = m_work.filePath(QStringLiteral("bin"));
    QVERIFY(copyProgramFolder(QFileInfo(QStringLiteral(VESK_PROGRAM)).path(), folder));
    QVERIFY(restoreShippedSettings(QStringLiteral(VESK_SHIPPED_MODULES), folder));
    QVERIFY(
        QFile::copy(QStringLiteral(VESK_VMOUSE_LIBRARY), m_work.filePath(QStringLiteral("libvmouse.so"))));
    QDir(m_work.path()).mkpath(QStringLiteral("home"));
    QDir(m_work.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_work.filePath(QStringLiteral("run")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // The mouse stores what the shipped profiles describe, but for its second DPI stage, which it holds at
    // 1000 where the program's store says 800: the mouse is not plugged in yet when the program starts.
    const QSettings store(folder + QStringLiteral("/modules/setting/p_Vesk.bin"), QSettings::IniFormat);
    m_profile0 = block(storedList(store, QStringLiteral("profile_fw/0")));
    m_profile1 = block(storedList(store, QStringLiteral("profile_fw/1")));
    m_profile1[0x55] = char(1000 / 50);
    m_profile1[0x5D] = char(1000 / 50);
    m_state = m_work.filePath(QStringLiteral("mouse.state"));
    QFile state(m_state);
    QVERIFY(state.open(QIODevice::WriteOnly));
    QByteArray text = "[device]\nplugged=0\ncurrent_profile=1\ntwinkle=0\n";
    for (int p = 0; p < 6; ++p) {
        const QList<int> other = storedList(store, QStringLiteral("other_fw/%1").arg(p));
        const QByteArray profile =
            p == 1 ? m_profile1 : block(storedList(store, QStringLiteral("profile_fw/%1").arg(p)));
        text += "\n[profile" + QByteArray::number(p) + "]\n";
        text += "stage=" + QByteArray::number(other.value(0, 1)) + '\n';
        text += "rate=" + QByteArray::number(other.value(1, 1)) + '\n';
        text += "block=" + profile.toHex() + '\n';
        text += "matrix=" + block(storedList(store, QStringLiteral("matrix_fw/%1").arg(p))).toHex() + '\n';
    }
    state.write(text);
    state.close();
    m_store = folder + QStringLiteral("/modules/setting/p_Vesk.bin");

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), m_work.filePath(QStringLiteral("home")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_work.filePath(QStringLiteral("run")));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("LD_PRELOAD"), m_work.filePath(QStringLiteral("libvmouse.so")));
    environment.insert(QStringLiteral("VESK_VMOUSE_STATE"), m_state);
    // The sensor page sets the pointer settings: never those of whoever runs the test.
    environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"), environment.value(QStringLiteral("ASAN_OPTIONS")) +
                                                           QStringLiteral(":verify_asan_link_order=0"));
    m_program.setProcessEnvironment(environment);
    m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_program.start(folder + QStringLiteral("/vesk-config"), {});
    QVERIFY(m_program.waitForStarted());

    QStringList windows;
    QTRY_VERIFY_WITH_TIMEOUT(!(windows = xdo::windowsTitled(Title)).isEmpty(), 20000);
    m_origin = xdo::windowPosition(windows.constFirst());
    QVERIFY(m_origin.x() > -99999);
    // The opening: the logo, the bars and the frame's menus slide in.
    QTest::qWait(5000);
}

void TestEndToEnd::cleanupTestCase()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.terminate();
        if (!m_program.waitForFinished(5000)) {
            m_program.kill();
            m_program.waitForFinished();
        }
    }
}

void TestEndToEnd::click(const QPoint &scenePoint, int button)
{
    const QPoint at = m_origin + scenePoint;
    xdo::run({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y())});
    QTest::qWait(150);
    xdo::run({QStringLiteral("click"), QString::number(button)});
    QTest::qWait(350);
}

// The busy guard takes no input for up to 1.6 s after an apply.
void TestEndToEnd::apply(const QPoint &applyButton)
{
    click(applyButton);
    QTest::qWait(2000);
}

// The page slides in for half the animation time.
void TestEndToEnd::openPage(const QPoint &menuButton)
{
    click(menuButton);
    QTest::qWait(1200);
}

QByteArray TestEndToEnd::readStateBlock(const QString &section, const QString &key) const
{
    QFile file(m_state);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    bool inSection = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inSection = line == QLatin1Char('[') + section + QLatin1Char(']');
        else if (inSection && line.startsWith(key + QLatin1Char('=')))
            return QByteArray::fromHex(line.mid(key.size() + 1).remove(QLatin1Char(' ')).toLatin1());
    }
    return {};
}

QByteArray TestEndToEnd::mouseBlock(const QString &section) const
{
    return readStateBlock(section, QStringLiteral("block"));
}

// Plugging in, as a script does it to the virtual mouse: a new state file moved over the old one.
void TestEndToEnd::setPlugged(bool plugged)
{
    QFile file(m_state);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    text.replace(plugged ? "plugged=0" : "plugged=1", plugged ? "plugged=1" : "plugged=0");
    QFile next(m_state + QStringLiteral(".new"));
    QVERIFY(next.open(QIODevice::WriteOnly));
    next.write(text);
    next.close();
    QVERIFY(std::rename(qPrintable(next.fileName()), qPrintable(m_state)) == 0);
}

// Started without the mouse, the program shows its store; the mouse plugged in afterwards is read, its values
// reach the pages, and an APPLY gives the mouse back what it holds instead of the store's values.
void TestEndToEnd::mousePluggedInLaterShowsItsValues()
{
    setPlugged(true);
    // The program notices the plug, checks two seconds later and writes what the mouse holds into its store.
    QTRY_COMPARE_WITH_TIMEOUT(
        block(storedList(QSettings(m_store, QSettings::IniFormat), QStringLiteral("profile_fw/1")))
            .toHex(' '),
        m_profile1.toHex(' '), 15000);
    QTest::qWait(1000);
    openPage(SensorPageButton);
    apply(SensorApply);
    QCOMPARE(mouseBlock(QStringLiteral("profile1")).toHex(' '), m_profile1.toHex(' '));
    QCOMPARE(mouseBlock(QStringLiteral("profile0")).toHex(' '), m_profile0.toHex(' '));
    openPage(SensorPageButton); // closes the page again for the flows that follow
}

void TestEndToEnd::dpiStageChangedAndApplied()
{
    // The first DPI stage becomes 1200 from its menu; the mouse stores stages in steps of 50, twice.
    openPage(SensorPageButton);
    click(SensorFirstStage, 3);
    click(SensorMenu1200);
    apply(SensorApply);
    QByteArray expected = m_profile1;
    expected[0x54] = char(1200 / 50);
    expected[0x5C] = char(1200 / 50);
    QTRY_COMPARE_WITH_TIMEOUT(mouseBlock(QStringLiteral("profile1")).toHex(' '), expected.toHex(' '), 10000);
}

void TestEndToEnd::recordedMacroBoundToAKeyAndApplied()
{
    // A new macro, recorded from the keyboard: A and B pressed and released.
    openPage(MacroPageButton);
    click(MacroAdd);
    click(MacroRecord);
    xdo::run({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("120"), QStringLiteral("a"),
              QStringLiteral("b")});
    QTest::qWait(500);
    click(MacroStop);

    // Bound to the forward button (key 3) and sent.
    openPage(KeyPageButton);
    click(KeyRowForward);
    click(KeyFunctionMenu);
    click(KeyFunctionMacro);
    click(KeyMacroList);
    click(KeyMacroFirst);
    apply(KeyApply);

    // Macro slot 1: the repeat count 1, then A down, A up, B down, B up.
    QTRY_COMPARE_WITH_TIMEOUT(mouseBlock(QStringLiteral("macro1")).left(12).toHex(' '),
                              QByteArray("00 01 01 04 81 04 01 05 81 05 00 00"), 10000);
    // Key 3 plays macro 1 its repeat count of times.
    QTRY_COMPARE_WITH_TIMEOUT(
        readStateBlock(QStringLiteral("profile1"), QStringLiteral("matrix")).mid(12, 4).toHex(' '),
        QByteArray("09 00 01 00"), 10000);
}

void TestEndToEnd::stageColourChangedAndApplied()
{
    // The first lighting colour's red channel typed as 17: the mouse keeps the eight colours in profile 0.
    openPage(ColorPageButton);
    click(ColorRedChannel);
    xdo::run({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdo::run({QStringLiteral("type"), QStringLiteral("17")});
    xdo::run({QStringLiteral("key"), QStringLiteral("Return")});
    QTest::qWait(300);
    apply(ColorApply);
    QByteArray expected = m_profile0.mid(0x18, 3);
    expected[0] = char(17);
    QTRY_COMPARE_WITH_TIMEOUT(mouseBlock(QStringLiteral("profile0")).mid(0x18, 3).toHex(' '),
                              expected.toHex(' '), 10000);
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
