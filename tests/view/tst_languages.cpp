// The language menu, the string tables and the language files shipped with the program.
#include "files.h"
#include "lang/languagefiles.h"
#include "myqquickview.h"
#include "testrunfolder.h"

#include <QSettings>
#include <QTest>

using namespace support;

namespace {

const QString I18n = QStringLiteral("modules/i18n/");

QStringList strings(std::initializer_list<const char *> list)
{
    QStringList result;
    for (const char *s : list)
        result.append(QString::fromUtf8(s));
    return result;
}

QStringList empties(int count)
{
    return QStringList(count, QString());
}

// The general strings the shipped files hold: 1 … 167.
constexpr int GeneralStrings = 167;

// General strings the pages show, by index; the rest of 1 … 140 are spare.
bool pagesUse(int index)
{
    // The design's list leaves some entries empty; the device notices, the firmware label, the empty page's
    // hint and the controls' tips follow it.
    return (index != 118 && index != 127 && index != 128 && index < 135) ||
           (index >= 141 && index <= GeneralStrings);
}

// The mouse's keys: 0–6 (buttons, DPI switch, gun key), 14 and 15 (wheel).
bool mouseHasKey(int key)
{
    return key <= 6 || key >= 14;
}

} // namespace

class TestLanguages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menuName_data();
    void menuName();
    void languageMenu_data();
    void languageMenu();
    void generalStrings_data();
    void generalStrings();
    void productLayoutStrings_data();
    void productLayoutStrings();
    void shippedLanguageFiles_data();
    void shippedLanguageFiles();
    void configuredLanguageIsEnglish();
};

void TestLanguages::menuName_data()
{
    QTest::addColumn<int>("language");
    QTest::addColumn<int>("country");
    QTest::addColumn<QString>("name");

    QTest::newRow("Chinese in China") << 25 << 44 << QStringLiteral("CHINESE (Simp)");
    QTest::newRow("Chinese in Taiwan") << 25 << 208 << QStringLiteral("CHINESE (Trad)");
    QTest::newRow("Chinese in Hong Kong, words separated")
        << 25 << 97 << QStringLiteral("CHINESE (HONG KONG)");
    QTest::newRow("English in the United States") << 31 << 225 << QStringLiteral("ENGLISH (UNITED STATES)");
    QTest::newRow("English, any country") << 31 << 0 << QStringLiteral("ENGLISH");
    QTest::newRow("Swiss German in Switzerland")
        << 167 << 206 << QStringLiteral("SWISS GERMAN (SWITZERLAND)");
    QTest::newRow("last numbers of Qt 4")
        << 234 << 246 << QStringLiteral("YANGBEN (LATIN AMERICA AND THE CARIBBEAN)");
    QTest::newRow("numbers Qt 4 did not know") << 235 << 247 << QStringLiteral("UNKNOWN (UNKNOWN)");
}

void TestLanguages::menuName()
{
    QFETCH(int, language);
    QFETCH(int, country);
    QFETCH(QString, name);
    QCOMPARE(LanguageFiles::menuName(language, country), name);
}

void TestLanguages::languageMenu_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QVariantMap>("menu");

    QTest::newRow("Chinese simplified and traditional, English with and without country")
        << strings({"lang_025044.ini", "lang_025208.ini", "lang_031225.ini", "lang_031000.ini"})
        << QVariantMap{{QStringLiteral("CHINESE (Simp)"), QStringLiteral("025044")},
                       {QStringLiteral("CHINESE (Trad)"), QStringLiteral("025208")},
                       {QStringLiteral("ENGLISH (UNITED STATES)"), QStringLiteral("031225")},
                       {QStringLiteral("ENGLISH"), QStringLiteral("031000")}};
    QTest::newRow("two files of one name make one entry, the later wins")
        << strings({"lang_900225.ini", "lang_950225.ini"})
        << QVariantMap{{QStringLiteral("UNKNOWN (UNITED STATES)"), QStringLiteral("950225")}};
    QTest::newRow("a copy beside a file is no language file")
        << strings({"lang_031225.ini", "lang_031225 (copy).ini"})
        << QVariantMap{{QStringLiteral("ENGLISH (UNITED STATES)"), QStringLiteral("031225")}};
    QTest::newRow("codes that are not six digits")
        << strings({"lang_03122.ini", "lang_0312250.ini", "lang_abcdef.ini", "lang_03 225.ini", "lang_.ini"})
        << QVariantMap();
    QTest::newRow("a folder named like a file") << strings({"lang_031225.ini/"}) << QVariantMap();
    QTest::newRow("no language folder") << QStringList() << QVariantMap();
}

void TestLanguages::languageMenu()
{
    QFETCH(QStringList, files);
    QFETCH(QVariantMap, menu);
    TestRunFolder folder;
    for (const QString &file : files) {
        if (file.endsWith(u'/'))
            QDir().mkpath(I18n + file);
        else
            writeFile(I18n + file, "[font]\nfamily=Arial\n");
    }
    myQQuickView view;
    QCOMPARE(view.chkLanguages(), menu);
}

void TestLanguages::generalStrings_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("general");
    QTest::addColumn<QStringList>("messages");

    const QByteArray messages = "[msg]\n0=a\n1=b\n2=c\n3=d\n4=e\n5=f\n6=g\n7=h\n";
    const QStringList seven = strings({"a", "b", "c", "d", "e", "f", "g"});
    QTest::newRow("total 3 gives four entries; strings/0 and strings/4 unread")
        << QStringLiteral("031225")
        << "[font]\nfamily=Arial\ntotal=3\n[strings]\n0=zero\n1=one\n2=two\n3=three\n4=four\n" + messages
        << strings({"Arial", "one", "two", "three"}) << seven;
    QTest::newRow("missing strings and messages read empty")
        << QStringLiteral("031225") << QByteArray("[font]\ntotal=2\n[strings]\n2=two\n[msg]\n1=b\n")
        << strings({"", "", "two"}) << strings({"", "b", "", "", "", "", ""});
    QTest::newRow("UTF-8 text and an unquoted comma")
        << QStringLiteral("025044")
        << QByteArray(
               "[font]\nfamily=Noto Sans CJK SC\ntotal=2\n[strings]\n1=\xe9\x80\x89\xe9\xa1\xb9\n2=A, B\n")
        << strings({"Noto Sans CJK SC", "选项", "A, B"}) << empties(7);
    QTest::newRow("missing file") << QStringLiteral("025208") << QByteArray() << empties(1) << empties(7);
    QTest::newRow("not a language code")
        << QStringLiteral("../../x") << QByteArray() << empties(1) << empties(7);
}

void TestLanguages::generalStrings()
{
    QFETCH(QString, code);
    QFETCH(QByteArray, file);
    QFETCH(QStringList, general);
    QFETCH(QStringList, messages);
    TestRunFolder folder;
    if (!file.isNull())
        writeFile(I18n + QStringLiteral("lang_%1.ini").arg(code), file);
    myQQuickView view;
    view.msgTable = strings({"old"});
    QCOMPARE(view.getGlobalStrings(code), general);
    QCOMPARE(view.msgTable, messages);
}

void TestLanguages::productLayoutStrings_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("expected");

    QStringList layout = empties(16);
    layout[0] = QStringLiteral("LEFT");
    layout[15] = QStringLiteral("SCROLL DOWN");
    QTest::newRow("sixteen, the missing ones empty") << QStringLiteral("031225") << layout;
    QTest::newRow("missing file") << QStringLiteral("031000") << empties(16);
    QTest::newRow("not a language code") << QStringLiteral("31225") << empties(16);
}

void TestLanguages::productLayoutStrings()
{
    QFETCH(QString, code);
    QFETCH(QStringList, expected);
    TestRunFolder folder;
    writeFile(I18n + QStringLiteral("lang_031225.ini"),
              "[Vesk_133C6AA]\n0=LEFT\n15=SCROLL DOWN\n16=no key\n");
    writeFile(I18n + QStringLiteral("lang_31225.ini"), "[Vesk_133C6AA]\n0=LEFT\n");
    myQQuickView view;
    QCOMPARE(view.vesk_getProductLayoutStrings(code), expected);
}

void TestLanguages::shippedLanguageFiles_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("English, United States") << QStringLiteral("031225");
    QTest::newRow("Chinese, China") << QStringLiteral("025044");
}

void TestLanguages::shippedLanguageFiles()
{
    QFETCH(QString, code);
    const QString name = QStringLiteral("lang_%1.ini").arg(code);
    TestRunFolder folder;
    writeFile(I18n + name, shippedFile(QStringLiteral("i18n/") + name));
    myQQuickView view;

    const QStringList general = view.getGlobalStrings(code);
    QCOMPARE(general.size(), GeneralStrings + 1);
    QVERIFY(!general.at(0).isEmpty());
    for (int i = 1; i <= GeneralStrings; ++i)
        QVERIFY2(general.at(i).isEmpty() != pagesUse(i), qPrintable(QStringLiteral("string %1").arg(i)));
    QCOMPARE(view.msgTable.size(), 7);
    for (int i = 2; i <= 5; ++i)
        QVERIFY2(!view.msgTable.at(i).isEmpty(), qPrintable(QStringLiteral("message %1").arg(i)));

    const QStringList keys = view.vesk_getProductLayoutStrings(code);
    QCOMPARE(keys.size(), 16);
    for (int key = 0; key < 16; ++key)
        QVERIFY2(keys.at(key).isEmpty() != mouseHasKey(key), qPrintable(QStringLiteral("key %1").arg(key)));

    if (code == QLatin1String("031225")) {
        // Positions the scene's built-in list fixes.
        QCOMPARE(general.at(1), QStringLiteral("OPTIONS"));
        QCOMPARE(general.at(59), QStringLiteral("PLAY / PAUSE"));
        QCOMPARE(general.at(114), QStringLiteral("ALL SAVE"));
        QCOMPARE(general.at(119), QStringLiteral("PRESS GUN"));
        QCOMPARE(general.at(126), QStringLiteral("USER"));
        QCOMPARE(general.at(144), QStringLiteral("FIRMWARE"));
        QCOMPARE(general.at(157), QStringLiteral("RIGHT CLICK: LOAD, SAVE OR RENAME"));
    }
}

void TestLanguages::configuredLanguageIsEnglish()
{
    // Entry 4 of the shipped configuration indexes the language menu, which is sorted by name.
    TestRunFolder folder(shippedFile(QStringLiteral("setting/apConfig.bin")));
    for (const QString &name : QDir(QStringLiteral(VESK_SHIPPED_MODULES "/i18n")).entryList(QDir::Files))
        writeFile(I18n + name, shippedFile(QStringLiteral("i18n/") + name));
    myQQuickView view;
    const QStringList menu = view.chkLanguages().keys();
    QCOMPARE(menu, strings({"CHINESE (Simp)", "ENGLISH (UNITED STATES)"}));
    QCOMPARE(menu.at(view.loadApConfig().at(4).toInt()), QStringLiteral("ENGLISH (UNITED STATES)"));
}

QTEST_MAIN(TestLanguages)
#include "tst_languages.moc"
