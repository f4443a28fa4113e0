// Macro exchange files (".mc"), renaming, and the real dialogs the macro operations show.
#include "testrunfolder.h"
#include "viewtest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace macrotest;
using namespace support;

class TestMacroFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void importReplacesTheMacro();
    void importIntoADeletedMacroDoesNothing();
    void importKeepsOnlyAFreeSlotIndex_data();
    void importKeepsOnlyAFreeSlotIndex();
    void copiesAreWhatQt4ReadersRead_data();
    void copiesAreWhatQt4ReadersRead();
    void importFromAnUnreadableFileKeepsTheMacro_data();
    void importFromAnUnreadableFileKeepsTheMacro();
    void cancelledDialogsChangeNothing();
    void exportOfAMissingMacroAsksNothing();
    void exportReplacesAnExistingFile();
    void exportToAnImpossiblePlaceCreatesNothing();
    void exportThenImportIsByteIdentical();
    void renameMovesTheMacroWithItsSlot();
    void renameOntoAnExistingNameKeepsBoth();
    void renameOfAMissingMacroDoesNothing();

    void realOpenDialogAnswers();
    void realCutWarningShowsOneBox();

private:
    QString exchangeFile(const QString &name) const { return m_exchange.filePath(name); }

    QTemporaryDir m_home;
    QTemporaryDir m_exchange;
    std::unique_ptr<TestRunFolder> m_folder;
    std::unique_ptr<TestView> m_view;
};

namespace {

const QString A = QStringLiteral("A");
const QByteArray MacroA("[config]\nindex=4\nrepeat=2\ntotal=1\n\n[macro]\n0=A    [Down]\n");
const QByteArray Imported("[config]\nindex=-1\nrepeat=7\ntotal=1\n\n[macro]\n0=B      [Up]\n");

} // namespace

void TestMacroFiles::initTestCase()
{
    // The dialogs start on the desktop; this one belongs to the test.
    qputenv("HOME", m_home.path().toUtf8());
    qunsetenv("XDG_CONFIG_HOME");
    QVERIFY(QDir(m_home.path()).mkpath(QStringLiteral("Desktop")));
}

void TestMacroFiles::init()
{
    m_folder = std::make_unique<TestRunFolder>();
    m_view = std::make_unique<TestView>();
    QVERIFY(writeFile(libraryFile(A), MacroA));
    QVERIFY(writeFile(exchangeFile(QStringLiteral("in.mc")), Imported));
}

void TestMacroFiles::cleanup()
{
    m_view.reset();
    m_folder.reset();
    QDir(m_exchange.path()).removeRecursively();
    QDir().mkpath(m_exchange.path());
}

void TestMacroFiles::importReplacesTheMacro()
{
    QVERIFY(QFile::setPermissions(libraryFile(A), OwnerOnly | QFileDevice::ReadOther));
    m_view->openAnswer = exchangeFile(QStringLiteral("in.mc"));
    m_view->loadMacroIniFromFile(A);
    QCOMPARE(m_view->openDialogs, 1);
    // The file is in no slot; the macro keeps its own, which a key may play.
    QCOMPARE(readFileOrMissing(libraryFile(A)), QByteArray(Imported).replace("index=-1", "index=4"));
    QCOMPARE(modeBits(libraryFile(A)), OwnerOnly);
    QCOMPARE(m_view->loadMacroIni(A), QStringList{QStringLiteral("B      [Up]")});
}

void TestMacroFiles::importIntoADeletedMacroDoesNothing()
{
    m_view->openAnswer = exchangeFile(QStringLiteral("in.mc"));
    m_view->loadMacroIniFromFile(QStringLiteral("Gone"));
    QVERIFY(!QFileInfo::exists(libraryFile(QStringLiteral("Gone"))));
    QCOMPARE(m_view->getMacroIniNames(), QStringList{QStringLiteral("A.bin")});
}

void TestMacroFiles::importKeepsOnlyAFreeSlotIndex_data()
{
    QTest::addColumn<int>("fileIndex");
    QTest::addColumn<int>("ownIndex");   // the macro's before the import
    QTest::addColumn<int>("otherIndex"); // another library macro's
    QTest::addColumn<int>("index");
    QTest::newRow("a free slot of the file is kept") << 7 << 4 << -1 << 7;
    QTest::newRow("a slot another macro holds gives way to its own") << 2 << 4 << 2 << 4;
    QTest::newRow("index 100 would wrap onto a low slot") << 100 << 4 << -1 << 4;
    QTest::newRow("held slot, none of its own") << 2 << -1 << 2 << -1;
}

void TestMacroFiles::importKeepsOnlyAFreeSlotIndex()
{
    QFETCH(int, fileIndex);
    QFETCH(int, ownIndex);
    QFETCH(int, otherIndex);
    QFETCH(int, index);
    m_view->setMacroIniConfig(A, {ownIndex, 2});
    QVERIFY(writeFile(libraryFile(QStringLiteral("Other")),
                      QByteArray("[config]\nindex=") + QByteArray::number(otherIndex) + "\n"));
    QVERIFY(writeFile(exchangeFile(QStringLiteral("slot.mc")),
                      QByteArray(Imported).replace("index=-1", "index=" + QByteArray::number(fileIndex))));
    m_view->openAnswer = exchangeFile(QStringLiteral("slot.mc"));
    m_view->loadMacroIniFromFile(A);
    QCOMPARE(m_view->loadMacroIniConfig(A), (QVariantList{index, 7}));
    QCOMPARE(m_view->loadMacroIni(A), QStringList{QStringLiteral("B      [Up]")});
}

void TestMacroFiles::copiesAreWhatQt4ReadersRead_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QByteArray>("copy");
    const QByteArray head("[config]\nindex=4\nrepeat=2\ntotal=2\n\n[macro]\n");
    QTest::newRow("arrows escaped as Qt 4 wrote them")
        << head + "0=\xe2\x96\xba    [Down]\n1=\xe2\x97\x84" + "1\n"
        << head + "0=\\x25ba    [Down]\n1=\\x25c4\\x31\n";
    QTest::newRow("streamed value dropped")
        << QByteArray("[config]\nindex=4\nrepeat=@Variant(\\0\\0\\0\\x2\\0\\0\\x1\\x2c)\ntotal=0\n")
        << QByteArray("[config]\nindex=4\ntotal=0\n");
}

void TestMacroFiles::copiesAreWhatQt4ReadersRead()
{
    QFETCH(QByteArray, content);
    QFETCH(QByteArray, copy);
    QVERIFY(writeFile(libraryFile(A), content));
    m_view->saveAnswer = exchangeFile(QStringLiteral("out.mc"));
    m_view->saveMacroIniToFile(A);
    QCOMPARE(readFileOrMissing(m_view->saveAnswer), copy);

    QVERIFY(writeFile(exchangeFile(QStringLiteral("in.mc")), content));
    m_view->openAnswer = exchangeFile(QStringLiteral("in.mc"));
    m_view->loadMacroIniFromFile(A);
    QCOMPARE(readFileOrMissing(libraryFile(A)), copy);
}

void TestMacroFiles::importFromAnUnreadableFileKeepsTheMacro_data()
{
    QTest::addColumn<QString>("source");
    QTest::newRow("file vanished") << QStringLiteral("vanished.mc");
    QTest::newRow("a folder") << QStringLiteral("folder.mc");
    QTest::newRow("far too big to be a macro") << QStringLiteral("huge.mc");
}

void TestMacroFiles::importFromAnUnreadableFileKeepsTheMacro()
{
    QFETCH(QString, source);
    QVERIFY(QDir(m_exchange.path()).mkpath(QStringLiteral("folder.mc")));
    QVERIFY(writeFile(exchangeFile(QStringLiteral("huge.mc")), QByteArray(5 * 1024 * 1024, 'x')));
    m_view->openAnswer = exchangeFile(source);
    m_view->loadMacroIniFromFile(A);
    QCOMPARE(readFileOrMissing(libraryFile(A)), MacroA);
    QCOMPARE(QDir(Library).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("A.bin")});
}

void TestMacroFiles::cancelledDialogsChangeNothing()
{
    m_view->loadMacroIniFromFile(A);
    m_view->saveMacroIniToFile(A);
    QCOMPARE(m_view->openDialogs, 1);
    QCOMPARE(m_view->saveDialogs, 1);
    QCOMPARE(readFileOrMissing(libraryFile(A)), MacroA);
    QCOMPARE(QDir(m_exchange.path()).entryList(QDir::Files), QStringList{QStringLiteral("in.mc")});
}

void TestMacroFiles::exportOfAMissingMacroAsksNothing()
{
    m_view->saveAnswer = exchangeFile(QStringLiteral("out.mc"));
    m_view->saveMacroIniToFile(QStringLiteral("Gone"));
    QCOMPARE(m_view->saveDialogs, 0);
    QVERIFY(!QFileInfo::exists(m_view->saveAnswer));
}

void TestMacroFiles::exportReplacesAnExistingFile()
{
    m_view->saveAnswer = exchangeFile(QStringLiteral("in.mc"));
    m_view->saveMacroIniToFile(A);
    QCOMPARE(readFileOrMissing(m_view->saveAnswer), MacroA);

    // A new file holds what may be a recorded password: owner only.
    m_view->saveAnswer = exchangeFile(QStringLiteral("new"));
    m_view->saveMacroIniToFile(A);
    QCOMPARE(readFileOrMissing(m_view->saveAnswer), MacroA);
    QCOMPARE(modeBits(m_view->saveAnswer), OwnerOnly);
}

void TestMacroFiles::exportToAnImpossiblePlaceCreatesNothing()
{
    // Beneath a file, and onto a folder: the folder stays a folder.
    m_view->saveAnswer = exchangeFile(QStringLiteral("in.mc/out.mc"));
    m_view->saveMacroIniToFile(A);
    QCOMPARE(readFileOrMissing(exchangeFile(QStringLiteral("in.mc"))), Imported);
    QVERIFY(QDir(m_exchange.path()).mkpath(QStringLiteral("folder.mc")));
    m_view->saveAnswer = exchangeFile(QStringLiteral("folder.mc"));
    m_view->saveMacroIniToFile(A);
    QVERIFY(QFileInfo(m_view->saveAnswer).isDir());
    QCOMPARE(readFileOrMissing(libraryFile(A)), MacroA);
}

void TestMacroFiles::exportThenImportIsByteIdentical()
{
    const QString name = m_view->createMacroIni().toString();
    QVERIFY(m_view
                ->saveMacroIni(name, {QStringLiteral("; :    [Down]"), QStringLiteral("\\ |      [Up]"),
                                      QString(QChar(0x25C4)) + QStringLiteral("    [Down]")})
                .toBool());
    m_view->setMacroIniConfig(name, {3, 65535});
    const QByteArray before = readFileOrMissing(libraryFile(name));

    m_view->saveAnswer = exchangeFile(QStringLiteral("round.mc"));
    m_view->saveMacroIniToFile(name);
    m_view->openAnswer = m_view->saveAnswer;
    m_view->loadMacroIniFromFile(name);
    QCOMPARE(readFileOrMissing(libraryFile(name)), before);
    QCOMPARE(readFileOrMissing(m_view->saveAnswer), before);
}

void TestMacroFiles::renameMovesTheMacroWithItsSlot()
{
    m_view->renameMacroIniFile(A, QStringLiteral("Renamed"));
    QVERIFY(!QFileInfo::exists(libraryFile(A)));
    QCOMPARE(readFileOrMissing(libraryFile(QStringLiteral("Renamed"))), MacroA);
    QCOMPARE(m_view->loadMacroIniConfig(QStringLiteral("Renamed")), (QVariantList{4, 2}));
}

void TestMacroFiles::renameOntoAnExistingNameKeepsBoth()
{
    QVERIFY(writeFile(libraryFile(QStringLiteral("B")), Imported));
    m_view->renameMacroIniFile(A, QStringLiteral("B"));
    QCOMPARE(readFileOrMissing(libraryFile(A)), MacroA);
    QCOMPARE(readFileOrMissing(libraryFile(QStringLiteral("B"))), Imported);
}

void TestMacroFiles::renameOfAMissingMacroDoesNothing()
{
    m_view->renameMacroIniFile(QStringLiteral("Gone"), QStringLiteral("New"));
    QCOMPARE(m_view->getMacroIniNames(), QStringList{QStringLiteral("A.bin")});
}

void TestMacroFiles::realOpenDialogAnswers()
{
    QString caption;
    QStringList filters;
    QString folder;
    QTimer::singleShot(0, this, [&] {
        QFileDialog *dialog = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())),
                                 10000);
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        folder = dialog->directory().absolutePath();
        dialog->selectFile(exchangeFile(QStringLiteral("in.mc")));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    m_view->realDialogs = true;
    m_view->loadMacroIniFromFile(A);
    QCOMPARE(caption, QStringLiteral("Open File"));
    QCOMPARE(filters, QStringList{QStringLiteral("Macro(*.mc)")});
    QCOMPARE(folder, QDir(m_home.path()).absoluteFilePath(QStringLiteral("Desktop")));
    QCOMPARE(m_view->loadMacroIni(A), QStringList{QStringLiteral("B      [Up]")});
}

void TestMacroFiles::realCutWarningShowsOneBox()
{
    int boxes = 0;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QTimer::singleShot(0, this, [&] {
        QMessageBox *box = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT((box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())),
                                 10000);
        ++boxes;
        title = box->windowTitle();
        text = box->text();
        buttons = box->standardButtons();
        box->button(QMessageBox::Ok)->click();
    });
    // 63 key events encode to 130 bytes, two more than a macro slot holds.
    QStringList lines;
    for (int i = 0; i < 63; ++i)
        lines << (i % 2 ? QStringLiteral("A      [Up]") : QStringLiteral("A    [Down]"));
    QVERIFY(m_view->saveMacroIni(A, lines).toBool());
    m_view->realDialogs = true;
    m_view->vesk_0FH_SetMacroKey(1, A);
    QCOMPARE(boxes, 1);
    QCOMPARE(title, QStringLiteral("MACRO"));
    QCOMPARE(text, QStringLiteral("Out of memory,\nsome command line has been cut."));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(TestMacroFiles)
#include "tst_macrofiles.moc"
