#pragma once

#include <QFont>
#include <QObject>
#include <QTextOption>
#include <QTimer>

#include <array>
#include <optional>
#include <vector>

class QPlainTextEdit;
class QTextBlock;

namespace Platform {

// The lines a plain text area shows, a wrapped block counting once for every screen line, over the
// whole document. QPlainTextEdit lays a block out only when it comes into view and counts every
// other block as one line. A block's count changes only with its text or with the width (and
// font, tab stops, wrapping) of the area, so each block is counted once and the count kept in
// the document's own line counts, which keep their running sums: the total and the first line of
// a block then cost next to nothing. The blocks an edit touches, or all of them after a change of
// width, are counted again the next time a number is asked for: at once as far as that is quick,
// the rest a slice at a time while the event loop comes round (a document of millions of lines
// takes seconds).
class WrappedLines : public QObject {
    Q_OBJECT
public:
    explicit WrappedLines(QPlainTextEdit *area);

    // Nothing while blocks are still being counted; counted() then tells when it is known.
    std::optional<int> total();
    // Whether the total is known, without counting anything.
    bool isCounted() const;
    // The displayed line, from 0, on which the block begins; the blocks before it are counted
    // first.
    int firstLine(const QTextBlock &block);

signals:
    void counted();

private:
    // What a block's count depends on besides its text.
    struct Shape {
        int width = -1;
        QFont font;
        QTextOption::WrapMode wrap = QTextOption::NoWrap;
        qreal tabStop = 0;
        qreal margin = 0;
        bool operator==(const Shape &) const = default;
    };

    void contentsChange(int position, int removed, int added);
    void forgetAll();
    // Counts the blocks not yet counted, from the first on, up to (not including) block number
    // `before` or until the time is up (milliseconds; negative for none); true when none is left
    // there.
    bool countUnknown(qsizetype before, int milliseconds);
    void countSlice();
    void count(const QTextBlock &block);
    // True when a block of this text surely shows on one line, known without laying it out.
    bool fitsOnOneLine(const QString &text) const;
    Shape currentShape() const;

    QPlainTextEdit *m_area;
    Shape m_shape;
    // By block number: whether the block's count is known at the current shape.
    std::vector<char> m_known;
    qsizetype m_unknown = 0;
    // The advance of each Latin-1 character in the font (-1 where another font would draw it),
    // and the widest of them.
    std::array<qreal, 256> m_advance{};
    qreal m_widest = 0;
    qreal m_available = 0;
    QTimer m_slices;
    // A total was asked for and not known.
    bool m_owed = false;
};

} // namespace Platform
