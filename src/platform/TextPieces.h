#pragma once

#include <QString>
#include <QStringView>

#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace Platform {

// A line of tens of thousands of characters, as minified scripts and style sheets have, costs the
// text area a layout of the whole line for every keystroke and every paint: a megabyte froze the
// program. Such a line is shown in pieces instead, each a block of its own, so that no layout
// is longer than a piece. The block break between two pieces is only on screen: the text, what is
// copied, searched and saved, has none there.
//
// A piece after the first carries a number in its block format. A block continues the line of the
// block before it when it has a number that block does not have. Qt copies a block's format into
// the block that Enter or a pasted line break starts behind it, so such a block has the number of
// the one before it and begins a line of its own; an undone removal of a piece break brings the
// format, and with it the piece, back.
constexpr int LongLineLength = 10'000;
constexpr int PieceLength = 1'000;

// Where a line of more than PieceLength characters is cut: a piece ends after the last space or
// punctuation of its last tenth, else at PieceLength, never inside a surrogate pair. The starts of
// the pieces after the first, relative to the line.
std::vector<qsizetype> pieceStarts(QStringView line);

bool continuesLine(const QTextBlock &block);
// Makes each listed block (by number, ascending) continue the line of the block before it.
// Leaves no undo step behind.
void markPieces(QTextDocument *document, const std::vector<int> &blockNumbers);

// The text of the document between two positions, piece breaks left out, other block breaks as
// "\n".
QString textBetween(const QTextDocument *document, int from, int to);

// Where the characters of the text stand in the document, which has a block break more at every
// piece break. A snapshot: the document as it was when taken.
class TextPositions {
public:
    TextPositions() = default; // text and document alike
    explicit TextPositions(const QTextDocument *document);

    bool isIdentity() const { return m_breaks.empty(); }
    // The document position of the text's character at position, behind any piece break before it.
    int toDocument(int position) const;
    // The text position of a document position; both sides of a piece break give the same one.
    int toText(int documentPosition) const;

private:
    // The document positions of the piece breaks, ascending.
    std::vector<int> m_breaks;
};

// A cursor on the document selecting length characters of the text from its position start, the
// piece breaks on the way included but not counted. The positions before start must be as they
// were when positions was taken; what follows it is read from the document as it is now.
QTextCursor selectText(QTextDocument *document, const TextPositions &positions, int start, int length);

} // namespace Platform
