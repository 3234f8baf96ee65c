#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QString>
#include <QTextBlock>
#include <QTextFormat>

#include <vector>

class QTextDocument;

// Our own RTF reader and writer: Qt has none. Indents in the document are in its own units,
// which the program takes as pixels at 96 per inch.
namespace Platform {

constexpr double twipsPerDocumentUnit = 15.0; // 1440 twips an inch, 96 units an inch

// Whether the bytes are RTF: "{\rtf" at the start, after white space.
bool looksLikeRtf(const QByteArray &bytes);

// Replaces the document's content with what the RTF holds. Malformed input (unbalanced braces,
// a truncated file, absurd parameters, deep nesting) loads what it can; it never crashes, never
// hangs and never takes memory out of proportion to the input.
void readRtf(const QByteArray &bytes, QTextDocument *document);

// The text readRtf puts into a document, each paragraph break a '\n': for searching the visible
// text without the cost of building the document.
QString rtfText(const QByteArray &bytes);

// The document as RTF 1.x with \ansicpg1252: everything the rich-text window can format.
QByteArray writeRtf(const QTextDocument *document);

// A document's text and formatting taken out of it as plain values, so that it can be written as
// RTF later and on any thread, whatever happens to the document meanwhile.
struct RtfRun {
    QString text;
    QTextCharFormat format;
    QImage image; // an image's picture, written once for each character of the text
};

// A paragraph, or one part of a long one: the parts after its first carry its runs on.
struct RtfPart {
    bool startsParagraph = false;
    // Of the paragraph, in its first part only:
    QTextBlockFormat format;
    QTextCharFormat markFormat; // its mark's, which gives an empty paragraph its height
    int list = -1;              // the list it is an item of, by the list's object index
    QTextListFormat listFormat;
    bool rightToLeft = false;
    std::vector<RtfRun> runs;
};

struct RtfContent {
    QFont defaultFont;
    qreal indentWidth = 40;
    // In the order of the document, in groups as they were taken.
    std::vector<std::vector<RtfPart>> parts;
};

// The start of a paragraph of the document: the block's own properties, without runs.
RtfPart rtfParagraphStart(const QTextBlock &block);
// Appends the runs of the block's text from position `from` up to `to` (document positions inside
// the block's text), at most maxRuns of them; returns the position up to which they are taken.
// fragment: where to start looking for the fragment holding `from`, the block's begin() when not
// known; it is left on the fragment holding the position returned, for the next call.
int takeRtfRuns(const QTextBlock &block, QTextBlock::iterator &fragment, int from, int to,
                qsizetype maxRuns, std::vector<RtfRun> &runs);
// The whole document at once.
RtfContent rtfContent(const QTextDocument *document);
QByteArray writeRtf(const RtfContent &text);

} // namespace Platform
