#include "platform/SlicedCopy.h"

#include "platform/TextPieces.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace Platform {

namespace {
// 128 KB of text: a millisecond or two to copy on a slow machine, a few when other programs keep
// its processors busy.
constexpr int kSliceLength = 1 << 16;
} // namespace

SlicedCopy::SlicedCopy(QTextDocument *document, std::function<bool()> inPieces, QObject *parent)
    : QObject(parent)
    , m_document(document)
    , m_inPieces(std::move(inPieces))
{
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, &SlicedCopy::step);
    connect(m_document, &QTextDocument::contentsChange, this, &SlicedCopy::changed);
}

void SlicedCopy::take(std::function<void(QStringList)> done)
{
    m_done = std::move(done);
    if (!m_next.isActive())
        m_next.start();
}

QString SlicedCopy::textOf(int from, int to, bool exact) const
{
    if (!exact)
        return textBetween(m_document, from, to);
    QTextCursor cursor(m_document);
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

void SlicedCopy::step()
{
    if (!m_done)
        return;
    const int length = m_document->characterCount() - 1;
    if (m_copied >= length) {
        finish();
        return;
    }
    int end = std::min(length, m_copied + kSliceLength);
    if (end < length && m_document->characterAt(end - 1).isHighSurrogate())
        ++end;
    const bool exact = !m_inPieces();
    m_slices.push_back({m_copied, end, textOf(m_copied, end, exact), exact});
    m_copied = end;
    m_next.start();
}

void SlicedCopy::finish()
{
    // The slices must cover the document as it is now, end to end; a change told with counts
    // that do not add up would show here, and the text is copied again.
    const int length = m_document->characterCount() - 1;
    bool whole = m_slices.empty() ? length == 0 : m_slices.front().start == 0 && m_slices.back().end == length;
    for (std::size_t i = 1; whole && i < m_slices.size(); ++i)
        whole = m_slices[i].start == m_slices[i - 1].end;
    if (!whole) {
        m_slices.clear();
        m_copied = 0;
        m_next.start();
        return;
    }
    QStringList pieces;
    pieces.reserve(qsizetype(m_slices.size()));
    for (Slice &slice : m_slices)
        pieces << std::move(slice.text);
    m_slices.clear();
    m_copied = 0;
    const std::function<void(QStringList)> done = std::exchange(m_done, nullptr);
    done(std::move(pieces));
}

void SlicedCopy::changed(int position, int removed, int added)
{
    if (!m_done || position >= m_copied)
        return;
    // The slice the change begins in.
    auto slice = std::upper_bound(m_slices.begin(), m_slices.end(), position,
                                  [](int at, const Slice &s) { return at < s.start; });
    --slice;
    const int length = m_document->characterCount() - 1;
    if (slice->exact && !m_inPieces() && position + removed <= slice->end && position + added <= length) {
        slice->text.replace(position - slice->start, removed, textOf(position, position + added, true));
        const int shift = added - removed;
        slice->end += shift;
        for (auto later = slice + 1; later != m_slices.end(); ++later) {
            later->start += shift;
            later->end += shift;
        }
        m_copied += shift;
    } else {
        m_copied = slice->start;
        m_slices.erase(slice, m_slices.end());
    }
    if (!m_next.isActive())
        m_next.start();
}

} // namespace Platform
