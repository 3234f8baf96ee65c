#include "platform/TextPieces.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace Platform {

namespace {

constexpr int PieceProperty = QTextFormat::UserProperty + 0x1e4;

bool endsPieceWell(QChar c)
{
    return c.isSpace() || c.isPunct() || c.isSymbol();
}

} // namespace

std::vector<qsizetype> pieceStarts(QStringView line)
{
    std::vector<qsizetype> starts;
    for (qsizetype start = 0; line.size() - start > PieceLength;) {
        qsizetype end = start + PieceLength;
        for (qsizetype at = end; at > end - PieceLength / 10; --at) {
            if (endsPieceWell(line[at - 1])) {
                end = at;
                break;
            }
        }
        if (line[end - 1].isHighSurrogate() && line[end].isLowSurrogate())
            --end;
        starts.push_back(end);
        start = end;
    }
    return starts;
}

bool continuesLine(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    if (!format.hasProperty(PieceProperty))
        return false;
    const QTextBlock previous = block.previous();
    return previous.isValid() && previous.blockFormat().intProperty(PieceProperty) != format.intProperty(PieceProperty);
}

void markPieces(QTextDocument *document, const std::vector<int> &blockNumbers)
{
    if (blockNumbers.empty())
        return;
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    int number = 0;
    QTextBlock block = document->findBlockByNumber(blockNumbers.front());
    for (const int wanted : blockNumbers) {
        while (block.isValid() && block.blockNumber() < wanted)
            block = block.next();
        if (!block.isValid())
            break;
        QTextBlockFormat format = block.blockFormat();
        format.setProperty(PieceProperty, ++number);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
    }
    cursor.endEditBlock();
    document->setUndoRedoEnabled(undo);
}

QString textBetween(const QTextDocument *document, int from, int to)
{
    QString text;
    text.reserve(std::max(0, to - from));
    for (QTextBlock block = document->findBlock(from); block.isValid() && block.position() <= to;) {
        const int start = block.position();
        const int breakAt = start + block.length() - 1;
        if (breakAt > from && start < to) {
            const int first = std::max(from, start);
            text += QStringView(block.text()).mid(first - start, std::min(to, breakAt) - first);
        }
        const QTextBlock next = block.next();
        if (breakAt >= from && breakAt < to && next.isValid() && !continuesLine(next))
            text += QLatin1Char('\n');
        block = next;
    }
    return text;
}

TextPositions::TextPositions(const QTextDocument *document)
{
    for (QTextBlock block = document->begin().next(); block.isValid(); block = block.next())
        if (continuesLine(block))
            m_breaks.push_back(block.position() - 1);
}

int TextPositions::toDocument(int position) const
{
    // The piece break before which k breaks stand is at text position break - k.
    qsizetype low = 0;
    qsizetype high = qsizetype(m_breaks.size());
    while (low < high) {
        const qsizetype middle = (low + high) / 2;
        if (m_breaks[size_t(middle)] - middle <= position)
            low = middle + 1;
        else
            high = middle;
    }
    return position + int(low);
}

int TextPositions::toText(int documentPosition) const
{
    const auto before = std::lower_bound(m_breaks.begin(), m_breaks.end(), documentPosition);
    return documentPosition - int(before - m_breaks.begin());
}

QTextCursor selectText(QTextDocument *document, const TextPositions &positions, int start, int length)
{
    QTextCursor cursor(document);
    const int documentStart = positions.toDocument(start);
    cursor.setPosition(documentStart);
    if (positions.isIdentity()) {
        cursor.setPosition(documentStart + length, QTextCursor::KeepAnchor);
        return cursor;
    }
    int end = documentStart;
    int left = length;
    for (QTextBlock block = document->findBlock(documentStart); left > 0 && block.isValid();) {
        const int breakAt = block.position() + block.length() - 1;
        if (breakAt - end >= left) {
            end += left;
            break;
        }
        left -= breakAt - end;
        block = block.next();
        if (!block.isValid()) {
            end = breakAt;
            break;
        }
        if (!continuesLine(block))
            --left;
        end = block.position();
    }
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    return cursor;
}

} // namespace Platform
