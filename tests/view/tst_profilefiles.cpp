// Export, import and reset of one profile slot: what reaches the files, what the mirror holds afterwards, and
// every refusal.

#include "viewtest.h"

#include <QElapsedTimer>
#include <QFileDialog>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

using namespace viewtest;

class TestProfileFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init() { vmouse::reset(); }

    void exportSlot2ThenImportIntoSlot4();
    void exportReplacesAnExistingFile();
    void exportRefusedKeepsTheExistingFile();
    void cancelledExportChangesNothing();
    void importTakesWhatTheFileLacks_data();
    void importTakesWhatTheFileLacks();
    void cancelledImportReloadsTheMirror();
    void importRefusals_data();
    void importRefusals();
    void resetRewritesProfile0AndTheSlot_data();
    void resetRewritesProfile0AndTheSlot();
    void resetRefusedWithoutCompleteDefaults();
    void slotOutsideTheProfilesAsksNothing_data();
    void slotOutsideTheProfilesAsksNothing();
    void realDialogsShowCaptionFilterAndDesktop_data();
    void realDialogsShowCaptionFilterAndDesktop();

private:
    QTemporaryDir m_home;
};

namespace {

// A view whose file dialogs return a prepared answer and remember how they were asked.
class AnsweringView : public myQQuickView
{
public:
    QString answer;
    QStringList asked; // "save|caption|dir|filter"

protected:
    QString askSaveFileName(const QString &caption, const QString &dir, const QString &filter) override
    {
        asked.append(QStringList{QStringLiteral("save"), caption, dir, filter}.join(QLatin1Char('|')));
        return answer;
    }
    QString askOpenFileName(const QString &caption, const QString &dir, const QString &filter) override
    {
        asked.append(QStringList{QStringLiteral("open"), caption, dir, filter}.join(QLatin1Char('|')));
        return answer;
    }
};

// A working store whose profiles differ from one another in every group.
QByteArray distinctStore()
{
    QByteArray text = "[common]\ncurProfile=1\n\n";
    const QList<QPair<QByteArray, int>> groups = {
        {"matrix_fw", 64}, {"other_fw", 3}, {"profile_fw", 128}, {"profile_sw", 4}};
    for (const auto &[group, length] : groups) {
        text += "[" + group + "]\n";
        for (int p = 0; p < 6; ++p)
            text += QByteArray::number(p) + "=" + listText(pattern(p * 3 + length, length)).toLatin1() + "\n";
        text += "dirty=false, true, false, false, false, false\n\n";
    }
    return text;
}

QStringList allKeys(const QString &path)
{
    const QSettings file(path, QSettings::IniFormat);
    return file.allKeys();
}

QVariant valueOf(const QString &path, const QString &key)
{
    const QSettings file(path, QSettings::IniFormat);
    return file.value(key);
}

} // namespace

void TestProfileFiles::initTestCase()
{
    qRegisterMetaType<QList<uchar>>("QList<uchar>");
    // The desktop is looked up in a home of the test's own.
    qputenv("HOME", m_home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", (m_home.path() + QStringLiteral("/.config")).toUtf8());
    QDir(m_home.path()).mkpath(QStringLiteral("Desktop"));
}

void TestProfileFiles::exportSlot2ThenImportIntoSlot4()
{
    TestRunFolder folder;
    installStores(distinctStore());
    const QString exported = folder.path() + QStringLiteral("/slot2.pf");
    {
        AnsweringView view;
        view.answer = exported;
        view.vesk_saveProfile(2);
        QCOMPARE(view.asked.size(), 1);
    }
    // A copy of the whole store, carrying the exported index; the store keeps that index too.
    QCOMPARE(readFile(exported), readFile(kStorePath));
    QCOMPARE(iniText(readFile(kStorePath), QStringLiteral("common"), QStringLiteral("importProfile")),
             QStringLiteral("2"));

    const QByteArray before = readFile(kStorePath);
    AnsweringView view;
    view.answer = exported;
    view.vesk_loadProfile(4);
    view.profileStore->sync();
    const QByteArray after = readFile(kStorePath);
    for (const QString &key : allKeys(kStorePath)) {
        const QString group = key.section(QLatin1Char('/'), 0, 0);
        const QString name = key.section(QLatin1Char('/'), 1);
        if (name == QLatin1String("4"))
            QCOMPARE(iniText(after, group, name), iniText(before, group, QStringLiteral("2")));
        else
            QCOMPARE(iniText(after, group, name), iniText(before, group, name));
    }
    QCOMPARE(allKeys(kStorePath).size(), 4 * 7 + 2);
    // The mirror follows the store; the dirty lists are not touched.
    QCOMPARE(view.profile_fw[4], view.profile_fw[2]);
    QCOMPARE(view.other_fw[4], view.other_fw[2]);
    QCOMPARE(view.profileDirty.at(1).toBool(), true);
}

void TestProfileFiles::exportReplacesAnExistingFile()
{
    TestRunFolder folder;
    installStores();
    const QString target = folder.path() + QStringLiteral("/old.pf");
    writeFile(target, QByteArray(5000, 'x'));
    AnsweringView view;
    view.answer = target;
    view.vesk_saveProfile(3);
    QCOMPARE(readFile(target), readFile(kStorePath));
    QCOMPARE(valueOf(target, QStringLiteral("common/importProfile")).toInt(), 3);
    QVERIFY(QDir(folder.path()).entryList({QStringLiteral("old.pf*")}, QDir::Files).size() == 1);
}

void TestProfileFiles::exportRefusedKeepsTheExistingFile()
{
    TestRunFolder folder;
    installStores();
    const QString target = folder.path() + QStringLiteral("/keep.pf");
    writeFile(target, "[common]\nimportProfile=5\n");
    AnsweringView view;
    // The store can no longer be written: a folder has taken its place.
    QFile::remove(kStorePath);
    QDir(folder.path()).mkpath(kStorePath);
    view.answer = target;
    view.vesk_saveProfile(1);
    QCOMPARE(readFile(target), QByteArray("[common]\nimportProfile=5\n"));
}

void TestProfileFiles::cancelledExportChangesNothing()
{
    TestRunFolder folder;
    installStores();
    const QByteArray before = readFile(kStorePath);
    {
        AnsweringView view;
        view.vesk_saveProfile(2);
        QCOMPARE(view.asked.size(), 1);
    }
    QCOMPARE(readFile(kStorePath), before);
}

void TestProfileFiles::importTakesWhatTheFileLacks_data()
{
    QTest::addColumn<bool>("noPointer");        // the file has no profile_sw at all
    QTest::addColumn<bool>("noDefaultPointer"); // nor the defaults for the slot
    QTest::newRow("no exported index: its profile 0") << false << false;
    QTest::newRow("no pointer settings: the slot's defaults") << true << false;
    QTest::newRow("no pointer settings anywhere: the slot keeps its own") << true << true;
}

void TestProfileFiles::importTakesWhatTheFileLacks()
{
    QFETCH(bool, noPointer);
    QFETCH(bool, noDefaultPointer);
    TestRunFolder folder;
    installStores(distinctStore());
    QByteArray file = distinctStore();
    file.replace("[common]\ncurProfile=1\n", "");
    if (noPointer)
        file.truncate(file.indexOf("[profile_sw]"));
    if (noDefaultPointer)
        writeFile(kDefaultsPath, readFile(kDefaultsPath).replace("\n5=false, 5, 2, 5\n", "\n"));
    const QByteArray before = readFile(kStorePath);
    const QByteArray defaults = readFile(kDefaultsPath);
    const QString name = folder.path() + QStringLiteral("/noindex.pf");
    writeFile(name, file);
    AnsweringView view;
    view.answer = name;
    view.vesk_loadProfile(5);
    for (const QString &group :
         {QStringLiteral("profile_fw"), QStringLiteral("matrix_fw"), QStringLiteral("other_fw")})
        QCOMPARE(storeText(view, group, QStringLiteral("5")), iniText(file, group, QStringLiteral("0")));
    const QString pointer = storeText(view, QStringLiteral("profile_sw"), QStringLiteral("5"));
    if (!noPointer)
        QCOMPARE(pointer, iniText(file, QStringLiteral("profile_sw"), QStringLiteral("0")));
    else
        QCOMPARE(pointer, iniText(noDefaultPointer ? before : defaults, QStringLiteral("profile_sw"),
                                  QStringLiteral("5")));
    // The key matrix in the mirror follows the store with the rest.
    QCOMPARE(view.matrix_fw[5], storedValue(view, QStringLiteral("matrix_fw/5")));
    QVERIFY(!view.matrix_fw[5].isEmpty());
}

void TestProfileFiles::cancelledImportReloadsTheMirror()
{
    TestRunFolder folder;
    installStores();
    AnsweringView view;
    view.reloadProfiles();
    const QVariantList stored = view.profile_fw[1];
    // Made without a mouse: in memory only.
    view.vesk_0CH_SetDpi8Stage(pattern(77, 16));
    QVERIFY(view.profile_fw[1] != stored);
    view.vesk_loadProfile(1);
    QCOMPARE(view.asked.size(), 1);
    QCOMPARE(view.profile_fw[1], stored);
}

void TestProfileFiles::importRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("group"); // for the kinds that spoil one line of profile 2

    QTest::newRow("a FIFO, which would block") << "fifo" << QByteArray();
    QTest::newRow("a folder") << "folder" << QByteArray();
    QTest::newRow("a file that does not exist") << "missing" << QByteArray();
    QTest::newRow("a file over 1 MiB") << "huge" << QByteArray();
    QTest::newRow("not a settings file") << "text" << QByteArray();
    QTest::newRow("exported index names no profile") << "index" << QByteArray();
    for (const QByteArray group : {"profile_fw", "matrix_fw", "other_fw"})
        QTest::addRow("%s missing", group.constData()) << "drop key" << group;
    for (const QByteArray group : {"profile_sw", "profile_fw", "matrix_fw", "other_fw"})
        QTest::addRow("%s one entry short", group.constData()) << "drop entry" << group;
    QTest::newRow("matrix_fw one entry long") << "add entry" << QByteArray("matrix_fw");
    // QSettings would decode it from a data stream into any Qt type; this one would pass for the number 0.
    QTest::newRow("profile_fw with a streamed value") << "streamed" << QByteArray("profile_fw");
}

void TestProfileFiles::importRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, group);
    TestRunFolder folder;
    installStores(distinctStore());
    const QString name = folder.path() + QStringLiteral("/import.pf");
    QByteArray file = distinctStore().replace("[common]\n", "[common]\nimportProfile=2\n");
    // Where profile 2's value begins in the group's section.
    const qsizetype line = file.indexOf("\n2=", file.indexOf("[" + group + "]")) + 1;
    if (kind == QLatin1String("fifo")) {
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
    } else if (kind == QLatin1String("folder")) {
        QDir(folder.path()).mkpath(QStringLiteral("import.pf"));
    } else if (kind == QLatin1String("huge")) {
        writeFile(name, file + "[padding]\nx=" + QByteArray(1024 * 1024, 'a') + "\n");
    } else if (kind == QLatin1String("text")) {
        writeFile(name, "[profile_fw\nthis is no profile\n");
    } else if (kind == QLatin1String("index")) {
        writeFile(name, file.replace("importProfile=2", "importProfile=9"));
    } else if (kind == QLatin1String("drop key")) {
        writeFile(name, file.replace(line, 1, "x"));
    } else if (kind == QLatin1String("drop entry")) {
        writeFile(name, file.remove(line + 2, file.indexOf(", ", line) + 2 - (line + 2)));
    } else if (kind == QLatin1String("add entry")) {
        writeFile(name, file.insert(line + 2, "1, "));
    } else if (kind == QLatin1String("streamed")) {
        // In place of the first entry: the line keeps its 128 entries.
        file.remove(line + 2, file.indexOf(", ", line) - (line + 2));
        writeFile(name, file.insert(line + 2, R"(@Variant(\0\0\0\x2\0\0\0\0\x5))"));
    }
    const QByteArray before = readFile(kStorePath);

    AnsweringView view;
    view.reloadProfiles();
    view.profile_fw[3] = pattern(99); // unsaved: the refused import still reloads the mirror
    view.answer = name;
    QElapsedTimer clock;
    clock.start();
    view.vesk_loadProfile(2);
    QVERIFY(clock.elapsed() < 2000);
    view.profileStore->sync();
    QCOMPARE(readFile(kStorePath), before);
    QCOMPARE(asInts(view.profile_fw[3]), pattern(3 * 3 + 128, 128));
}

void TestProfileFiles::resetRewritesProfile0AndTheSlot_data()
{
    QTest::addColumn<int>("slot");
    QTest::newRow("slot 3 rewrites profiles 0 and 3") << 3;
    QTest::newRow("slot 0 rewrites profile 0") << 0;
}

void TestProfileFiles::resetRewritesProfile0AndTheSlot()
{
    QFETCH(int, slot);
    TestRunFolder folder;
    installStores(distinctStore());
    const QByteArray before = readFile(kStorePath);
    const QByteArray defaults = readFile(kDefaultsPath);
    AnsweringView view;
    view.reloadProfiles();
    view.matrix_fw[0] = storedValue(view, QStringLiteral("matrix_fw/0"));
    view.vesk_resetProfile(slot);
    QVERIFY(view.asked.isEmpty());
    view.profileStore->sync();
    const QByteArray after = readFile(kStorePath);
    for (const QString &key : allKeys(kStorePath)) {
        const QString group = key.section(QLatin1Char('/'), 0, 0);
        const QString name = key.section(QLatin1Char('/'), 1);
        const bool reset =
            group != QLatin1String("common") && (name == QLatin1String("0") || name == QString::number(slot));
        QCOMPARE(iniText(after, group, name), iniText(reset ? defaults : before, group, name));
    }
    QCOMPARE(view.profile_fw[slot],
             valueOf(kDefaultsPath, QStringLiteral("profile_fw/%1").arg(slot)).toList());
    QCOMPARE(view.other_fw[0], valueOf(kDefaultsPath, QStringLiteral("other_fw/0")).toList());
    // The key page reads the matrix from the mirror: the old one would go back to the mouse at its APPLY.
    QCOMPARE(view.matrix_fw[0], valueOf(kDefaultsPath, QStringLiteral("matrix_fw/0")).toList());
}

void TestProfileFiles::resetRefusedWithoutCompleteDefaults()
{
    TestRunFolder folder;
    installStores(distinctStore());
    QByteArray defaults = readFile(kDefaultsPath);
    defaults.replace("\n3=false, 5, 2, 5\n", "\n");
    writeFile(kDefaultsPath, defaults);
    const QByteArray before = readFile(kStorePath);
    {
        AnsweringView view;
        view.vesk_resetProfile(3);
        QFile::remove(kDefaultsPath);
        view.vesk_resetProfile(2);
    }
    QCOMPARE(readFile(kStorePath), before);
}

void TestProfileFiles::slotOutsideTheProfilesAsksNothing_data()
{
    QTest::addColumn<int>("slot");
    QTest::newRow("slot 6") << 6;
    QTest::newRow("slot -1") << -1;
}

void TestProfileFiles::slotOutsideTheProfilesAsksNothing()
{
    QFETCH(int, slot);
    TestRunFolder folder;
    installStores();
    const QByteArray before = readFile(kStorePath);
    {
        AnsweringView view;
        view.answer = folder.path() + QStringLiteral("/x.pf");
        view.vesk_saveProfile(slot);
        view.vesk_loadProfile(slot);
        view.vesk_resetProfile(slot);
        QVERIFY(view.asked.isEmpty());
    }
    QCOMPARE(readFile(kStorePath), before);
    QVERIFY(!QFile::exists(folder.path() + QStringLiteral("/x.pf")));
}

void TestProfileFiles::realDialogsShowCaptionFilterAndDesktop_data()
{
    QTest::addColumn<bool>("save");
    QTest::newRow("export") << true;
    QTest::newRow("import") << false;
}

void TestProfileFiles::realDialogsShowCaptionFilterAndDesktop()
{
    QFETCH(bool, save);
    TestRunFolder folder;
    installStores();
    const QByteArray before = readFile(kStorePath);
    myQQuickView view;
    QString caption;
    QStringList filters;
    QString directory;
    QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
    bool seen = false;
    QTimer poll;
    poll.callOnTimeout([&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        directory = dialog->directory().absolutePath();
        mode = dialog->acceptMode();
        dialog->reject();
    });
    poll.start(20);
    if (save)
        view.vesk_saveProfile(1);
    else
        view.vesk_loadProfile(1);
    poll.stop();

    QVERIFY(seen);
    QCOMPARE(caption, save ? QStringLiteral("Save File") : QStringLiteral("Open File"));
    QCOMPARE(filters, QStringList{QStringLiteral("Profile(*.pf)")});
    QCOMPARE(directory, QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    QCOMPARE(directory, m_home.path() + QStringLiteral("/Desktop"));
    QCOMPARE(mode, save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    view.profileStore->sync();
    QCOMPARE(readFile(kStorePath), before);
}

QTEST_MAIN(TestProfileFiles)
#include "tst_profilefiles.moc"
