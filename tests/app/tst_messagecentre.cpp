#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

// The message centre of the Information page: notifications and web searches for the message.
class TestMessageCentre : public QObject {
    Q_OBJECT
private slots:
    void sendChecksTheFieldsAndNumbersTheNotifications();
    void counterAndNewMessage();
    void longMessage();
    void webSearches_data();
    void webSearches();
    void searchKeysFollowTheFocus();
    void failuresAreTold();

private:
    static void openPage() { QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+7"))); }
};

void TestMessageCentre::sendChecksTheFieldsAndNumbersTheNotifications()
{
    ProgramFixture program;
    program.start();
    openPage();

    program.modal.press(QStringLiteral("OK"));
    QTest::mouseClick(mainform->bcButton, Qt::LeftButton);
    QCOMPARE(shownText(program.modal.shown.value(0).text), QStringLiteral("Der mangler en overskrift.\nIndfør en overskrift."));
    QCOMPARE(QApplication::focusWidget(), mainform->bcEdit);

    QTest::keyClicks(mainform->bcEdit, QStringLiteral("Husk"));
    program.modal.press(QStringLiteral("OK"));
    QTest::mouseClick(mainform->bcButton, Qt::LeftButton);
    QCOMPARE(shownText(program.modal.shown.value(1).text), QStringLiteral("Der mangler en tekst.\nIndfør en tekst."));
    QCOMPARE(QApplication::focusWidget(), mainform->bcMemo);
    QVERIFY(program.notifications.posted.isEmpty());

    QTest::keyClicks(mainform->bcMemo, QStringLiteral("Mælk og æg"));
    QTest::mouseClick(mainform->bcButton, Qt::LeftButton);
    QTest::mouseClick(mainform->bcButton, Qt::LeftButton);
    QCOMPARE(program.notifications.posted.size(), 2);
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(program.notifications.posted[i].name, QStringLiteral("kyx Vandel %1").arg(i + 1));
        QCOMPARE(program.notifications.posted[i].title, QStringLiteral("Husk"));
        QCOMPARE(program.notifications.posted[i].body, QStringLiteral("Mælk og æg"));
    }
    // The fields stay for the next message.
    QCOMPARE(mainform->bcEdit->text(), QStringLiteral("Husk"));
    QCOMPARE(program.modal.shown.size(), 2);
}

void TestMessageCentre::counterAndNewMessage()
{
    ProgramFixture program;
    program.start();
    openPage();
    QCOMPARE(mainform->memoLabel->text(), QStringLiteral("0"));

    // Enter in the title goes on to the message; line breaks count as two characters.
    QTest::keyClicks(mainform->bcEdit, QStringLiteral("Titel"));
    QTest::keyClick(mainform->bcEdit, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), mainform->bcMemo);
    QTest::keyClicks(mainform->bcMemo, QStringLiteral("ab"));
    QTest::keyClick(mainform->bcMemo, Qt::Key_Return);
    QTest::keyClicks(mainform->bcMemo, QStringLiteral("cd"));
    QCOMPARE(mainform->memoLabel->text(), QStringLiteral("6"));

    QTest::mouseClick(mainform->bcNyButton, Qt::LeftButton);
    QVERIFY(mainform->bcMemo->toPlainText().isEmpty());
    QVERIFY(mainform->bcEdit->text().isEmpty());
    QCOMPARE(mainform->memoLabel->text(), QStringLiteral("0"));
    QCOMPARE(QApplication::focusWidget(), mainform->bcEdit);
}

void TestMessageCentre::longMessage()
{
    ProgramFixture program;
    program.start();
    const QString text = QString(100000, QLatin1Char('x'));
    mainform->bcEdit->setText(QStringLiteral("Lang"));
    mainform->bcMemo->setPlainText(text);
    QCOMPARE(mainform->memoLabel->text(), QStringLiteral("100000"));
    mainform->bcButtonClick();
    QCOMPARE(program.notifications.posted.value(0).body, text);
}

void TestMessageCentre::webSearches_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QString>("address");

    QTest::newRow("google") << "googleUrl" << "kage & te"
                            << "https://www.google.com/search?q=kage%20%26%20te";
    QTest::newRow("bing") << "bingUrl" << "æbler #1+2"
                          << "https://www.bing.com/search?q=%C3%A6bler%20%231%2B2";
    QTest::newRow("youtube") << "tubeUrl" << "to\nlinjer"
                             << "https://www.youtube.com/results?search_query=to%0Alinjer";
    QTest::newRow("empty memo") << "googleUrl" << ""
                                << "https://www.google.com/search?q=Der%20mangler%20en%20tekst.";
}

void TestMessageCentre::webSearches()
{
    QFETCH(QString, action);
    QFETCH(QString, memo);
    QFETCH(QString, address);
    ProgramFixture program;
    program.start();
    openPage();
    mainform->bcMemo->setPlainText(memo);
    mainform->pageWidget(Tmainform::CommandPage::Information)->findChild<TAction *>(action)->trigger();
    QCOMPARE(program.browser.opened.size(), 1);
    QCOMPARE(program.browser.opened[0].toString(QUrl::FullyEncoded), address);
    if (memo.isEmpty()) {
        QCOMPARE(mainform->bcMemo->toPlainText(), QStringLiteral("Der mangler en tekst."));
        QCOMPARE(mainform->memoLabel->text(), QStringLiteral("21"));
    }
}

void TestMessageCentre::searchKeysFollowTheFocus()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    TDocumentForm *document = mainform->activeDocument();
    QTest::keyClicks(document->editor()->widget(), QStringLiteral("ordet"));
    openPage();
    mainform->bcMemo->setFocus();
    QTest::keyClicks(mainform->bcMemo, QStringLiteral("beskeden"));

    // In the message the keys search for the message, in the document for the word at its caret.
    QTest::keySequence(mainform->bcMemo, QKeySequence(QStringLiteral("Ctrl+Shift+G")));
    document->editor()->widget()->setFocus();
    QTest::keySequence(document->editor()->widget(), QKeySequence(QStringLiteral("Ctrl+Shift+B")));
    QCOMPARE(program.browser.opened.size(), 2);
    QCOMPARE(program.browser.opened[0].toString(), QStringLiteral("https://www.google.com/search?q=beskeden"));
    QCOMPARE(program.browser.opened[1].toString(), QStringLiteral("https://www.bing.com/search?q=ordet"));
}

// A message the desktop cannot show and an address no browser opens are told in the
// information box; nothing else changes.
void TestMessageCentre::failuresAreTold()
{
    ProgramFixture program;
    program.notifications.shown = false;
    program.browser.browserThere = false;
    program.start();
    openPage();
    mainform->bcEdit->setText(QStringLiteral("Husk"));
    mainform->bcMemo->setPlainText(QStringLiteral("Mælk og æg"));

    program.modal.press(QStringLiteral("OK"));
    QTest::mouseClick(mainform->bcButton, Qt::LeftButton);
    QCOMPARE(program.notifications.posted.size(), 1);
    QCOMPARE(shownText(program.modal.shown.value(0).text),
             QStringLiteral("Beskeden kunne ikke vises:\nHusk\nSkrivebordet har hverken et beskedcenter eller en systembakke."));
    QCOMPARE(mainform->bcEdit->text(), QStringLiteral("Husk"));
    QCOMPARE(mainform->bcMemo->toPlainText(), QStringLiteral("Mælk og æg"));

    program.modal.press(QStringLiteral("OK"));
    mainform->googleUrl->trigger();
    QCOMPARE(shownText(program.modal.shown.value(1).text),
             QStringLiteral("Der er ingen browser til at åbne adressen:\nhttps://www.google.com/search?q=Mælk og æg"));

    // The document windows' searches tell the same.
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    TDocumentForm *document = mainform->activeDocument();
    QTest::keyClicks(document->editor()->widget(), QStringLiteral("ordet"));
    program.modal.press(QStringLiteral("OK"));
    QTest::keySequence(document->editor()->widget(), QKeySequence(QStringLiteral("Ctrl+Shift+B")));
    QCOMPARE(program.browser.opened.size(), 2);
    QCOMPARE(shownText(program.modal.shown.value(2).text),
             QStringLiteral("Der er ingen browser til at åbne adressen:\nhttps://www.bing.com/search?q=ordet"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

QTEST_MAIN(TestMessageCentre)
#include "tst_messagecentre.moc"
