// How long large documents take to read, to show, to answer a keystroke and to save, and how much
// memory that takes. Each scenario runs in its own process (run.sh starts one per scenario), so
// that the process-wide memory peak belongs to that scenario alone.
//
//   bench_documents generate <folder>          writes the test documents, single-line ones among them
//   bench_documents decode <file>              QFile::readAll + Platform::decodeText
//   bench_documents startup                    the program's main window, no document
//   bench_documents open <file>                openwin until the editor has painted the text
//   bench_documents xyinfo <file>              a keystroke mid-document, then TDocumentForm::XYinfo
//   bench_documents xyinfo-pair <small> <big>  the same in two documents, keystrokes taking turns
//   bench_documents save <file>                a small edit, then TDocumentForm::Gem (overwrites!)
//   bench_documents idle <text> <rtf>          both open, the command panel and the boxes shown:
//                                              the CPU time the waiting program uses
//   bench_documents table <raw>                the RESULT lines of all runs as one table
//
// A measuring scenario prints lines "RESULT\tkey\tlabel\tseconds\tpeak MB\tnote" for the table.

#include "Measure.h"

#include "app/Main.h"
#include "app/Startup.h"
#include "documents/DocumentForm.h"
#include "opening/Funktioner.h"
#include "platform/Modal.h"
#include "platform/RichEdit.h"
#include "platform/SystemMemory.h"
#include "platform/TextCodec.h"
#include "widgets/Action.h"
#include "widgets/Globals.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMap>
#include <QSet>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTextStream>
#include <QWindow>

#include <QAbstractEventDispatcher>
#include <QTimer>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include <unistd.h>

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
// Longer than this without the window painting counts as hanging; the scenario reports it.
constexpr qint64 kPaintTimeoutMs = 600'000;

using Measure::err;
using Measure::out;
using Measure::peakMiB;
using Measure::residentMiB;

// ---- memory -------------------------------------------------------------------------------------

// The kernel sets the process's peak back to what it uses now (Linux 4.0 on), so that a peak can
// be read for one step of a scenario.
bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

// Processor time this process has used so far (user and system), from /proc/self/stat.
double cpuSeconds()
{
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // The fields after the command name, which is in parentheses and may hold spaces; utime and
    // stime are fields 14 and 15 of the whole line.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 13)
        return -1;
    return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
}

// ---- results ------------------------------------------------------------------------------------

void result(const QString &key, const QString &label, double seconds, double peak, const QString &note)
{
    out() << "RESULT\t" << key << '\t' << label << '\t' << QString::number(seconds, 'g', 9) << '\t'
          << QString::number(peak, 'f', 1) << '\t' << note << Qt::endl;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

QString micro(double seconds)
{
    return QString::number(seconds * 1e6, 'f', 2) + QStringLiteral(" µs");
}

QString sizeLabel(const QString &path)
{
    return QFileInfo(path).completeBaseName();
}

// ---- documents ----------------------------------------------------------------------------------

// Text as a Danish user writes it: sentences of common words (æ, ø and å among them), headings,
// blank lines between paragraphs, now and then a long unbroken paragraph that wraps on screen.
class LineMaker {
public:
    QByteArray next()
    {
        const int kind = pick(100);
        if (kind < 9)
            return {};
        if (kind < 19)
            return sentence(1 + pick(4), false);
        if (kind < 21)
            return sentence(50 + pick(80), true); // a paragraph on one line
        return sentence(2 + pick(8), true);
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    QByteArray sentence(int words, bool punctuated)
    {
        QByteArray line;
        for (int i = 0; i < words; ++i) {
            QByteArray word = kWords[pick(int(std::size(kWords)))];
            if (i == 0 || (punctuated && line.endsWith(". ")))
                word = capitalised(word);
            line += word;
            if (pick(40) == 0)
                line += ' ' + QByteArray::number(pick(2100));
            if (i + 1 == words)
                line += punctuated ? (pick(6) == 0 ? "?" : ".") : "";
            else
                line += pick(9) == 0 ? ", " : (punctuated && pick(14) == 0 ? ". " : " ");
        }
        return line;
    }

    static QByteArray capitalised(const QByteArray &word)
    {
        QString text = QString::fromUtf8(word);
        text[0] = text[0].toUpper();
        return text.toUtf8();
    }

    static constexpr const char *kWords[] = {
        "og", "i", "at", "det", "er", "en", "til", "på", "som", "med", "for", "af", "den", "har", "de",
        "ikke", "om", "et", "der", "var", "han", "hun", "kan", "vi", "så", "også", "være", "efter",
        "når", "skal", "år", "blev", "hvor", "mange", "første", "større", "både", "øje", "ønske",
        "økonomi", "søndag", "lørdag", "fødselsdag", "København", "Århus", "Ålborg", "Ærø", "Østerbro",
        "Søren", "Kirkegård", "Æblegrød", "hjælpe", "sædvanlig", "grænse", "spørgsmål", "bøger", "kærlighed",
        "dokumentet", "filen", "mappen", "gemmes", "åbnes", "tekst", "skrivebord", "vindue", "tastatur",
        "rødgrød", "fløde", "smørrebrød", "tålmodighed", "håndværker", "færdig", "måske", "nødvendigvis",
        "kommunalbestyrelsesmedlem", "sygehus", "udvikling", "programmet", "brugeren", "indstillinger"};

    std::mt19937 m_random{20240611};
};

// One line of bytes bytes and no line break, as minified scripts are: names, calls, strings,
// numbers and brackets, now and then a space.
bool writeSingleLine(const QString &path, qint64 bytes)
{
    static constexpr const char *kNames[] = {"function", "return", "var", "const", "if", "else", "for", "this",
                                             "null", "true", "document", "window", "length", "push", "map"};
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    std::mt19937 random{20240612};
    const auto pick = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    QByteArray line;
    line.reserve(bytes + 64);
    while (line.size() < bytes) {
        QByteArray name;
        for (int i = pick(4); i >= 0; --i)
            name += char('a' + pick(10));
        const QByteArray word = kNames[pick(int(std::size(kNames)))];
        switch (pick(7)) {
        case 0: line += word + ' ' + name + '='; break;
        case 1: line += name + '(' + name + ',' + name + "){"; break;
        case 2: line += "};" + name + '.' + word + '('; break;
        case 3: line += '"' + name + ' ' + word + '"'; break;
        case 4: line += name + '+' + QByteArray::number(pick(1000)); break;
        case 5: line += '[' + name + ']'; break;
        default: line += "),"; break;
        }
    }
    line.truncate(bytes);
    const bool written = file.write(line) == line.size() && file.flush();
    out() << path << ": " << file.size() << " bytes on one line" << Qt::endl;
    return written;
}

// Writes lines until the file holds at least bytes bytes (or exactly lines lines, when given).
bool writeDocument(const QString &path, qint64 bytes, qint64 lines, const QByteArray &lineBreak)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    LineMaker maker;
    QByteArray chunk;
    qint64 written = 0;
    qint64 count = 0;
    while ((lines > 0 && count < lines) || (lines <= 0 && written + chunk.size() < bytes)) {
        chunk += maker.next();
        chunk += lineBreak;
        ++count;
        if (chunk.size() >= 1 << 20) {
            if (file.write(chunk) != chunk.size())
                return false;
            written += chunk.size();
            chunk.clear();
        }
    }
    if (file.write(chunk) != chunk.size())
        return false;
    out() << path << ": " << file.size() << " bytes, " << count << " lines" << Qt::endl;
    return file.flush();
}

int generate(const QString &folder)
{
    QDir().mkpath(folder);
    const QDir dir(folder);
    // CR LF is what most files from Danish Windows desktops have; one file with LF shows what
    // the conversion of line breaks costs.
    const bool ok = writeDocument(dir.filePath(QStringLiteral("doc_10MB.txt")), 10 * 1024 * 1024, 0, "\r\n")
        && writeDocument(dir.filePath(QStringLiteral("doc_100MB.txt")), 100 * 1024 * 1024, 0, "\r\n")
        && writeDocument(dir.filePath(QStringLiteral("doc_100MB_lf.txt")), 100 * 1024 * 1024, 0, "\n")
        && writeDocument(dir.filePath(QStringLiteral("doc_1000lines.txt")), 0, 1000, "\r\n")
        && writeSingleLine(dir.filePath(QStringLiteral("line_1MB.js")), 1024 * 1024)
        && writeSingleLine(dir.filePath(QStringLiteral("line_5MB.js")), 5 * 1024 * 1024)
        && writeSingleLine(dir.filePath(QStringLiteral("line_50MB.js")), 50 * 1024 * 1024);
    if (!ok)
        err() << "could not write the documents in " << folder << Qt::endl;
    return ok ? 0 : 1;
}

// ---- read and decode ----------------------------------------------------------------------------

int decode(const QString &path)
{
    const qint64 size = QFileInfo(path).size();
    const int repetitions = size > 50 * kMiB ? 3 : 7;
    std::vector<double> seconds;
    qsizetype characters = 0;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            err() << "cannot read " << path << Qt::endl;
            return 1;
        }
        const QByteArray bytes = file.readAll();
        const Platform::DecodedText decoded = Platform::decodeText(bytes);
        seconds.push_back(timer.nsecsElapsed() / 1e9);
        characters = decoded.text.size();
    }
    // The first run is the one a user meets: the later ones reuse memory the first one mapped.
    const auto [fastest, slowest] = std::minmax_element(seconds.begin(), seconds.end());
    result(QStringLiteral("decode-") + sizeLabel(path), QStringLiteral("read + decode ") + sizeLabel(path),
           median(seconds), peakMiB(),
           QStringLiteral("median of %1, first %2 s, range %3-%4 s; %5 characters")
               .arg(repetitions)
               .arg(seconds.front(), 0, 'f', 3)
               .arg(*fastest, 0, 'f', 3)
               .arg(*slowest, 0, 'f', 3)
               .arg(characters));
    return 0;
}

// ---- the program --------------------------------------------------------------------------------

// Notices the paints of every widget in the program: the editor to watch is made only during the
// open being timed.
class PaintWatch : public QObject {
public:
    bool hasPainted(const QWidget *widget) const { return m_painted.contains(widget); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted.insert(watched);
        return QObject::eventFilter(watched, event);
    }

private:
    QSet<const QObject *> m_painted;
};

// The whole program in this process, on its own data root, as the program's main starts it.
class Program {
public:
    Program()
    {
        qputenv("KYXTAVLO_DATA_ROOT", m_root.path().toUtf8());
        // A box that asks or tells something must not stop the benchmark in a modal loop; it is
        // answered "cancel" and reported, since it means the scenario did not run as meant.
        Platform::setModalResponder([this](QDialog &box) {
            QStringList texts;
            for (const QLabel *label : box.findChildren<QLabel *>())
                if (!label->text().isEmpty())
                    texts << label->text().replace(QLatin1Char('\r'), QLatin1Char(' '));
            m_boxes << box.windowTitle() + QStringLiteral(": ") + texts.join(QLatin1Char(' '));
            box.reject();
        });
    }

    ~Program()
    {
        if (m_created)
            destroyProgram();
        Platform::setModalResponder({});
    }

    // The main window shown and painted; false when the program could not start.
    bool start()
    {
        if (!createProgram({}, QDir::currentPath()))
            return false;
        m_created = true;
        mainform->show();
        QElapsedTimer timer;
        timer.start();
        while (!(mainform->windowHandle() && mainform->windowHandle()->isExposed())) {
            if (timer.elapsed() > kPaintTimeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        settle();
        return true;
    }

    // Opens the file as the program does and waits until its editor has painted and has all the
    // text (a big file goes in after the first paint); the document window, or nullptr when none
    // opened or it never painted.
    TDocumentForm *open(const QString &path, double *openwinSeconds, double *paintedSeconds,
                        double *loadedSeconds = nullptr)
    {
        PaintWatch watch;
        qApp->installEventFilter(&watch);
        QElapsedTimer timer;
        timer.start();
        mainform->funk->openwin(path, QString());
        *openwinSeconds = timer.nsecsElapsed() / 1e9;
        TDocumentForm *window = mainform->activeDocument();
        if (!window || window->Filnavn != path) {
            qApp->removeEventFilter(&watch);
            return nullptr;
        }
        const QWidget *viewport = window->editor()->widget()->viewport();
        while (!watch.hasPainted(viewport) && timer.elapsed() < kPaintTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        *paintedSeconds = timer.nsecsElapsed() / 1e9;
        qApp->removeEventFilter(&watch);
        if (!watch.hasPainted(viewport))
            return nullptr;
        Measure::untilReady(window->editor());
        if (loadedSeconds)
            *loadedSeconds = timer.nsecsElapsed() / 1e9;
        settle();
        return window;
    }

    // Lets posted events, layouts and idle updates run out.
    static void settle()
    {
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    QString boxesNote() const
    {
        return m_boxes.isEmpty() ? QString() : QStringLiteral("; BOXES SHOWN: ") + m_boxes.join(QStringLiteral(" | "));
    }

private:
    QTemporaryDir m_root;
    bool m_created = false;
    QStringList m_boxes;
};

// A letter typed as the user types it: press and release reach the editor, whose window updates
// its caret fields on the release.
void typeLetter(QWidget *editor, QChar letter)
{
    const int key = Qt::Key_A + (letter.toUpper().unicode() - u'A');
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(letter));
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(letter));
    QCoreApplication::sendEvent(editor, &press);
    QCoreApplication::sendEvent(editor, &release);
}

void putCaretMidDocument(TDocumentForm *window)
{
    Platform::RichEdit *editor = window->editor();
    editor->setSelection(editor->textLength() / 2, 0);
    editor->widget()->setFocus();
    Program::settle();
}

int startup()
{
    Program program;
    QElapsedTimer timer;
    timer.start();
    if (!program.start()) {
        err() << "the program did not start" << program.boxesNote() << Qt::endl;
        return 1;
    }
    result(QStringLiteral("startup"), QStringLiteral("program started, no document"), timer.nsecsElapsed() / 1e9,
           peakMiB(), QStringLiteral("createProgram + show until exposed") + program.boxesNote());
    return 0;
}

int openDocument(const QString &path)
{
    Program program;
    if (!program.start()) {
        err() << "the program did not start" << program.boxesNote() << Qt::endl;
        return 1;
    }
    const double before = peakMiB();
    double openwin = 0;
    double painted = 0;
    double loaded = 0;
    TDocumentForm *window = program.open(path, &openwin, &painted, &loaded);
    if (!window) {
        err() << "the document window did not show " << path << program.boxesNote() << Qt::endl;
        return 1;
    }
    result(QStringLiteral("open-") + sizeLabel(path), QStringLiteral("open + paint ") + sizeLabel(path), painted,
           peakMiB(),
           QStringLiteral("openwin itself %1 s; all text in after %2 s; %3 lines; program alone %4 MB, resident after %5 MB")
                   .arg(openwin, 0, 'f', 3)
                   .arg(loaded, 0, 'f', 3)
                   .arg(window->editor()->document()->blockCount())
                   .arg(before, 0, 'f', 1)
                   .arg(residentMiB(), 0, 'f', 1)
               + program.boxesNote());
    return 0;
}

// Keystrokes into one document window, each followed by what happens between two keystrokes and
// then by a timed XYinfo.
class CaretTimes {
public:
    explicit CaretTimes(TDocumentForm *window)
        : m_window(window)
    {
        putCaretMidDocument(window);
    }

    void keystroke()
    {
        QElapsedTimer timer;
        timer.start();
        typeLetter(m_window->editor()->widget(), QLatin1Char("kyxtavlo"[m_keystroke.size() % 8]));
        m_keystroke.push_back(timer.nsecsElapsed() / 1e9);
        // Painting, the spelling pass and idle updates run as they would between two keystrokes.
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        timer.restart();
        m_window->XYinfo();
        m_caretInfo.push_back(timer.nsecsElapsed() / 1e9);
        // What XYinfo asks of the editor without the labels it sets: the part that could grow
        // with the document. Virtual calls into another translation unit are not optimised away.
        timer.restart();
        m_window->editor()->displayedLineCount();
        m_window->editor()->caretPosition();
        m_editorQueries.push_back(timer.nsecsElapsed() / 1e9);
    }

    int lines() const { return m_window->editor()->document()->blockCount(); }
    QString key() const
    {
        if (m_window->editor()->hasLongLines())
            return QStringLiteral("longline");
        return lines() >= 100'000 ? QStringLiteral("big") : QStringLiteral("small");
    }

    void report(const QString &keyPrefix, const QString &labelSuffix, const QString &extraNote) const
    {
        const double peak = peakMiB();
        const double fastest = *std::min_element(m_caretInfo.begin(), m_caretInfo.end());
        result(keyPrefix + QStringLiteral("xyinfo-") + key(), QStringLiteral("XYinfo, %1 lines").arg(lines()) + labelSuffix,
               median(m_caretInfo), peak,
               QStringLiteral("median of %1 = %2, fastest %3 (line count + caret query alone %4); caret at line %5 of %6")
                       .arg(m_caretInfo.size())
                       .arg(micro(median(m_caretInfo)), micro(fastest), micro(median(m_editorQueries)))
                       .arg(m_window->posY + 1)
                       .arg(m_window->LinieAntal)
                   + extraNote);
        result(keyPrefix + QStringLiteral("keystroke-") + key(), QStringLiteral("keystroke, %1 lines").arg(lines()) + labelSuffix,
               median(m_keystroke), peak,
               QStringLiteral("press + release incl. XYinfo, median of %1 = %2")
                   .arg(m_keystroke.size())
                   .arg(micro(median(m_keystroke))));
    }

private:
    TDocumentForm *m_window;
    std::vector<double> m_keystroke;
    std::vector<double> m_caretInfo;
    std::vector<double> m_editorQueries;
};

constexpr int kKeystrokes = 1001;

int xyinfo(const QString &path)
{
    Program program;
    if (!program.start())
        return 1;
    double openwin = 0;
    double painted = 0;
    TDocumentForm *window = program.open(path, &openwin, &painted);
    if (!window) {
        err() << "the document window did not show " << path << program.boxesNote() << Qt::endl;
        return 1;
    }
    CaretTimes times(window);
    for (int i = 0; i < kKeystrokes; ++i)
        times.keystroke();
    times.report(QString(), QString(), program.boxesNote());
    return 0;
}

// Both documents open in one program, their keystrokes taking turns: whatever else the machine
// does then slows both alike, which separate processes cannot promise for timings of a few
// microseconds. The memory peak here is of both documents together.
int xyinfoPair(const QString &smallPath, const QString &bigPath)
{
    Program program;
    if (!program.start())
        return 1;
    std::vector<std::unique_ptr<CaretTimes>> documents;
    for (const QString &path : {smallPath, bigPath}) {
        double openwin = 0;
        double painted = 0;
        TDocumentForm *window = program.open(path, &openwin, &painted);
        if (!window) {
            err() << "the document window did not show " << path << program.boxesNote() << Qt::endl;
            return 1;
        }
        documents.push_back(std::make_unique<CaretTimes>(window));
    }
    for (int i = 0; i < kKeystrokes; ++i) {
        // Which document goes first changes, so that neither always follows the other's work.
        documents[i % 2]->keystroke();
        documents[1 - i % 2]->keystroke();
    }
    for (const auto &document : documents)
        document->report(QStringLiteral("pair-"), QStringLiteral(", interleaved"),
                         QStringLiteral("; both documents open, keystrokes taking turns") + program.boxesNote());
    return 0;
}

int saveDocument(const QString &path)
{
    const qint64 sizeBefore = QFileInfo(path).size();
    Program program;
    if (!program.start())
        return 1;
    double openwin = 0;
    double painted = 0;
    TDocumentForm *window = program.open(path, &openwin, &painted);
    if (!window) {
        err() << "the document window did not show " << path << program.boxesNote() << Qt::endl;
        return 1;
    }
    putCaretMidDocument(window);
    typeLetter(window->editor()->widget(), QLatin1Char('x'));
    Program::settle();
    const bool modified = window->editor()->isModified();

    const double resident = residentMiB();
    const bool peakReset = resetPeak();
    QElapsedTimer timer;
    timer.start();
    const bool saved = window->Gem();
    const double seconds = timer.nsecsElapsed() / 1e9;
    const double savePeak = peakMiB();

    const qint64 sizeAfter = QFileInfo(path).size();
    QString note = QStringLiteral("Gem() %1, edited before: %2, file %3 -> %4 bytes; ")
                       .arg(saved ? QStringLiteral("saved") : QStringLiteral("FAILED"),
                            modified ? QStringLiteral("yes") : QStringLiteral("NO"))
                       .arg(sizeBefore)
                       .arg(sizeAfter);
    note += peakReset ? QStringLiteral("resident before %1 MB, peak during save %2 MB (+%3)")
                            .arg(resident, 0, 'f', 1)
                            .arg(savePeak, 0, 'f', 1)
                            .arg(savePeak - resident, 0, 'f', 1)
                      : QStringLiteral("peak could not be reset: the figure is the whole run's");
    result(QStringLiteral("save-") + sizeLabel(path), QStringLiteral("save (Gem) ") + sizeLabel(path), seconds,
           savePeak, note + program.boxesNote());
    return saved ? 0 : 1;
}

// ---- the table ----------------------------------------------------------------------------------

struct Row {
    QString label;
    std::vector<double> seconds;
    double peak = 0;
    QString note;
};

QString secondsText(double seconds)
{
    return seconds >= 0.001 ? QString::number(seconds, 'f', 3) : QString::number(seconds, 'e', 2);
}

// The program waiting for the user with one document of each kind open, the command panel shown
// and the boxes open: how much processor time it uses and how often its event loop wakes.
int idle(const QString &textPath, const QString &rtfPath)
{
    Program program;
    if (!program.start()) {
        err() << "the program did not start" << program.boxesNote() << Qt::endl;
        return 1;
    }
    for (const QString &path : {textPath, rtfPath}) {
        double openwin = 0;
        double painted = 0;
        if (!program.open(path, &openwin, &painted)) {
            err() << "the document window did not show " << path << program.boxesNote() << Qt::endl;
            return 1;
        }
    }
    mainform->openMenu3->trigger();
    for (TAction *box : {mainform->mappefilBox, mainform->favoritBox, mainform->dokumentBox, mainform->aSearchTekst,
                         mainform->aSearchMappeFiler, mainform->openGenvejsboksen})
        box->trigger();
    Program::settle();

    constexpr int kIdleMs = 5000;
    int wakes = 0;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::awake, qApp, [&wakes] { ++wakes; });
    QEventLoop loop;
    QTimer::singleShot(kIdleMs, &loop, &QEventLoop::quit);
    const double before = cpuSeconds();
    loop.exec();
    const double used = cpuSeconds() - before;
    result(QStringLiteral("idle"), QStringLiteral("idle %1 s: processor seconds used").arg(kIdleMs / 1000), used, peakMiB(),
           QStringLiteral("%1 % of a CPU; the event loop woke %2 times; a text and an RTF document, the Søg page "
                          "and six boxes shown")
                   .arg(100.0 * used / (kIdleMs / 1000.0), 0, 'f', 1)
                   .arg(wakes)
               + program.boxesNote());
    return 0;
}

int table(const QString &rawPath)
{
    QFile raw(rawPath);
    if (!raw.open(QIODevice::ReadOnly)) {
        err() << "cannot read " << rawPath << Qt::endl;
        return 1;
    }
    QStringList order;
    QMap<QString, Row> rows;
    for (const QByteArray &bytes : raw.readAll().split('\n')) {
        const QStringList fields = QString::fromUtf8(bytes).split(QLatin1Char('\t'));
        if (fields.size() < 6 || fields[0] != QLatin1String("RESULT"))
            continue;
        if (!rows.contains(fields[1]))
            order << fields[1];
        Row &row = rows[fields[1]];
        row.label = fields[2];
        row.seconds.push_back(fields[3].toDouble());
        row.peak = std::max(row.peak, fields[4].toDouble());
        if (row.note.isEmpty())
            row.note = fields[5];
    }

    QStringList lines;
    const auto add = [&lines](const QString &scenario, const QString &seconds, const QString &peak, const QString &note) {
        lines << scenario.leftJustified(40) + QLatin1Char(' ') + seconds.rightJustified(10) + QLatin1Char(' ')
                + peak.rightJustified(9) + QStringLiteral("   ") + note;
    };
    add(QStringLiteral("scenario"), QStringLiteral("seconds"), QStringLiteral("peak MB"), QStringLiteral("notes"));
    lines << QString(100, QLatin1Char('-'));
    for (const QString &key : std::as_const(order)) {
        const Row &row = rows[key];
        QString note = row.note;
        if (row.seconds.size() > 1)
            note = QStringLiteral("median of %1 runs; first run: ").arg(row.seconds.size()) + note;
        add(row.label, secondsText(median(row.seconds)), QString::number(row.peak, 'f', 1), note);
    }
    for (const QString &prefix : {QString(), QStringLiteral("pair-")}) {
        const QString smallKey = prefix + QStringLiteral("xyinfo-small");
        const QString bigKey = prefix + QStringLiteral("xyinfo-big");
        if (!rows.contains(smallKey) || !rows.contains(bigKey))
            continue;
        const double small = median(rows[smallKey].seconds);
        const double big = median(rows[bigKey].seconds);
        add(QStringLiteral("XYinfo ratio, big / small") + (prefix.isEmpty() ? QString() : QStringLiteral(", interleaved")),
            small > 0 ? QString::number(big / small, 'f', 2) : QStringLiteral("-"), QString(),
            QStringLiteral("a ratio of medians, not seconds; aim: under 2"));
    }
    out() << lines.join(QLatin1Char('\n')) << Qt::endl;
    return 0;
}

int usage()
{
    err() << "usage: bench_documents generate <folder> | decode <file> | startup | open <file> | xyinfo <file> | "
             "xyinfo-pair <small file> <big file> | save <file> | idle <text file> <rtf file> | table <raw results>"
          << Qt::endl;
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    Measure::offscreenUnlessChosen();
    // Memory is handed out as the program's own main has it handed out.
    Platform::giveLargeBlocksBack();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kyxTavlo"));
    const QStringList args = QApplication::arguments().mid(1);
    const QString scenario = args.value(0);
    const QString file = args.value(1);
    if (scenario == QLatin1String("startup"))
        return startup();
    if (file.isEmpty())
        return usage();
    const QString path = QFileInfo(file).absoluteFilePath();
    if (scenario == QLatin1String("generate"))
        return generate(path);
    if (scenario == QLatin1String("table"))
        return table(path);
    if (!QFileInfo(path).isFile()) {
        err() << "no such file: " << path << Qt::endl;
        return 1;
    }
    if (scenario == QLatin1String("decode"))
        return decode(path);
    if (scenario == QLatin1String("open"))
        return openDocument(path);
    if (scenario == QLatin1String("xyinfo"))
        return xyinfo(path);
    if (scenario == QLatin1String("xyinfo-pair")) {
        const QString big = QFileInfo(args.value(2)).absoluteFilePath();
        if (args.value(2).isEmpty() || !QFileInfo(big).isFile())
            return usage();
        return xyinfoPair(path, big);
    }
    if (scenario == QLatin1String("save"))
        return saveDocument(path);
    if (scenario == QLatin1String("idle")) {
        const QString rtf = QFileInfo(args.value(2)).absoluteFilePath();
        if (args.value(2).isEmpty() || !QFileInfo(rtf).isFile())
            return usage();
        return idle(path, rtf);
    }
    return usage();
}
