// How long one recovery copy of unsaved text holds up the user-interface thread, and how much
// memory the copy takes while it is written, for plain documents of 1 and 100 MB (one of them
// mixing line-break styles) and rich documents of 1 and 10 MB. Each document runs in a process of
// its own (run_recovery.sh starts them), so that the memory figures are the copy's alone.
//
//   bench_recovery generate <folder>   writes the documents there
//   bench_recovery copy <file>         opens the file in the program, types a character, and
//                                      measures the copy that follows
//
// The user-interface thread is watched by a timer that fires every millisecond: the longest gap
// between two of its ticks, from the keystroke until the copy is on disk, is the longest the
// program could not have answered a key (the keystroke's own handling is done before the watch
// starts); beside it, the longest the thread computed between two ticks, which leaves out the
// time it waited for a processor that other programs kept busy. The extra memory is the process's
// peak while the copy is taken and written above what it held before (the peak is reset first
// through /proc/self/clear_refs).
// It measures; it never fails on a figure.

#include "app/Main.h"
#include "app/Startup.h"
#include "documents/DocumentForm.h"
#include "documents/DocumentRecovery.h"
#include "opening/Funktioner.h"
#include "platform/Modal.h"
#include "platform/RecoveryStore.h"
#include "platform/RichEdit.h"
#include "widgets/Globals.h"

#include "Measure.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <ctime>

using namespace std::chrono_literals;

using Measure::out;
using Measure::residentMiB;
using Measure::peakMiB;

namespace {

constexpr double kMiB = 1024.0 * 1024.0;
// The pause after typing before a copy is written: short, so that the run is quick.
constexpr auto kPause = 200ms;

// The processor time the calling thread has used.
qint64 threadCpuNs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Sets the process's memory peak back to what it holds now (Linux 4.0 and later).
bool resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

const char *const words[] = {"og",   "i",      "at",   "det",       "er",    "en",          "til",  "på",
                             "som",  "med",    "for",  "ikke",      "også",  "være",        "efter", "når",
                             "skal", "år",     "både", "øje",       "søndag", "København", "Ærø",  "spørgsmål",
                             "kærlighed", "rødgrød", "fløde", "smørrebrød"};
constexpr int kWords = int(sizeof words / sizeof *words);

// Danish lines of about 80 characters, CR LF, in Windows-1252: a file from a Danish Windows desktop.
// With mixed, every seventh line ends in LF alone, as in a file edited on two systems: the copy
// then keeps each line's own break.
bool writePlain(const QString &path, qint64 bytes, bool mixed)
{
    QString text;
    text.reserve(bytes + 100);
    quint32 state = 20261211;
    int inLine = 0;
    int lines = 0;
    while (text.size() < bytes) {
        state = state * 1664525u + 1013904223u;
        const QString word = QString::fromUtf8(words[(state >> 8) % kWords]);
        text += word;
        inLine += int(word.size()) + 1;
        if (inLine > 80) {
            text += mixed && ++lines % 7 == 0 ? QStringLiteral("\n") : QStringLiteral("\r\n");
            inLine = 0;
        } else {
            text += QLatin1Char(' ');
        }
    }
    QFile file(path);
    const QByteArray encoded = text.toLatin1(); // every letter used is in Windows-1252's Latin-1 part
    return file.open(QIODevice::WriteOnly) && file.write(encoded) == encoded.size();
}

// A word in RTF: the letters beyond ASCII as \'hh in Windows-1252.
QByteArray rtfWord(const char *utf8)
{
    QByteArray word;
    for (const QChar c : QString::fromUtf8(utf8)) {
        if (c.unicode() < 0x80)
            word += char(c.unicode());
        else
            word += "\\'" + QByteArray::number(c.unicode(), 16);
    }
    return word;
}

// RTF of about `bytes`: paragraphs of Danish words in changing fonts, sizes, colours and styles.
bool writeRich(const QString &path, qint64 bytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Tahoma;}{\\f1 Georgia;}{\\f2 Courier New;}}"
                     "{\\colortbl;\\red200\\green0\\blue0;\\red0\\green90\\blue160;}\n";
    quint32 state = 20261211;
    int paragraph = 0;
    while (rtf.size() < bytes) {
        rtf += paragraph % 7 == 0 ? "\\pard\\qc " : "\\pard ";
        for (int run = 0; run < 6; ++run) {
            state = state * 1664525u + 1013904223u;
            rtf += "{\\f" + QByteArray::number(state % 3) + "\\fs" + QByteArray::number(16 + 4 * ((state >> 4) % 5))
                   + ((state >> 9) % 3 == 0 ? "\\b" : "") + ((state >> 11) % 4 == 0 ? "\\i" : "") + "\\cf"
                   + QByteArray::number((state >> 13) % 3) + ' ';
            for (int word = 0; word < 8; ++word) {
                state = state * 1664525u + 1013904223u;
                rtf += rtfWord(words[(state >> 8) % kWords]) + ' ';
            }
            rtf += "}";
        }
        rtf += "\\par\n";
        ++paragraph;
    }
    rtf += "}";
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(rtf) == rtf.size();
}

int generate(const QString &folder)
{
    QDir().mkpath(folder);
    const struct {
        const char *name;
        qint64 bytes;
        bool rich;
        bool mixed;
    } documents[] = {{"plain_1MB.txt", 1 << 20, false, false},
                     {"plain_100MB.txt", 100 << 20, false, false},
                     {"plain_100MB_mixed.txt", 100 << 20, false, true},
                     {"rich_1MB.rtf", 1 << 20, true, false},
                     {"rich_10MB.rtf", 10 << 20, true, false}};
    for (const auto &document : documents) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(document.name));
        if (!(document.rich ? writeRich(path, document.bytes) : writePlain(path, document.bytes, document.mixed))) {
            out() << "could not write " << path << Qt::endl;
            return 1;
        }
        out() << "wrote " << path << " (" << QFileInfo(path).size() / kMiB << " MB)" << Qt::endl;
    }
    return 0;
}

// The index file of the run's copy, once there is one.
bool copyWritten(const QString &recoveryFolder)
{
    QDirIterator it(recoveryFolder, {QStringLiteral("*.index")}, QDir::Files, QDirIterator::Subdirectories);
    return it.hasNext();
}

int measureCopy(const QString &path)
{
    QTemporaryDir root;
    qputenv("KYXTAVLO_DATA_ROOT", root.path().toUtf8());
    QStringList boxes;
    Platform::setModalResponder([&boxes](QDialog &box) {
        boxes << box.windowTitle();
        box.reject();
    });
    TRecoveryCopy::setDelays(kPause, 30s);
    if (!createProgram({}, QDir::currentPath()))
        return 1;
    mainform->show();
    mainform->funk->openwin(QDir::toNativeSeparators(path), QString());
    TDocumentForm *window = mainform->activeDocument();
    if (!window) {
        out() << "the document did not open: " << boxes.join(QStringLiteral(", ")) << Qt::endl;
        return 1;
    }
    // Loaded, counted, laid out and painted before anything is measured: a big file comes in
    // slices, and a key typed meanwhile is ignored.
    Platform::RichEdit *editor = window->editor();
    Measure::untilReady(editor);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 2000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);

    // A keystroke, then the copy it leads to, with the user-interface thread watched.
    const QString recoveryFolder = QDir(root.path()).filePath(QStringLiteral("Brugere"));
    editor->widget()->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(editor->widget(), &press);
    QApplication::sendEvent(editor->widget(), &release);
    QApplication::processEvents();
    const double before = residentMiB();
    const bool peakReset = resetPeak();
    QElapsedTimer sinceKey;
    sinceKey.start();
    QElapsedTimer tick;
    tick.start();
    qint64 longestGap = 0;
    // What the thread itself computed between two ticks: on a machine whose processors are busy
    // with other programs, a gap is also time spent waiting for a processor.
    qint64 cpuAtTick = threadCpuNs();
    qint64 longestBusy = 0;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, tick.nsecsElapsed());
        tick.restart();
        const qint64 cpu = threadCpuNs();
        longestBusy = std::max(longestBusy, cpu - cpuAtTick);
        cpuAtTick = cpu;
    });
    probe.start();
    while (!copyWritten(recoveryFolder) && sinceKey.elapsed() < 600'000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    const double written = sinceKey.nsecsElapsed() / 1e9;
    probe.stop();
    const double peak = peakMiB();

    out() << QFileInfo(path).fileName() << '\t' << QString::number(QFileInfo(path).size() / kMiB, 'f', 0) << " MB"
          << "\tlongest UI gap " << QString::number(longestGap / 1e6, 'f', 1) << " ms"
          << " (computing " << QString::number(longestBusy / 1e6, 'f', 1) << " ms)"
          << "\tcopy on disk after " << QString::number(written - std::chrono::duration<double>(kPause).count(), 'f', 2)
          << " s\textra memory "
          << (peakReset ? QString::number(peak - before, 'f', 0) + QStringLiteral(" MB") : QStringLiteral("?"))
          << " (process " << QString::number(before, 'f', 0) << " MB before)";
    if (!boxes.isEmpty())
        out() << "\tboxes: " << boxes.join(QStringLiteral(", "));
    out() << Qt::endl;

    editor->setModified(false);
    destroyProgram();
    Platform::setModalResponder({});
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    Measure::offscreenUnlessChosen();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kyxTavlo"));
    const QStringList args = QApplication::arguments().mid(1);
    const QString path = QFileInfo(args.value(1)).absoluteFilePath();
    if (args.value(0) == QLatin1String("generate") && !args.value(1).isEmpty())
        return generate(path);
    if (args.value(0) == QLatin1String("copy") && QFileInfo(path).isFile())
        return measureCopy(path);
    out() << "usage: bench_recovery generate <folder> | copy <file>" << Qt::endl;
    return 2;
}
