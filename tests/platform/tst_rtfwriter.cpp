#include "platform/Rtf.h"

#include <QBuffer>
#include <QImage>
#include <QRegularExpression>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;

using Build = std::function<void(QTextCursor &)>;
Q_DECLARE_METATYPE(Build)

namespace {

// The window's own default, so that nothing depends on the fonts of the machine.
std::unique_ptr<QTextDocument> newDocument()
{
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(QFont(u"Tahoma"_s, 10));
    return document;
}

// What every file must be, whatever the document: 7-bit, braces balanced with the outer group
// closing last, lines short enough for any tool.
void checkWellFormed(const QByteArray &rtf)
{
    QVERIFY2(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"), rtf.left(60).constData());
    int depth = 0;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        QVERIFY2(uchar(c) < 0x80 && (uchar(c) >= 0x20 || c == '\r' || c == '\n'),
                 qPrintable(u"byte 0x%1 at %2"_s.arg(uchar(c), 0, 16).arg(i)));
        if (c == '\n') {
            QVERIFY2(i - lineStart <= 300, qPrintable(u"line of %1 bytes"_s.arg(i - lineStart)));
            lineStart = i + 1;
        }
        if (c == '\\') {
            ++i; // an escaped brace or backslash is text
            continue;
        }
        if (c == '{')
            ++depth;
        if (c == '}') {
            --depth;
            QVERIFY2(depth > 0 || i == rtf.size() - 1, qPrintable(u"group closed at %1"_s.arg(i)));
        }
    }
    QCOMPARE(depth, 0);
}

QByteArray written(const QTextDocument &document)
{
    const QByteArray rtf = Platform::writeRtf(&document);
    checkWellFormed(rtf);
    return rtf;
}

// What a reader sees: line ends in the file are not part of the text.
QByteArray joined(QByteArray rtf)
{
    return rtf.replace("\r\n", "");
}

// The paragraphs of the body, each from its \pard to its \par.
QByteArrayList paragraphs(const QByteArray &rtf)
{
    QByteArrayList result;
    const QByteArray body = joined(rtf);
    for (qsizetype from = body.indexOf("\\pard"); from >= 0;) {
        const qsizetype end = body.indexOf("\\par", from + 5);
        const qsizetype next = body.indexOf("\\pard", end + 4);
        result.append(body.mid(from, end - from + 4));
        from = next;
    }
    return result;
}


// Each character as the user sees it: font, size, colour and styles.
QStringList characterLooks(const QTextDocument &document)
{
    const QFont base = document.defaultFont();
    QStringList looks;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            const QStringList families = format.fontFamilies().toStringList();
            const QString family = families.isEmpty() ? base.family() : families.first();
            const qreal points = format.fontPointSize() > 0 ? format.fontPointSize()
                                                            : base.pointSizeF();
            const QString colour = format.foreground().style() == Qt::NoBrush
                ? u"auto"_s
                : format.foreground().color().name();
            QString look = u"%1 %2pt %3"_s.arg(family).arg(points).arg(colour);
            if (format.fontWeight() > QFont::Medium)
                look += u" bold"_s;
            if (format.fontItalic())
                look += u" italic"_s;
            if (format.fontUnderline())
                look += u" underline"_s;
            if (format.fontStrikeOut())
                look += u" strike"_s;
            const QString text = it.fragment().text();
            for (const QChar c : text)
                looks.append(QString(c) + u": "_s + look);
        }
    }
    return looks;
}

// Each paragraph's alignment and list, and its indents to within a unit.
void compareParagraphs(const QTextDocument &read, const QTextDocument &original)
{
    QCOMPARE(read.blockCount(), original.blockCount());
    for (int i = 0; i < original.blockCount(); ++i) {
        const QTextBlock readBlock = read.findBlockByNumber(i);
        const QTextBlock block = original.findBlockByNumber(i);
        const QTextBlockFormat readFormat = readBlock.blockFormat();
        const QTextBlockFormat format = block.blockFormat();
        const auto where = [&](const char *what) {
            return qPrintable(u"paragraph %1 \"%2\": %3"_s.arg(i).arg(block.text(),
                                                                   QLatin1StringView(what)));
        };
        const auto horizontal = [](const QTextBlockFormat &f) {
            const Qt::Alignment a = f.alignment() & (Qt::AlignHCenter | Qt::AlignRight | Qt::AlignJustify);
            return a ? a : Qt::Alignment(Qt::AlignLeft);
        };
        QVERIFY2(horizontal(readFormat) == horizontal(format), where("alignment"));
        QVERIFY2(qAbs(readFormat.leftMargin() - format.leftMargin()) <= 1, where("left margin"));
        QVERIFY2(qAbs(readFormat.textIndent() - format.textIndent()) <= 1, where("first line"));
        QVERIFY2(qAbs(readFormat.rightMargin() - format.rightMargin()) <= 1, where("right margin"));
        QVERIFY2(bool(readBlock.textList()) == bool(block.textList()), where("list"));
        if (block.textList()) {
            QVERIFY2(readBlock.textList()->format().style() == block.textList()->format().style(),
                     where("list style"));
        }
    }
}
} // namespace

class RtfWriterTest : public QObject
{
    Q_OBJECT

private slots:
    void writesHeaderAndTables();
    void writesCharacterFormats_data();
    void writesCharacterFormats();
    void writesParagraphFormats_data();
    void writesParagraphFormats();
    void writesLists_data();
    void writesLists();
    void numbersItemsAsTheWindowShowsThem_data();
    void numbersItemsAsTheWindowShowsThem();
    void escapesText_data();
    void escapesText();
    void endsEveryParagraph_data();
    void endsEveryParagraph();
    void breaksLongLines();
    void writesPictures();
    void readsBackWhatItWrote_data();
    void readsBackWhatItWrote();
    void keepsTheCharactersOfSymbolFontText();
};

void RtfWriterTest::writesHeaderAndTables()
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QTextCharFormat courierRed;
    courierRed.setFontFamilies({u"Courier New"_s});
    courierRed.setForeground(QColor(255, 0, 0));
    QTextCharFormat georgiaBlue;
    georgiaBlue.setFont(QFont(u"Georgia"_s, 10));
    georgiaBlue.setForeground(QColor(0, 0, 255));
    cursor.insertText(u"plain "_s);
    cursor.insertText(u"red "_s, courierRed);
    cursor.insertText(u"blue "_s, georgiaBlue);
    cursor.insertText(u"red again"_s, courierRed);
    cursor.insertText(u" auto"_s, QTextCharFormat());

    const QByteArray rtf = joined(written(*document));
    QVERIFY2(rtf.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 Tahoma;}"
                          "{\\f1\\fnil\\fcharset0 Courier New;}{\\f2\\fnil\\fcharset0 Georgia;}}"),
             rtf.constData());
    QVERIFY2(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"),
             rtf.constData());
    QVERIFY(!rtf.contains("Symbol"));
    QVERIFY(rtf.indexOf("\\viewkind4") > rtf.indexOf("{\\colortbl"));
    QVERIFY2(rtf.contains("\\pard\\f0\\fs20 plain \\f1\\cf1 red \\f2\\cf2 blue \\f1\\cf1 red again"
                          "\\f0\\cf0  auto\\par}"),
             rtf.constData());
}

void RtfWriterTest::writesCharacterFormats_data()
{
    QTest::addColumn<QTextCharFormat>("format");
    QTest::addColumn<QByteArray>("expected"); // around "b" in "abc"

    const auto row = [](const char *name, const std::function<void(QTextCharFormat &)> &set,
                        const QByteArray &expected) {
        QTextCharFormat format;
        set(format);
        QTest::newRow(name) << format << expected;
    };
    row("bold", [](auto &f) { f.setFontWeight(QFont::Bold); }, "a\\b b\\b0 c");
    row("medium weight is not bold", [](auto &f) { f.setFontWeight(QFont::Medium); }, "abc");
    row("italic", [](auto &f) { f.setFontItalic(true); }, "a\\i b\\i0 c");
    row("underline", [](auto &f) { f.setFontUnderline(true); }, "a\\ul b\\ulnone c");
    row("wavy underline", [](auto &f) { f.setUnderlineStyle(QTextCharFormat::WaveUnderline); },
        "a\\ulwave b\\ulnone c");
    row("strike-out", [](auto &f) { f.setFontStrikeOut(true); }, "a\\strike b\\strike0 c");
    row("all four", [](auto &f) {
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
    }, "a\\b\\i\\ul\\strike b\\b0\\i0\\ulnone\\strike0 c");
    row("size", [](auto &f) { f.setFontPointSize(36); }, "a\\fs72 b\\fs20 c");
    row("half point size", [](auto &f) { f.setFontPointSize(10.5); }, "a\\fs21 b\\fs20 c");
    row("size rounded", [](auto &f) { f.setFontPointSize(13.3); }, "a\\fs27 b\\fs20 c");
    row("pixel size", [](auto &f) { f.setProperty(QTextFormat::FontPixelSize, 32); },
        "a\\fs48 b\\fs20 c");
    row("font family list", [](auto &f) { f.setFontFamilies({u"Segoe Print"_s, u"Arial"_s}); },
        "a\\f1 b\\f0 c");
    row("font of a QFont", [](auto &f) { f.setFont(QFont(u"Lucida Console"_s, 12)); },
        "a\\f1\\fs24 b\\f0\\fs20 c");
    row("default family named", [](auto &f) { f.setFontFamilies({u"Tahoma"_s}); }, "abc");
    row("colour", [](auto &f) { f.setForeground(QColor(128, 0, 128)); }, "a\\cf1 b\\cf0 c");
    row("black is a colour", [](auto &f) { f.setForeground(Qt::black); }, "a\\cf1 b\\cf0 c");
    row("highlight", [](auto &f) { f.setBackground(Qt::yellow); },
        "a\\highlight1 b\\highlight0 c");
    row("superscript", [](auto &f) { f.setVerticalAlignment(QTextCharFormat::AlignSuperScript); },
        "a\\super b\\nosupersub c");
}

void RtfWriterTest::writesCharacterFormats()
{
    QFETCH(QTextCharFormat, format);
    QFETCH(QByteArray, expected);

    auto document = newDocument();
    QTextCursor cursor(document.get());
    cursor.insertText(u"a"_s);
    cursor.insertText(u"b"_s, format);
    cursor.insertText(u"c"_s, QTextCharFormat());

    const QByteArray rtf = joined(written(*document));
    QVERIFY2(rtf.contains("\\pard\\f0\\fs20 " + expected + "\\par}"), rtf.constData());
}

void RtfWriterTest::writesParagraphFormats_data()
{
    QTest::addColumn<QTextBlockFormat>("format");
    QTest::addColumn<QByteArray>("expected"); // from \pard to \par of the paragraph "x"

    const auto row = [](const char *name, const std::function<void(QTextBlockFormat &)> &set,
                        const QByteArray &expected) {
        QTextBlockFormat format;
        set(format);
        QTest::newRow(name) << format << expected;
    };
    row("left", [](auto &f) { f.setAlignment(Qt::AlignLeft); }, "\\pard x\\par");
    row("centre", [](auto &f) { f.setAlignment(Qt::AlignCenter); }, "\\pard\\qc x\\par");
    row("right", [](auto &f) { f.setAlignment(Qt::AlignRight); }, "\\pard\\qr x\\par");
    row("trailing", [](auto &f) { f.setAlignment(Qt::AlignTrailing); }, "\\pard\\qr x\\par");
    row("justified", [](auto &f) { f.setAlignment(Qt::AlignJustify); }, "\\pard\\qj x\\par");
    // The Margin command: 4 points start indent, 5 points right indent.
    row("margin command", [](auto &f) {
        f.setLeftMargin(4 * 96.0 / 72);
        f.setTextIndent(0);
        f.setRightMargin(5 * 96.0 / 72);
    }, "\\pard\\li80\\ri100 x\\par");
    row("hanging indent", [](auto &f) {
        f.setLeftMargin(48);
        f.setTextIndent(-24);
    }, "\\pard\\fi-360\\li720 x\\par");
    row("indents rounded", [](auto &f) {
        f.setLeftMargin(1.35);
        f.setTextIndent(-0.75);
        f.setRightMargin(2.95);
    }, "\\pard\\fi-11\\li20\\ri44 x\\par");
    row("indent steps", [](auto &f) { f.setIndent(2); }, "\\pard\\li1200 x\\par");
    row("spacing", [](auto &f) {
        f.setTopMargin(4);
        f.setBottomMargin(8);
    }, "\\pard\\sb60\\sa120 x\\par");
    row("centred and indented", [](auto &f) {
        f.setAlignment(Qt::AlignHCenter);
        f.setLeftMargin(10);
    }, "\\pard\\qc\\li150 x\\par");
}

void RtfWriterTest::writesParagraphFormats()
{
    QFETCH(QTextBlockFormat, format);
    QFETCH(QByteArray, expected);

    auto document = newDocument();
    QTextCursor cursor(document.get());
    cursor.insertText(u"before"_s);
    cursor.insertBlock(format);
    cursor.insertText(u"x"_s);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(u"after"_s);

    const QByteArrayList written = paragraphs(::written(*document));
    QCOMPARE(written.size(), 3);
    QCOMPARE(written[0], "\\pard\\f0\\fs20 before\\par");
    QCOMPARE(written[1], expected);
    QCOMPARE(written[2], "\\pard after\\par");
}

void RtfWriterTest::writesLists_data()
{
    QTest::addColumn<QTextListFormat>("list");
    QTest::addColumn<QTextBlockFormat>("block");
    QTest::addColumn<QByteArray>("first"); // the first item, from \pard to \par
    QTest::addColumn<QByteArray>("second");

    const QByteArray bullet = "{\\pntext\\f1\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0"
                              "{\\pntxtb\\'b7}}";
    QTextListFormat disc;
    disc.setStyle(QTextListFormat::ListDisc);
    QTest::newRow("bullets") << disc << QTextBlockFormat()
                             << "\\pard\\fi-360\\li600" + bullet + "one\\par"
                             << "\\pard\\fi-360\\li600" + bullet + "two\\par";
    QTextBlockFormat margins;
    margins.setLeftMargin(4 * 96.0 / 72);
    margins.setRightMargin(5 * 96.0 / 72);
    QTest::newRow("bullets with margins")
        << disc << margins << "\\pard\\fi-360\\li680\\ri100" + bullet + "one\\par"
        << "\\pard\\fi-360\\li680\\ri100" + bullet + "two\\par";
    QTextBlockFormat firstLineIn;
    firstLineIn.setTextIndent(10);
    QTest::newRow("bullets with the first line further in")
        << disc << firstLineIn << "\\pard\\fi150\\li600" + bullet + "one\\par"
        << "\\pard\\fi150\\li600" + bullet + "two\\par";
    QTextListFormat square;
    square.setStyle(QTextListFormat::ListSquare);
    square.setIndent(2);
    const QByteArray squareBullet = QByteArray(bullet).replace("b7", "a7");
    QTest::newRow("nested square bullets") << square << QTextBlockFormat()
                                           << "\\pard\\fi-360\\li1200" + squareBullet + "one\\par"
                                           << "\\pard\\fi-360\\li1200" + squareBullet + "two\\par";
    QTextListFormat circle;
    circle.setStyle(QTextListFormat::ListCircle);
    const QByteArray circleBullet = QByteArray(bullet).replace("b7", "6f");
    QTest::newRow("circle bullets") << circle << QTextBlockFormat()
                                    << "\\pard\\fi-360\\li600" + circleBullet + "one\\par"
                                    << "\\pard\\fi-360\\li600" + circleBullet + "two\\par";
    QTextListFormat decimal;
    decimal.setStyle(QTextListFormat::ListDecimal);
    QTest::newRow("numbers")
        << decimal << QTextBlockFormat()
        << QByteArray("\\pard\\fi-360\\li600{\\pntext 1.\\tab}{\\*\\pn\\pnlvlbody\\pnindent0"
                      "\\pnstart1\\pndec{\\pntxta .}}one\\par")
        << QByteArray("\\pard\\fi-360\\li600{\\pntext 2.\\tab}{\\*\\pn\\pnlvlbody\\pnindent0"
                      "\\pnstart1\\pndec{\\pntxta .}}two\\par");
    QTextListFormat roman;
    roman.setStyle(QTextListFormat::ListUpperRoman);
    roman.setNumberPrefix(u"("_s);
    roman.setNumberSuffix(u")"_s);
    QTest::newRow("roman numbers")
        << roman << QTextBlockFormat()
        << QByteArray("\\pard\\fi-360\\li600{\\pntext (I)\\tab}{\\*\\pn\\pnlvlbody\\pnindent0"
                      "\\pnstart1\\pnucrm{\\pntxtb (}{\\pntxta )}}one\\par")
        << QByteArray("\\pard\\fi-360\\li600{\\pntext (II)\\tab}{\\*\\pn\\pnlvlbody\\pnindent0"
                      "\\pnstart1\\pnucrm{\\pntxtb (}{\\pntxta )}}two\\par");
}

void RtfWriterTest::writesLists()
{
    QFETCH(QTextListFormat, list);
    QFETCH(QTextBlockFormat, block);
    QFETCH(QByteArray, first);
    QFETCH(QByteArray, second);

    auto document = newDocument();
    QTextCursor cursor(document.get());
    cursor.insertText(u"before"_s);
    cursor.insertBlock(block);
    cursor.createList(list);
    cursor.insertText(u"one"_s);
    cursor.insertBlock();
    cursor.insertText(u"two"_s);
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(u"after"_s);
    QCOMPARE(cursor.block().textList(), nullptr);

    const QByteArray rtf = written(*document);
    // Each bullet comes in the font Word gives it.
    const QByteArray fonts = joined(rtf).left(joined(rtf).indexOf("{\\colortbl"));
    QCOMPARE(fonts.contains("{\\f1\\fnil\\fcharset2 Symbol;}"), list.style() == QTextListFormat::ListDisc);
    QCOMPARE(fonts.contains("{\\f1\\fnil\\fcharset2 Wingdings;}"), list.style() == QTextListFormat::ListSquare);
    QCOMPARE(fonts.contains("{\\f1\\fnil\\fcharset0 Courier New;}"), list.style() == QTextListFormat::ListCircle);
    const QByteArrayList written = paragraphs(rtf);
    QCOMPARE(written.size(), 4);
    QCOMPARE(written[0], "\\pard\\f0\\fs20 before\\par");
    QCOMPARE(written[1], first);
    QCOMPARE(written[2], second);
    QCOMPARE(written[3], "\\pard after\\par");
}

// Each numbered item carries the number the window shows beside it, as text for readers that
// do not number themselves: in every style, past the letters of the alphabet and the Roman
// numerals, and after items were added and taken out.
void RtfWriterTest::numbersItemsAsTheWindowShowsThem_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("suffix"); // "-": none set
    QTest::addColumn<bool>("rightToLeft");
    QTest::newRow("decimal") << int(QTextListFormat::ListDecimal) << QString() << u"-"_s << false;
    QTest::newRow("lower letters") << int(QTextListFormat::ListLowerAlpha) << QString() << u"-"_s << false;
    QTest::newRow("upper letters, in brackets") << int(QTextListFormat::ListUpperAlpha) << u"("_s << u")"_s << false;
    QTest::newRow("lower Roman") << int(QTextListFormat::ListLowerRoman) << QString() << u"-"_s << false;
    QTest::newRow("upper Roman, no suffix") << int(QTextListFormat::ListUpperRoman) << QString() << QString() << false;
    QTest::newRow("decimal, right to left") << int(QTextListFormat::ListDecimal) << u"["_s << u"]"_s << true;
}

void RtfWriterTest::numbersItemsAsTheWindowShowsThem()
{
    QFETCH(int, style);
    QFETCH(QString, prefix);
    QFETCH(QString, suffix);
    QFETCH(bool, rightToLeft);

    QTextListFormat format;
    format.setStyle(QTextListFormat::Style(style));
    if (!prefix.isEmpty())
        format.setNumberPrefix(prefix);
    if (suffix != u"-")
        format.setNumberSuffix(suffix);
    auto document = newDocument();
    QTextCursor cursor(document.get());
    cursor.insertText(u"before"_s);
    cursor.insertBlock();
    QTextList *list = cursor.createList(format);
    // Past 26 and 702 (the letters), 3999 and 4999 (the Roman numerals).
    const int items = style == QTextListFormat::ListDecimal ? 30 : 5010;
    for (int i = 1; i < items; ++i) {
        cursor.insertText(rightToLeft ? u"\u05e9\u05dc\u05d5\u05dd"_s : u"item"_s);
        cursor.insertBlock();
    }
    // Items out of the list and into it, the way the window's edits move them.
    list->remove(document->findBlockByNumber(3));
    QTextCursor(document->findBlockByNumber(10)).insertBlock();
    cursor.insertBlock(QTextBlockFormat());
    cursor.insertText(u"after"_s);

    QByteArrayList expected;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.textList() == list)
            expected << "{\\pntext " + list->itemText(block).toLatin1() + "\\tab}";
    }
    QByteArrayList found;
    const QByteArray rtf = joined(written(*document));
    for (qsizetype at = rtf.indexOf("{\\pntext "); at >= 0; at = rtf.indexOf("{\\pntext ", at + 1))
        found << rtf.mid(at, rtf.indexOf("\\tab}", at) + 5 - at);
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i)
        QCOMPARE(found[i], expected[i]);
}

void RtfWriterTest::escapesText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("expected"); // the paragraph after \pard\f0\fs20

    QTest::newRow("plain") << u"Hej med dig"_s << QByteArray(" Hej med dig");
    QTest::newRow("Danish letters") << u"æøå ÆØÅ"_s << QByteArray("\\'e6\\'f8\\'e5 \\'c6\\'d8\\'c5");
    QTest::newRow("Windows-1252 above 0x7F")
        << u"€ “citat” – ‰ Ÿ"_s << QByteArray("\\'80 \\'93citat\\'94 \\'96 \\'89 \\'9f");
    QTest::newRow("Greek") << u"λx"_s << QByteArray("\\u955?x");
    QTest::newRow("above 32767") << u"\uFB01"_s << QByteArray("\\u-1279?");
    QTest::newRow("emoji") << u"a😀b"_s << QByteArray(" a\\u-10179?\\u-8704?b");
    QTest::newRow("accent dropped for readers without Unicode")
        << u"č Ő ǻ"_s << QByteArray("\\u269c \\u336O \\u507\\'e5");
    QTest::newRow("braces and backslash")
        << u"{a}\\b\\"_s << QByteArray("\\{a\\}\\\\b\\\\");
    QTest::newRow("tab") << u"a\tb\t1"_s << QByteArray(" a\\tab b\\tab 1");
    QTest::newRow("line separator") << u"a\u2028b"_s << QByteArray(" a\\line b");
    QTest::newRow("space after a control word")
        << u"\t b\u2028 "_s << QByteArray("\\tab  b\\line  ");
    QTest::newRow("non-breaking space") << u"a\u00a0b"_s << QByteArray(" a\\~b");
    QTest::newRow("soft and hard hyphens") << u"a\u00adb\u2011c-"_s << QByteArray(" a\\-b\\_c-");
    QTest::newRow("control characters") << u"a\u0001\u007f"_s << QByteArray(" a\\'01\\'7f");
    QTest::newRow("C1 control of Windows-1252") << u"\u0081"_s << QByteArray("\\'81");
    QTest::newRow("lone surrogate") << QString(QChar(0xdc00)) << QByteArray("\\u-9216?");
}

void RtfWriterTest::escapesText()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, expected);

    auto document = newDocument();
    QTextCursor(document.get()).insertText(text);

    const QByteArray rtf = joined(written(*document));
    QVERIFY2(rtf.contains("\\pard\\f0\\fs20" + expected + "\\par}"), rtf.constData());
}

void RtfWriterTest::endsEveryParagraph_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("body"); // from the first \pard

    QTest::newRow("empty document") << QString() << QByteArray("\\pard\\f0\\fs20\\par}");
    QTest::newRow("one paragraph") << u"a"_s << QByteArray("\\pard\\f0\\fs20 a\\par}");
    QTest::newRow("ending in an empty paragraph")
        << u"a\n"_s << QByteArray("\\pard\\f0\\fs20 a\\par\\pard\\par}");
    QTest::newRow("empty paragraphs between")
        << u"a\n\n\nb"_s << QByteArray("\\pard\\f0\\fs20 a\\par\\pard\\par\\pard\\par\\pard b\\par}");
    QTest::newRow("starting with an empty paragraph")
        << u"\nb"_s << QByteArray("\\pard\\f0\\fs20\\par\\pard b\\par}");
}

void RtfWriterTest::endsEveryParagraph()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, body);

    auto document = newDocument();
    QTextCursor(document.get()).insertText(text);

    const QByteArray rtf = joined(written(*document));
    QCOMPARE(rtf.mid(rtf.indexOf("\\pard")), body);
}

void RtfWriterTest::breaksLongLines()
{
    auto document = newDocument();
    QTextCursor cursor(document.get());
    QString words;
    for (int i = 0; i < 500; ++i)
        words += u"ord%1 "_s.arg(i);
    const QString unbroken(1000, u'x');
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(words);
    cursor.insertText(unbroken);
    for (int i = 0; i < 100; ++i) {
        cursor.insertText(u" fed"_s, bold);
        cursor.insertText(u" ikke"_s, QTextCharFormat());
    }
    cursor.insertText(u" 😀"_s.repeated(300));
    // An empty paragraph with a size of its own: its mark carries it.
    QTextCharFormat large;
    large.setFontPointSize(36);
    cursor.insertBlock(QTextBlockFormat(), large);

    const QByteArray rtf = written(*document); // no line over 300 bytes
    const QByteArray text = joined(rtf);
    QVERIFY(text.contains(words.toLatin1() + unbroken.toLatin1()));
    QVERIFY(text.contains(QByteArray("\\b  fed\\b0  ikke").repeated(100)));
    QVERIFY(text.contains(QByteArray(" \\u-10179?\\u-8704?").repeated(300) + "\\par\\pard\\fs72\\par}"));
}

void RtfWriterTest::writesPictures()
{
    auto document = newDocument();
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(QColor(200, 10, 20));
    image.setPixel(1, 1, qRgb(0, 255, 0));
    document->addResource(QTextDocument::ImageResource, QUrl(u"image://dot"_s), image);
    QTextCursor cursor(document.get());
    cursor.insertText(u"a"_s);
    QTextImageFormat picture;
    picture.setName(u"image://dot"_s);
    picture.setWidth(30);
    cursor.insertImage(picture);
    cursor.insertText(u"b"_s);

    const QByteArray rtf = joined(written(*document));
    const QRegularExpression pict(
        u"a\\{\\\\pict\\\\pngblip\\\\picw3\\\\pich2\\\\picwgoal450\\\\pichgoal30 ([0-9a-f]+)\\}b"_s);
    const QRegularExpressionMatch match = pict.match(QString::fromLatin1(rtf));
    QVERIFY2(match.hasMatch(), rtf.constData());
    const QImage read = QImage::fromData(QByteArray::fromHex(match.captured(1).toLatin1()), "PNG");
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32), image);
}

void RtfWriterTest::readsBackWhatItWrote_data()
{
    QTest::addColumn<Build>("build");

    const auto formatted = [](const std::function<void(QTextCharFormat &)> &set) {
        return Build([set](QTextCursor &cursor) {
            QTextCharFormat format;
            set(format);
            cursor.insertText(u"før "_s);
            cursor.insertText(u"midt"_s, format);
            cursor.insertText(u" efter"_s, QTextCharFormat());
        });
    };
    const auto paragraph = [](const std::function<void(QTextBlockFormat &)> &set) {
        return Build([set](QTextCursor &cursor) {
            QTextBlockFormat format;
            set(format);
            cursor.insertText(u"før"_s);
            cursor.insertBlock(format);
            cursor.insertText(u"Et afsnit der er langt nok til at bryde over flere linjer."_s);
            cursor.insertBlock(QTextBlockFormat());
            cursor.insertText(u"efter"_s);
        });
    };
    const auto text = [](const QString &text) {
        return Build([text](QTextCursor &cursor) { cursor.insertText(text); });
    };

    QTest::newRow("font") << formatted([](auto &f) { f.setFontFamilies({u"Courier New"_s}); });
    QTest::newRow("size") << formatted([](auto &f) { f.setFontPointSize(36); });
    QTest::newRow("half point size") << formatted([](auto &f) { f.setFontPointSize(10.5); });
    QTest::newRow("colour") << formatted([](auto &f) { f.setForeground(QColor(0, 128, 128)); });
    QTest::newRow("black") << formatted([](auto &f) { f.setForeground(Qt::black); });
    QTest::newRow("bold") << formatted([](auto &f) { f.setFontWeight(QFont::Bold); });
    QTest::newRow("italic") << formatted([](auto &f) { f.setFontItalic(true); });
    QTest::newRow("underline") << formatted([](auto &f) { f.setFontUnderline(true); });
    QTest::newRow("strike-out") << formatted([](auto &f) { f.setFontStrikeOut(true); });
    QTest::newRow("everything at once") << formatted([](auto &f) {
        f.setFontFamilies({u"Georgia"_s});
        f.setFontPointSize(22);
        f.setForeground(QColor(128, 0, 0));
        f.setFontWeight(QFont::Bold);
        f.setFontItalic(true);
        f.setFontUnderline(true);
        f.setFontStrikeOut(true);
    });
    QTest::newRow("left") << paragraph([](auto &f) { f.setAlignment(Qt::AlignLeft); });
    QTest::newRow("centre") << paragraph([](auto &f) { f.setAlignment(Qt::AlignHCenter); });
    QTest::newRow("right") << paragraph([](auto &f) { f.setAlignment(Qt::AlignRight); });
    QTest::newRow("justified") << paragraph([](auto &f) { f.setAlignment(Qt::AlignJustify); });
    QTest::newRow("margin command") << paragraph([](auto &f) {
        f.setLeftMargin(4 * 96.0 / 72);
        f.setRightMargin(5 * 96.0 / 72);
    });
    QTest::newRow("hanging indent") << paragraph([](auto &f) {
        f.setLeftMargin(30);
        f.setTextIndent(-20);
    });
    QTest::newRow("first line in") << paragraph([](auto &f) { f.setTextIndent(25); });
    const auto bullets = [](const QTextBlockFormat &block, QTextListFormat::Style style) {
        return Build([block, style](QTextCursor &cursor) {
            cursor.insertText(u"før"_s);
            cursor.insertBlock(block);
            QTextListFormat list;
            list.setStyle(style);
            cursor.createList(list);
            cursor.insertText(u"et"_s);
            cursor.insertBlock();
            cursor.insertText(u"to"_s);
            cursor.insertBlock(QTextBlockFormat());
            cursor.insertText(u"efter"_s);
        });
    };
    QTest::newRow("bullets") << bullets(QTextBlockFormat(), QTextListFormat::ListDisc);
    QTest::newRow("circle bullets") << bullets(QTextBlockFormat(), QTextListFormat::ListCircle);
    QTest::newRow("square bullets") << bullets(QTextBlockFormat(), QTextListFormat::ListSquare);
    QTextBlockFormat margins;
    margins.setLeftMargin(4 * 96.0 / 72);
    margins.setRightMargin(5 * 96.0 / 72);
    QTest::newRow("bullets with margins") << bullets(margins, QTextListFormat::ListDisc);
    QTest::newRow("Danish letters") << text(u"Rødgrød med fløde: Æble, Øl og Ål"_s);
    QTest::newRow("Greek") << text(u"λόγος Ωμέγα"_s);
    QTest::newRow("emoji") << text(u"smil 😀 og tommel 👍🏽"_s);
    QTest::newRow("Windows-1252 punctuation") << text(u"€ “citat” – ‘x’ … ™"_s);
    QTest::newRow("braces and backslash") << text(u"{a}\\b\\c\\"_s);
    QTest::newRow("tabs") << text(u"a\tb\t\tc\t"_s);
    QTest::newRow("line separators") << text(u"a\u2028b\u2028\u2028c"_s);
    QTest::newRow("non-breaking space") << text(u"10\u00a0kr"_s);
    QTest::newRow("empty paragraphs") << text(u"a\n\n\nb"_s);
    QTest::newRow("ending in an empty paragraph") << text(u"a\nb\n"_s);
    QTest::newRow("only empty paragraphs") << text(u"\n\n"_s);
    QTest::newRow("empty document") << text(QString());
    QTest::newRow("spaces after control words") << Build([](QTextCursor &cursor) {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        cursor.insertText(u" \t "_s);
        cursor.insertText(u" 1 "_s, bold);
        cursor.insertText(u"-2"_s, QTextCharFormat());
    });
    QTest::newRow("long paragraph") << Build([](QTextCursor &cursor) {
        QTextCharFormat bold;
        bold.setFontWeight(QFont::Bold);
        for (int i = 0; i < 200; ++i) {
            cursor.insertText(u"ord nummer %1 "_s.arg(i), i % 3 ? QTextCharFormat() : bold);
            cursor.insertText(QString(30, u'æ'));
        }
    });
}

void RtfWriterTest::readsBackWhatItWrote()
{
    QFETCH(Build, build);

    auto original = newDocument();
    QTextCursor cursor(original.get());
    build(cursor);
    const QByteArray rtf = written(*original);
    auto read = newDocument();
    Platform::readRtf(rtf, read.get());

    QCOMPARE(read->toRawText(), original->toRawText());
    compareParagraphs(*read, *original);
    QCOMPARE(characterLooks(*read), characterLooks(*original));
}

void RtfWriterTest::keepsTheCharactersOfSymbolFontText()
{
    // Bytes in the Symbol font stand for its own symbols ("a" is alpha), so text the user has set
    // in that font must not be written as bytes, or "abc" would come back as Greek letters.
    auto original = newDocument();
    QTextCursor cursor(original.get());
    QTextCharFormat symbol;
    symbol.setFontFamilies({u"Symbol"_s});
    cursor.insertText(u"før "_s);
    cursor.insertText(u"abc æ {1}"_s, symbol);
    cursor.insertText(u" efter"_s, QTextCharFormat());
    const QByteArray rtf = written(*original);
    auto read = newDocument();
    Platform::readRtf(rtf, read.get());
    QCOMPARE(read->toPlainText(), u"før abc æ {1} efter"_s);
}

QTEST_MAIN(RtfWriterTest)
#include "tst_rtfwriter.moc"
