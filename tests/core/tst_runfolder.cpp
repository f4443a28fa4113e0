// Where the program runs from: portable beside its executable, or installed with a per-user copy of the data.
#include "files.h"
#include "settings/runfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using runfolder::Mode;
using namespace support;

class TestRunFolderChoice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void addMissingFiles_data();
    void addMissingFiles();
    void choose_data();
    void choose();
    void laterRunsAddShippedFilesAndKeepTheUsers();
    void installedDataLiesBesideTheBinFolder();
};

namespace {

// The shipped tree every case starts from.
const QMap<QString, QByteArray> kShipped = {
    {QStringLiteral("setting/apConfig.bin"), "[common]\nname=shipped\n"},
    {QStringLiteral("setting/p_Vesk.bin"), "[common]\ncurProfile=1\n"},
    {QStringLiteral("i18n/lang_025044.ini"), "shipped language"},
    {QStringLiteral("img/skin1/gun/0/0.png"), "picture"},
};

void writeShipped(const QString &modules)
{
    for (auto it = kShipped.cbegin(); it != kShipped.cend(); ++it)
        QVERIFY(writeFile(modules + QLatin1Char('/') + it.key(), it.value()));
}

} // namespace

void TestRunFolderChoice::addMissingFiles_data()
{
    // What the user's folder holds before: path → content ("<dir>" a folder, "<link>" a dangling link).
    QTest::addColumn<QVariantMap>("before");
    QTest::addColumn<int>("copied");

    QTest::newRow("empty folder receives every file") << QVariantMap{} << 4;
    QTest::newRow("changed file is the user's")
        << QVariantMap{{QStringLiteral("setting/apConfig.bin"), QByteArray("[common]\nname=mine\n")}} << 3;
    QTest::newRow("empty file is the user's")
        << QVariantMap{{QStringLiteral("setting/p_Vesk.bin"), QByteArray()}} << 3;
    QTest::newRow("folder in place of a file is the user's")
        << QVariantMap{{QStringLiteral("i18n/lang_025044.ini"), QByteArray("<dir>")}} << 3;
    QTest::newRow("dangling link is the user's")
        << QVariantMap{{QStringLiteral("img/skin1/gun/0/0.png"), QByteArray("<link>")}} << 3;
}

void TestRunFolderChoice::addMissingFiles()
{
    QFETCH(QVariantMap, before);
    QFETCH(int, copied);

    QTemporaryDir dir;
    const QString shipped = dir.filePath(QStringLiteral("shipped/modules"));
    const QString user = dir.filePath(QStringLiteral("user/modules"));
    writeShipped(shipped);
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const QString path = user + QLatin1Char('/') + it.key();
        const QByteArray content = it.value().toByteArray();
        QDir().mkpath(QFileInfo(path).path());
        if (content == "<dir>")
            QVERIFY(QDir().mkpath(path));
        else if (content == "<link>")
            QVERIFY(QFile::link(dir.filePath(QStringLiteral("nowhere")), path));
        else
            QVERIFY(writeFile(path, content));
    }

    const runfolder::CopyResult result = runfolder::addMissingFiles(shipped, user);
    QCOMPARE(result.copied, copied);
    QVERIFY(result.ok());
    for (auto it = kShipped.cbegin(); it != kShipped.cend(); ++it) {
        const QString path = user + QLatin1Char('/') + it.key();
        if (!before.contains(it.key())) {
            QCOMPARE(readFileOrMissing(path), it.value());
            QVERIFY(QFileInfo(path).isWritable());
            continue;
        }
        const QByteArray mine = before.value(it.key()).toByteArray();
        if (mine == "<dir>")
            QVERIFY(QFileInfo(path).isDir());
        else if (mine == "<link>")
            QVERIFY(QFileInfo(path).isSymLink());
        else
            QCOMPARE(readFileOrMissing(path), mine);
    }
}

void TestRunFolderChoice::choose_data()
{
    QTest::addColumn<QString>("besideProgram"); // "dir", "file" or "" for what lies at <program>/modules
    QTest::addColumn<bool>("installedData");
    QTest::addColumn<bool>("userFolderUsable");
    QTest::addColumn<int>("mode");

    QTest::newRow("writable modules beside the program") << "dir" << true << true << int(Mode::Portable);
    QTest::newRow("nothing beside the program") << "" << true << true << int(Mode::Installed);
    QTest::newRow("a file named modules beside the program")
        << "file" << true << true << int(Mode::Installed);
    QTest::newRow("user folder unusable") << "" << true << false << int(Mode::Temporary);
    QTest::newRow("no installed data") << "" << false << true << int(Mode::ExecutableFallback);
}

void TestRunFolderChoice::choose()
{
    QFETCH(QString, besideProgram);
    QFETCH(bool, installedData);
    QFETCH(bool, userFolderUsable);
    QFETCH(int, mode);

    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("usr/bin"));
    const QString data = dir.filePath(QStringLiteral("usr/share/vesk-config"));
    QVERIFY(QDir().mkpath(program));
    if (besideProgram == QLatin1String("dir"))
        QVERIFY(writeFile(program + QStringLiteral("/modules/setting/apConfig.bin"), "portable"));
    else if (besideProgram == QLatin1String("file"))
        QVERIFY(writeFile(program + QStringLiteral("/modules"), "not a folder"));
    if (installedData)
        writeShipped(data + QStringLiteral("/modules"));
    // A folder below a plain file can never be created, not even by root.
    QString user = dir.filePath(QStringLiteral("home/.local/share/vesk-config"));
    if (!userFolderUsable) {
        QVERIFY(writeFile(dir.filePath(QStringLiteral("home/.local")), "a file"));
        user = dir.filePath(QStringLiteral("home/.local/share/vesk-config"));
    }

    const runfolder::RunFolder run = runfolder::choose(program, data, user);
    QCOMPARE(int(run.mode), mode);
    switch (Mode(mode)) {
    case Mode::Portable:
        QCOMPARE(run.path, program);
        QCOMPARE(readFileOrMissing(program + QStringLiteral("/modules/setting/apConfig.bin")),
                 QByteArray("portable"));
        QVERIFY(!QFileInfo::exists(user));
        break;
    case Mode::Installed:
        QCOMPARE(run.path, user);
        QCOMPARE(readFileOrMissing(user + QStringLiteral("/modules/setting/apConfig.bin")),
                 kShipped.value(QStringLiteral("setting/apConfig.bin")));
        break;
    case Mode::Temporary:
        QVERIFY(run.temporary);
        QCOMPARE(run.path, run.temporary->path());
        QCOMPARE(readFileOrMissing(run.path + QStringLiteral("/modules/i18n/lang_025044.ini")),
                 QByteArray("shipped language"));
        break;
    case Mode::ExecutableFallback:
        QCOMPARE(run.path, program);
        QVERIFY(!QFileInfo::exists(user));
        break;
    }
}

void TestRunFolderChoice::laterRunsAddShippedFilesAndKeepTheUsers()
{
    QTemporaryDir dir;
    const QString program = dir.filePath(QStringLiteral("bin"));
    const QString data = dir.filePath(QStringLiteral("share/vesk-config"));
    const QString user = dir.filePath(QStringLiteral("user/vesk-config"));
    QVERIFY(QDir().mkpath(program));
    writeShipped(data + QStringLiteral("/modules"));

    QCOMPARE(runfolder::choose(program, data, user).mode, Mode::Installed);
    // The user changes a setting and removes a language; an update ships a new file and a new default.
    const QString config = user + QStringLiteral("/modules/setting/apConfig.bin");
    QVERIFY(writeFile(config, "[common]\nname=mine\n"));
    QVERIFY(QFile::remove(user + QStringLiteral("/modules/i18n/lang_025044.ini")));
    QVERIFY(writeFile(data + QStringLiteral("/modules/i18n/lang_031225.ini"), "new language"));
    QVERIFY(writeFile(data + QStringLiteral("/modules/setting/apConfig.bin"), "[common]\nname=updated\n"));

    const runfolder::RunFolder second = runfolder::choose(program, data, user);
    QCOMPARE(second.mode, Mode::Installed);
    QCOMPARE(readFileOrMissing(config), QByteArray("[common]\nname=mine\n"));
    QCOMPARE(readFileOrMissing(user + QStringLiteral("/modules/i18n/lang_031225.ini")),
             QByteArray("new language"));
    // A shipped file the user lacks comes back, whatever the reason it is missing.
    QCOMPARE(readFileOrMissing(user + QStringLiteral("/modules/i18n/lang_025044.ini")),
             QByteArray("shipped language"));
}

void TestRunFolderChoice::installedDataLiesBesideTheBinFolder()
{
    QCOMPARE(runfolder::installedDataFolder(QStringLiteral("/usr/bin")),
             QStringLiteral("/usr/share/vesk-config"));
    QCOMPARE(runfolder::installedDataFolder(QStringLiteral("/opt/vesk/bin")),
             QStringLiteral("/opt/vesk/share/vesk-config"));
}

QTEST_GUILESS_MAIN(TestRunFolderChoice)
#include "tst_runfolder.moc"
