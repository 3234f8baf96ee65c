#include "platform/WrappedLines.h"

#include <QElapsedTimer>
#include <QFontMetricsF>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <utility>

namespace Platform {

namespace {

// What is counted at once when a number is asked for: a keystroke's worth of waiting.
constexpr int kAtOnceMilliseconds = 30;
constexpr int kSliceMilliseconds = 25;

} // namespace

WrappedLines::WrappedLines(QPlainTextEdit *area)
    : QObject(area)
    , m_area(area)
{
    connect(area->document(), &QTextDocument::contentsChange, this, &WrappedLines::contentsChange);
    m_slices.setSingleShot(true);
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &WrappedLines::countSlice);
}

std::optional<int> WrappedLines::total()
{
    if (!countUnknown(qsizetype(m_area->document()->blockCount()), kAtOnceMilliseconds)) {
        m_owed = true;
        m_slices.start();
        return std::nullopt;
    }
    return m_area->document()->lineCount();
}

bool WrappedLines::isCounted() const
{
    return m_unknown == 0 && m_known.size() == size_t(m_area->document()->blockCount()) && currentShape() == m_shape;
}

int WrappedLines::firstLine(const QTextBlock &block)
{
    countUnknown(block.blockNumber(), -1);
    return block.firstLineNumber();
}

void WrappedLines::countSlice()
{
    // Also when a keystroke's count finished it: whoever was told that the total is not known
    // yet learns that it is.
    if (!countUnknown(qsizetype(m_area->document()->blockCount()), kSliceMilliseconds))
        m_slices.start();
    else if (std::exchange(m_owed, false))
        emit counted();
}

void WrappedLines::contentsChange(int position, int, int added)
{
    // Blocks before the change keep their numbers and counts, blocks behind it only move; the ones
    // in between, as many as the document now has there, are counted again.
    const QTextDocument *document = m_area->document();
    const QTextBlock first = document->findBlock(position);
    QTextBlock last = document->findBlock(position + added);
    if (!last.isValid())
        last = document->lastBlock();
    const qsizetype from = first.isValid() ? first.blockNumber() : -1;
    const qsizetype toNow = last.blockNumber();
    const qsizetype toBefore = toNow - (document->blockCount() - qsizetype(m_known.size()));
    if (from < 0 || toBefore < from || toBefore >= qsizetype(m_known.size())) {
        forgetAll();
        return;
    }
    const auto begin = m_known.begin() + from;
    m_unknown -= std::count(begin, m_known.begin() + toBefore + 1, 0);
    m_known.erase(begin, m_known.begin() + toBefore + 1);
    m_known.insert(m_known.begin() + from, size_t(toNow - from + 1), 0);
    m_unknown += toNow - from + 1;
}

void WrappedLines::forgetAll()
{
    m_known.assign(size_t(m_area->document()->blockCount()), 0);
    m_unknown = qsizetype(m_known.size());
}

WrappedLines::Shape WrappedLines::currentShape() const
{
    const QTextDocument *document = m_area->document();
    const QTextOption option = document->defaultTextOption();
    return {m_area->viewport()->width(), document->defaultFont(), option.wrapMode(), option.tabStopDistance(),
            document->documentMargin()};
}

bool WrappedLines::countUnknown(qsizetype before, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    const Shape shape = currentShape();
    if (!(shape == m_shape) || m_known.size() != size_t(m_area->document()->blockCount())) {
        m_shape = shape;
        forgetAll();
        const bool spaceForSeparators = m_area->document()->defaultTextOption().flags()
                                        & QTextOption::AddSpaceForLineAndParagraphSeparators;
        // How wide the font draws each Latin-1 character; -1 for those it leaves to another font.
        const QFontMetricsF metrics(shape.font);
        m_widest = 0;
        for (char16_t c = 0; c < m_advance.size(); ++c) {
            const bool own = QChar(c).isPrint() && metrics.inFont(QChar(c));
            m_advance[c] = own ? metrics.horizontalAdvance(QChar(c)) : -1;
            m_widest = qMax(m_widest, m_advance[c]);
        }
        m_available = spaceForSeparators ? -1 : shape.width - 2 * shape.margin;
    }
    QTextBlock next;
    qsizetype nextNumber = -1;
    const auto end = m_known.begin() + qMin(before, qsizetype(m_known.size()));
    int sinceChecked = 0;
    for (auto at = m_known.begin(); m_unknown > 0; ++at) {
        at = std::find(at, end, 0);
        if (at == end)
            return true;
        // Checked now and then: the clock costs more than counting a short block.
        if (milliseconds >= 0 && ++sinceChecked % 256 == 0 && clock.hasExpired(milliseconds))
            return false;
        const qsizetype number = at - m_known.begin();
        const QTextBlock block = number == nextNumber ? next : m_area->document()->findBlockByNumber(int(number));
        count(block);
        *at = 1;
        --m_unknown;
        next = block.next();
        nextNumber = number + 1;
    }
    return true;
}

void WrappedLines::count(const QTextBlock &block)
{
    // Asked first, because asking a block for its layout makes one: a document of millions of
    // lines would hold hundreds of megabytes of empty layouts.
    if (block.lineCount() == 1 && fitsOnOneLine(block.text()))
        return;
    // Laid out by the area at the current shape: its count is right.
    if (block.layout()->lineCount() > 0)
        return;
    static_cast<QPlainTextDocumentLayout *>(m_area->document()->documentLayout())->ensureBlockLayout(block);
    // Only the count is kept; the area lays the block out again when it comes into view, so a
    // long document holds no more layouts than the part the user has seen.
    QTextBlock(block).clearLayout();
}

bool WrappedLines::fitsOnOneLine(const QString &text) const
{
    if (m_shape.wrap == QTextOption::NoWrap || m_shape.width <= 0)
        return !text.contains(QChar::LineSeparator);
    // Characters the font draws itself, as wide as it draws them one by one, with room for one
    // more: the line cannot wrap. Most lines of most files are like that, and knowing it costs no
    // layout.
    qreal width = m_widest;
    for (const QChar c : text) {
        const qreal advance = c.unicode() < m_advance.size() ? m_advance[c.unicode()] : -1;
        width += advance;
        if (advance < 0 || width > m_available)
            return false;
    }
    return true;
}

} // namespace Platform
