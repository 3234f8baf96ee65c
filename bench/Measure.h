#pragma once

// What every benchmark measures with: its own output streams and the process's memory, read from
// /proc (Linux), in MiB.

#include "platform/RichEdit.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QtGlobal>

namespace Measure {

// Without a display a benchmark runs offscreen; one started with a platform of its own (an X server
// for real windows) keeps it. Called before the application object is made.
inline void offscreenUnlessChosen()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Waits until the editor has all its text and knows how many lines it shows: a big file goes into
// its window in slices after the window shows, and until then the text is neither searched nor
// edited; its wrapped lines are then counted in slices while the program is idle, which would
// show in what is measured next.
inline void untilReady(const Platform::RichEdit *editor)
{
    while (editor->isLoading())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    editor->displayedLineCount();
    while (!editor->displayedLinesKnown())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

inline QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

inline QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

// A field of /proc/self/status given in kB ("VmHWM", "VmRSS"); -1 when it cannot be read.
inline double statusMiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).simplified().split(' ').value(0).toDouble() / 1024.0;
    }
    return -1;
}

// The process's memory peak so far.
inline double peakMiB()
{
    return statusMiB("VmHWM");
}

inline double residentMiB()
{
    return statusMiB("VmRSS");
}

} // namespace Measure
