// The recoil tables of the three games and the selection of each fire-key slot.
#include "files.h"
#include "myqquickview.h"
#include "testrunfolder.h"

#include <QTest>

using namespace support;

namespace {

const QString Gun = QStringLiteral("modules/gun/");

QVariantList table(int game)
{
    QVariantList values;
    for (int w = 0; w < 12; ++w)
        values << (w == 3 ? QStringLiteral("SCAR, \"L\"; 7") : QStringLiteral("G%1-%2").arg(game).arg(w)) << w
               << -w << 20 + w << w % 4 << 1 << w % 2;
    return values;
}

} // namespace

class TestGunData : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void tableRoundTrip();
    void missingFilesAreNeverCreated();
    void storedTables_data();
    void storedTables();
    void refusedTables_data();
    void refusedTables();
    void selection_data();
    void selection();
    void shippedTables();
};

void TestGunData::tableRoundTrip()
{
    TestRunFolder folder;
    for (int g = 0; g < 3; ++g)
        writeFile(Gun + QStringLiteral("gunData%1.bin").arg(g), "[gunData]\n");
    {
        myQQuickView view;
        for (int g = 0; g < 3; ++g)
            view.saveGundata(g, table(g));
    }
    myQQuickView view;
    for (int g = 0; g < 3; ++g)
        QCOMPARE(texts(view.getGundata(QString::number(g))), texts(table(g)));
}

void TestGunData::missingFilesAreNeverCreated()
{
    TestRunFolder folder;
    myQQuickView view;
    view.saveGundata(1, table(1));
    view.saveSelGundata(0, {1, 7});
    QVERIFY(!QFile::exists(Gun + QStringLiteral("gunData1.bin")));
    QVERIFY(!QFile::exists(Gun + QStringLiteral("selGunData.bin")));
    QCOMPARE(view.getGundata(1), QVariantList());
    QCOMPARE(view.getSelGundata(0), QVariantList());
}

void TestGunData::storedTables_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("values");

    QTest::newRow("five records give 35 values")
        << QByteArray("[gunData]\n0=A, 0, 0, 1, 1, 1, 0\n1=B, 1, 0, 1, 1, 1, 0\n2=C, 2, 0, 1, 1, 1, 0\n"
                      "3=D, 3, 0, 1, 1, 1, 0\n4=E, 4, 0, 1, 1, 1, 0\n")
        << 35;
    QTest::newRow("a record that is not a list gives nothing")
        << QByteArray("[gunData]\n0=A, 0, 0, 1, 1, 1, 0\n1=damaged\n") << 7;
    QTest::newRow("empty file") << QByteArray("") << 0;
}

void TestGunData::storedTables()
{
    QFETCH(QByteArray, file);
    QFETCH(int, values);
    TestRunFolder folder;
    writeFile(Gun + QStringLiteral("gunData2.bin"), file);
    myQQuickView view;
    QCOMPARE(view.getGundata(2).size(), values);
}

void TestGunData::refusedTables_data()
{
    QTest::addColumn<QVariant>("gameNo");
    QTest::addColumn<int>("values");

    QTest::newRow("game 3") << QVariant(3) << 84;
    QTest::newRow("game -1") << QVariant(-1) << 84;
    QTest::newRow("game 1.5") << QVariant(1.5) << 84;
    QTest::newRow("game as a path") << QVariant(QStringLiteral("0/../gunData1")) << 84;
    QTest::newRow("no game") << QVariant() << 84;
    QTest::newRow("83 values") << QVariant(1) << 83;
    QTest::newRow("85 values") << QVariant(1) << 85;
}

void TestGunData::refusedTables()
{
    QFETCH(QVariant, gameNo);
    QFETCH(int, values);
    TestRunFolder folder;
    const QByteArray stored = "[gunData]\n0=A, 0, 0, 1, 1, 1, 0\n";
    writeFile(Gun + QStringLiteral("gunData1.bin"), stored);
    QDir().mkpath(Gun + QStringLiteral("gunData0")); // so that "gunData0/../gunData1.bin" would resolve
    myQQuickView view;
    QVariantList data = table(1);
    data.resize(values);
    view.saveGundata(gameNo, data);
    QCOMPARE(readFile(Gun + QStringLiteral("gunData1.bin")), stored);
    if (values == 84)
        QCOMPARE(view.getGundata(gameNo), QVariantList());
}

void TestGunData::selection_data()
{
    QTest::addColumn<QVariant>("slot");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("slot 2 holds game 1, gun 7")
        << QVariant(2) << QStringList{QStringLiteral("1"), QStringLiteral("7")};
    QTest::newRow("slot given as text")
        << QVariant(QStringLiteral("1")) << QStringList{QStringLiteral("1"), QStringLiteral("7")};
    QTest::newRow("slot 3 does not exist") << QVariant(3) << QStringList();
    QTest::newRow("slot -1 does not exist") << QVariant(-1) << QStringList();
    QTest::newRow("slot that is no number") << QVariant(QStringLiteral("x")) << QStringList();
}

void TestGunData::selection()
{
    QFETCH(QVariant, slot);
    QFETCH(QStringList, stored);
    TestRunFolder folder;
    const QByteArray initial = "[gunData]\n0=0, 0\n";
    writeFile(Gun + QStringLiteral("selGunData.bin"), initial);
    {
        myQQuickView view;
        view.saveSelGundata(slot, {1, 7});
    }
    myQQuickView view;
    QCOMPARE(texts(view.getSelGundata(slot)), stored);
    if (stored.isEmpty())
        QCOMPARE(readFile(Gun + QStringLiteral("selGunData.bin")), initial);
    QCOMPARE(texts(view.getSelGundata(0)), (QStringList{QStringLiteral("0"), QStringLiteral("0")}));
}

void TestGunData::shippedTables()
{
    TestRunFolder folder;
    for (const QString &name : {QStringLiteral("gunData0.bin"), QStringLiteral("gunData1.bin"),
                                QStringLiteral("gunData2.bin"), QStringLiteral("selGunData.bin")})
        writeFile(Gun + name, shippedFile(QStringLiteral("gun/") + name));
    myQQuickView view;

    const QStringList names = {QStringLiteral("VECTOR"),    QStringLiteral("UZI"),
                               QStringLiteral("TMX"),       QStringLiteral("UNP9"),
                               QStringLiteral("AKM"),       QStringLiteral("M16A4"),
                               QStringLiteral("SCAR-L_7"),  QStringLiteral("M416"),
                               QStringLiteral("TOMMY GUN"), QStringLiteral("RIFLE")};
    const int y[] = {27, 18, 50, 28, 43, 35, 35, 45, 25, 40};
    for (int g = 0; g < 3; ++g) {
        const QStringList values = texts(view.getGundata(g));
        QCOMPARE(values.size(), 84);
        for (int w = 0; w < 12; ++w) {
            const QStringList record = values.mid(7 * w, 7);
            const bool named = g == 0 && w < 10;
            const QStringList expected = {named ? names.at(w) : QString(),
                                          QString::number(w),
                                          QStringLiteral("0"),
                                          QString::number(named ? y[w] : 5),
                                          named ? QStringLiteral("0") : QStringLiteral("6"),
                                          QStringLiteral("1"),
                                          g == 0 ? QStringLiteral("0") : QStringLiteral("1")};
            QCOMPARE(record, expected);
        }
    }
    for (int slot = 0; slot < 3; ++slot)
        QCOMPARE(texts(view.getSelGundata(slot)), (QStringList{QStringLiteral("0"), QStringLiteral("0")}));
}

QTEST_MAIN(TestGunData)
#include "tst_gundata.moc"
