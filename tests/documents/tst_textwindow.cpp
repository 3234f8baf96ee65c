#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DiskChanges.h"
#include "documents/DocumentForm.h"
#include "documents/FindReplace.h"
#include "documents/Win1.h"
#include "lists/FavDirUnit.h"
#include "lists/filUnit.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "platform/Dialogs.h"
#include "platform/FileWatch.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"
#include "widgets/RadioGroup.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTextBlock>
#include <QWindow>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

// The plain-text document window, driven through the program's commands and keys.
class TestTextWindow : public QObject {
    Q_OBJECT
private slots:
    void newDocumentCaptionsAndInformation();
    void loadedDocumentInformation();
    void vanishedFileIsReportedAndSavedAfterQuestion();
    void saveKeepsEncodingAndLineBreaks_data();
    void saveKeepsEncodingAndLineBreaks();
    void binaryFileRoundTrips();
    void binaryLookingFileOpensOnlyWhenTheUserSaysSo_data();
    void binaryLookingFileOpensOnlyWhenTheUserSaysSo();
    void mixedLineBreaksStayPerLine_data();
    void mixedLineBreaksStayPerLine();
    void shiftEnterAndPastedSeparatorsAreLineBreaks();
    void saveAsAndOverwriteQuestion();
    void saveDialogNamesEachFilterOnce();
    void closeQuestion_data();
    void closeQuestion();
    void failedWriteKeepsDocumentOpen();
    void failedSaveTellsWhyInDanish();
    void unreadableFileOpensNothing();
    void caretPosition();
    void linesOfALongWrappedDocument();
    void bigFileLoadsWhileTheWindowShows();
    void nothingWritesAHalfLoadedDocument_data();
    void nothingWritesAHalfLoadedDocument();
    void veryLongLine();
    void wordAtCaret_data();
    void wordAtCaret();
    void popupSwitching();
    void popupStartsFromOptions();
    void rightClickMenusAreDanish();
    void controlHintsFollowTheOptions_data();
    void controlHintsFollowTheOptions();
    void diskChangeRules_data();
    void diskChangeRules();
    void fileChangedOnDisk_data();
    void fileChangedOnDisk();
    void answeredChangeIsAskedAgainOnlyWhenChangedAgain();
    void fileStillBeingWrittenIsAskedAboutOnce();
    void reloadFindsEncodingAfreshAndKeepsCaret();
    void bigFileReloadsWhileTheWindowShows();
    void ownSaveAsksNothing();
    void removedFileIsToldOnceAndClosingAsksToSave();
    void saveOverFileChangedOnDisk_data();
    void saveOverFileChangedOnDisk();

private:
    static Twinform1 *active() { return qobject_cast<Twinform1 *>(mainform->activeDocument()); }
    static QPlainTextEdit *area(Twinform1 *window)
    {
        return qobject_cast<QPlainTextEdit *>(window->editor()->widget());
    }
    // A key as the keyboard delivers it: to the window, where shortcuts are looked up before the
    // focused widget gets it.
    static void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(mainform->windowHandle(), key, modifiers);
    }
    // Types as a keyboard would, characters outside Latin-1 included: into the widget that has
    // the focus, which must be the window's text area.
    static void type(Twinform1 *window, const QString &text)
    {
        QWidget *focused = QApplication::focusWidget();
        QCOMPARE(focused, window->editor()->widget());
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    // Writes the file as another program would, in place.
    static void writeFromOutside(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    // What the window watching its file is told of the disk; a test waits on it to know that the
    // window has looked at a change.
    static Platform::FileWatch *fileWatch(TDocumentForm *window) { return window->findChild<Platform::FileWatch *>(); }
    // The user comes back to the main window after a box that came by itself, as a click on it
    // would bring it back.
    static void backToMainWindow()
    {
        mainform->activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), mainform);
    }
    // A file big enough to be loaded a slice at a time: Danish text with CR LF, every tenth line
    // long enough to wrap.
    static QByteArray bigFile()
    {
        QByteArray bytes;
        for (int line = 0; bytes.size() < 2'200'000; ++line) {
            bytes += "Linje " + QByteArray::number(line) + QStringLiteral(": blåbærgrød og æblekage").toUtf8();
            if (line % 10 == 0)
                bytes += QByteArray(" med fløde").repeated(40);
            bytes += "\r\n";
        }
        return bytes;
    }
    // Writes the bytes as "stor.txt" and opens it in a text window; the file's path.
    static QString openBigFile(ProgramFixture &program, const QByteArray &bytes)
    {
        const QString path = program.writeFile(QStringLiteral("stor.txt"), bytes);
        mainform->funk->openwin(path, QString());
        return path;
    }
    static QWidget *loadingPanel(Twinform1 *window) { return window->findChild<QWidget *>(QStringLiteral("henterPanel")); }
    static QString changedQuestion(const QString &path)
    {
        return QStringLiteral("Filen\n") + path + QStringLiteral("\ner ændret af et andet program.\nSkal den hentes igen?");
    }
};

void TestTextWindow::newDocumentCaptionsAndInformation()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(mainform->documentWindows().size(), 3);
    QCOMPARE(active()->windowTitle(), QStringLiteral("3. Dokument"));
    QCOMPARE(mainform->tc->count(), 3);
    QCOMPARE(mainform->tc->tabText(mainform->tc->currentIndex()), QStringLiteral("3. Dokument"));
    QVERIFY(active()->isMaximized());

    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Dokumentet har ikke noget navn."));
    QCOMPARE(mainform->filsizeLabel->text(), QStringLiteral("Antal tegn: 0"));
    QCOMPARE(mainform->antalLinjerLabel->text(), QStringLiteral("Antal linjer: 1"));
    QCOMPARE(mainform->filModificeretLabel->text(), QStringLiteral("Dokumentet er ikke gem."));
    QCOMPARE(mainform->docFilnavnEdit->text(), QStringLiteral("Dokumentet har ikke noget navn"));
    QCOMPARE(mainform->skiftDocFilnavnEdit->text(), mainform->filnavnEdit->text());
    QCOMPARE(active()->posLabel->text(), QStringLiteral("1,0"));

    // Typing marks the document changed; "Gem" follows the change, "Gem som" is always there.
    TAction::updateAll();
    QVERIFY(!mainform->fileGem->isEnabled());
    QVERIFY(mainform->fileGemSom->isEnabled());
    type(active(), QStringLiteral("Hej"));
    QVERIFY(mainform->docModified);
    TAction::updateAll();
    QVERIFY(mainform->fileGem->isEnabled());

    // Closing them all, the last one resets the information fields.
    program.modal.press(QStringLiteral("Nej"));
    while (TDocumentForm *window = mainform->activeDocument())
        QVERIFY(window->close());
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("Der er ingen åbne dokumenter."));
    QCOMPARE(mainform->docFilnavnEdit->text(), QStringLiteral("Der er ingen åbne dokumenter."));
    QVERIFY(mainform->filsizeLabel->text().isEmpty());
    QVERIFY(mainform->filModificeretLabel->text().isEmpty());
    QCOMPARE(mainform->tc->count(), 0);
}

void TestTextWindow::loadedDocumentInformation()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("brev.txt"), "Kære Jens\r\nHilsen\r\n");
    mainform->funk->openwin(path, QString());
    QCOMPARE(active()->windowTitle(), QStringLiteral("brev.txt"));
    QCOMPARE(mainform->dokumentFilnavn, path);
    QCOMPARE(mainform->filnavnEdit->text(), QStringLiteral("brev.txt"));
    QCOMPARE(mainform->filsizeLabel->text(), QStringLiteral("Filstørrelse: 20 bytes (17 tegn)"));
    QCOMPARE(mainform->filModificeretLabel->text(), QStringLiteral("Dokumentet er gemt"));
    QCOMPARE(filform->FavFiler2->GetFilnavn(0), path);
    QCOMPARE(filform->FavFiler2->GetCaption(0), QStringLiteral("brev.txt"));

    type(active(), QStringLiteral("x"));
    mainform->udskrivFilInfo();
    QCOMPARE(mainform->filModificeretLabel->text(), QStringLiteral("Dokumentet er ikke gemt"));

    // Closed, the file moves from the open to the closed documents.
    program.modal.press(QStringLiteral("Nej"));
    QVERIFY(active()->close());
    QCOMPARE(filform->FavFiler2->Antal(), 0);
    QCOMPARE(filform->FavFiler1->GetFilnavn(0), path);
    QVERIFY(filform->ListeForandret1 && filform->ListeForandret2);
    QCOMPARE(ProgramFixture::readFile(path), QByteArray("Kære Jens\r\nHilsen\r\n"));
}

void TestTextWindow::vanishedFileIsReportedAndSavedAfterQuestion()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("væk.txt"), "tekst");
    mainform->funk->openwin(path, QString());
    QVERIFY(QFile::remove(path));
    mainform->udskrivFilInfo();
    QCOMPARE(mainform->filModificeretLabel->text(),
             QStringLiteral("Dokumentet eksisterer ikke. Muligvis slettet eller omdøbt."));
    QCOMPARE(mainform->filsizeLabel->text(), QStringLiteral("Antal tegn: 5"));
    QVERIFY(mainform->docModified);

    program.modal.press(QStringLiteral("Ja"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text, QStringLiteral("Skal dokumentet gemmes med følgende filnavn:\nvæk.txt?"));
    QCOMPARE(ProgramFixture::readFile(path), QByteArray("tekst"));
    QVERIFY(!mainform->docModified);
}

void TestTextWindow::saveKeepsEncodingAndLineBreaks_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("saved"); // after typing "Å" at the start
    QTest::newRow("Windows-1252, CR LF") << QByteArray("bl\xe5" "b\xe6r\r\nost\r\n") << QByteArray("\xc5" "bl\xe5" "b\xe6r\r\nost\r\n");
    QTest::newRow("UTF-8 with mark, LF") << QByteArray("\xEF\xBB\xBF" "a\nb\n") << QByteArray("\xEF\xBB\xBF\xC3\x85" "a\nb\n");
    QTest::newRow("UTF-8, CR") << QByteArray("a\rb") << QByteArray("\xC3\x85" "a\rb");
    QTest::newRow("UTF-16 LE") << QByteArray("\xFF\xFE" "a\0\r\0\n\0", 8) << QByteArray("\xFF\xFE\xC5\0" "a\0\r\0\n\0", 10);
}

void TestTextWindow::saveKeepsEncodingAndLineBreaks()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, saved);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("doc.txt"), original);
    mainform->funk->openwin(path, QString());
    type(active(), QStringLiteral("Å"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(ProgramFixture::readFile(path), saved);
    QVERIFY(!active()->editor()->isModified());
    QCOMPARE(mainform->filModificeretLabel->text(), QStringLiteral("Dokumentet er gemt"));
}

void TestTextWindow::binaryFileRoundTrips()
{
    ProgramFixture program;
    program.start();
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    const QString path = program.writeFile(QStringLiteral("data.bin.txt"), bytes);
    program.modal.press(QStringLiteral("Ja"));
    mainform->funk->openwin(path, QString());
    QCOMPARE(mainform->documentWindows().size(), 1);
    QVERIFY(active()->Gem());
    QCOMPARE(ProgramFixture::readFile(path), bytes);

    // A character the remembered encoding cannot hold moves the file to UTF-8 with a mark.
    type(active(), QStringLiteral("λ"));
    QVERIFY(active()->Gem());
    QVERIFY(ProgramFixture::readFile(path).startsWith("\xEF\xBB\xBF\xCE\xBB"));
}

void TestTextWindow::binaryLookingFileOpensOnlyWhenTheUserSaysSo_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("asks");
    QByteArray random;
    quint32 seed = 12345;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1664525u + 1013904223u;
        random.append(char(seed >> 24));
    }
    QTest::newRow("random bytes") << random << true;
    QTest::newRow("one NUL byte") << QByteArray("tekst\0mere tekst\r\n", 18) << true;
    QTest::newRow("mostly control characters") << QByteArray("\x01\x02\x03\x04\x05a\x06\x07\x0e\x0f") << true;
    QTest::newRow("text with tabs, form feed and Danish letters")
        << QByteArray("bl\xe5\tb\xe6r\f\r\nost\x1b[0m\r\n") << false;
    QTest::newRow("empty file") << QByteArray() << false;
}

void TestTextWindow::binaryLookingFileOpensOnlyWhenTheUserSaysSo()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, asks);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("data.txt"), bytes);
    program.modal.press(QStringLiteral("Nej"));
    mainform->funk->openwin(path, QString());
    QCOMPARE(program.modal.shown.size(), asks ? 1 : 0);
    QCOMPARE(mainform->documentWindows().size(), asks ? 0 : 1);
    if (!asks)
        return;
    QCOMPARE(program.modal.shown[0].text,
             shownText(QStringLiteral("Filen\r") + path
                       + QStringLiteral("\rser ud til at være en binær fil og kan blive ødelagt, hvis den gemmes.\r"
                                        "Skal den åbnes alligevel?")));

    // Opened anyway, an edit at the end changes nothing before it: lone CRs and LFs stay.
    program.modal.press(QStringLiteral("Ja"));
    mainform->funk->openwin(path, QString());
    QCOMPARE(mainform->documentWindows().size(), 1);
    active()->editor()->widget()->setFocus();
    key(Qt::Key_End, Qt::ControlModifier);
    type(active(), QStringLiteral("x"));
    QVERIFY(active()->Gem());
    QCOMPARE(ProgramFixture::readFile(path), bytes + "x");
}

void TestTextWindow::mixedLineBreaksStayPerLine_data()
{
    QTest::addColumn<QByteArray>("original");
    QTest::addColumn<QByteArray>("saved"); // after Enter and "ny" at the end of the first line
    QTest::newRow("mostly CR LF") << QByteArray("en\r\nto\ntre\r\nfire\rfem\r\n")
                                  << QByteArray("en\r\nny\r\nto\ntre\r\nfire\rfem\r\n");
    QTest::newRow("mostly LF") << QByteArray("en\nto\r\ntre\nfire") << QByteArray("en\nny\nto\r\ntre\nfire");
    QTest::newRow("mostly CR") << QByteArray("en\r\rto\rtre\n") << QByteArray("en\rny\r\rto\rtre\n");
    QTest::newRow("one style") << QByteArray("en\r\nto\r\n") << QByteArray("en\r\nny\r\nto\r\n");
}

void TestTextWindow::mixedLineBreaksStayPerLine()
{
    QFETCH(QByteArray, original);
    QFETCH(QByteArray, saved);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("blandet.txt"), original);
    mainform->funk->openwin(path, QString());
    QVERIFY(active()->Gem());
    QCOMPARE(ProgramFixture::readFile(path), original);

    active()->editor()->widget()->setFocus();
    key(Qt::Key_Home, Qt::ControlModifier);
    key(Qt::Key_End);
    key(Qt::Key_Return);
    type(active(), QStringLiteral("ny"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(ProgramFixture::readFile(path), saved);
}

void TestTextWindow::shiftEnterAndPastedSeparatorsAreLineBreaks()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("dansk.txt"), QByteArray("bl\xe5" "b\xe6r\r\n"));
    mainform->funk->openwin(path, QString());
    active()->editor()->widget()->setFocus();
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Return, Qt::ShiftModifier);
    type(active(), QStringLiteral("x"));
    QApplication::clipboard()->setText(QStringLiteral("a") + QChar(QChar::LineSeparator) + QStringLiteral("b")
                                       + QChar(QChar::ParagraphSeparator) + QStringLiteral("c"));
    key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!active()->editor()->text().contains(QChar(QChar::LineSeparator)));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    // Still Windows-1252 with CR LF: no character forced the file into UTF-8.
    QCOMPARE(ProgramFixture::readFile(path), QByteArray("bl\xe5" "b\xe6r\r\n\r\nxa\r\nb\r\nc"));
}

void TestTextWindow::saveAsAndOverwriteQuestion()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    type(active(), QStringLiteral("første"));
    const QString existing = program.writeFile(QStringLiteral("gammel.txt"), "gammel");

    // The dialog proposes "UdenNavn" with the text filter; "Nej" to overwriting changes nothing.
    program.dialogs.saveAnswers.enqueue(existing);
    program.modal.press(QStringLiteral("Nej"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    QCOMPARE(program.dialogs.saveRequests.size(), 1);
    QCOMPARE(program.dialogs.saveRequests[0].fileName, QStringLiteral("UdenNavn"));
    QCOMPARE(program.dialogs.saveRequests[0].filterIndex, 1);
    QCOMPARE(program.dialogs.saveRequests[0].defaultExtension, QStringLiteral(".txt"));
    QCOMPARE(program.modal.shown[0].text,
             QStringLiteral("Der eksisterer allerede en fil med indførte navn.\nSkal filen overskrives?"));
    QCOMPARE(ProgramFixture::readFile(existing), QByteArray("gammel"));
    QCOMPARE(active()->windowTitle(), QStringLiteral("1. Dokument"));

    // "Ja" writes it, renames window and tab, and lists the file as open.
    program.dialogs.saveAnswers.enqueue(existing);
    program.modal.press(QStringLiteral("Ja"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    QCOMPARE(ProgramFixture::readFile(existing), QByteArray("første"));
    QCOMPARE(active()->windowTitle(), QStringLiteral("gammel.txt"));
    QCOMPARE(mainform->tc->tabText(0), QStringLiteral("gammel.txt"));
    QCOMPARE(mainform->dokumentFilnavn, existing);
    QCOMPARE(filform->FavFiler2->GetFilnavn(0), existing);

    // Next time the dialog opens at the file; a cancel leaves everything as it was.
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    QCOMPARE(program.dialogs.saveRequests.last().fileName, QStringLiteral("gammel.txt"));
    QCOMPARE(program.dialogs.saveRequests.last().folder, QDir::toNativeSeparators(program.workFolder()));
    QCOMPARE(active()->windowTitle(), QStringLiteral("gammel.txt"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

// The system's save dialog lists each file type once, by the name the program gives it, in
// Danish; a name typed without an extension gets the chosen type's.
void TestTextWindow::saveDialogNamesEachFilterOnce()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    type(active(), QStringLiteral("brev"));
    QStringList types;
    QString acceptCaption;
    const QString typed = QDir(program.workFolder()).filePath(QStringLiteral("brev"));
    program.modal.answer([&](QDialog &box) {
        if (auto *combo = box.findChild<QComboBox *>(QStringLiteral("fileTypeCombo")))
            for (int i = 0; i < combo->count(); ++i)
                types << combo->itemText(i);
        if (auto *name = box.findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(typed);
        if (auto *buttons = box.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox")))
            acceptCaption = buttons->button(QDialogButtonBox::Save)->text().remove(QLatin1Char('&'));
        pressButton(box, acceptCaption);
    });
    Platform::setDialogs(nullptr); // the system's own dialog
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    Platform::setDialogs(&program.dialogs);
    QCOMPARE(types, QStringList({"Tekstdokument (.txt)", "Rich Tekstdokument (.rtf)", "Alle filtyper (*.*)"}));
    QCOMPARE(acceptCaption, QStringLiteral("Gem"));
    QCOMPARE(ProgramFixture::readFile(typed + QStringLiteral(".txt")), QByteArray("brev"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestTextWindow::closeQuestion_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("dialogCancelled");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QByteArray>("onDisk");
    QTest::newRow("Nej keeps the file") << true << "Nej" << false << true << QByteArray("start");
    QTest::newRow("Ja saves") << true << "Ja" << false << true << QByteArray("nystart");
    // Leaving the box without an answer takes the close back.
    QTest::newRow("window button keeps it open") << true << "close" << false << false << QByteArray("start");
    QTest::newRow("Escape keeps it open") << true << "Escape" << false << false << QByteArray("start");
    QTest::newRow("new document, Ja, dialog cancelled stays open") << false << "Ja" << true << false << QByteArray();
    QTest::newRow("new document, Ja, saved") << false << "Ja" << false << true << QByteArray("ny");
}

void TestTextWindow::closeQuestion()
{
    QFETCH(bool, named);
    QFETCH(QString, answer);
    QFETCH(bool, dialogCancelled);
    QFETCH(bool, closes);
    QFETCH(QByteArray, onDisk);
    ProgramFixture program;
    program.start();
    const QString path = named ? program.writeFile(QStringLiteral("note.txt"), "start")
                               : QDir(program.workFolder()).filePath(QStringLiteral("ny.txt"));
    if (named)
        mainform->funk->openwin(path, QString());
    else
        mainform->funk->openwin(QString(), QStringLiteral(".txt"));
    type(active(), QStringLiteral("ny"));
    if (!dialogCancelled && !named)
        program.dialogs.saveAnswers.enqueue(path);
    if (answer == QLatin1String("close"))
        program.modal.closeWindow();
    else if (answer == QLatin1String("Escape"))
        program.modal.key(Qt::Key_Escape);
    else
        program.modal.press(answer);

    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+L")));
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].title, QStringLiteral("Spørgsmål"));
    QCOMPARE(program.modal.shown[0].text, QStringLiteral("Dokumentet: ") + (named ? "note.txt" : "1. Dokument")
                                              + QStringLiteral("\ner modificeret.\nSkal det gemmes?"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(mainform->documentWindows().isEmpty(), closes);
    QCOMPARE(ProgramFixture::readFile(path), onDisk);
    QVERIFY(program.modal.unexpected.isEmpty());
    if (!closes) {
        // Still there as it was: modified, and "Gem" offers to save it.
        QCOMPARE(area(active())->toPlainText(), named ? QStringLiteral("nystart") : QStringLiteral("ny"));
        QVERIFY(active()->editor()->isModified());
        TAction::updateAll();
        QVERIFY(mainform->fileGem->isEnabled());
    }
}

void TestTextWindow::failedWriteKeepsDocumentOpen()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    type(active(), QStringLiteral("vigtigt"));
    // A name inside a folder that is really a file cannot be written, whoever runs the test.
    const QString blocker = program.writeFile(QStringLiteral("blokering"), "");
    program.dialogs.saveAnswers.enqueue(QDir(blocker).filePath(QStringLiteral("x.txt")));
    program.modal.press(QStringLiteral("Ja"));
    program.modal.press(QStringLiteral("OK"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+L")));
    QCOMPARE(program.modal.shown.size(), 2);
    QVERIFY(program.modal.shown[1].text.startsWith(QStringLiteral("Dokumentet blev ikke gemt:")));
    QCOMPARE(mainform->documentWindows().size(), 1);
    QCOMPARE(area(active())->toPlainText(), QStringLiteral("vigtigt"));
    QVERIFY(active()->editor()->isModified());
    QVERIFY(program.modal.unexpected.isEmpty());
}

// A save that fails tells the reason in Danish, not in the system's English.
void TestTextWindow::failedSaveTellsWhyInDanish()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    type(active(), QStringLiteral("brev"));
    const QString path = QDir(program.workFolder()).filePath(QStringLiteral("forsvundet/brev.txt"));
    program.dialogs.saveAnswers.enqueue(path);
    program.modal.press(QStringLiteral("OK"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text,
             QStringLiteral("Dokumentet blev ikke gemt:\n") + path + QStringLiteral("\nFilen eller mappen findes ikke."));
    QVERIFY(active()->editor()->isModified());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestTextWindow::unreadableFileOpensNothing()
{
    // Reading this file fails on every Linux system, for root as well.
    const QString unreadable = QStringLiteral("/proc/self/mem");
    if (!QFileInfo(unreadable).isFile())
        QSKIP("no /proc on this system");
    ProgramFixture program;
    program.start();
    program.modal.press(QStringLiteral("OK"));
    mainform->funk->openwin(unreadable, QString());
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.shown[0].text.startsWith(QStringLiteral("Dokumentet kunne ikke åbnes:\n/proc/self/mem\n")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(mainform->documentWindows().isEmpty());
    QCOMPARE(mainform->tc->count(), 0);
    QCOMPARE(filform->FavFiler2->Antal(), 0);
}

void TestTextWindow::caretPosition()
{
    ProgramFixture program;
    program.start();
    mainform->funk->openwin(program.writeFile(QStringLiteral("p.txt"), "abc\ndefgh\n"), QString());
    Twinform1 *window = active();
    QCOMPARE(window->posLabel->text(), QStringLiteral("1,0"));
    QCOMPARE(window->antalLabel->text(), QStringLiteral("3"));
    QTest::keyClick(window->editor()->widget(), Qt::Key_Down);
    QTest::keyClick(window->editor()->widget(), Qt::Key_Right);
    QTest::keyClick(window->editor()->widget(), Qt::Key_Right);
    QCOMPARE(window->posLabel->text(), QStringLiteral("2,2"));
    QTest::keyClick(window->editor()->widget(), Qt::Key_Return);
    QCOMPARE(window->antalLabel->text(), QStringLiteral("4"));
    QCOMPARE(window->posLabel->text(), QStringLiteral("3,0"));
}

namespace {

// The lines the text area shows, counted on a copy laid out whole at the same width.
int linesLaidOutWhole(QPlainTextEdit *area)
{
    QPlainTextEdit copy;
    copy.setFont(area->font());
    copy.setLineWrapMode(area->lineWrapMode());
    copy.setPlainText(area->toPlainText());
    copy.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    copy.resize(area->viewport()->width() + 2 * copy.frameWidth(), area->height());
    copy.show();
    if (copy.viewport()->width() != area->viewport()->width())
        return -1;
    const auto *layout = qobject_cast<QPlainTextDocumentLayout *>(copy.document()->documentLayout());
    int lines = 0;
    for (QTextBlock block = copy.document()->begin(); block.isValid(); block = block.next()) {
        layout->ensureBlockLayout(block);
        lines += block.lineCount();
    }
    return lines;
}

} // namespace

// A document of long wrapped lines, most of them never shown: the line count and the caret's line
// count every wrapped line, whether or not the user has scrolled past it, and follow edits and
// a change of width.
void TestTextWindow::linesOfALongWrappedDocument()
{
    ProgramFixture program;
    QByteArray line;
    for (int word = 0; word < 120; ++word)
        line += "ordet";
    // Long lines, short ones and long ones with letters beyond ASCII.
    const QByteArray lines = line + "\r\nkort linje\r\n" + line + QStringLiteral(" blåbær grød\r\n").toUtf8();
    const QString file = program.writeFile(QStringLiteral("lang.txt"), lines.repeated(150));
    program.start({file});
    Twinform1 *window = active();
    QPlainTextEdit *text = area(window);
    QCOMPARE(QApplication::focusWidget(), text);
    // What the window shows, and what it should show with the caret on the given line (0: the
    // last line).
    const auto shown = [window] {
        return window->antalLabel->text() + QStringLiteral(" lines, the caret on line ")
               + window->posLabel->text().section(QLatin1Char(','), 0, 0);
    };
    const auto laidOut = [text](int caretLine) {
        const int lines = linesLaidOutWhole(text);
        return QStringLiteral("%1 lines, the caret on line %2").arg(lines).arg(caretLine > 0 ? caretLine : lines);
    };
    QVERIFY(linesLaidOutWhole(text) > 800);
    // What takes longer to count than a keystroke may wait is counted while the program is idle.
    QTRY_COMPARE(shown(), laidOut(1));
    QTRY_COMPARE(mainform->antalLinjerLabel->text(), QStringLiteral("Antal linjer: ") + window->antalLabel->text());

    QWindow *keys = mainform->windowHandle();
    QTest::keyClick(keys, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shown(), laidOut(0));

    // The first line grows by a screen line or more; the count follows.
    const int before = linesLaidOutWhole(text);
    QTest::keyClick(keys, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < 150; ++i)
        QTest::keyClick(keys, Qt::Key_W);
    QCOMPARE(shown(), laidOut(2));
    QVERIFY(linesLaidOutWhole(text) > before);

    // Wider, every line takes fewer screen lines.
    mainform->resize(mainform->width() * 2, mainform->height());
    QTRY_VERIFY(linesLaidOutWhole(text) < before * 3 / 4);
    QTest::keyClick(keys, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shown(), laidOut(0));

    // Scrolled through, the numbers stay the same.
    QScrollBar *bar = text->verticalScrollBar();
    for (int value = 0; value <= bar->maximum(); value += bar->pageStep()) {
        bar->setValue(value);
        text->viewport()->repaint();
    }
    QTest::keyClick(keys, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shown(), laidOut(0));

    // Without word wrap every line is one screen line; with it again, the wrapped count is back.
    window->wordwrapCheck->click();
    QTest::keyClick(keys, Qt::Key_Up);
    QCOMPARE(shown(), QStringLiteral("451 lines, the caret on line 450"));
    window->wordwrapCheck->click();
    QTest::keyClick(keys, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(shown(), laidOut(0));
}

// A big file: the window shows at once with "Henter …" and how far the text has come, while the
// text goes in; then the whole text is there, unmodified, with nothing to undo, the caret at the
// start, and the lines counted as laid out whole. Saved after an edit, it keeps its encoding and
// line breaks.
void TestTextWindow::bigFileLoadsWhileTheWindowShows()
{
    ProgramFixture program;
    program.start();
    const QByteArray bytes = bigFile();
    const QString path = openBigFile(program, bytes);
    Twinform1 *window = active();
    QVERIFY(window);
    QCOMPARE(window->windowTitle(), QStringLiteral("stor.txt"));
    QWidget *panel = loadingPanel(window);
    QVERIFY(panel);
    QVERIFY(panel->isVisible());
    QCOMPARE(panel->findChild<QLabel *>(QStringLiteral("henterLabel"))->text(), QStringLiteral("Henter …"));
    auto *bar = panel->findChild<QProgressBar *>(QStringLiteral("henterBar"));
    QVERIFY(bar && bar->isVisible());
    QSignalSpy progress(bar, &QProgressBar::valueChanged);
    // Meanwhile the line count is that of the text so far, marked as not the last word.
    QVERIFY(window->antalLabel->text().endsWith(QStringLiteral(" …")));
    // Typing goes nowhere while the text is not all there.
    QCOMPARE(QApplication::focusWidget(), area(window));
    key(Qt::Key_X);
    key(Qt::Key_Delete);
    // The caret stays at the start, nothing selected, while the text goes in behind it.
    int caretsAway = 0;
    connect(bar, &QProgressBar::valueChanged, bar, [&] {
        const QTextCursor caret = area(window)->textCursor();
        caretsAway += caret.hasSelection() || caret.position() != 0;
    });

    QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 60000);
    QVERIFY(progress.size() > 1);
    QCOMPARE(bar->value(), 100);
    QCOMPARE(caretsAway, 0);
    QPlainTextEdit *text = area(window);
    QCOMPARE(text->toPlainText().toUtf8(), QByteArray(bytes).replace("\r\n", "\n"));
    QVERIFY(!window->editor()->isModified());
    QVERIFY(!text->document()->isUndoAvailable());
    QCOMPARE(text->textCursor().position(), 0);
    QCOMPARE(window->posLabel->text(), QStringLiteral("1,0"));
    TAction::updateAll();
    QVERIFY(!mainform->fileGem->isEnabled());
    QVERIFY(mainform->fileGemSom->isEnabled());

    // The wrapped lines, counted while the program is idle, are those of the text laid out whole.
    const int wrapped = linesLaidOutWhole(text);
    QVERIFY(wrapped > text->document()->blockCount());
    QTRY_COMPARE_WITH_TIMEOUT(window->antalLabel->text(), QString::number(wrapped), 30000);
    QTRY_COMPARE(mainform->antalLinjerLabel->text(), QStringLiteral("Antal linjer: ") + QString::number(wrapped));

    backToMainWindow();
    QCOMPARE(QApplication::focusWidget(), text);
    key(Qt::Key_Y);
    TAction::updateAll();
    key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!window->editor()->isModified());
    QCOMPARE(ProgramFixture::readFile(path), "y" + bytes);
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestTextWindow::nothingWritesAHalfLoadedDocument_data()
{
    QTest::addColumn<QString>("keys");
    QTest::newRow("save as") << QStringLiteral("Ctrl+Alt+S");
    QTest::newRow("save") << QStringLiteral("Ctrl+S");
    QTest::newRow("close the window") << QStringLiteral("Ctrl+L");
    QTest::newRow("close the program") << QString();
}

// Saved or closed while its text is still going in, a document writes nothing: neither its own
// file nor another, and closing asks nothing.
void TestTextWindow::nothingWritesAHalfLoadedDocument()
{
    QFETCH(QString, keys);
    ProgramFixture program;
    program.start();
    const QByteArray bytes = bigFile();
    const QString other = QDir(program.workFolder()).filePath(QStringLiteral("kopi.txt"));
    program.dialogs.saveAnswers.enqueue(other);
    const QString path = openBigFile(program, bytes);
    QPointer<Twinform1> window = active();
    QVERIFY(window && loadingPanel(window)->isVisible());
    if (keys.isEmpty())
        QVERIFY(program.close());
    else
        QTest::keySequence(mainform, QKeySequence(keys));
    QVERIFY(program.dialogs.saveRequests.isEmpty());
    QVERIFY(program.modal.shown.isEmpty());
    if (window && !keys.endsWith(QLatin1Char('L')))
        QTRY_VERIFY_WITH_TIMEOUT(!loadingPanel(window)->isVisible(), 60000);
    else
        QTRY_VERIFY(!window);
    QCOMPARE(ProgramFixture::readFile(path), bytes);
    QVERIFY(!QFileInfo::exists(other));
}

// A minified file: one line of a megabyte and a half. It opens at once, the user is told that word
// wrap and spell check are off, and typing, copying, replacing and saving see the line as the file
// holds it, whatever the screen shows of it.
void TestTextWindow::veryLongLine()
{
    ProgramFixture program;
    program.start();
    QByteArray line;
    for (int token = 0; line.size() < 1'500'000; ++token)
        line += token % 100 == 0 ? "/*kyx*/function(a,b){return a+b};" : "function(a,b){return a+b};";
    const QString path = program.writeFile(QStringLiteral("min.js"), line + "\n");
    mainform->funk->openwin(path, QString());
    Twinform1 *window = active();
    QCOMPARE(window->windowTitle(), QStringLiteral("min.js"));
    QCOMPARE(mainform->Info->text(),
             QStringLiteral("Dokumentet har meget lange linjer. De vises i stykker, og ombrydning og stavekontrol er slået fra."));
    QVERIFY(!window->wordwrapCheck->isChecked());
    QVERIFY(program.modal.shown.isEmpty());
    QPlainTextEdit *text = area(window);
    QCOMPARE(QApplication::focusWidget(), text);

    // From the start of the third screen line, a selection down to the next one is copied as the
    // text the file has there.
    key(Qt::Key_Down);
    key(Qt::Key_Down);
    key(Qt::Key_Home);
    key(Qt::Key_Down, Qt::ShiftModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    const QByteArray copied = QApplication::clipboard()->text().toUtf8();
    QVERIFY(copied.size() > 100);
    QVERIFY(line.contains(copied));
    // Backspace there and undone, Enter there, typing at the end of the next screen line.
    key(Qt::Key_Up);
    key(Qt::Key_Backspace);
    key(Qt::Key_Z, Qt::ControlModifier);
    key(Qt::Key_Return);
    key(Qt::Key_Down);
    key(Qt::Key_End);
    type(window, QStringLiteral("Z"));
    key(Qt::Key_End, Qt::ControlModifier);
    type(window, QStringLiteral("X"));
    key(Qt::Key_Home, Qt::ControlModifier);
    type(window, QStringLiteral("Y"));

    // Every occurrence is replaced, wherever the screen breaks the line.
    mainform->ordEdit->setText(QStringLiteral("};/*kyx*/function("));
    mainform->erstatEdit->setText(QStringLiteral("};\n/*kyx*/function("));
    mainform->retGroup->setItemIndex(1);
    mainform->erstatAlleCheck->setChecked(true);
    QCOMPARE(window->ErstatTekst(mainform->searchSettings()), int(line.count("};/*kyx*/")));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QVERIFY(!window->editor()->isModified());

    // What the edits made of the file: the line break typed with Enter, one Z, and the rest as it was.
    QByteArray saved = ProgramFixture::readFile(path);
    QVERIFY(saved.startsWith("Y"));
    QVERIFY(saved.endsWith("\nX"));
    saved = saved.mid(1, saved.size() - 3);
    QCOMPARE(saved.count('Z'), 1);
    saved.replace("Z", "");
    QCOMPARE(saved.count("};\n/*kyx*/"), line.count("};/*kyx*/"));
    saved.replace("};\n/*kyx*/", "};/*kyx*/");
    QCOMPARE(saved.count('\n'), 1);
    const qsizetype enter = saved.indexOf('\n');
    QVERIFY(enter > 0);
    QVERIFY(saved.remove(enter, 1) == line);
}

void TestTextWindow::wordAtCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selection"); // characters selected from the caret on
    QTest::addColumn<QString>("query");  // what the browser is asked for
    QTest::newRow("inside a Danish word with a hyphen") << "Se blå-bær, tak" << 6 << 0 << "bl%C3%A5-b%C3%A6r";
    QTest::newRow("at the word's end") << "Se blå-bær, tak" << 10 << 0 << "bl%C3%A5-b%C3%A6r";
    QTest::newRow("empty line") << "første\n\nsidste" << 7 << 0 << "Der%20mangler%20et%20s%C3%B8geord";
    QTest::newRow("selection less one space") << "C# og C++ " << 0 << 10 << "C%23%20og%20C%2B%2B";
    QTest::newRow("selection ending in two spaces keeps one") << "ord  x" << 0 << 5 << "ord%20";
    QTest::newRow("digits count, other letters end the word") << "Kl. 10-12éx" << 5 << 0 << "10-12";
}

void TestTextWindow::wordAtCaret()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selection);
    QFETCH(QString, query);
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    Twinform1 *window = active();
    area(window)->setPlainText(text);
    window->editor()->setSelection(caret, selection);
    QTest::keySequence(window->editor()->widget(), QKeySequence(QStringLiteral("Ctrl+Shift+G")));
    window->bingUrl->trigger();
    window->tubeUrl->trigger();
    QCOMPARE(program.browser.opened.size(), 3);
    QCOMPARE(program.browser.opened[0].toEncoded(), QByteArray("https://www.google.com/search?q=") + query.toLatin1());
    QCOMPARE(program.browser.opened[1].toEncoded(), QByteArray("https://www.bing.com/search?q=") + query.toLatin1());
    QCOMPARE(program.browser.opened[2].toEncoded(),
             QByteArray("https://www.youtube.com/results?search_query=") + query.toLatin1());
}

void TestTextWindow::popupSwitching()
{
    ProgramFixture program;
    program.start();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    Twinform1 *window = active();
    QCOMPARE(window->editor()->contextMenu(), window->PUwin);
    QCOMPARE(window->puButton->text(), QStringLiteral("Stavekontrol"));
    QCOMPARE(window->puButton->toolTip(), QStringLiteral("Skift popup-menu til \"Stavekontrol\""));
    TAction::updateAll();
    QVERIFY(!window->aStavekontrol->isEnabled());

    // The pointer rests on the button: the status line shows its hint, and after the click the
    // new one; the controls beside it stay where they were.
    const auto places = [window] {
        QList<QPoint> found;
        for (const QWidget *control : window->redskabsPanel->findChildren<QWidget *>())
            if (control != window->puButton && control->isVisible())
                found << control->mapTo(window, QPoint());
        return found;
    };
    const QList<QPoint> before = places();
    QTest::mouseMove(window->puButton);
    QCOMPARE(mainform->Info->text(), QStringLiteral("Skift popup-menu til \"Stavekontrol\""));
    QTest::mouseClick(window->puButton, Qt::LeftButton);
    QCOMPARE(window->editor()->contextMenu(), nullptr);
    QCOMPARE(window->puButton->text(), QStringLiteral("Funktioner"));
    QCOMPARE(window->puButton->toolTip(), QStringLiteral("Skift popup-menu til \"Funktioner\""));
    QCOMPARE(mainform->Info->text(), QStringLiteral("Skift popup-menu til \"Funktioner\""));
    QCoreApplication::processEvents();
    QCOMPARE(places(), before);
    TAction::updateAll();
    QVERIFY(window->aStavekontrol->isEnabled());

    // The whole-document check leaves the clipboard, the text and the modified state alone.
    QApplication::clipboard()->setText(QStringLiteral("brugerens udklip"));
    area(window)->setPlainText(QStringLiteral("Jeg har kæbt"));
    window->editor()->setModified(false);
    window->aStavekontrol->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("brugerens udklip"));
    QCOMPARE(area(window)->toPlainText(), QStringLiteral("Jeg har kæbt"));
    QCOMPARE(window->editor()->selectionStart(), 0);
    QVERIFY(!window->editor()->hasSelection());

    // Both menus hold the same commands in the same order.
    for (QMenu *menu : {window->PUwin, window->dropDownPU}) {
        QStringList entries;
        for (QAction *action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->objectName());
        QCOMPARE(entries, QStringList({"EditUndo1", "-", "EditCut1", "EditCopy1", "EditPaste1", "pasteFromInfo", "-",
                                       "EditSelectAll1", "EditDelete1", "-", "winLuk", "winLukAlle"}));
    }
}

void TestTextWindow::popupStartsFromOptions()
{
    ProgramFixture program;
    program.start();
    optform->popupBox->setItemIndex(1);
    optform->redCheck->setChecked(false);
    optform->marginCheck->setChecked(true);
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    Twinform1 *window = active();
    QCOMPARE(window->editor()->contextMenu(), nullptr);
    QCOMPARE(window->puButton->text(), QStringLiteral("Funktioner"));
    QVERIFY(!window->redskabsPanel->isVisible());
    QCOMPARE(area(window)->viewport()->x() - area(window)->frameWidth(), 70);
    QCOMPARE(window->fontnameBox->currentText(), QStringLiteral("Courier New"));
    QCOMPARE(window->fontsizeBox->currentText(), QStringLiteral("10"));
    QCOMPARE(window->fontnameBox->count(), optform->fontnameBox->count());
}

// A right click in the text of either document window shows the window's own menu, or, switched
// to spelling, the text area's edit menu, whose entries Qt makes: in Danish too.
void TestTextWindow::rightClickMenusAreDanish()
{
    ProgramFixture program;
    program.start();
    // The menu a right click in the middle of the text shows, and its entries as the user reads them.
    const auto rightClick = [](TDocumentForm *window, QStringList *entries) {
        QWidget *viewport = qobject_cast<QAbstractScrollArea *>(window->editor()->widget())->viewport();
        QTest::mouseClick(mainform->windowHandle(), Qt::RightButton, Qt::NoModifier,
                          viewport->mapTo(mainform, viewport->rect().center()));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return menu;
        for (const QAction *action : menu->actions()) {
            if (!action->isSeparator() && action->isVisible())
                *entries << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
        }
        menu->close();
        return menu;
    };
    for (const char *newDocument : {"Ctrl+N", "Ctrl+Alt+N"}) {
        QTest::keySequence(mainform, QKeySequence(QString::fromLatin1(newDocument)));
        TDocumentForm *window = mainform->activeDocument();
        QStringList entries;
        QMenu *own = window->editor()->contextMenu();
        QVERIFY(own);
        QCOMPARE(rightClick(window, &entries), own);
        QTest::mouseClick(window->puButton, Qt::LeftButton);
        entries.clear();
        QVERIFY(rightClick(window, &entries));
        QCOMPARE(entries, QStringList({"Fortryd", "Omgør", "Klip", "Kopiér", "Sæt ind", "Slet", "Markér alt"}));
    }
}

void TestTextWindow::controlHintsFollowTheOptions_data()
{
    QTest::addColumn<int>("hintChoice");
    QTest::addColumn<bool>("tooltip");
    QTest::newRow("hints on the status line") << 0 << false;
    QTest::newRow("hints at the controls") << 1 << true;
}

void TestTextWindow::controlHintsFollowTheOptions()
{
    QFETCH(int, hintChoice);
    QFETCH(bool, tooltip);
    ProgramFixture program;
    program.start();
    optform->hintBox->setItemIndex(hintChoice);
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+N")));
    QToolButton *button = active()->puButton;
    QToolTip::hideText();
    QHelpEvent help(QEvent::ToolTip, QPoint(2, 2), button->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(button, &help);
    QCOMPARE(QToolTip::text(), tooltip ? button->toolTip() : QString());
}

QTEST_MAIN(TestTextWindow)
Q_DECLARE_METATYPE(Platform::FileStamp)
Q_DECLARE_METATYPE(DiskChange)

void TestTextWindow::diskChangeRules_data()
{
    QTest::addColumn<Platform::FileStamp>("read");
    QTest::addColumn<Platform::FileStamp>("answered");
    QTest::addColumn<Platform::FileStamp>("now");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<DiskChange>("change");
    const Platform::FileStamp first{true, 5, 1000, 7};
    const Platform::FileStamp written{true, 6, 2000, 7};
    const Platform::FileStamp replaced{true, 5, 1000, 8}; // same size and time, another file
    const Platform::FileStamp again{true, 9, 3000, 7};
    const Platform::FileStamp gone;
    QTest::newRow("unchanged") << first << first << first << false << DiskChange::None;
    QTest::newRow("unchanged, document modified") << first << first << first << true << DiskChange::None;
    QTest::newRow("changed, unmodified") << first << first << written << false << DiskChange::AskReload;
    QTest::newRow("changed, modified") << first << first << written << true << DiskChange::AskReloadLosingChanges;
    QTest::newRow("replaced by a file of the same size and time") << first << first << replaced << false
                                                                   << DiskChange::AskReload;
    QTest::newRow("deleted") << first << first << gone << false << DiskChange::TellGone;
    QTest::newRow("deleted, modified") << first << first << gone << true << DiskChange::TellGone;
    QTest::newRow("deleted, told already") << first << gone << gone << true << DiskChange::None;
    QTest::newRow("back as it was read after being told gone") << first << gone << first << true << DiskChange::None;
    QTest::newRow("back changed after being told gone") << first << gone << written << true
                                                        << DiskChange::AskReloadLosingChanges;
    // The editor's own save takes the written file as the one read.
    QTest::newRow("own save") << written << written << written << false << DiskChange::None;
    QTest::newRow("own save of a document whose change was declined") << written << again << written << false
                                                                       << DiskChange::None;
    QTest::newRow("declined") << first << written << written << false << DiskChange::None;
    QTest::newRow("changed again after being declined") << first << written << again << false << DiskChange::AskReload;
}

void TestTextWindow::diskChangeRules()
{
    QFETCH(Platform::FileStamp, read);
    QFETCH(Platform::FileStamp, answered);
    QFETCH(Platform::FileStamp, now);
    QFETCH(bool, modified);
    QFETCH(DiskChange, change);
    QCOMPARE(diskChange(read, answered, now, modified), change);
}

void TestTextWindow::fileChangedOnDisk_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("modifiedAfter");
    const QString outside = QStringLiteral("ny første\nanden\n");
    QTest::newRow("unmodified, Ja reads it again") << false << "Ja" << outside << false;
    QTest::newRow("unmodified, Nej keeps the text") << false << "Nej" << QStringLiteral("første\nanden\n") << false;
    QTest::newRow("modified, Ja reads it again") << true << "Ja" << outside << false;
    QTest::newRow("modified, Nej keeps the changes") << true << "Nej" << QStringLiteral("xførste\nanden\n") << true;
}

// Another program writes the file of an open document: the user is asked whether to read it
// again, warned when that loses changes, and the answer decides what the window shows.
void TestTextWindow::fileChangedOnDisk()
{
    QFETCH(bool, modified);
    QFETCH(QString, answer);
    QFETCH(QString, shown);
    QFETCH(bool, modifiedAfter);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("brev.txt"), "første\nanden\n");
    mainform->funk->openwin(path, QString());
    if (modified)
        type(active(), QStringLiteral("x"));
    program.modal.press(answer);
    writeFromOutside(path, "ny første\nanden\n");
    QTRY_COMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].title, QStringLiteral("Spørgsmål"));
    QCOMPARE(program.modal.shown[0].text,
             changedQuestion(path) + (modified ? QStringLiteral("\nDine ændringer går tabt, hvis den hentes igen.") : QString()));
    QCOMPARE(area(active())->toPlainText(), shown);
    QCOMPARE(active()->editor()->isModified(), modifiedAfter);
    QCOMPARE(mainform->docModified, modifiedAfter);
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestTextWindow::answeredChangeIsAskedAgainOnlyWhenChangedAgain()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("brev.txt"), "en");
    mainform->funk->openwin(path, QString());
    program.modal.press(QStringLiteral("Nej"));
    writeFromOutside(path, "to");
    QTRY_COMPARE(program.modal.shown.size(), 1);

    // The window looks at the disk again when something else in the folder changes; the answered
    // change is not asked about again.
    QSignalSpy looked(fileWatch(active()), &Platform::FileWatch::mayHaveChanged);
    program.writeFile(QStringLiteral("andet.txt"), "x");
    QVERIFY(looked.wait());
    QCOMPARE(program.modal.shown.size(), 1);

    program.modal.press(QStringLiteral("Ja"));
    writeFromOutside(path, "tre");
    QTRY_COMPARE(program.modal.shown.size(), 2);
    QCOMPARE(program.modal.shown[1].text, changedQuestion(path));
    QCOMPARE(area(active())->toPlainText(), QStringLiteral("tre"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

// Another program that empties the file and writes it a moment later, as a shell's "> file" does
// on a busy machine: the question may come in between, and the write it then finishes is the
// change the user answered, not one to ask about again.
void TestTextWindow::fileStillBeingWrittenIsAskedAboutOnce()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("brev.txt"), "første\n");
    mainform->funk->openwin(path, QString());
    type(active(), QStringLiteral("x"));
    program.modal.answer([&path](QDialog &box) {
        writeFromOutside(path, "skrevet færdig af det andet program\n");
        QVERIFY(pressButton(box, QStringLiteral("Nej")));
    });
    writeFromOutside(path, "");
    QTRY_COMPARE(program.modal.shown.size(), 1);
    QSignalSpy looked(fileWatch(active()), &Platform::FileWatch::mayHaveChanged);
    QVERIFY(looked.wait());
    QCOMPARE(program.modal.shown.size(), 1);
    QCOMPARE(area(active())->toPlainText(), QStringLiteral("xførste\n"));
    QVERIFY(program.modal.unexpected.isEmpty());

    // Removed meanwhile, the file is still told gone.
    program.modal.answer([&path](QDialog &box) {
        QVERIFY(QFile::remove(path));
        QVERIFY(pressButton(box, QStringLiteral("Nej")));
    });
    program.modal.press(QStringLiteral("OK"));
    writeFromOutside(path, "igen");
    QTRY_COMPARE(program.modal.shown.size(), 3);
    QCOMPARE(program.modal.shown[2].text, QStringLiteral("Filen\n") + path + QStringLiteral("\nfindes ikke længere på disken."));
    QVERIFY(program.modal.unexpected.isEmpty());
}

// Read again, the file's encoding and line breaks are found anew, and the caret stays on its line
// and column.
void TestTextWindow::reloadFindsEncodingAfreshAndKeepsCaret()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("enc.txt"), "abc\ndefgh\nij\n");
    mainform->funk->openwin(path, QString());
    Twinform1 *window = active();
    key(Qt::Key_Down);
    for (int i = 0; i < 3; ++i)
        key(Qt::Key_Right);
    QCOMPARE(window->posLabel->text(), QStringLiteral("2,3"));
    program.modal.press(QStringLiteral("Ja"));
    writeFromOutside(path, "\xe6" "bc\r\ndefgh\r\nij\r\n");
    QTRY_COMPARE(program.modal.shown.size(), 1);
    QCOMPARE(area(window)->toPlainText(), QStringLiteral("æbc\ndefgh\nij\n"));
    QCOMPARE(window->posLabel->text(), QStringLiteral("2,3"));
    // The answered question gave the main window back the keyboard, as the desktop does.
    backToMainWindow();
    type(window, QStringLiteral("Ø"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(ProgramFixture::readFile(path), QByteArray("\xe6" "bc\r\ndef\xd8" "gh\r\nij\r\n"));
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.unexpected.isEmpty());
}

// A big file changed on disk is read again as it was opened: "Henter …" while the text goes in,
// typing ignored meanwhile; then the new text, unmodified, with the caret on its line and column
// and the view where it was. Saved after an edit, it keeps its line breaks.
void TestTextWindow::bigFileReloadsWhileTheWindowShows()
{
    ProgramFixture program;
    program.start();
    const QByteArray bytes = bigFile();
    const QString path = openBigFile(program, bytes);
    Twinform1 *window = active();
    QWidget *panel = loadingPanel(window);
    QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 60000);
    QPlainTextEdit *text = area(window);
    key(Qt::Key_End, Qt::ControlModifier);
    key(Qt::Key_Up);
    key(Qt::Key_Up);
    key(Qt::Key_End);
    const int line = text->textCursor().blockNumber();
    const int column = text->textCursor().positionInBlock();
    // The lines on screen.
    const auto shownLines = [text] {
        return std::pair{text->cursorForPosition(QPoint(0, 0)).blockNumber(),
                         text->cursorForPosition(QPoint(0, text->viewport()->height() - 1)).blockNumber()};
    };
    const auto [top, bottom] = shownLines();
    QVERIFY(line > 1000 && column > 0 && top > 1000);
    QTRY_VERIFY_WITH_TIMEOUT(!window->antalLabel->text().endsWith(QStringLiteral(" …")), 30000);
    const QString caretShown = window->posLabel->text();

    // The same lines, other letters: the caret has the same place to go back to.
    const QByteArray changed =
        QString::fromUtf8(bytes).replace(QStringLiteral("blåbærgrød"), QStringLiteral("RØDGRØD!!!")).toUtf8();
    // What the user sees, and the keys typed, as soon as the question is answered: the event loop
    // runs this before the first slice of the text goes in.
    QString seen;
    auto *bar = panel->findChild<QProgressBar *>(QStringLiteral("henterBar"));
    program.modal.answer([&](QDialog &box) {
        QVERIFY(pressButton(box, QStringLiteral("Ja")));
        QTimer::singleShot(0, window, [&] {
            seen = panel->findChild<QLabel *>(QStringLiteral("henterLabel"))->text();
            if (!panel->isVisible() || !bar->isVisible() || bar->value() == 100)
                seen += QStringLiteral(", no loading row");
            if (!window->isLoading())
                seen += QStringLiteral(", not loading");
            if (mainform->focusWidget() != text)
                seen += QStringLiteral(", typing elsewhere");
            key(Qt::Key_X);
            key(Qt::Key_Delete);
        });
    });
    writeFromOutside(path, changed);
    QTRY_COMPARE(seen, QStringLiteral("Henter …"));
    QCOMPARE(program.modal.shown[0].text, changedQuestion(path));

    QTRY_VERIFY_WITH_TIMEOUT(!panel->isVisible(), 60000);
    const QString expected = QString::fromUtf8(changed).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QCOMPARE(text->toPlainText(), expected);
    QVERIFY(!window->editor()->isModified());
    QVERIFY(!mainform->docModified);
    QVERIFY(!text->document()->isUndoAvailable());
    QCOMPARE(text->textCursor().blockNumber(), line);
    QCOMPARE(text->textCursor().positionInBlock(), column);
    // The caret is in sight, and so are most of the lines that were.
    QVERIFY(text->viewport()->rect().contains(text->cursorRect()));
    QVERIFY(qAbs(shownLines().first - top) < (bottom - top) / 4);
    QTRY_COMPARE_WITH_TIMEOUT(window->posLabel->text(), caretShown, 30000);

    backToMainWindow();
    type(window, QStringLiteral("ø"));
    TAction::updateAll();
    key(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!window->editor()->isModified());
    const qsizetype at = text->document()->findBlockByNumber(line).position() + column;
    const QString saved = QString(expected).insert(at, QStringLiteral("ø"));
    QCOMPARE(ProgramFixture::readFile(path), QString(saved).replace(QStringLiteral("\n"), QStringLiteral("\r\n")).toUtf8());
    // Its own save is no change to ask about.
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.unexpected.isEmpty());
}

// The editor's own save is never taken for another program's change; a change after it still is.
void TestTextWindow::ownSaveAsksNothing()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("egen.txt"), "start");
    mainform->funk->openwin(path, QString());
    QSignalSpy looked(fileWatch(active()), &Platform::FileWatch::mayHaveChanged);
    type(active(), QStringLiteral("ny"));
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(ProgramFixture::readFile(path), QByteArray("nystart"));
    QVERIFY(looked.wait());
    QVERIFY(program.modal.shown.isEmpty());

    program.modal.press(QStringLiteral("Ja"));
    writeFromOutside(path, "udefra");
    QTRY_COMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].text, changedQuestion(path));
    QCOMPARE(area(active())->toPlainText(), QStringLiteral("udefra"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestTextWindow::removedFileIsToldOnceAndClosingAsksToSave()
{
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("væk.txt"), "tekst");
    mainform->funk->openwin(path, QString());
    QSignalSpy looked(fileWatch(active()), &Platform::FileWatch::mayHaveChanged);
    program.modal.press(QStringLiteral("OK"));
    QVERIFY(QFile::remove(path));
    QTRY_COMPARE(program.modal.shown.size(), 1);
    QCOMPARE(program.modal.shown[0].title, QStringLiteral("Information"));
    QCOMPARE(program.modal.shown[0].text, QStringLiteral("Filen\n") + path + QStringLiteral("\nfindes ikke længere på disken."));
    QVERIFY(active()->editor()->isModified());
    QVERIFY(mainform->docModified);

    looked.clear();
    program.writeFile(QStringLiteral("andet.txt"), "x");
    QVERIFY(looked.wait());
    QCOMPARE(program.modal.shown.size(), 1);

    program.modal.press(QStringLiteral("Nej"));
    backToMainWindow();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+L")));
    QCOMPARE(program.modal.shown.size(), 2);
    QCOMPARE(program.modal.shown[1].text, QStringLiteral("Dokumentet: væk.txt\ner modificeret.\nSkal det gemmes?"));
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestTextWindow::saveOverFileChangedOnDisk_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QByteArray>("onDisk");
    QTest::addColumn<bool>("modifiedAfter");
    QTest::newRow("Nej writes nothing") << "Nej" << QByteArray("andet") << true;
    QTest::newRow("Ja overwrites") << "Ja" << QByteArray("nystart") << false;
}

// Ctrl+S on a document whose file another program changed since it was read asks first.
void TestTextWindow::saveOverFileChangedOnDisk()
{
    QFETCH(QString, answer);
    QFETCH(QByteArray, onDisk);
    QFETCH(bool, modifiedAfter);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(QStringLiteral("note.txt"), "start");
    mainform->funk->openwin(path, QString());
    type(active(), QStringLiteral("ny"));
    program.modal.press(QStringLiteral("Nej"));
    writeFromOutside(path, "andet");
    QTRY_COMPARE(program.modal.shown.size(), 1);

    program.modal.press(answer);
    backToMainWindow();
    QTest::keySequence(mainform, QKeySequence(QStringLiteral("Ctrl+S")));
    QCOMPARE(program.modal.shown.size(), 2);
    QCOMPARE(program.modal.shown[1].text,
             QStringLiteral("Filen er ændret af et andet program, siden den blev hentet.\nSkal den overskrives?"));
    QCOMPARE(ProgramFixture::readFile(path), onDisk);
    QCOMPARE(active()->editor()->isModified(), modifiedAfter);
    QVERIFY(program.modal.unexpected.isEmpty());
}

#include "tst_textwindow.moc"
