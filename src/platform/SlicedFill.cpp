#include "platform/SlicedFill.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPlainTextEdit>
#include <QTextDocument>

namespace Platform {

namespace {

// A slice takes about this long: the event loop then comes round often enough for the window to
// answer at once.
constexpr int kSliceMilliseconds = 40;

} // namespace

SlicedFill::SlicedFill(QPlainTextEdit *view)
    : QObject(view)
    , m_view(view)
    , m_document(view->document())
{
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &SlicedFill::step);
    view->installEventFilter(this);
}

QStringList SlicedFill::parts(QString text)
{
    QStringList parts;
    while (text.size() > PartCharacters) {
        // Parts end behind a line break where there is one near, so that they go in as whole
        // lines, and never inside a surrogate pair.
        qsizetype start = text.size() - PartCharacters;
        const qsizetype from = start - PartCharacters / 2;
        if (const qsizetype lineEnd = QStringView(text).sliced(from, start - from).lastIndexOf(u'\n'); lineEnd >= 0)
            start = from + lineEnd + 1;
        else if (text.at(start).isLowSurrogate())
            --start;
        parts.prepend(text.sliced(start));
        text.truncate(start);
        // Giving back the end of a large block costs no copy.
        text.squeeze();
    }
    parts.prepend(std::move(text));
    return parts;
}

void SlicedFill::start()
{
    m_parts.clear();
    m_ended = false;
    m_filling = true;
    m_partNanoseconds = 0;
    m_document->setUndoRedoEnabled(false);
    m_end = QTextCursor(m_document);
    m_end.movePosition(QTextCursor::End);
}

void SlicedFill::add(QString part, int percent)
{
    m_parts.push_back({std::move(part), percent});
    goOn();
}

void SlicedFill::end()
{
    m_ended = true;
    goOn();
}

void SlicedFill::goOn()
{
    // Shown, the area takes its size before the event loop comes round again.
    if (m_filling && m_view->isVisible() && !m_next.isActive())
        m_next.start();
}

bool SlicedFill::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Show)
        goOn();
    return QObject::eventFilter(watched, event);
}

void SlicedFill::step()
{
    if (!m_filling || !m_view->isVisible())
        return; // goes on when shown
    QElapsedTimer slice;
    slice.start();
    int percent = -1;
    if (!m_parts.empty()) {
        const bool first = m_document->isEmpty();
        // One change for the whole slice: the area takes in its new size and the listeners to the
        // document hear of it once, not once a part.
        m_end.beginEditBlock();
        do {
            const qint64 partStart = slice.nsecsElapsed();
            m_end.insertText(m_parts.front().text);
            percent = m_parts.front().percent;
            m_parts.pop_front();
            m_partNanoseconds = slice.nsecsElapsed() - partStart;
        } while (!m_parts.empty() && slice.nsecsElapsed() + m_partNanoseconds < kSliceMilliseconds * 1'000'000);
        m_end.endEditBlock();
        // The caret, at the start and so where the first text went in, was carried to its end,
        // and its anchor goes on with every part; a caret of its own stays where it is.
        if (first)
            m_view->setTextCursor(QTextCursor(m_document));
        // The filling is no change of the user's.
        m_document->setModified(false);
    }
    if (!m_parts.empty() || !m_ended) {
        if (percent >= 0)
            emit progress(percent);
        if (!m_parts.empty())
            m_next.start();
        return;
    }
    m_filling = false;
    m_end = QTextCursor();
    m_document->setUndoRedoEnabled(true);
    emit progress(100);
    emit finished();
}

} // namespace Platform
