// The real dialogs of the settings, found while they are open, checked and answered.
#include "myqquickview.h"
#include "testrunfolder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLocalServer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QStringList messages()
{
    return {QString(),
            QString(),
            QStringLiteral("Picture"),
            QStringLiteral("Cannot open:\n"),
            QStringLiteral("Careful"),
            QStringLiteral("Really?"),
            QString()};
}

// Hands the first modal dialog of type Dialog to answer, then stops looking.
template<typename Dialog>
class DialogAnswerer
{
public:
    explicit DialogAnswerer(std::function<void(Dialog *)> answer)
        : m_answer(std::move(answer))
    {
        m_poll.callOnTimeout([this] {
            auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            m_poll.stop();
            ++seen;
            m_answer(dialog);
        });
        m_poll.start(20);
    }
    int seen = 0;

private:
    std::function<void(Dialog *)> m_answer;
    QTimer m_poll;
};

struct BoxSeen
{
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QAbstractButton *defaultButton = nullptr;
    QAbstractButton *cancel = nullptr;
};

BoxSeen look(QMessageBox *box)
{
    return {box->windowTitle(), box->text(), box->standardButtons(), box->defaultButton(),
            box->button(QMessageBox::Cancel)};
}

} // namespace

class TestSettingsDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void confirmationOk();
    void confirmationClosed();
    void unreadablePictureWarns();
};

void TestSettingsDialogs::confirmationOk()
{
    TestRunFolder folder;
    myQQuickView view;
    view.msgTable = messages();
    BoxSeen seen;
    DialogAnswerer<QMessageBox> answerer([&](QMessageBox *box) {
        seen = look(box);
        box->button(QMessageBox::Ok)->click();
    });
    QVERIFY(view.getMsgAns_FoolProofing());
    QCOMPARE(answerer.seen, 1);
    QCOMPARE(seen.title, QStringLiteral("Careful"));
    QCOMPARE(seen.text, QStringLiteral("Really?"));
    QCOMPARE(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(seen.defaultButton && seen.defaultButton == seen.cancel);
}

void TestSettingsDialogs::confirmationClosed()
{
    TestRunFolder folder;
    myQQuickView view;
    view.msgTable = messages();
    DialogAnswerer<QMessageBox> answerer([](QMessageBox *box) { box->close(); });
    QVERIFY(!view.getMsgAns_FoolProofing());
    QCOMPARE(answerer.seen, 1);
}

void TestSettingsDialogs::unreadablePictureWarns()
{
    TestRunFolder folder;
    // A socket is a file that exists and that nobody, root included, can open for reading.
    const QString unreadable = QDir::current().absoluteFilePath(QStringLiteral("socket.png"));
    QLocalServer socket;
    QVERIFY(socket.listen(unreadable));
    myQQuickView view;
    view.msgTable = messages();

    QStringList filters;
    QString caption;
    DialogAnswerer<QFileDialog> fileAnswerer([&](QFileDialog *dialog) {
        caption = dialog->windowTitle();
        filters = dialog->nameFilters();
        dialog->selectFile(unreadable);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    BoxSeen seen;
    DialogAnswerer<QMessageBox> boxAnswerer([&](QMessageBox *box) {
        seen = look(box);
        box->button(QMessageBox::Ok)->click();
    });

    QCOMPARE(view.getCustomFilePath(), QString());
    QCOMPARE(fileAnswerer.seen, 1);
    QCOMPARE(caption, QStringLiteral("Open File"));
    QCOMPARE(filters, QStringList{QStringLiteral("Image Files(*.png)")});
    QCOMPARE(boxAnswerer.seen, 1);
    QCOMPARE(seen.title, QStringLiteral("Picture"));
    QCOMPARE(seen.text, QStringLiteral("Cannot open:\n") + unreadable);
    QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

QTEST_MAIN(TestSettingsDialogs)
#include "tst_settings_dialogs.moc"
