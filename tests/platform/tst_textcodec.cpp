#include "CodecTesting.h"
#include "platform/TextCodec.h"

#include <QTest>

using namespace Qt::StringLiterals;
using Platform::LineBreak;
using Platform::TextEncoding;

namespace {

// UTF-16 literals that may hold NUL.
template <qsizetype N>
QString text16(const char16_t (&units)[N])
{
    return QString::fromUtf16(units, N - 1);
}

// Every byte value once, CR directly before LF so that the file has one line-break style.
QByteArray allByteValues()
{
    QByteArray bytes;
    for (int value = 0; value < 256; ++value) {
        if (value == '\n')
            continue;
        bytes += char(value);
        if (value == '\r')
            bytes += '\n';
    }
    return bytes;
}

} // namespace

class TextCodecTest : public QObject
{
    Q_OBJECT

private slots:
    void decodesAndWritesBack_data();
    void decodesAndWritesBack();
    void tellsUtf8FromWindows1252_data();
    void tellsUtf8FromWindows1252();
    void roundTripsByteForByte_data();
    void roundTripsByteForByte();
    void mixedLineBreaksAreTold();
    void decodesInPartsAsWhole_data();
    void decodesInPartsAsWhole();
    void tellsWhetherALineMayBeLong();
    void looksBinary_data();
    void looksBinary();
    void fallsBackWhenCharactersDoNotFit_data();
    void fallsBackWhenCharactersDoNotFit();
    void encodesInPiecesAsWhole_data();
    void encodesInPiecesAsWhole();
};

void TextCodecTest::decodesAndWritesBack_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<LineBreak>("lineBreak");
    QTest::addColumn<QByteArray>("written"); // encodeText of the decoded text

    const auto row = [](const char *name, const QByteArray &bytes, const QString &text,
                        TextEncoding encoding, LineBreak lineBreak,
                        const std::optional<QByteArray> &written = std::nullopt) {
        QTest::newRow(name) << bytes << text << encoding << lineBreak << written.value_or(bytes);
    };
    const LineBreak native = Platform::nativeLineBreak();

    row("UTF-8 mark, CR LF", "\xEF\xBB\xBF" "bl\xC3\xA5" "b\xC3\xA6r\r\n\xC3\xB8",
        u"blåbær\nø"_s, TextEncoding::Utf8Bom, LineBreak::CrLf);
    row("UTF-16 LE mark, LF", raw("\xFF\xFE" "b\0\xE5\0\n\0\x3D\xD8\x00\xDE"),
        u"bå\n\U0001F600"_s, TextEncoding::Utf16LE, LineBreak::Lf);
    row("UTF-16 BE mark, CR", raw("\xFE\xFF" "\0b\0\xE5\0\r\xD8\x3D\xDE\x00"),
        u"bå\n\U0001F600"_s, TextEncoding::Utf16BE, LineBreak::Cr);
    row("UTF-16 LE mark, CR LF", raw("\xFF\xFE" "a\0\r\0\n\0b\0"), u"a\nb"_s,
        TextEncoding::Utf16LE, LineBreak::CrLf);
    row("only a UTF-8 mark", "\xEF\xBB\xBF", QString(), TextEncoding::Utf8Bom, native);
    row("a second UTF-8 mark is text", "\xEF\xBB\xBF\xEF\xBB\xBF" "a", u"\uFEFFa"_s,
        TextEncoding::Utf8Bom, native);
    row("a second UTF-16 mark is text", raw("\xFF\xFE\xFF\xFE" "a\0"), u"\uFEFFa"_s,
        TextEncoding::Utf16LE, native);
    row("unpaired surrogate in UTF-16", raw("\xFF\xFE" "\x00\xD8" "a\0"), text16(u"\xD800" "a"),
        TextEncoding::Utf16LE, native);
    row("invalid UTF-8 after a UTF-8 mark", "\xEF\xBB\xBF" "bl\xE5",
        u"\u00EF\u00BB\u00BF" "blå"_s, TextEncoding::Windows1252, native);
    row("odd byte after a UTF-16 mark", raw("\xFF\xFE" "a\0b"), text16(u"\u00FF\u00FE" "a\0b"),
        TextEncoding::Windows1252, native);
    row("ASCII, CR LF", "a\r\nb\r\n", u"a\nb\n"_s, TextEncoding::Ansi, LineBreak::CrLf);
    row("ASCII, LF", "a\nb\n", u"a\nb\n"_s, TextEncoding::Ansi, LineBreak::Lf);
    row("ASCII, CR", "a\rb\r", u"a\nb\n"_s, TextEncoding::Ansi, LineBreak::Cr);
    row("no line break", "abc", u"abc"_s, TextEncoding::Ansi, native);
    row("empty", QByteArray(), QString(), TextEncoding::Ansi, native);
    row("NUL bytes", raw("a\0b\r\n\0"), text16(u"a\0b\n\0"), TextEncoding::Ansi,
        LineBreak::CrLf);
    row("LF first, then CR LF and CR", "a\nb\r\nc\rd", u"a\nb\nc\nd"_s, TextEncoding::Ansi,
        LineBreak::Lf, "a\nb\nc\nd");
    row("CR LF first, then LF and CR", "a\r\nb\nc\rd", u"a\nb\nc\nd"_s, TextEncoding::Ansi,
        LineBreak::CrLf, "a\r\nb\r\nc\r\nd");
    row("CR first, then CR LF", "a\rb\r\nc", u"a\nb\nc"_s, TextEncoding::Ansi, LineBreak::Cr,
        "a\rb\rc");
    row("LF CR is two line breaks", "a\n\rb", u"a\n\nb"_s, TextEncoding::Ansi, LineBreak::Lf,
        "a\n\nb");
#ifndef Q_OS_WIN
    // Outside Windows the ANSI code page is UTF-8, and what is not UTF-8 is Windows-1252.
    row("UTF-8 without mark", "bl\xC3\xA5" "b\xC3\xA6r\n", u"blåbær\n"_s, TextEncoding::Ansi,
        LineBreak::Lf);
    row("Windows-1252", "bl\xE5" "b\xE6r", u"blåbær"_s, TextEncoding::Windows1252, native);
    row("Windows-1252 quotes, dash and euro", "\x93" "citat\x94 \x96 50 \x80\r\n",
        u"“citat” – 50 €\n"_s, TextEncoding::Windows1252, LineBreak::CrLf);
    row("Windows-1252, bytes it leaves undefined", "\x81\x8D\x8F\x90\x9D\xFF",
        u"\u0081\u008D\u008F\u0090\u009D\u00FF"_s, TextEncoding::Windows1252, native);
#endif
}

void TextCodecTest::decodesAndWritesBack()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(LineBreak, lineBreak);
    QFETCH(QByteArray, written);

    const Platform::DecodedText decoded = Platform::decodeText(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.lineBreak, lineBreak);

    TextEncoding used = TextEncoding::Ansi;
    QCOMPARE(Platform::encodeText(decoded.text, decoded.encoding, decoded.lineBreak, &used),
             written);
    QCOMPARE(used, encoding);
}

void TextCodecTest::tellsUtf8FromWindows1252_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<QString>("text");

    const QByteArray ascii(40, 'a'); // long enough to be stepped over in blocks
    const QString asciiText(40, u'a');
    const auto utf8 = [](const char *name, const QByteArray &bytes, const QString &text) {
        QTest::newRow(name) << bytes << TextEncoding::Ansi << text;
    };
    const auto windows1252 = [](const char *name, const QByteArray &bytes, const QString &text) {
        QTest::newRow(name) << bytes << TextEncoding::Windows1252 << text;
    };

    utf8("U+0080, the first of two bytes", "\xC2\x80", u"\u0080"_s);
    utf8("U+07FF, the last of two bytes", "\xDF\xBF", u"\u07FF"_s);
    utf8("U+0800, the first of three bytes", "\xE0\xA0\x80", u"\u0800"_s);
    utf8("U+D7FF, just below the surrogates", "\xED\x9F\xBF", u"\uD7FF"_s);
    utf8("U+E000, just above the surrogates", "\xEE\x80\x80", u"\uE000"_s);
    utf8("U+FFFF", "\xEF\xBF\xBF", u"\uFFFF"_s);
    utf8("U+10000, the first of four bytes", "\xF0\x90\x80\x80", u"\U00010000"_s);
    utf8("U+10FFFF, the last character", "\xF4\x8F\xBF\xBF", u"\U0010FFFF"_s);
    utf8("after a long ASCII run", ascii + "\xC3\xA5", asciiText + u"å"_s);

    windows1252("overlong NUL", "\xC0\x80", u"\u00C0\u20AC"_s);
    windows1252("overlong two bytes", "\xC1\xBF", u"\u00C1\u00BF"_s);
    windows1252("overlong three bytes", "\xE0\x9F\xBF", u"\u00E0\u0178\u00BF"_s);
    windows1252("overlong four bytes", "\xF0\x8F\xBF\xBF", u"\u00F0\u008F\u00BF\u00BF"_s);
    windows1252("high surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC"_s);
    windows1252("low surrogate", "\xED\xBF\xBF", u"\u00ED\u00BF\u00BF"_s);
    windows1252("above U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"_s);
    windows1252("lead byte F5", "\xF5\x80\x80\x80", u"\u00F5\u20AC\u20AC\u20AC"_s);
    windows1252("five-byte form", "\xF8\x88\x80\x80\x80",
                u"\u00F8\u02C6\u20AC\u20AC\u20AC"_s);
    windows1252("lone continuation byte", "a\x80" "b", u"a\u20ACb"_s);
    windows1252("continuation missing before ASCII", "\xE2\x82" "a", u"\u00E2\u201Aa"_s);
    windows1252("two bytes cut off at the end", "a\xC3", u"a\u00C3"_s);
    windows1252("three bytes cut off at the end", "a\xE2\x82", u"a\u00E2\u201A"_s);
    windows1252("four bytes cut off at the end", "a\xF0\x9F\x98", u"a\u00F0\u0178\u02DC"_s);
    windows1252("inside a run of ASCII", ascii + "\xE5" + ascii, asciiText + u"å"_s + asciiText);
    windows1252("cut off after valid blocks", ascii + "\xC3\xA5" + ascii + "\xC3",
                asciiText + u"\u00C3\u00A5"_s + asciiText + u"\u00C3"_s);
}

void TextCodecTest::tellsUtf8FromWindows1252()
{
#ifdef Q_OS_WIN
    QSKIP("On Windows text without a mark is in the system's ANSI code page");
#endif
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, encoding);
    QFETCH(QString, text);

    const Platform::DecodedText decoded = Platform::decodeText(bytes);
    QCOMPARE(decoded.encoding, encoding);
    QCOMPARE(decoded.text, text);
    QCOMPARE(Platform::encodeText(decoded.text, decoded.encoding, decoded.lineBreak), bytes);
}

void TextCodecTest::roundTripsByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");

    const QByteArray all = allByteValues();
    QTest::newRow("every byte value") << all;
    QTest::newRow("every byte value after a UTF-8 mark") << "\xEF\xBB\xBF" + all;
    QTest::newRow("every byte value after a UTF-16 LE mark") << "\xFF\xFE" + all;
    QTest::newRow("every byte value after a UTF-16 BE mark") << "\xFE\xFF" + all;
    QTest::newRow("odd byte count after a UTF-16 BE mark") << "\xFE\xFF" + all + 'x';
    QTest::newRow("NUL bytes only") << QByteArray(1000, '\0');
    QTest::newRow("NUL bytes in UTF-8 text") << raw("bl\xC3\xA5\0b\xC3\xA6r\0\r\n\0");
    QTest::newRow("NUL bytes in UTF-16 text") << raw("\xFF\xFE\0\0a\0\0\0\r\0\n\0");
    QTest::newRow("control bytes") << raw("\x01\x02\x1B[0m\x7F\x0C\x0B\t\n");
    QTest::newRow("CR at the very end") << QByteArray("a\r");
    QTest::newRow("line breaks only") << QByteArray("\r\n\r\n\r\n");
    QTest::newRow("empty lines, LF") << QByteArray("\n\n\na\n\n");
    QTest::newRow("long lines, CR LF") << QByteArray(5000, 'x') + "\r\n" + QByteArray(70000, 'y');
    QTest::newRow("mixed line breaks") << QByteArray("a\nb\r\nc\rd\r\n\r\n\r\r\n\n\r");
    QTest::newRow("mixed line breaks, Windows-1252") << QByteArray("bl\xe5\r\nb\xe6r\n\r");
    QTest::newRow("mixed line breaks, UTF-16 LE") << raw("\xFF\xFE" "a\0\r\0\n\0b\0\n\0c\0\r\0");
}

void TextCodecTest::roundTripsByteForByte()
{
    QFETCH(QByteArray, bytes);

    const Platform::DecodedText decoded = Platform::decodeText(bytes);
    TextEncoding used = TextEncoding::Ansi;
    const QByteArray written =
        Platform::encodeText(decoded.text, decoded.encoding, decoded.lineBreak, &used, decoded.lineBreaks);
    QCOMPARE(used, decoded.encoding);
    QCOMPARE(written.toHex(' '), bytes.toHex(' '));
}

void TextCodecTest::mixedLineBreaksAreTold()
{
    // The most common style rules lines without one of their own; each break keeps its own.
    const Platform::DecodedText decoded = Platform::decodeText("a\nb\r\nc\rd\r\ne");
    QCOMPARE(decoded.lineBreak, LineBreak::CrLf);
    QByteArray styles;
    for (const LineBreak style : {LineBreak::Lf, LineBreak::CrLf, LineBreak::Cr, LineBreak::CrLf})
        styles.append(char(style));
    QCOMPARE(decoded.lineBreaks, styles);
    QCOMPARE(Platform::encodeText(decoded.text + u"\nf"_s, decoded.encoding, decoded.lineBreak, nullptr,
                                  decoded.lineBreaks),
             QByteArray("a\nb\r\nc\rd\r\ne\r\nf"));
    QVERIFY(Platform::decodeText("a\r\nb\r\n").lineBreaks.isEmpty());
}

void TextCodecTest::decodesInPartsAsWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const auto utf16 = [](const QString &text, bool bigEndian) {
        QByteArray bytes = bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        for (const QChar c : text) {
            const char high = char(c.unicode() >> 8);
            const char low = char(c.unicode() & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    };
    // U+0A0A, U+010A and U+0A41 beside U+0100 hold the bytes of a line feed without being one.
    const QString wide = u"\u0100\u0A41\u0100\u0A0Aa\r\n\u010A\nb\rc\r\n\r\n\u00E6"_s;
    QTest::newRow("UTF-8, mixed line breaks") << u"\u00E6ble\r\nb\nc\rd\r\n\r\n\u00F8l\n"_s.toUtf8();
    QTest::newRow("UTF-8 with a mark, a second mark at a line start")
        << QByteArray("\xEF\xBB\xBF" "a\r\n\xEF\xBB\xBF" "b\r\nc");
    QTest::newRow("UTF-16 LE") << utf16(wide, false);
    QTest::newRow("UTF-16 BE") << utf16(wide, true);
    QTest::newRow("Windows-1252, mixed") << QByteArray("bl\xe5\r\nb\xe6r\n\nost\r\r\nx");
    QTest::newRow("equally common styles, the first after a line without break")
        << QByteArray("aaaaaaaa\rb\nc");
    QTest::newRow("one style after a first line of another") << QByteArray("a\nb\r\nc\r\nd\r\n");
    QTest::newRow("odd UTF-16") << QByteArray("\xFF\xFE" "a\n\0b");
    QTest::newRow("no line break") << QByteArray("abc");
}

void TextCodecTest::decodesInPartsAsWhole()
{
    QFETCH(QByteArray, bytes);
    const Platform::DecodedText whole = Platform::decodeText(bytes);
    for (const qsizetype partBytes : {1, 2, 3, 5, 8}) {
        Platform::TextDecoder decoder(bytes);
        QString joined;
        while (!decoder.atEnd()) {
            const qsizetype before = decoder.position();
            const QString part = decoder.next(partBytes);
            QVERIFY(decoder.position() >= std::min(before + partBytes, decoder.size()));
            if (!decoder.atEnd())
                QVERIFY2(part.endsWith(u'\n'), qPrintable(part));
            joined += part;
        }
        QCOMPARE(joined, whole.text);
        QCOMPARE(decoder.encoding(), whole.encoding);
        QCOMPARE(decoder.lineBreak(), whole.lineBreak);
        QCOMPARE(decoder.lineBreaks(), whole.lineBreaks);
    }
}

void TextCodecTest::tellsWhetherALineMayBeLong()
{
    QVERIFY(!Platform::TextDecoder("ab\r\ncd").mayHaveLineLongerThan(3));
    QVERIFY(Platform::TextDecoder("ab\r\ncd").mayHaveLineLongerThan(1));
    QVERIFY(Platform::TextDecoder("ab\ncde").mayHaveLineLongerThan(2));
    QVERIFY(!Platform::TextDecoder("ab\ncde").mayHaveLineLongerThan(3));
    QVERIFY(!Platform::TextDecoder(QByteArray("\xFF\xFE" "a\0b\0\n\0c\0", 10)).mayHaveLineLongerThan(2));
    QVERIFY(Platform::TextDecoder(QByteArray("\xFF\xFE" "a\0b\0\n\0c\0", 10)).mayHaveLineLongerThan(1));
    // A line that is one only between CRs is taken for long: the bytes tell no more cheaply.
    QVERIFY(Platform::TextDecoder("ab\rcd\ref").mayHaveLineLongerThan(3));
}

void TextCodecTest::looksBinary_data()
{
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<bool>("binary");
    QTest::newRow("text") << QByteArray("bl\xe5" "b\xe6r\tost\f\r\n\x1b[1mfed\x1b" "[0m\v") << false;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("a NUL byte") << raw("tekst\0tekst") << true;
    QTest::newRow("UTF-16 with its mark") << raw("\xFF\xFE" "a\0b\0") << false;
    QTest::newRow("half control characters") << QByteArray("\x01\x02" "ab") << false;
    QTest::newRow("mostly control characters") << QByteArray("\x01\x02\x7f" "ab") << true;
}

void TextCodecTest::looksBinary()
{
    QFETCH(QByteArray, start);
    QFETCH(bool, binary);
    QCOMPARE(Platform::looksBinary(start), binary);
}

void TextCodecTest::fallsBackWhenCharactersDoNotFit_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TextEncoding>("encoding");
    QTest::addColumn<LineBreak>("lineBreak");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<TextEncoding>("used");

    QTest::newRow("Greek in Windows-1252")
        << u"Ωμέγα\nx"_s << TextEncoding::Windows1252 << LineBreak::CrLf
        << QByteArray("\xEF\xBB\xBF" "\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1\r\nx")
        << TextEncoding::Utf8Bom;
    QTest::newRow("U+0080 has no Windows-1252 byte")
        << u"a\u0080"_s << TextEncoding::Windows1252 << LineBreak::Lf
        << QByteArray("\xEF\xBB\xBF" "a\xC2\x80") << TextEncoding::Utf8Bom;
    QTest::newRow("emoji in Windows-1252")
        << u"\U0001F600\n"_s << TextEncoding::Windows1252 << LineBreak::Cr
        << QByteArray("\xEF\xBB\xBF" "\xF0\x9F\x98\x80\r") << TextEncoding::Utf8Bom;
    QTest::newRow("Danish, quotes and euro fit Windows-1252")
        << u"“blåbær” – 50 €\n"_s << TextEncoding::Windows1252 << LineBreak::CrLf
        << QByteArray("\x93" "bl\xE5" "b\xE6r\x94 \x96 50 \x80\r\n")
        << TextEncoding::Windows1252;
    QTest::newRow("Greek in UTF-16 BE") << u"Ω\n"_s << TextEncoding::Utf16BE << LineBreak::CrLf
                                        << raw("\xFE\xFF\x03\xA9\0\r\0\n")
                                        << TextEncoding::Utf16BE;
    QTest::newRow("unpaired surrogate in Windows-1252")
        << text16(u"a\xD800") << TextEncoding::Windows1252 << LineBreak::Lf
        << raw("\xFF\xFE" "a\0\x00\xD8") << TextEncoding::Utf16LE;
    QTest::newRow("unpaired surrogate in UTF-8")
        << text16(u"\xDC00\n") << TextEncoding::Utf8Bom << LineBreak::CrLf
        << raw("\xFF\xFE\x00\xDC\r\0\n\0") << TextEncoding::Utf16LE;
#ifndef Q_OS_WIN
    QTest::newRow("Greek in the ANSI code page (UTF-8)")
        << u"Ωμέγα"_s << TextEncoding::Ansi << LineBreak::Lf
        << QByteArray("\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1") << TextEncoding::Ansi;
#endif
}

void TextCodecTest::fallsBackWhenCharactersDoNotFit()
{
    QFETCH(QString, text);
    QFETCH(TextEncoding, encoding);
    QFETCH(LineBreak, lineBreak);
    QFETCH(QByteArray, bytes);
    QFETCH(TextEncoding, used);

    QCOMPARE(Platform::canEncode(text, encoding), used == encoding);
    TextEncoding actuallyUsed = encoding;
    QCOMPARE(Platform::encodeText(text, encoding, lineBreak, &actuallyUsed), bytes);
    QCOMPARE(actuallyUsed, used);

    // Whoever reads the file back gets every character.
    const Platform::DecodedText decoded = Platform::decodeText(bytes);
    QCOMPARE(decoded.text, text);
    QCOMPARE(decoded.encoding, used);
}

void TextCodecTest::encodesInPiecesAsWhole_data()
{
    QTest::addColumn<QStringList>("texts");
    // The pieces are a mebi-character long; these texts cross a piece's end.
    constexpr qsizetype piece = 1 << 20;
    const QString emoji = u"\U0001F600"_s;
    const QChar high = emoji[0];
    const QChar low = emoji[1];
    QTest::newRow("nothing") << QStringList();
    QTest::newRow("empty") << QStringList{QString()};
    QTest::newRow("Danish letters") << QStringList{u"blåbærgrød\nmed fløde\n"_s};
    QTest::newRow("three pieces of Danish letters") << QStringList{u"æøå\n"_s.repeated(piece * 3 / 4)};
    QTest::newRow("surrogate pair cut by a piece's end") << QStringList{QString(piece - 1, u'x') + emoji + u"y"_s};
    QTest::newRow("surrogate pair cut by a text's end") << QStringList{u"a"_s + high, low + u"b"_s};
    QTest::newRow("several texts") << QStringList{u"Kære "_s, QString(), u"Jens\n"_s, emoji};
    QTest::newRow("unpaired surrogate") << QStringList{u"a"_s + QChar(0xD800) + u"b\n"_s};
    QTest::newRow("unpaired surrogate in the second piece") << QStringList{QString(piece + 3, u'x') + QChar(0xDC00)};
    QTest::newRow("high surrogate ending the last text") << QStringList{u"a"_s, u"b"_s + high};
    QTest::newRow("low surrogate beginning a text") << QStringList{u"a"_s, low + u"b"_s};
}

void TextCodecTest::encodesInPiecesAsWhole()
{
    QFETCH(QStringList, texts);
    QByteArray written;
    int pieces = 0;
    QVERIFY(Platform::encodeInPieces(texts, [&](QByteArrayView piece) {
        written += piece;
        ++pieces;
        return true;
    }));
    const QString text = texts.join(QString());
    QCOMPARE(written, Platform::encodeText(text, TextEncoding::Utf8Bom, LineBreak::Lf));
    QCOMPARE(Platform::decodeText(written).text, text);

    // A refused piece ends the writing.
    int offered = 0;
    QVERIFY(!Platform::encodeInPieces(texts, [&](QByteArrayView) { return ++offered < pieces; }));
    QCOMPARE(offered, pieces);
}

QTEST_GUILESS_MAIN(TextCodecTest)
#include "tst_textcodec.moc"
