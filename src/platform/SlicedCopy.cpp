#include "platform/SlicedCopy.h"

#include "platform/TextPieces.h"

#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <iterator>
#include <limits>
#include <numeric>

namespace Platform {

namespace {
// 128 KB of text: a millisecond or two to copy on a slow machine, a few when other programs keep
// its processors busy.
constexpr int kSliceLength = 1 << 16;
// A rich slice costs its characters and, for each run and part, what copying a format and making
// a string costs: about as much as copying some dozens of characters.
constexpr qint64 kRichSliceCost = 1 << 16;
constexpr qint64 kRunCost = 64;
// The most characters a change in what is taken already makes the copy take again at once, in
// the middle of the user's edit; after a larger one, the copy goes back to where it begins.
constexpr int kMendLength = 1 << 14;
} // namespace

SlicedTake::SlicedTake(QTextDocument *document, QObject *parent)
    : QObject(parent)
    , m_document(document)
{
    m_next.setSingleShot(true);
    m_next.setInterval(0);
    connect(&m_next, &QTimer::timeout, this, [this] { step(); });
    connect(m_document, &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) { changed(position, removed, added); });
}

void SlicedTake::goOn()
{
    if (!m_next.isActive())
        m_next.start();
}

SlicedCopy::SlicedCopy(QTextDocument *document, std::function<bool()> inPieces, QObject *parent)
    : SlicedTake(document, parent)
    , m_inPieces(std::move(inPieces))
{
}

void SlicedCopy::take(Done done, BlockNote note)
{
    // Slices taken without notes cannot give them, nor those with notes drop them.
    if (bool(note) != bool(m_note)) {
        m_slices.clear();
        m_copied = 0;
    }
    m_done = std::move(done);
    m_note = std::move(note);
    goOn();
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

QByteArray SlicedCopy::notesOf(int from, int to) const
{
    QByteArray notes;
    if (!m_note)
        return notes;
    QTextBlock block = m_document->findBlock(from);
    // Asking each block for its position would walk the document's tree every time.
    for (int breakAt = block.position() + block.length() - 1; breakAt < to && block.next().isValid();
         block = block.next(), breakAt += block.length())
        m_note(block, notes);
    return notes;
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
    m_slices.push_back({m_copied, end, textOf(m_copied, end, exact), exact, notesOf(m_copied, end)});
    m_copied = end;
    goOn();
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
        goOn();
        return;
    }
    QStringList pieces;
    pieces.reserve(qsizetype(m_slices.size()));
    QByteArray notes;
    for (Slice &slice : m_slices) {
        pieces << std::move(slice.text);
        notes += slice.notes;
    }
    m_slices.clear();
    m_copied = 0;
    const Done done = std::exchange(m_done, nullptr);
    done(std::move(pieces), std::move(notes));
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
        // A block joined to the next one keeps that one's break, and a split one's first part gets a
        // new break: the notes beyond the slice stay as they are.
        slice->notes = notesOf(slice->start, slice->end);
    } else {
        m_copied = slice->start;
        m_slices.erase(slice, m_slices.end());
    }
    goOn();
}

SlicedRichCopy::SlicedRichCopy(QTextDocument *document, QObject *parent)
    : SlicedTake(document, parent)
{
}

void SlicedRichCopy::take(std::function<void(RtfContent)> done)
{
    m_done = std::move(done);
    goOn();
}

void SlicedRichCopy::step()
{
    if (!m_done)
        return;
    // The parts cover the document's characters and the break at the end of each paragraph, the
    // last one's included.
    const int length = m_document->characterCount();
    if (m_copied >= length) {
        finish();
        return;
    }
    Slice slice{m_copied, m_copied, {}, {}};
    m_copied = slice.end = takeParts(m_copied, length, kRichSliceCost, slice);
    m_slices.push_back(std::move(slice));
    goOn();
}

int SlicedRichCopy::takeParts(int from, int to, qint64 limit, Slice &slice)
{
    int at = from;
    qint64 cost = 0;
    QTextBlock block = m_document->findBlock(at);
    while (at < to && cost < limit && block.isValid()) {
        const int textEnd = block.position() + block.length() - 1;
        RtfPart part = at == block.position() ? rtfParagraphStart(block) : RtfPart();
        QTextBlock::iterator fragment = at == m_fragmentAt ? m_fragment : block.begin();
        const int until = int(std::min<qint64>({textEnd, to, at + (limit - cost)}));
        const qint64 runs = std::max<qint64>(1, (limit - cost) / kRunCost);
        int end = takeRtfRuns(block, fragment, at, until, qsizetype(runs), part.runs);
        if (end == textEnd && textEnd < to)
            ++end; // the paragraph's break
        // A long paragraph goes on from here in the next slice.
        m_fragmentAt = end <= textEnd ? end : -1;
        m_fragment = fragment;
        cost += (end - at) + kRunCost * qint64(part.runs.size() + 1);
        slice.lengths.push_back(end - at);
        slice.parts.push_back(std::move(part));
        at = end;
        if (at > textEnd)
            block = block.next();
    }
    return at;
}

SlicedRichCopy::Place SlicedRichCopy::placeOf(int position) const
{
    auto slice = std::upper_bound(m_slices.begin(), m_slices.end(), position,
                                  [](int at, const Slice &s) { return at < s.start; });
    --slice;
    Place place{std::size_t(slice - m_slices.begin()), 0, slice->start};
    while (place.part + 1 < slice->lengths.size() && place.start + slice->lengths[place.part] <= position)
        place.start += slice->lengths[place.part++];
    return place;
}

void SlicedRichCopy::goBackTo(const Place &place)
{
    Slice &slice = m_slices[place.slice];
    slice.lengths.resize(place.part);
    slice.parts.erase(slice.parts.begin() + qsizetype(place.part), slice.parts.end());
    slice.end = place.start;
    // A slice left without parts goes too.
    m_slices.erase(m_slices.begin() + qsizetype(place.slice) + (place.part == 0 ? 0 : 1), m_slices.end());
    m_copied = place.start;
    m_fragmentAt = -1;
}

void SlicedRichCopy::retakeParagraphStart(int position)
{
    const QTextBlock block = m_document->findBlock(position);
    if (!block.isValid() || block.position() == position)
        return;
    const Place place = placeOf(block.position());
    RtfPart &part = m_slices[place.slice].parts[place.part];
    if (place.start != block.position() || !part.startsParagraph) {
        // The paragraph does not begin where a part does: it is taken anew.
        goBackTo(place);
        return;
    }
    RtfPart start = rtfParagraphStart(block);
    start.runs = std::move(part.runs);
    part = std::move(start);
}

void SlicedRichCopy::changed(int position, int removed, int added)
{
    m_fragmentAt = -1;
    if (!m_done || position >= m_copied)
        return;
    const Place first = placeOf(position);
    const int shift = added - removed;
    const int oldEnd = position + removed;
    if (oldEnd < m_copied) {
        // The parts from the one the change begins in to the one it ends in are taken again.
        const Place last = placeOf(oldEnd);
        const int newEnd = last.start + m_slices[last.slice].lengths[last.part] + shift;
        Slice retaken{first.start, newEnd, {}, {}};
        if (newEnd - first.start <= kMendLength && newEnd <= m_document->characterCount()
            && takeParts(first.start, newEnd, std::numeric_limits<qint64>::max(), retaken) == newEnd) {
            Slice &head = m_slices[first.slice];
            Slice &tail = m_slices[last.slice];
            Slice mended{head.start, tail.end + shift, {}, {}};
            const auto keep = [&mended](Slice &from, std::size_t begin, std::size_t end) {
                mended.lengths.insert(mended.lengths.end(), from.lengths.begin() + qsizetype(begin),
                                      from.lengths.begin() + qsizetype(end));
                std::move(from.parts.begin() + qsizetype(begin), from.parts.begin() + qsizetype(end),
                          std::back_inserter(mended.parts));
            };
            keep(head, 0, first.part);
            keep(retaken, 0, retaken.parts.size());
            keep(tail, last.part + 1, tail.parts.size());
            m_slices[first.slice] = std::move(mended);
            m_slices.erase(m_slices.begin() + qsizetype(first.slice) + 1,
                           m_slices.begin() + qsizetype(last.slice) + 1);
            for (auto later = m_slices.begin() + qsizetype(first.slice) + 1; later != m_slices.end(); ++later) {
                later->start += shift;
                later->end += shift;
            }
            m_copied += shift;
            m_fragmentAt = -1;
            retakeParagraphStart(first.start);
            goOn();
            return;
        }
    }
    goBackTo(first);
    retakeParagraphStart(first.start);
    goOn();
}

void SlicedRichCopy::finish()
{
    // The parts must cover the document as it is now, end to end; a change told with counts that
    // do not add up would show here, and the document is copied again.
    const int length = m_document->characterCount();
    bool whole = !m_slices.empty() && m_slices.front().start == 0 && m_slices.back().end == length
                 && m_slices.front().parts.front().startsParagraph;
    for (std::size_t i = 0; whole && i < m_slices.size(); ++i) {
        const Slice &slice = m_slices[i];
        whole = (i == 0 || slice.start == m_slices[i - 1].end) && !slice.parts.empty()
                && std::accumulate(slice.lengths.begin(), slice.lengths.end(), 0) == slice.end - slice.start;
    }
    if (!whole) {
        m_slices.clear();
        m_copied = 0;
        m_fragmentAt = -1;
        goOn();
        return;
    }
    RtfContent text;
    text.defaultFont = m_document->defaultFont();
    text.indentWidth = m_document->indentWidth();
    text.parts.reserve(m_slices.size());
    for (Slice &slice : m_slices)
        text.parts.push_back(std::move(slice.parts));
    m_slices.clear();
    m_copied = 0;
    m_fragmentAt = -1;
    const std::function<void(RtfContent)> done = std::exchange(m_done, nullptr);
    done(std::move(text));
}

} // namespace Platform
