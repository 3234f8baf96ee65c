#include "platform/TextCodec.h"

#include "platform/Windows1252.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QtEndian>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <optional>

namespace Platform {

namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr char kUtf16LEMark[] = "\xFF\xFE";
constexpr char kUtf16BEMark[] = "\xFE\xFF";

// Strict UTF-8 as Unicode defines it (its table of well-formed byte sequences): no overlong
// forms, no encoded surrogates, nothing above U+10FFFF, no sequence cut off by the end.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = p + bytes.size();
    constexpr quint64 kHighBits = 0x8080808080808080ULL;
    while (p < end) {
        // Text is mostly ASCII: step over it sixteen bytes at a time.
        while (end - p >= 16) {
            quint64 first;
            quint64 second;
            std::memcpy(&first, p, 8);
            std::memcpy(&second, p + 8, 8);
            if ((first | second) & kHighBits)
                break;
            p += 16;
        }
        const uchar lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int continuations;
        uchar low = 0x80;  // the range the first continuation byte must lie in
        uchar high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            continuations = 1;
        } else if (lead == 0xE0) {
            continuations = 2;
            low = 0xA0;
        } else if (lead == 0xED) {
            continuations = 2;
            high = 0x9F;
        } else if (lead >= 0xE1 && lead <= 0xEF) {
            continuations = 2;
        } else if (lead == 0xF0) {
            continuations = 3;
            low = 0x90;
        } else if (lead >= 0xF1 && lead <= 0xF3) {
            continuations = 3;
        } else if (lead == 0xF4) {
            continuations = 3;
            high = 0x8F;
        } else {
            return false;
        }
        if (end - p <= continuations || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= continuations; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
        }
        p += continuations + 1;
    }
    return true;
}

// The bytes are known to be valid UTF-8. QString::fromUtf8 drops a leading byte-order mark, which
// here is text (a second mark after the one already taken off), so it is put back.
QString fromValidUtf8(QByteArrayView bytes)
{
    QString text = QString::fromUtf8(bytes);
    if (bytes.startsWith(kUtf8Mark))
        text.prepend(QChar(0xFEFF));
    return text;
}

// Unpaired surrogates are kept: written back in the same byte order they give the same bytes.
QString decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    if (bigEndian)
        qFromBigEndian<char16_t>(bytes.data(), text.size(), text.data());
    else
        qFromLittleEndian<char16_t>(bytes.data(), text.size(), text.data());
    return text;
}

#ifdef Q_OS_WIN
// Bytes of the system's ANSI code page; nothing when the code page cannot give them back
// unchanged (a byte sequence a multi-byte code page does not define).
std::optional<QString> decodeAnsi(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    QStringEncoder encoder(QStringEncoder::System, QStringEncoder::Flag::Stateless);
    const QByteArray back = encoder(text);
    if (encoder.hasError() || back != bytes)
        return std::nullopt;
    return text;
}
#endif

// The style of every line break of text in turn, one LineBreak a byte.
QByteArray lineBreakStyles(QStringView text)
{
    QByteArray styles;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (text[i] == u'\n') {
            styles.append(char(LineBreak::Lf));
        } else if (text[i] == u'\r') {
            const bool crLf = i + 1 < size && text[i + 1] == u'\n';
            styles.append(char(crLf ? LineBreak::CrLf : LineBreak::Cr));
            i += crLf ? 1 : 0;
        }
    }
    return styles;
}

bool hasUnpairedSurrogate(QStringView text)
{
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (!c.isSurrogate())
            continue;
        if (c.isLowSurrogate() || i + 1 == size || !text[i + 1].isLowSurrogate())
            return true;
        ++i;
    }
    return false;
}

// The bytes of an encoding in which '\n' is the single byte 0x0A, after `mark`; nothing when a
// character does not fit.
std::optional<QByteArray> encodeBytes(QStringView text, TextEncoding encoding,
                                      QByteArrayView mark)
{
    if (encoding == TextEncoding::Windows1252) {
        QByteArray bytes(mark.size() + text.size(), Qt::Uninitialized);
        std::memcpy(bytes.data(), mark.data(), mark.size());
        if (!Windows1252::encode(text, bytes.data() + mark.size()))
            return std::nullopt;
        return bytes;
    }
#ifdef Q_OS_WIN
    if (encoding == TextEncoding::Ansi) {
        QStringEncoder encoder(QStringEncoder::System, QStringEncoder::Flag::Stateless);
        QByteArray bytes = encoder(text);
        // The system's converter puts a default character where one does not fit; reading the
        // bytes back shows it.
        QStringDecoder decoder(QStringDecoder::System, QStringDecoder::Flag::Stateless);
        if (encoder.hasError() || QString(decoder(bytes)) != text || decoder.hasError())
            return std::nullopt;
        return bytes;
    }
#endif
    // UTF-8 holds every character; the encoder reports the unpaired surrogates it cannot write.
    QStringEncoder encoder(QStringEncoder::Utf8, QStringEncoder::Flag::Stateless);
    QByteArray bytes(mark.size() + encoder.requiredSpace(text.size()), Qt::Uninitialized);
    std::memcpy(bytes.data(), mark.data(), mark.size());
    const char *end = encoder.appendToBuffer(bytes.data() + mark.size(), text);
    if (encoder.hasError())
        return std::nullopt;
    bytes.truncate(end - bytes.constData());
    // The buffer was sized for the worst case; giving back the rest costs no copy for large
    // buffers (the allocator remaps them).
    bytes.squeeze();
    return bytes;
}

// Turns the LF bytes from `from` on into the wanted line break: in place for CR, by one copy
// for CR LF.
QByteArray applyLineBreak(QByteArray bytes, qsizetype from, LineBreak lineBreak)
{
    if (lineBreak == LineBreak::Lf)
        return bytes;
    const char *const begin = bytes.constData();
    const char *const end = begin + bytes.size();
    const auto nextLf = [end](const char *p) {
        return static_cast<const char *>(std::memchr(p, '\n', end - p));
    };
    if (lineBreak == LineBreak::Cr) {
        const char *lf = nextLf(begin + from);
        if (!lf)
            return bytes;
        char *data = bytes.data(); // the only copy, so this does not detach
        for (; lf; lf = nextLf(lf + 1))
            data[lf - begin] = '\r';
        return bytes;
    }

    qsizetype lineFeeds = 0;
    for (const char *lf = nextLf(begin + from); lf; lf = nextLf(lf + 1))
        ++lineFeeds;
    if (lineFeeds == 0)
        return bytes;
    QByteArray expanded(bytes.size() + lineFeeds, Qt::Uninitialized);
    char *out = expanded.data();
    std::memcpy(out, begin, from);
    out += from;
    const char *p = begin + from;
    for (const char *lf = nextLf(p); lf; lf = nextLf(p)) {
        std::memcpy(out, p, lf - p);
        out += lf - p;
        *out++ = '\r';
        *out++ = '\n';
        p = lf + 1;
    }
    std::memcpy(out, p, end - p);
    return expanded;
}

// UTF-16 always fits: a QString is UTF-16, unpaired surrogates included.
QByteArray encodeUtf16(QStringView text, bool bigEndian, LineBreak lineBreak)
{
    const qsizetype breakUnits = lineBreak == LineBreak::CrLf ? 2 : 1;
    const qsizetype extraUnits =
        lineBreak == LineBreak::CrLf ? text.count(u'\n') : 0;
    QByteArray bytes(2 * (1 + text.size() + extraUnits), Qt::Uninitialized);
    char *out = bytes.data();
    const auto put = [&out, bigEndian](const void *units, qsizetype count) {
        if (bigEndian)
            qToBigEndian<char16_t>(units, count, out);
        else
            qToLittleEndian<char16_t>(units, count, out);
        out += 2 * count;
    };
    const char16_t mark = 0xFEFF;
    put(&mark, 1);
    if (lineBreak == LineBreak::Lf) {
        put(text.data(), text.size());
        return bytes;
    }
    const char16_t crLf[] = {u'\r', u'\n'};
    qsizetype from = 0;
    for (;;) {
        const qsizetype lf = text.indexOf(u'\n', from);
        const qsizetype lineEnd = lf < 0 ? text.size() : lf;
        put(text.data() + from, lineEnd - from);
        if (lf < 0)
            break;
        put(crLf, breakUnits);
        from = lf + 1;
    }
    return bytes;
}

// text with each '\n' written as the style its place in lineBreaks gives, or as fallback.
QString withLineBreaks(QStringView text, QByteArrayView lineBreaks, LineBreak fallback)
{
    QString written;
    written.reserve(text.size() + text.count(u'\n'));
    qsizetype from = 0;
    qsizetype breakNo = 0;
    for (qsizetype lf = text.indexOf(u'\n'); lf >= 0; lf = text.indexOf(u'\n', from)) {
        written.append(text.sliced(from, lf - from));
        const LineBreak style = breakNo < lineBreaks.size() ? LineBreak(lineBreaks[breakNo]) : fallback;
        written.append(style == LineBreak::CrLf ? u"\r\n" : style == LineBreak::Cr ? u"\r" : u"\n");
        ++breakNo;
        from = lf + 1;
    }
    written.append(text.sliced(from));
    return written;
}

std::optional<QByteArray> encodeAs(QStringView text, TextEncoding encoding, LineBreak lineBreak)
{
    switch (encoding) {
    case TextEncoding::Utf16LE:
        return encodeUtf16(text, false, lineBreak);
    case TextEncoding::Utf16BE:
        return encodeUtf16(text, true, lineBreak);
    case TextEncoding::Utf8Bom:
    case TextEncoding::Ansi:
    case TextEncoding::Windows1252:
        break;
    }
    const QByteArrayView mark =
        encoding == TextEncoding::Utf8Bom ? QByteArrayView(kUtf8Mark) : QByteArrayView();
    std::optional<QByteArray> bytes = encodeBytes(text, encoding, mark);
    if (!bytes)
        return std::nullopt;
    return applyLineBreak(std::move(*bytes), mark.size(), lineBreak);
}

} // namespace

LineBreak nativeLineBreak()
{
#ifdef Q_OS_WIN
    return LineBreak::CrLf;
#else
    return LineBreak::Lf;
#endif
}

void LineBreakTally::normalise(QString &text)
{
    const qsizetype firstCr = text.indexOf(u'\r');
    const qsizetype size = text.size();
    qsizetype crs = 0;
    qsizetype crLfs = 0;
    for (qsizetype cr = firstCr; cr >= 0; cr = text.indexOf(u'\r', cr + 1)) {
        ++crs;
        if (cr + 1 < size && text.at(cr + 1) == u'\n')
            ++crLfs;
    }
    qsizetype count[3] = {};
    count[int(LineBreak::CrLf)] = crLfs;
    count[int(LineBreak::Cr)] = crs - crLfs;
    count[int(LineBreak::Lf)] = text.count(u'\n') - crLfs;
    const int stylesHere = (count[0] > 0) + (count[1] > 0) + (count[2] > 0);
    if (!m_first && stylesHere > 0) {
        const qsizetype firstLf = QStringView(text).first(firstCr < 0 ? size : firstCr).indexOf(u'\n');
        m_first = firstLf >= 0 ? LineBreak::Lf
            : (firstCr + 1 < size && text.at(firstCr + 1) == u'\n') ? LineBreak::CrLf
                                                                    : LineBreak::Cr;
    }
    qsizetype total[3] = {};
    for (int i = 0; i < 3; ++i)
        total[i] = m_count[i] + count[i];
    if (!m_mixed && (total[0] > 0) + (total[1] > 0) + (total[2] > 0) > 1) {
        // The breaks before this part all had one style.
        m_mixed = true;
        for (int i = 0; i < 3; ++i)
            m_styles.append(m_count[i], char(i));
    }
    if (m_mixed) {
        if (stylesHere > 1) {
            m_styles.append(lineBreakStyles(text));
        } else {
            for (int i = 0; i < 3; ++i)
                m_styles.append(count[i], char(i));
        }
    }
    std::copy(std::begin(total), std::end(total), std::begin(m_count));
    if (firstCr < 0)
        return;

    // One pass from the first CR on: each CR becomes '\n', the LF of a CR LF is dropped, and the
    // stretches between are moved down over the gaps this leaves.
    QChar *data = text.data();
    qsizetype read = firstCr;
    qsizetype write = firstCr;
    while (read < size) {
        data[write++] = u'\n';
        read += (read + 1 < size && data[read + 1] == u'\n') ? 2 : 1;
        const qsizetype nextCr = QStringView(data + read, size - read).indexOf(u'\r');
        const qsizetype stretch = nextCr < 0 ? size - read : nextCr;
        if (write != read)
            std::memmove(data + write, data + read, stretch * sizeof(QChar));
        read += stretch;
        write += stretch;
    }
    text.truncate(write);
}

LineBreak LineBreakTally::style() const
{
    if (!m_first)
        return nativeLineBreak();
    // The most common style; of equally common ones, the first in the file.
    LineBreak style = *m_first;
    for (const LineBreak other : {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr})
        if (m_count[int(other)] > m_count[int(style)])
            style = other;
    return style;
}

TextDecoder::TextDecoder(QByteArray bytes)
    : m_bytes(std::move(bytes))
    , m_size(m_bytes.size())
{
    const QByteArrayView view(m_bytes);
    // A mark whose bytes do not fit its encoding (invalid UTF-8 after a UTF-8 mark, an odd count
    // of bytes after a UTF-16 one) is not taken at its word: the whole file, mark included, is
    // read as Windows-1252, which keeps every byte.
    m_encoding = TextEncoding::Windows1252;
    if (view.startsWith(kUtf8Mark)) {
        if (isValidUtf8(view.sliced(3))) {
            m_encoding = TextEncoding::Utf8Bom;
            m_position = 3;
        }
    } else if (view.startsWith(kUtf16LEMark) || view.startsWith(kUtf16BEMark)) {
        if (view.size() % 2 == 0) {
            m_encoding = view.startsWith(kUtf16BEMark) ? TextEncoding::Utf16BE : TextEncoding::Utf16LE;
            m_position = 2;
        }
    } else {
#ifdef Q_OS_WIN
        if (decodeAnsi(view))
            m_encoding = TextEncoding::Ansi;
#else
        if (isValidUtf8(view))
            m_encoding = TextEncoding::Ansi;
#endif
    }
}

qsizetype TextDecoder::lineFeedAfter(qsizetype from) const
{
    const bool wide = m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE;
    // In UTF-16 a line feed is the unit 0x000A, after the two bytes of the mark: its 0x0A byte
    // stands at an even place in little-endian order, at an odd one in big-endian order.
    const qsizetype parity = m_encoding == TextEncoding::Utf16BE ? 1 : 0;
    for (qsizetype at = m_bytes.indexOf('\n', from); at >= 0; at = m_bytes.indexOf('\n', at + 1)) {
        if (!wide)
            return at + 1;
        if (at % 2 != parity)
            continue;
        const qsizetype other = parity ? at - 1 : at + 1;
        if (other < m_size && m_bytes.at(other) == 0)
            return parity ? at + 1 : at + 2;
    }
    return -1;
}

bool TextDecoder::mayHaveLineLongerThan(qsizetype characters) const
{
    // A character takes at least one byte, two in UTF-16; a line ends at least at every line feed.
    const qsizetype bytesPerCharacter = (m_encoding == TextEncoding::Utf16LE || m_encoding == TextEncoding::Utf16BE) ? 2 : 1;
    const qsizetype longest = (characters + 1) * bytesPerCharacter;
    qsizetype lineStart = m_position;
    for (qsizetype next = lineFeedAfter(lineStart); next >= 0; next = lineFeedAfter(lineStart)) {
        if (next - lineStart > longest)
            return true;
        lineStart = next;
    }
    return m_size - lineStart > characters * bytesPerCharacter;
}

QString TextDecoder::next(qsizetype bytes)
{
    qsizetype end = m_size;
    if (m_size - m_position > bytes) {
        const qsizetype afterLineFeed = lineFeedAfter(m_position + bytes - 1);
        if (afterLineFeed >= 0)
            end = afterLineFeed;
    }
    const QByteArrayView part = QByteArrayView(m_bytes).sliced(m_position, end - m_position);
    QString text;
    switch (m_encoding) {
    case TextEncoding::Utf8Bom:
        text = fromValidUtf8(part);
        break;
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        text = decodeUtf16(part, m_encoding == TextEncoding::Utf16BE);
        break;
    case TextEncoding::Ansi:
#ifdef Q_OS_WIN
        // Whole lines of a code page the file's bytes fit come back as they did whole.
        if (std::optional<QString> ansi = decodeAnsi(part))
            text = std::move(*ansi);
        else
            text = Windows1252::decode(part);
#else
        text = fromValidUtf8(part);
#endif
        break;
    case TextEncoding::Windows1252:
        text = Windows1252::decode(part);
        break;
    }
    m_position = end;
    if (atEnd())
        m_bytes = QByteArray();
    m_lineBreaks.normalise(text);
    return text;
}

DecodedText decodeText(const QByteArray &bytes)
{
    TextDecoder decoder(bytes);
    DecodedText decoded;
    decoded.text = decoder.next(bytes.size());
    decoded.encoding = decoder.encoding();
    decoded.lineBreak = decoder.lineBreak();
    decoded.lineBreaks = decoder.lineBreaks();
    return decoded;
}

bool looksBinary(QByteArrayView start)
{
    if (start.startsWith(kUtf16LEMark) || start.startsWith(kUtf16BEMark))
        return false;
    if (start.contains('\0'))
        return true;
    qsizetype controls = 0;
    for (const char byte : start) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c < 0x20 && !QByteArrayView("\t\n\v\f\r\x1b").contains(char(c))) || c == 0x7f)
            ++controls;
    }
    return 2 * controls > start.size();
}

bool canEncode(const QString &text, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
        return true;
    case TextEncoding::Utf8Bom:
        return !hasUnpairedSurrogate(text);
    case TextEncoding::Windows1252:
        return Windows1252::canEncode(text);
    case TextEncoding::Ansi:
        break;
    }
#ifdef Q_OS_WIN
    return encodeBytes(text, TextEncoding::Ansi, {}).has_value();
#else
    return !hasUnpairedSurrogate(text);
#endif
}

QByteArray encodeText(const QString &text, TextEncoding encoding, LineBreak lineBreak,
                      TextEncoding *used, QByteArrayView lineBreaks)
{
    // Line breaks of their own are written out here, and the encoders are told to leave every
    // '\n' as it is.
    const QString written = lineBreaks.isEmpty() ? text : withLineBreaks(text, lineBreaks, lineBreak);
    const LineBreak style = lineBreaks.isEmpty() ? lineBreak : LineBreak::Lf;
    TextEncoding chosen = encoding;
    std::optional<QByteArray> bytes = encodeAs(written, chosen, style);
    if (!bytes && chosen != TextEncoding::Utf8Bom) {
        chosen = TextEncoding::Utf8Bom;
        bytes = encodeAs(written, chosen, style);
    }
    if (!bytes) {
        chosen = TextEncoding::Utf16LE;
        bytes = encodeAs(written, chosen, style);
    }
    if (used)
        *used = chosen;
    return std::move(*bytes);
}

bool encodeInPieces(const QStringList &texts, const std::function<bool(QByteArrayView)> &write)
{
    static constexpr qsizetype kPieceLength = 1 << 20;
    // Each text is written in pieces of its own, so that no piece is bigger than kPieceLength.
    const auto eachPiece = [&texts](const std::function<bool(QStringView)> &take) {
        for (const QString &text : texts)
            for (qsizetype from = 0; from < text.size(); from += kPieceLength)
                if (!take(QStringView(text).sliced(from, qMin(kPieceLength, text.size() - from))))
                    return false;
        return true;
    };
    // Whether a surrogate stands outside a pair, followed across the ends of the pieces.
    bool unpaired = false;
    bool afterHigh = false;
    eachPiece([&unpaired, &afterHigh](QStringView piece) {
        for (const QChar c : piece) {
            if (afterHigh != c.isLowSurrogate()) {
                unpaired = true;
                return false;
            }
            afterHigh = c.isHighSurrogate();
        }
        return true;
    });
    unpaired = unpaired || afterHigh;
    if (unpaired) {
        // As encodeText: what not even UTF-8 holds is written as UTF-16 LE with its mark.
        if (!write(QByteArrayView(kUtf16LEMark)))
            return false;
        QByteArray bytes;
        return eachPiece([&](QStringView piece) {
            bytes.resize(2 * piece.size());
            qToLittleEndian<char16_t>(piece.data(), piece.size(), bytes.data());
            return write(bytes);
        });
    }
    if (!write(QByteArrayView(kUtf8Mark)))
        return false;
    // The encoder keeps a surrogate pair together that a piece's end cuts in two.
    QStringEncoder utf8(QStringConverter::Utf8);
    return eachPiece([&](QStringView piece) {
        const QByteArray bytes = utf8.encode(piece);
        return write(bytes);
    });
}

} // namespace Platform
