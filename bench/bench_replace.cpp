// What "Find alle forekomster" costs on large plain documents: counting every occurrence of a word
// (FindOrd), replacing every one (ErstatTekst), undoing the replace, and sed doing the same
// replacement on the same file, all in one run. Documents of 10 MB with 200 000 and with 20 000
// occurrences, and of 1 MB with 20 000 and 3 MB with 60 000 (the density of the first), show how
// the cost grows with the occurrences and with the size. The two smaller ones are also measured in
// a rich-text window.
//
//   bench_replace <folder>     writes the documents there and prints the table
//
// It measures; it never fails on a figure.

#include "Measure.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "documents/DocumentForm.h"
#include "documents/FindReplace.h"
#include "opening/Funktioner.h"
#include "platform/Modal.h"
#include "platform/RichEdit.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"
#include "widgets/RadioGroup.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QWindow>

#include <functional>
#include <random>

namespace {

const QString kWord = QStringLiteral("kyxord");
const QString kReplacement = QStringLiteral("kyxnavn");

using Measure::out;
using Measure::peakMiB;

// Danish sentences in lines ending with CR LF, the word spread evenly: exactly `occurrences` of
// it in a file of about `bytes` bytes.
bool writeDocument(const QString &path, qint64 bytes, int occurrences)
{
    static const char *const words[] = {"og", "i", "at", "det", "er", "en", "til", "på", "som", "med", "for",
                                        "ikke", "også", "være", "efter", "når", "skal", "år", "både", "øje",
                                        "søndag", "København", "Ærø", "spørgsmål", "kærlighed", "dokumentet",
                                        "ordet", "ord", "tekst", "vindue", "rødgrød", "fløde", "smørrebrød"};
    std::mt19937 random(20240611);
    const qint64 spacing = bytes / occurrences;
    QByteArray text;
    text.reserve(bytes + 1024);
    int placed = 0;
    int wordsInLine = 0;
    while (text.size() < bytes || placed < occurrences) {
        if (placed < occurrences && text.size() >= placed * spacing) {
            text += kWord.toUtf8();
            ++placed;
        } else {
            text += words[std::uniform_int_distribution<int>(0, int(std::size(words)) - 1)(random)];
        }
        text += ++wordsInLine == 12 ? "\r\n" : " ";
        if (wordsInLine == 12)
            wordsInLine = 0;
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

void settle()
{
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Row {
    QString scenario;
    QString document;
    int count;
    double seconds;
    QString note;
};

QList<Row> rows;

void add(const QString &scenario, const QString &document, int count, double seconds, const QString &note = {})
{
    rows.append({scenario, document, count, seconds, note});
    QTextStream(stderr) << scenario << ' ' << document << ' ' << seconds << Qt::endl;
}

// "Find alle forekomster" of the word, no whole words, letters of either case: the page's defaults;
// with all false, the next occurrence only (F3).
void setSearch(bool forward, bool all = true)
{
    mainform->ordEdit->setText(kWord);
    mainform->erstatEdit->setText(kReplacement);
    mainform->retGroup->setItemIndex(forward ? 1 : 0);
    mainform->erstatAlleCheck->setChecked(all);
    mainform->HeleOrdCheck->setChecked(false);
    mainform->SsCheck->setChecked(false);
}

// Runs the command, then lets the window lay out and paint what changed, as it would before the
// user sees the result; returns the seconds of both, the command's alone in *command.
double timed(const std::function<void()> &command, double *commandSeconds)
{
    QElapsedTimer timer;
    timer.start();
    command();
    *commandSeconds = timer.nsecsElapsed() / 1e9;
    settle();
    return timer.nsecsElapsed() / 1e9;
}

QString withEvents(double seconds)
{
    return QStringLiteral("with layout and paint after it %1 s").arg(seconds, 0, 'f', 3);
}

// The program's measurements of one document; its replaced text goes to *replaced.
bool measureProgram(const QString &path, QString *replaced)
{
    const QString name = QFileInfo(path).completeBaseName();
    mainform->funk->openwin(path, QString());
    TDocumentForm *window = mainform->activeDocument();
    if (!window || window->Filnavn != path)
        return false;
    Platform::RichEdit *editor = window->editor();
    Measure::untilReady(editor);
    settle();
    const int originalLength = editor->textLength();

    double command = 0;
    setSearch(true);
    editor->setSelection(0, 0);
    int count = 0;
    double all = timed([&] { count = window->FindOrd(mainform->searchSettings()); }, &command);
    add(QStringLiteral("FindOrd, forward, all"), name, count, command, withEvents(all));

    editor->setSelection(editor->textLength(), 0);
    setSearch(false);
    all = timed([&] { count = window->FindOrd(mainform->searchSettings()); }, &command);
    add(QStringLiteral("FindOrd, backward, all"), name, count, command, withEvents(all));

    setSearch(true, false);
    editor->setSelection(editor->textLength() / 2, 0);
    all = timed([&] { count = window->FindOrd(mainform->searchSettings()); }, &command);
    add(QStringLiteral("FindOrd, forward, the next one (F3)"), name, count, command, withEvents(all));

    setSearch(true);
    editor->setSelection(0, 0);
    all = timed([&] { count = window->ErstatTekst(mainform->searchSettings()); }, &command);
    add(QStringLiteral("ErstatTekst, forward, all"), name, count, command, withEvents(all));
    *replaced = editor->text();

    all = timed([&] { window->EditUndo1->trigger(); }, &command);
    add(QStringLiteral("undo of the whole replace (one Ctrl+Z)"), name, -1, command,
        withEvents(all) + (editor->textLength() == originalLength ? QStringLiteral("; length restored")
                                                                   : QStringLiteral("; LENGTH NOT RESTORED")));

    setSearch(false);
    editor->setSelection(editor->textLength(), 0);
    all = timed([&] { count = window->ErstatTekst(mainform->searchSettings()); }, &command);
    add(QStringLiteral("ErstatTekst, backward, all"), name, count, command, withEvents(all));

    editor->setModified(false);
    window->close();
    settle();
    return true;
}

// The same in a rich-text window, the text put in as plain text: QTextEdit lays out the whole
// document, so this runs on the smaller documents only.
bool measureRich(const QString &path)
{
    const QString name = QFileInfo(path).completeBaseName() + QStringLiteral(" rich");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    mainform->fileNewRtf->trigger();
    TDocumentForm *window = mainform->activeDocument();
    if (!window)
        return false;
    Platform::RichEdit *editor = window->editor();
    editor->document()->setPlainText(QString::fromUtf8(file.readAll()));
    settle();

    double command = 0;
    int count = 0;
    setSearch(true);
    editor->setSelection(0, 0);
    double all = timed([&] { count = window->FindOrd(mainform->searchSettings()); }, &command);
    add(QStringLiteral("FindOrd, forward, all"), name, count, command, withEvents(all));
    editor->setSelection(0, 0);
    all = timed([&] { count = window->ErstatTekst(mainform->searchSettings()); }, &command);
    add(QStringLiteral("ErstatTekst, forward, all"), name, count, command, withEvents(all));
    all = timed([&] { window->EditUndo1->trigger(); }, &command);
    add(QStringLiteral("undo of the whole replace (one Ctrl+Z)"), name, -1, command, withEvents(all));

    editor->setModified(false);
    window->close();
    settle();
    return true;
}

void measureSed(const QString &path, const QString &replaced)
{
    const QString name = QFileInfo(path).completeBaseName();
    const QString sed = QStandardPaths::findExecutable(QStringLiteral("sed"));
    if (sed.isEmpty()) {
        add(QStringLiteral("sed"), name, -1, 0, QStringLiteral("sed not found"));
        return;
    }
    const QString result = path + QStringLiteral(".sed");
    QProcess process;
    process.setStandardOutputFile(result);
    QElapsedTimer timer;
    timer.start();
    process.start(sed, {QStringLiteral("s/") + kWord + QLatin1Char('/') + kReplacement + QStringLiteral("/gI"), path});
    process.waitForFinished(-1);
    const double seconds = timer.nsecsElapsed() / 1e9;
    QFile file(result);
    QString text;
    if (file.open(QIODevice::ReadOnly))
        text = QString::fromUtf8(file.readAll()).replace(QLatin1String("\r\n"), QLatin1String("\n"));
    add(QStringLiteral("sed s/…/…/gI > file"), name, -1, seconds,
        text == replaced ? QStringLiteral("same text as ErstatTekst") : QStringLiteral("TEXT DIFFERS FROM ErstatTekst"));
}

} // namespace

int main(int argc, char *argv[])
{
    Measure::offscreenUnlessChosen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kyxTavlo"));
    const QString folder = QApplication::arguments().value(1);
    if (folder.isEmpty()) {
        QTextStream(stderr) << "usage: bench_replace <folder for the documents>" << Qt::endl;
        return 2;
    }
    QDir().mkpath(folder);
    const QDir dir(folder);
    struct Document {
        QString path;
        qint64 bytes;
        int occurrences;
    };
    const QList<Document> documents = {{dir.absoluteFilePath(QStringLiteral("10MB_200000.txt")), 10 << 20, 200'000},
                                       {dir.absoluteFilePath(QStringLiteral("10MB_20000.txt")), 10 << 20, 20'000},
                                       {dir.absoluteFilePath(QStringLiteral("1MB_20000.txt")), 1 << 20, 20'000},
                                       {dir.absoluteFilePath(QStringLiteral("3MB_60000.txt")), 3 << 20, 60'000}};
    for (const Document &document : documents) {
        if (!writeDocument(document.path, document.bytes, document.occurrences)) {
            QTextStream(stderr) << "cannot write " << document.path << Qt::endl;
            return 1;
        }
    }

    QTemporaryDir root;
    qputenv("KYXTAVLO_DATA_ROOT", root.path().toUtf8());
    QStringList boxes;
    Platform::setModalResponder([&boxes](QDialog &box) {
        boxes << box.windowTitle();
        box.reject();
    });
    if (!createProgram({}, QDir::currentPath())) {
        QTextStream(stderr) << "the program did not start" << Qt::endl;
        return 1;
    }
    mainform->show();
    settle();
    for (const Document &document : documents) {
        QString replaced;
        if (!measureProgram(document.path, &replaced)) {
            QTextStream(stderr) << "the document did not open: " << document.path << Qt::endl;
            return 1;
        }
        measureSed(document.path, replaced);
    }
    for (const Document &document : documents) {
        if (document.bytes < (10 << 20) && !measureRich(document.path)) {
            QTextStream(stderr) << "no rich window for " << document.path << Qt::endl;
            return 1;
        }
    }
    destroyProgram();
    Platform::setModalResponder({});

    out() << "scenario                                  document         found     seconds   notes" << Qt::endl;
    out() << QString(110, QLatin1Char('-')) << Qt::endl;
    for (const Row &row : std::as_const(rows))
        out() << row.scenario.leftJustified(41) << ' ' << row.document.leftJustified(14) << ' '
              << (row.count < 0 ? QString() : QString::number(row.count)).rightJustified(8) << ' '
              << QString::number(row.seconds, 'f', 3).rightJustified(10) << "   " << row.note << Qt::endl;
    out() << "peak memory of the whole run: " << QString::number(peakMiB(), 'f', 1) << " MB"
          << (boxes.isEmpty() ? QString() : QStringLiteral("; BOXES SHOWN: ") + boxes.join(QStringLiteral(", ")))
          << Qt::endl;
    return 0;
}
