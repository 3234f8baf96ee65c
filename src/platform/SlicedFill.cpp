#include "platform/SlicedFill.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QTextDocument>
#include <QWidget>

namespace Platform {

namespace {

// A slice takes about this long: the event loop then comes round often enough for the window to
// answer at once.
constexpr int kSliceMilliseconds = 40;
// A part goes into the document at once: a few milliseconds' worth. Each costs the area a new
// scroll range besides its text, and each is a block of its own that the system takes back as
// soon as the part is in.
constexpr qsizetype kPartCharacters = 256 * 1024;

} // namespace

SlicedFill::SlicedFill(QTextDocument *document, QWidget *view)
    : QObject(view)
    , m_document(document)
    , m_view(view)
{
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &SlicedFill::step);
    view->installEventFilter(this);
}

QStringList SlicedFill::parts(QString text)
{
    QStringList parts;
    while (text.size() > kPartCharacters) {
        // Parts end behind a line break where there is one near, so that they go in as whole
        // lines, and never inside a surrogate pair.
        qsizetype start = text.size() - kPartCharacters;
        const qsizetype from = start - kPartCharacters / 2;
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

void SlicedFill::fill(QStringList parts)
{
    m_parts = std::move(parts);
    m_part = 0;
    m_done = 0;
    m_size = 0;
    for (const QString &part : std::as_const(m_parts))
        m_size += part.size();
    m_filling = true;
    m_document->setUndoRedoEnabled(false);
    m_end = QTextCursor(m_document);
    m_end.movePosition(QTextCursor::End);
    if (m_view->isVisible())
        m_next.start();
}

bool SlicedFill::eventFilter(QObject *watched, QEvent *event)
{
    // Shown, the area takes its size before the event loop comes round again.
    if (watched == m_view && event->type() == QEvent::Show && m_filling)
        m_next.start();
    return QObject::eventFilter(watched, event);
}

void SlicedFill::step()
{
    if (!m_filling)
        return;
    if (!m_view->isVisible())
        return; // goes on when shown
    QElapsedTimer slice;
    slice.start();
    while (m_part < m_parts.size() && !slice.hasExpired(kSliceMilliseconds)) {
        m_end.insertText(m_parts[m_part]);
        m_done += m_parts[m_part].size();
        m_parts[m_part++] = QString();
    }
    // The filling is no change of the user's.
    m_document->setModified(false);
    if (m_part < m_parts.size()) {
        emit progress(int(m_done * 100 / m_size));
        m_next.start();
        return;
    }
    m_filling = false;
    m_parts.clear();
    m_end = QTextCursor();
    m_document->setUndoRedoEnabled(true);
    emit progress(100);
    emit finished();
}

} // namespace Platform
