#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The one place where bytes of a file become text and text becomes bytes again. A document keeps
// the encoding and line-break style it was read in, so that writing it back unedited gives the
// same bytes.
namespace Platform {

enum class TextEncoding {
    Ansi,        // the system's ANSI code page, no byte-order mark (UTF-8 outside Windows)
    Windows1252, // text from a Danish Windows desktop; found when bytes are not valid UTF-8
    Utf8Bom,
    Utf16LE,     // with its byte-order mark
    Utf16BE,     // with its byte-order mark
};

enum class LineBreak { CrLf, Lf, Cr };

struct DecodedText {
    QString text; // line breaks as '\n'
    TextEncoding encoding = TextEncoding::Ansi;
    LineBreak lineBreak = LineBreak::Lf;
    // For a file that mixes styles: the style of each line break in turn, one LineBreak value a
    // byte, and lineBreak is the most common one. Empty when the file keeps to one style.
    QByteArray lineBreaks;
};

// The line-break style of a document that was never read from a file.
LineBreak nativeLineBreak();

// A byte-order mark decides first; without one the ANSI code page, and outside Windows bytes that
// are not valid UTF-8 are read as Windows-1252. The line breaks decide the style (the native one
// when there is none, the most common one when they are mixed); every CR LF, LF and CR becomes
// '\n'.
// Bytes the chosen encoding cannot take (invalid UTF-8 after a UTF-8 mark, an odd number of bytes
// after a UTF-16 mark, on Windows bytes the ANSI code page does not give back unchanged) make the
// whole file, mark included, Windows-1252: every byte is then a character, and encodeText gives
// the same bytes back.
DecodedText decodeText(const QByteArray &bytes);

// Sets the line breaks of a text to '\n', part after part of one file, and tells their style as
// DecodedText does. Counting them is a few vectorised passes, so that a large file of one style
// pays next to nothing for it; a part must not end between the CR and the LF of a CR LF.
class LineBreakTally {
public:
    void normalise(QString &text);
    LineBreak style() const;
    // Empty unless the parts so far mix styles.
    QByteArray styles() const { return m_styles; }

private:
    qsizetype m_count[3] = {};
    std::optional<LineBreak> m_first;
    bool m_mixed = false;
    QByteArray m_styles;
};

// decodeText a part at a time, for a large file whose text goes into its document while the rest
// is still being decoded. The encoding is chosen from all the bytes at once; each part is whole
// lines, and the parts joined are decodeText's text.
class TextDecoder {
public:
    explicit TextDecoder(QByteArray bytes);

    TextEncoding encoding() const { return m_encoding; }
    qsizetype size() const { return m_size; }
    qsizetype position() const { return m_position; }
    bool atEnd() const { return m_position == m_size; }
    // Whether some line of the text may be longer than `characters`, told from the bytes; false
    // means that none is.
    bool mayHaveLineLongerThan(qsizetype characters) const;
    // The text of the next `bytes` of the file and on to the end of their last line. The bytes are
    // let go of with the last part.
    QString next(qsizetype bytes);
    // Once the last part is taken, the line breaks of the whole file.
    LineBreak lineBreak() const { return m_lineBreaks.style(); }
    QByteArray lineBreaks() const { return m_lineBreaks.styles(); }

private:
    // Where the first line feed at or after the byte `from` ends; -1 when there is none.
    qsizetype lineFeedAfter(qsizetype from) const;

    QByteArray m_bytes;
    qsizetype m_size;
    qsizetype m_position = 0;
    TextEncoding m_encoding;
    LineBreakTally m_lineBreaks;
};

// Whether the first bytes of a file look like a program or picture rather than text: a NUL byte
// (outside UTF-16, which marks itself) or mostly control characters other than the line, page
// and tab characters and the escape of coloured terminal text.
bool looksBinary(QByteArrayView start);

// Whether every character of text survives the encoding.
bool canEncode(const QString &text, TextEncoding encoding);

// Writes text ('\n' line breaks) with the encoding's byte-order mark and the given line breaks;
// when lineBreaks is given, the n-th line break of text takes the style of its n-th byte, and the
// line breaks beyond it take lineBreak.
// When the encoding cannot hold every character, UTF-8 with a byte-order mark is used instead,
// and *used (when given) tells which encoding the bytes are in. Text that not even UTF-8 holds
// (an unpaired surrogate, which a UTF-16 file or a Windows file name may carry) is written as
// UTF-16 LE with its mark.
QByteArray encodeText(const QString &text, TextEncoding encoding, LineBreak lineBreak,
                      TextEncoding *used = nullptr, QByteArrayView lineBreaks = {});

// The bytes encodeText(texts joined, TextEncoding::Utf8Bom, LineBreak::Lf) gives, handed to write a
// piece at a time, so that a text too big to be held twice is never encoded whole. Returns false
// as soon as write refuses a piece.
bool encodeInPieces(const QStringList &texts, const std::function<bool(QByteArrayView)> &write);

} // namespace Platform
