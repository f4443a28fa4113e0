// The application configuration file and the two questions of the settings, answered through the view's
// dialog seams.
#include "files.h"
#include "myqquickview.h"
#include "settings/settingsfile.h"
#include "testrunfolder.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

using namespace support;

namespace {

const QString ApConfig = QStringLiteral("modules/setting/apConfig.bin");
const QString ApConfigDefaults = QStringLiteral("modules/setting/apConfigD.bin");

// Answers the dialogs as told and remembers what they were asked.
class AnsweringView : public myQQuickView
{
public:
    QString fileAnswer;
    QMessageBox::StandardButton boxAnswer = QMessageBox::NoButton;

    QStringList fileQuestion; // caption, start directory, filter
    int fileQuestions = 0;
    struct Box
    {
        QString title;
        QString text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton;
    };
    QList<Box> boxes;

protected:
    QString askOpenFileName(const QString &caption, const QString &directory, const QString &filter) override
    {
        ++fileQuestions;
        fileQuestion = {caption, directory, filter};
        return fileAnswer;
    }
    QMessageBox::StandardButton askWarning(const QString &title, const QString &text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) override
    {
        boxes.append({title, text, buttons, defaultButton});
        return boxAnswer;
    }
};

QStringList messages()
{
    return {QStringLiteral("m0"),      QStringLiteral("m1"),
            QStringLiteral("Picture"), QStringLiteral("Cannot open:\n"),
            QStringLiteral("Careful"), QStringLiteral("Really?"),
            QStringLiteral("m6")};
}

QVariantList fullList()
{
    QVariantList list{2, 0, 0, 1, 3, true, QStringLiteral("file:/home/u/a, b.png"), 1};
    for (int i = 8; i <= 28; ++i)
        list.append(i * 9);
    list << 4 << 7 << QStringLiteral("https://vesk.example.com/a?b=1;c");
    return list;
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void savedListLoadsBack();
    void loadApConfig_data();
    void loadApConfig();
    void shorterSaveKeepsTheOlderKeys();
    void resetLoadsTheDefaults();
    void resetWithoutDefaultsKeepsTheConfiguration();
    void fileReplacedWithinOneTickIsReadAnew();
    void veskValues_data();
    void veskValues();
    void shippedConfiguration();
    void customFilePath_data();
    void customFilePath();
    void confirmation_data();
    void confirmation();
};

void TestSettings::savedListLoadsBack()
{
    TestRunFolder folder;
    {
        myQQuickView view;
        view.saveApConfig(fullList());
    }
    // A later run reads the file afresh: values come back as the text the file holds.
    myQQuickView view;
    QCOMPARE(texts(view.loadApConfig()), texts(fullList()));
    QCOMPARE(view.apConfigStore->value(QStringLiteral("common/total")).toInt(), 32);
}

void TestSettings::loadApConfig_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("total 3, only entry 0")
        << QByteArray("[common]\ntotal=3\n0=2\n")
        << QStringList{QStringLiteral("2"), QStringLiteral("0"), QStringLiteral("0")};
    QTest::newRow("entries beyond the total")
        << QByteArray("[common]\ntotal=1\n0=2\n1=5\n") << QStringList{QStringLiteral("2")};
    QTest::newRow("no total") << QByteArray("[common]\n0=2\n") << QStringList();
    QTest::newRow("negative total") << QByteArray("[common]\ntotal=-4\n0=2\n") << QStringList();
    QTest::newRow("no file") << QByteArray() << QStringList();
}

void TestSettings::loadApConfig()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, expected);
    TestRunFolder folder(file);
    myQQuickView view;
    QCOMPARE(texts(view.loadApConfig()), expected);
}

void TestSettings::shorterSaveKeepsTheOlderKeys()
{
    TestRunFolder folder;
    myQQuickView view;
    view.saveApConfig(fullList());
    const QVariantList five = fullList().mid(0, 5);
    view.saveApConfig(five);
    QCOMPARE(texts(view.loadApConfig()), texts(five));
    view.apConfigStore->sync();
    const QByteArray text = readFile(ApConfig);
    QVERIFY(text.contains("\ntotal=5\n"));
    QVERIFY(text.contains("\n5=true\n"));
    QVERIFY(text.contains("\n31=\"https://vesk.example.com/a?b=1;c\"\n"));

    // A damaged total reads no more than a bounded number of entries.
    view.apConfigStore->setValue(QStringLiteral("common/total"), 2000000000);
    QCOMPARE(view.loadApConfig().size(), 1024);
}

void TestSettings::resetLoadsTheDefaults()
{
    TestRunFolder folder;
    writeFile(ApConfigDefaults, "[common]\nname=Factory\ntotal=2\n0=2\n1=7\n[Vesk]\ndpiBase=50\n");
    myQQuickView view;
    view.saveApConfig(fullList()); // unsynced changes must not reach the replaced file
    view.resetApconfig();

    QCOMPARE(texts(view.loadApConfig()), (QStringList{QStringLiteral("2"), QStringLiteral("7")}));
    QCOMPARE(view.vesk_getApConfig(QStringLiteral("dpiBase")).toInt(), 50);
    QCOMPARE(view.applicationName(), QStringLiteral("Factory"));
    QCOMPARE(readFile(ApConfig), readFile(ApConfigDefaults));
}

void TestSettings::fileReplacedWithinOneTickIsReadAnew()
{
    // What a reset right after APPLY can leave: the defaults have the size of the file they replace, and both
    // were written within one millisecond. QSettings' cache of the file would serve the applied values.
    TestRunFolder folder;
    const QString path = QStringLiteral("store.ini");
    // Written twice: QSettings keeps in its cache only a file that existed when it last wrote it.
    for (const int value : {0, 1}) {
        QSettings store(path, QSettings::IniFormat);
        store.setValue(QStringLiteral("common/7"), value);
    }
    const settingsfile::Stamp before = settingsfile::stampOf(path);
    QByteArray bytes = readFile(path);
    QVERIFY(bytes.contains("7=1"));
    bytes.replace("7=1", "7=0");
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(before.modified, QFileDevice::FileModificationTime));
    }

    settingsfile::markReplaced(path, before);
    QSettings store(path, QSettings::IniFormat);
    QCOMPARE(store.value(QStringLiteral("common/7")).toInt(), 0);
}

void TestSettings::resetWithoutDefaultsKeepsTheConfiguration()
{
    TestRunFolder folder;
    myQQuickView view;
    view.saveApConfig(fullList());
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QStringLiteral("configuration defaults cannot be read")));
    view.resetApconfig();
    QCOMPARE(texts(view.loadApConfig()), texts(fullList()));
    QCOMPARE(view.applicationName(), QStringLiteral("Vesk Test Title"));
}

void TestSettings::veskValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("number") << QStringLiteral("dpiBase") << QVariant(QStringLiteral("50"));
    QTest::newRow("list") << QStringLiteral("dpiValue")
                          << QVariant(QStringList{QStringLiteral("400"), QStringLiteral("800")});
    QTest::newRow("absent key is the integer 0") << QStringLiteral("colorMaxStage") << QVariant(0);
    QTest::newRow("key of another group") << QStringLiteral("name") << QVariant(0);
}

void TestSettings::veskValues()
{
    QFETCH(QString, key);
    QFETCH(QVariant, expected);
    TestRunFolder folder("[common]\nname=T\n[Vesk]\ndpiBase=50\ndpiValue=400, 800\n");
    myQQuickView view;
    const QVariant value = view.vesk_getApConfig(key);
    QCOMPARE(value.metaType(), expected.metaType());
    QCOMPARE(value, expected);
}

void TestSettings::shippedConfiguration()
{
    const QByteArray shipped = shippedFile(QStringLiteral("setting/apConfig.bin"));
    QCOMPARE(shippedFile(QStringLiteral("setting/apConfigD.bin")), shipped);
    TestRunFolder folder(shipped);
    myQQuickView view;
    QCOMPARE(view.applicationName(), QStringLiteral("Vesk Mouse Configuration"));

    // One product name per entry of the supported-device list.
    const QSettings devices(QStringLiteral(VESK_SHIPPED_MODULES "/../device/DevInfo.ini"),
                            QSettings::IniFormat);
    const QStringList products =
        view.apConfigStore->value(QStringLiteral("common/product_name")).toStringList();
    QCOMPARE(products.size(), devices.value(QStringLiteral("common/total")).toInt());
    QVERIFY(!products.contains(QString()));

    const QVariantList list = view.loadApConfig();
    QCOMPARE(list.size(), 32);
    QCOMPARE(list.at(0).toInt(), 2);
    QSet<QString> colours;
    for (int c = 0; c < 7; ++c) {
        QStringList rgb;
        for (int i = 0; i < 3; ++i) {
            const int component = list.at(8 + 3 * c + i).toInt();
            QVERIFY(component >= 0 && component <= 255);
            rgb.append(QString::number(component));
        }
        colours.insert(rgb.join(u','));
    }
    QCOMPARE(colours.size(), 7);
    QVERIFY(list.at(29).toInt() >= 0 && list.at(29).toInt() <= 6);
    QVERIFY(list.at(30).toInt() >= 0 && list.at(30).toInt() <= 7);
    QVERIFY(QUrl(list.at(31).toString(), QUrl::StrictMode).isValid());

    QCOMPARE(view.vesk_getApConfig(QStringLiteral("colorMaxStage")).toInt(), 6);
    const QStringList effects = view.vesk_getApConfig(QStringLiteral("effectEnable")).toStringList();
    QCOMPARE(effects.size(), 11);
    for (const QString &effect : effects)
        QVERIFY2(effect == QLatin1String("true") || effect == QLatin1String("false"), qPrintable(effect));
    const int dpiBase = view.vesk_getApConfig(QStringLiteral("dpiBase")).toInt();
    QCOMPARE(dpiBase, 50);
    const QStringList dpiValues = view.vesk_getApConfig(QStringLiteral("dpiValue")).toStringList();
    QCOMPARE(dpiValues.size(), 18);
    int previous = 0;
    for (const QString &text : dpiValues) {
        const int dpi = text.toInt();
        // A stage travels as DPI / dpiBase in one byte.
        QVERIFY2(dpi > previous && dpi % dpiBase == 0 && dpi / dpiBase <= 255, qPrintable(text));
        previous = dpi;
    }
}

void TestSettings::customFilePath_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("readable");

    QTest::newRow("cancelled") << QString() << false;
    QTest::newRow("readable picture") << QStringLiteral("picture.png") << true;
    QTest::newRow("missing file") << QStringLiteral("gone.png") << false;
    QTest::newRow("folder that cannot be read as a file") << QStringLiteral("folder.png") << false;
}

void TestSettings::customFilePath()
{
    QFETCH(QString, answer);
    QFETCH(bool, readable);
    TestRunFolder folder;
    writeFile(QStringLiteral("picture.png"), "\x89PNG");
    QDir().mkdir(QStringLiteral("folder.png"));
    AnsweringView view;
    view.msgTable = messages();
    view.fileAnswer = answer.isEmpty() ? answer : QDir::current().absoluteFilePath(answer);

    const QString result = view.getCustomFilePath();
    QCOMPARE(view.fileQuestions, 1);
    QCOMPARE(view.fileQuestion,
             (QStringList{QStringLiteral("Open File"),
                          QStandardPaths::writableLocation(QStandardPaths::PicturesLocation),
                          QStringLiteral("Image Files(*.png)")}));
    QCOMPARE(result, readable ? view.fileAnswer : QString());
    const bool warned = !answer.isEmpty() && !readable;
    QCOMPARE(view.boxes.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(view.boxes.at(0).title, QStringLiteral("Picture"));
        QCOMPARE(view.boxes.at(0).text, QStringLiteral("Cannot open:\n") + view.fileAnswer);
        QCOMPARE(view.boxes.at(0).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QCOMPARE(view.boxes.at(0).defaultButton, QMessageBox::NoButton);
    }
}

void TestSettings::confirmation_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("messagesLoaded");
    QTest::addColumn<bool>("goesOn");

    QTest::newRow("OK") << int(QMessageBox::Ok) << true << true;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << true << false;
    QTest::newRow("box gave no answer") << int(QMessageBox::NoButton) << true << false;
    // Without a mouse at start no language is loaded: the box speaks English rather than nothing.
    QTest::newRow("before any language is loaded") << int(QMessageBox::Ok) << false << true;
}

void TestSettings::confirmation()
{
    QFETCH(int, answer);
    QFETCH(bool, messagesLoaded);
    QFETCH(bool, goesOn);
    TestRunFolder folder;
    AnsweringView view;
    if (messagesLoaded)
        view.msgTable = messages();
    view.boxAnswer = QMessageBox::StandardButton(answer);

    QCOMPARE(view.getMsgAns_FoolProofing(), goesOn);
    QCOMPARE(view.boxes.size(), 1);
    QCOMPARE(view.boxes.at(0).title, messagesLoaded ? QStringLiteral("Careful") : QStringLiteral("WARNING"));
    QCOMPARE(view.boxes.at(0).text,
             messagesLoaded
                 ? QStringLiteral("Really?")
                 : QStringLiteral("No other key will work as the left button.\nDo you want to go on?"));
    QCOMPARE(view.boxes.at(0).buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(view.boxes.at(0).defaultButton, QMessageBox::Cancel);
}

QTEST_MAIN(TestSettings)
#include "tst_settings.moc"
