#include "ProgramFixture.h"

#include "app/Main.h"
#include "documents/DocumentForm.h"
#include "documents/DocumentRecovery.h"
#include "opening/Funktioner.h"
#include "platform/LineFile.h"
#include "platform/PlainEdit.h"
#include "platform/RichEdit.h"
#include "platform/Rtf.h"
#include "widgets/Action.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

QString recoveryFolder(const ProgramFixture &program)
{
    return QDir(program.optMappe()).filePath(u"Gendannelse"_s);
}

// The runs' folders below the recovery folder.
QStringList runs(const ProgramFixture &program)
{
    return QDir(recoveryFolder(program)).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// The files of every copy below the recovery folder, relative to it, lock files left out.
QStringList copyFiles(const ProgramFixture &program)
{
    QStringList files;
    const QDir folder(recoveryFolder(program));
    QDirIterator it(folder.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString name = folder.relativeFilePath(it.next());
        if (!name.endsWith(u".lock"_s))
            files << name;
    }
    files.sort();
    return files;
}

// The index lines of this run's only copy; empty while there is none.
QStringList onlyIndex(const ProgramFixture &program)
{
    const QStringList files = copyFiles(program);
    const QStringList indexes = files.filter(u".index"_s);
    if (indexes.size() != 1)
        return {};
    return Platform::readLines(QDir(recoveryFolder(program)).filePath(indexes[0])).value_or(QStringList());
}

// Keys as the keyboard delivers them: to the main window, where the frame's shortcuts are looked
// up, and typing to the control that has the focus.
void key(const QString &keys)
{
    QTest::keySequence(mainform->windowHandle(), QKeySequence(keys));
}

void type(const QString &text)
{
    QWidget *focused = QApplication::focusWidget();
    QVERIFY(focused);
    QCOMPARE(focused, mainform->activeDocument()->editor()->widget());
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, focused, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// Copies a run's folder, lock left out, to a folder of its own: what a program that was killed
// leaves behind.
void leaveAsCrashed(const ProgramFixture &program, const QString &run, const QString &crashed)
{
    const QDir from(QDir(recoveryFolder(program)).filePath(run));
    const QString to = QDir(recoveryFolder(program)).filePath(crashed);
    QVERIFY(QDir().mkpath(to));
    for (const QString &name : from.entryList(QDir::Files))
        if (!name.endsWith(u".lock"_s))
            QVERIFY(QFile::copy(from.filePath(name), QDir(to).filePath(name)));
}

// A restored document whose file another program has written: the question number `asked` (from
// 0) asks whether to read the file again, though the user's changes would be lost; the user keeps
// the text, then presses Ctrl+S, is asked before the other program's file is overwritten, and
// refuses. The file stays as the other program wrote it.
void keepTextAndRefuseOverwrite(ProgramFixture &program, const QString &letter, int asked)
{
    QTRY_COMPARE(program.modal.shown.size(), asked + 1);
    QCOMPARE(program.modal.shown[asked].text, u"Filen\n"_s + letter
                                                  + u"\ner ændret af et andet program.\nSkal den hentes igen?\n"
                                                    "Dine ændringer går tabt, hvis den hentes igen."_s);
    program.modal.press(u"Nej"_s);
    mainform->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), mainform);
    TAction::updateAll();
    key(u"Ctrl+S"_s);
    QCOMPARE(program.modal.shown.size(), asked + 2);
    QCOMPARE(program.modal.shown[asked + 1].text,
             u"Filen er ændret af et andet program, siden den blev hentet.\nSkal den overskrives?"_s);
    QCOMPARE(ProgramFixture::readFile(letter), "Skrevet af et andet program\n");
    program.modal.press(u"Nej"_s);
}

} // namespace

class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void init() { TRecoveryCopy::setDelays(200ms, 2s); }
    void copyFollowsTheUnsavedText_data();
    void copyFollowsTheUnsavedText();
    void copyWhileTheUserKeepsTyping();
    void restoreAfterACrash_data();
    void restoreAfterACrash();
    void restoredFileChangedSinceItsCopyAsks();
    void restoredFileChangedBeforeItsCopyAsks();
    void restoredDocumentKeepsEachLinesBreak();
    void restoredRichDocumentKeepsItsFormatting();
    void bigRestoredDocumentLoadsWhileTheWindowShows_data();
    void bigRestoredDocumentLoadsWhileTheWindowShows();
    void copyThatCannotBeWrittenIsToldOnce();
};

void TestRecovery::copyFollowsTheUnsavedText_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("indexStart"); // the first five lines: the time is the sixth
    QTest::addColumn<QString>("copyFile");
    QTest::newRow("new text document") << u"new text"_s << u"1. Dokument"_s
                                       << QStringList{QString(), u"1. Dokument"_s, u"text"_s, u"ansi"_s, u"lf"_s}
                                       << u"1.txt"_s;
    QTest::newRow("opened Windows-1252 file, CR LF")
        << u"opened text"_s << u"brev.txt"_s
        << QStringList{u"<path>"_s, u"brev.txt"_s, u"text"_s, u"windows-1252"_s, u"crlf"_s} << u"1.txt"_s;
    QTest::newRow("new rich document") << u"new rich"_s << u"1. Dokument"_s
                                       << QStringList{QString(), u"1. Dokument"_s, u"rich"_s, u"ansi"_s, u"lf"_s}
                                       << u"1.rtf"_s;
}

void TestRecovery::copyFollowsTheUnsavedText()
{
    QFETCH(QString, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, indexStart);
    QFETCH(QString, copyFile);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(u"brev.txt"_s, "K\xe6re Jens\r\n");
    if (kind == u"opened text")
        mainform->funk->openwin(path, QString());
    else
        key(kind == u"new rich" ? u"Ctrl+Alt+N"_s : u"Ctrl+N"_s);
    TDocumentForm *window = mainform->activeDocument();
    QCOMPARE(window->windowTitle(), caption);
    indexStart.replaceInStrings(u"<path>"_s, path);

    // Nothing unsaved, nothing kept.
    QVERIFY(copyFiles(program).isEmpty());
    type(u"Hej "_s);
    QTRY_COMPARE(onlyIndex(program).mid(0, 5), indexStart);
    const QString run = runs(program).value(0);
    const QString copy = QDir(recoveryFolder(program)).filePath(run + u"/"_s + copyFile);
    const QByteArray copied = ProgramFixture::readFile(copy);
    if (kind == u"new rich")
        QVERIFY2(copied.startsWith("{\\rtf1") && copied.contains("Hej"), copied.constData());
    else
        QCOMPARE(copied, kind == u"new text" ? "\xEF\xBB\xBFHej " : "\xEF\xBB\xBFHej Kære Jens\n");
    const QDateTime time = QDateTime::fromString(onlyIndex(program).value(5), Qt::ISODateWithMs);
    QVERIFY(qAbs(time.secsTo(QDateTime::currentDateTimeUtc())) < 60);

    // Saved, the copy goes.
    const QString saved = QDir(program.workFolder()).filePath(u"gemt"_s + (kind == u"new rich" ? u".rtf"_s : u".txt"_s));
    if (kind != u"opened text")
        program.dialogs.saveAnswers.enqueue(saved);
    TAction::updateAll();
    key(u"Ctrl+S"_s);
    QVERIFY(!window->editor()->isModified());
    QVERIFY(copyFiles(program).isEmpty());

    // Changed again, under its new name when it got one.
    type(u"igen "_s);
    QTRY_VERIFY(!onlyIndex(program).isEmpty());
    QCOMPARE(onlyIndex(program).value(0), kind == u"opened text" ? path : saved);

    // Undone to what was saved, nothing is unsaved.
    while (window->editor()->isModified())
        window->editor()->undo();
    QVERIFY(copyFiles(program).isEmpty());

    // Closed, whatever the answer to the save question, the copy goes.
    type(u"sidst"_s);
    QTRY_VERIFY(!onlyIndex(program).isEmpty());
    program.modal.press(u"Nej"_s);
    QVERIFY(window->close());
    QVERIFY(program.modal.unexpected.isEmpty());
    QVERIFY(copyFiles(program).isEmpty());
    QCOMPARE(runs(program), QStringList{run});

    // A normal end takes the run's folder along.
    QVERIFY(program.close());
    QCOMPARE(runs(program), QStringList());
}

void TestRecovery::copyWhileTheUserKeepsTyping()
{
    // Typing never pauses as long as a copy waits for a pause; the copy comes all the same.
    TRecoveryCopy::setDelays(1s, 2s);
    ProgramFixture program;
    program.start();
    key(u"Ctrl+N"_s);
    int typed = 0;
    for (; typed < 60 && onlyIndex(program).isEmpty(); ++typed) {
        type(u"x"_s);
        QTest::qWait(100);
    }
    QVERIFY2(typed < 60, "no copy after six seconds of typing");
    program.modal.press(u"Nej"_s);
}

void TestRecovery::restoreAfterACrash_data()
{
    QTest::addColumn<QString>("answer");
    QTest::newRow("Ja") << u"Ja"_s;
    QTest::newRow("Nej") << u"Nej"_s;
    QTest::newRow("box closed without an answer") << QString();
}

void TestRecovery::restoreAfterACrash()
{
    QFETCH(QString, answer);
    ProgramFixture program;
    program.start();
    // A letter in Windows-1252 with CR LF, a new text and a new rich document, all typed in and
    // kept in copies.
    const QString letter = program.writeFile(u"brev.txt"_s, "K\xe6re Jens\r\nHilsen\r\n");
    mainform->funk->openwin(letter, QString());
    type(u"Søde "_s);
    key(u"Ctrl+N"_s);
    type(u"Indkøb: æg"_s);
    key(u"Ctrl+Alt+N"_s);
    type(u"Referat"_s);
    QTRY_COMPARE(copyFiles(program).filter(u".index"_s).size(), 3);
    // The program dies: its copies stay, its lock goes with the process.
    const QString crashed = u"20261211-060000-000-1"_s;
    leaveAsCrashed(program, runs(program).value(0), crashed);
    for (int question = 0; question < 3; ++question)
        program.modal.press(u"Nej"_s);
    QVERIFY(program.close());
    QCOMPARE(runs(program), QStringList{crashed});

    // The next start asks.
    if (answer.isEmpty())
        program.modal.closeWindow();
    else
        program.modal.press(answer);
    const qsizetype shownBefore = program.modal.shown.size();
    program.start();
    QVERIFY(program.modal.unexpected.isEmpty());
    QCOMPARE(program.modal.shown.size(), shownBefore + 1);
    QCOMPARE(program.modal.shown.last().text,
             u"kyxTavlo blev ikke lukket normalt.\nSkal de dokumenter, der ikke var gemt, gendannes?"_s);
    const QList<TDocumentForm *> windows = mainform->documentWindows();
    if (answer != u"Ja") {
        QVERIFY(windows.isEmpty());
        // "Nej" throws the copies away; no answer keeps them for the next start.
        QCOMPARE(runs(program), answer.isEmpty() ? QStringList{crashed} : QStringList());
        QVERIFY(program.close());
        return;
    }

    // Each document in a window of its kind, under its name, with its text, unsaved.
    QCOMPARE(windows.size(), 3);
    QStringList captions;
    for (TDocumentForm *window : windows) {
        captions << window->windowTitle();
        QVERIFY(window->editor()->isModified());
    }
    QCOMPARE(captions, QStringList({u"brev.txt"_s, u"2. Dokument"_s, u"3. Dokument"_s}));
    QCOMPARE(windows[0]->Filnavn, letter);
    QCOMPARE(windows[0]->editor()->text(), u"Søde Kære Jens\nHilsen\n"_s);
    QCOMPARE(windows[1]->editor()->text(), u"Indkøb: æg"_s);
    QCOMPARE(windows[1]->objectName(), u"winform1"_s);
    QCOMPARE(windows[2]->editor()->document()->toPlainText(), u"Referat"_s);
    QCOMPARE(windows[2]->objectName(), u"winform2"_s);
    // The old copies are gone once this run has its own.
    QCOMPARE(runs(program).size(), 1);
    QVERIFY(runs(program)[0] != crashed);
    QCOMPARE(copyFiles(program).filter(u".index"_s).size(), 3);
    // A new document counts on from the restored ones.
    key(u"Ctrl+N"_s);
    QCOMPARE(mainform->activeDocument()->windowTitle(), u"4. Dokument"_s);
    program.modal.press(u"Nej"_s);
    QVERIFY(mainform->activeDocument()->close());

    // Ctrl+S writes the letter as it was: Windows-1252 with CR LF.
    mainform->activateDocument(windows[0]);
    TAction::updateAll();
    key(u"Ctrl+S"_s);
    QCOMPARE(ProgramFixture::readFile(letter), "S\xf8" "de K\xe6re Jens\r\nHilsen\r\n");
    QVERIFY(!windows[0]->editor()->isModified());
    QCOMPARE(copyFiles(program).filter(u".index"_s).size(), 2);
    for (int question = 0; question < 2; ++question)
        program.modal.press(u"Nej"_s);
    QVERIFY(program.close());
    QCOMPARE(runs(program), QStringList());
}

// A file that another program wrote after the copy of its unsaved text was taken: restored, the
// document asks whether to read the file again, and Ctrl+S asks before overwriting it.
void TestRecovery::restoredFileChangedSinceItsCopyAsks()
{
    ProgramFixture program;
    program.start();
    const QString letter = program.writeFile(u"brev.txt"_s, "Kære Jens\n");
    mainform->funk->openwin(letter, QString());
    type(u"Søde "_s);
    QTRY_COMPARE(copyFiles(program).filter(u".index"_s).size(), 1);
    const QString crashed = u"20261211-060000-000-1"_s;
    leaveAsCrashed(program, runs(program).value(0), crashed);
    program.modal.press(u"Nej"_s);
    QVERIFY(program.close());
    program.writeFile(u"brev.txt"_s, "Skrevet af et andet program\n");

    program.modal.press(u"Ja"_s);
    program.modal.press(u"Nej"_s);
    program.start();
    keepTextAndRefuseOverwrite(program, letter, 2);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(mainform->activeDocument()->editor()->text(), u"Søde Kære Jens\n"_s);
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
}

// A file that another program wrote after the document had read it, and before the copy of its
// unsaved text was taken: restored, the document still knows that the file is not the one it read.
void TestRecovery::restoredFileChangedBeforeItsCopyAsks()
{
    ProgramFixture program;
    program.start();
    const QString letter = program.writeFile(u"brev.txt"_s, "Kære Jens\n");
    mainform->funk->openwin(letter, QString());
    type(u"Søde "_s);
    // The user keeps the text when asked, and types on: the copy is taken after the change.
    program.modal.press(u"Nej"_s);
    program.writeFile(u"brev.txt"_s, "Skrevet af et andet program\n");
    QTRY_COMPARE(program.modal.shown.size(), 1);
    mainform->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), mainform);
    QTest::mouseClick(mainform->activeDocument()->editor()->widget()->viewport(), Qt::LeftButton);
    type(u"x"_s);
    QTRY_COMPARE(copyFiles(program).filter(u".index"_s).size(), 1);
    leaveAsCrashed(program, runs(program).value(0), u"20261211-060000-000-1"_s);
    program.modal.press(u"Nej"_s);
    QVERIFY(program.close());

    program.modal.press(u"Ja"_s);
    program.modal.press(u"Nej"_s);
    program.start();
    keepTextAndRefuseOverwrite(program, letter, 3);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
}

// A file that mixes line-break styles, restored and saved, changes only where it was edited.
void TestRecovery::restoredDocumentKeepsEachLinesBreak()
{
    ProgramFixture program;
    program.start();
    const QString notes = program.writeFile(u"noter.txt"_s, "en\r\nto\nkl\xf8r\rfire\r\n");
    mainform->funk->openwin(notes, QString());
    type(u"Nul "_s);
    QTRY_COMPARE(copyFiles(program).filter(u".index"_s).size(), 1);
    leaveAsCrashed(program, runs(program).value(0), u"20261211-060000-000-1"_s);
    program.modal.press(u"Nej"_s);
    QVERIFY(program.close());

    program.modal.press(u"Ja"_s);
    program.start();
    QCOMPARE(mainform->activeDocument()->editor()->text(), u"Nul en\nto\nklør\nfire\n"_s);
    TAction::updateAll();
    key(u"Ctrl+S"_s);
    QCOMPARE(ProgramFixture::readFile(notes), "Nul en\r\nto\nkl\xf8r\rfire\r\n");
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
}

// A rich document restored from its copy is the document as it was: its text with every format,
// paragraph and list.
void TestRecovery::restoredRichDocumentKeepsItsFormatting()
{
    ProgramFixture program;
    program.start();
    const QString report = program.writeFile(
        u"referat.rtf"_s,
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Tahoma;}{\\f1 Georgia;}}"
        "{\\colortbl;\\red200\\green0\\blue0;}\r\n"
        "\\pard\\qc Midt {\\b fed} {\\cf1 r\\'f8d}\\par\r\n"
        "\\pard{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1\\pndec{\\pntxta .}}en\\par\r\n"
        "\\pard{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1\\pndec{\\pntxta .}}to\\par\r\n"
        "\\pard\\li720{\\f1\\fs32\\i stor}\\par}");
    mainform->funk->openwin(report, QString());
    TDocumentForm *window = mainform->activeDocument();
    QCOMPARE(window->objectName(), u"winform2"_s);
    type(u"Kære "_s);
    QTRY_COMPARE(copyFiles(program).filter(u".index"_s).size(), 1);
    const QByteArray original = Platform::writeRtf(window->editor()->document());
    leaveAsCrashed(program, runs(program).value(0), u"20261211-060000-000-1"_s);
    program.modal.press(u"Nej"_s);
    QVERIFY(program.close());

    program.modal.press(u"Ja"_s);
    program.start();
    const QTextDocument *restored = mainform->activeDocument()->editor()->document();
    QCOMPARE(restored->toPlainText(), u"Midt fed rød\nen\nto\nstorKære "_s);
    QCOMPARE(Platform::writeRtf(restored), original);
    // What the user sees of it.
    const QTextBlock first = restored->firstBlock();
    QCOMPARE(first.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    for (auto it = first.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        QCOMPARE(fragment.charFormat().fontWeight() > QFont::Medium, fragment.text() == u"fed");
        if (fragment.text() == u"rød")
            QCOMPARE(fragment.charFormat().foreground().color(), QColor(200, 0, 0));
    }
    const QTextList *list = first.next().textList();
    QVERIFY(list);
    QCOMPARE(list->format().style(), QTextListFormat::ListDecimal);
    QCOMPARE(list->itemText(first.next().next()), u"2."_s);
    QCOMPARE(restored->lastBlock().begin().fragment().charFormat().fontItalic(), true);
    program.modal.press(u"Nej"_s);
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestRecovery::bigRestoredDocumentLoadsWhileTheWindowShows_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("saved"); // after "Søde " is typed at its start
    QByteArray ansi;
    QByteArray mixed;
    QString text;
    for (int line = 0; text.size() < 2'200'000; ++line) {
        const QString words = u"Linje "_s + QString::number(line) + u": blåbærgrød"_s;
        text += words + u"\n"_s;
        ansi += words.toLatin1() + "\r\n";
        mixed += words.toUtf8() + (line % 3 == 0 ? "\n" : "\r\n");
    }
    QTest::newRow("Windows-1252, CR LF") << ansi << text << "S\xf8" "de " + ansi;
    QTest::newRow("UTF-8, mixed line breaks") << mixed << text << u"Søde "_s.toUtf8() + mixed;
}

// A big unsaved text is brought back as a big file is opened: "Henter …" while its text goes in,
// and meanwhile nothing is written, neither its file nor its copy, and closing asks first. Then it
// is the text that was never saved, and Ctrl+S writes the file in its encoding and line breaks.
void TestRecovery::bigRestoredDocumentLoadsWhileTheWindowShows()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, text);
    QFETCH(QByteArray, saved);
    ProgramFixture program;
    program.start();
    const QString path = program.writeFile(u"stor.txt"_s, file);
    mainform->funk->openwin(path, QString());
    QTRY_VERIFY_WITH_TIMEOUT(!mainform->activeDocument()->isLoading(), 60000);
    type(u"Søde "_s);
    QTRY_COMPARE_WITH_TIMEOUT(copyFiles(program).filter(u".index"_s).size(), 1, 30000);
    const QString crashed = u"20261211-060000-000-1"_s;
    leaveAsCrashed(program, runs(program).value(0), crashed);
    const QByteArray copied = ProgramFixture::readFile(QDir(recoveryFolder(program)).filePath(crashed + u"/1.txt"_s));
    QVERIFY(copied.size() > Platform::BackgroundLoadBytes);
    program.modal.press(u"Nej"_s);
    QVERIFY(program.close());

    // What the user sees and does as soon as the question is answered: the event loop runs this
    // before the first slice of the text goes in.
    QPointer<TDocumentForm> window;
    QStringList early;
    QStringList adopted;
    program.modal.answer([&](QDialog &box) {
        QVERIFY(pressButton(box, u"Ja"_s));
        QTimer::singleShot(0, mainform, [&] {
            window = mainform->activeDocument();
            auto *panel = window->findChild<QWidget *>(u"henterPanel"_s);
            early << window->windowTitle() << (window->isLoading() ? u"loading"_s : u"loaded"_s)
                  << (panel->isVisible() ? panel->findChild<QLabel *>(u"henterLabel"_s)->text() : u"no loading row"_s)
                  << (mainform->docModified ? u"modified"_s : u"unmodified"_s);
            adopted = copyFiles(program);
            TAction::updateAll();
            mainform->fileGem->trigger();
            early << mainform->Info->text();
            program.modal.closeWindow();
            mainform->winLuk->trigger();
            early << program.modal.shown.last().text << (window ? u"still open"_s : u"closed"_s);
        });
    });
    program.start();
    QTRY_VERIFY(!early.isEmpty());
    QCOMPARE(early, (QStringList{u"stor.txt"_s, u"loading"_s, u"Henter …"_s, u"modified"_s,
                                 u"Vent lidt: dokumentet er ved at blive hentet."_s,
                                 u"Dokumentet: stor.txt\ner modificeret.\nSkal det gemmes?"_s, u"still open"_s}));
    QCOMPARE(adopted.filter(u".index"_s).size(), 1);
    const QString copy = QDir(recoveryFolder(program)).filePath(adopted.filter(u".txt"_s).value(0));
    QCOMPARE(ProgramFixture::readFile(copy), copied);
    // The copy stays as it was taken over while the text goes in.
    QStringList seen;
    QTRY_VERIFY_WITH_TIMEOUT((seen << copyFiles(program).join(u' '), !window->isLoading()), 60000);
    seen.removeDuplicates();
    QCOMPARE(seen, QStringList{adopted.join(u' ')});
    QCOMPARE(ProgramFixture::readFile(copy), copied);
    QCOMPARE(ProgramFixture::readFile(path), file);

    mainform->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), mainform);
    QVERIFY(!window->findChild<QWidget *>(u"henterPanel"_s)->isVisible());
    QCOMPARE(window->editor()->text(), u"Søde "_s + text);
    QVERIFY(window->editor()->isModified());
    QVERIFY(mainform->docModified);
    TAction::updateAll();
    key(u"Ctrl+S"_s);
    QCOMPARE(ProgramFixture::readFile(path), saved);
    QVERIFY(!window->editor()->isModified());
    QVERIFY(copyFiles(program).isEmpty());
    QVERIFY(program.close());
    QVERIFY(program.modal.unexpected.isEmpty());
}

void TestRecovery::copyThatCannotBeWrittenIsToldOnce()
{
    ProgramFixture program;
    // Where the recovery folder should be, there is a file.
    QFile blocker(recoveryFolder(program));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    program.start();
    key(u"Ctrl+N"_s);
    program.modal.press(u"OK"_s);
    type(u"Hej"_s);
    QTRY_COMPARE(program.modal.shown.size(), 1);
    const QString told = program.modal.shown[0].text;
    QVERIFY2(told.startsWith(u"Gendannelseskopien kunne ikke skrives:\nMappen kunne ikke oprettes: "_s
                             + QDir::toNativeSeparators(recoveryFolder(program))),
             qPrintable(told));
    // Typing on tries again, and is not told again. The user clicks into the text after the box.
    mainform->activateWindow();
    QTRY_VERIFY(mainform->isActiveWindow());
    QTest::mouseClick(mainform->activeDocument()->editor()->widget()->viewport(), Qt::LeftButton);
    type(u" igen"_s);
    QTest::qWait(600);
    QCOMPARE(program.modal.shown.size(), 1);
    QVERIFY(program.modal.unexpected.isEmpty());
    // The editor goes on working: the text is saved.
    const QString saved = QDir(program.workFolder()).filePath(u"gemt.txt"_s);
    program.dialogs.saveAnswers.enqueue(saved);
    TAction::updateAll();
    key(u"Ctrl+S"_s);
    QCOMPARE(ProgramFixture::readFile(saved), "Hej igen");
}

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
