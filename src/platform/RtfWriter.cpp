#include "platform/Rtf.h"
#include "platform/Windows1252.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <limits>

// The dialect is the one WordPad and the Windows rich edit control write, which Word and
// LibreOffice read as well: every paragraph, the last one included, ends with \par; character
// properties are written where they change; bullets are the old \pn paragraph numbering (the
// only kind WordPad understands, and Word and LibreOffice still read it), so no \listtable.
namespace Platform {

namespace {

// The file is broken into lines for people who look at it; readers ignore CR and LF. A line is
// broken at the first space or control word after the soft length, and a run without spaces
// between any two characters after the hard one.
constexpr qsizetype kSoftLineLength = 200;
constexpr qsizetype kHardLineLength = 250;

// Qt sets a list item's text in by the list's indent and draws the bullet left of it. Other
// programs know only the paragraph's indents, so the item's text starts at \li where Qt shows it
// and the bullet hangs a quarter of an inch before it, Word's hanging indent; a first line that
// Qt sets further in keeps its own \fi, with the bullet before it. Reading takes the list's
// indent off \li again and reads a negative \fi as the bullet's.
constexpr int kBulletHangTwips = -360;

// Bullets as Word writes its three: the middle dot of the Symbol font, a hollow "o" in Courier New
// and the square of Wingdings.
const QString kSymbolFamily = QStringLiteral("Symbol");
const QString kWingdingsFamily = QStringLiteral("Wingdings");

struct BulletGlyph {
    QString family;
    const char *byte;
};

BulletGlyph bulletGlyph(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListCircle: return {QStringLiteral("Courier New"), "\\'6f"};
    case QTextListFormat::ListSquare: return {kWingdingsFamily, "\\'a7"};
    default: return {kSymbolFamily, "\\'b7"};
    }
}

struct CharState {
    int font = -1;
    int halfPoints = -1;
    int colour = 0; // 0: the reader's automatic colour
    int highlight = 0;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    QTextCharFormat::VerticalAlignment vertical = QTextCharFormat::AlignNormal;
};

int twips(qreal units)
{
    const double value = std::round(units * twipsPerDocumentUnit);
    if (!std::isfinite(value))
        return 0;
    // A margin no program could show must still give a number every reader can parse.
    constexpr double limit = std::numeric_limits<qint32>::max() / 2;
    return int(std::clamp(value, -limit, limit));
}

bool isBullet(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListDecimal:
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha:
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman:
        return false;
    default:
        return true;
    }
}

const char *numberingWord(QTextListFormat::Style style)
{
    switch (style) {
    case QTextListFormat::ListLowerAlpha: return "pnlcltr";
    case QTextListFormat::ListUpperAlpha: return "pnucltr";
    case QTextListFormat::ListLowerRoman: return "pnlcrm";
    case QTextListFormat::ListUpperRoman: return "pnucrm";
    default: return "pndec";
    }
}

const char *underlineWord(QTextCharFormat::UnderlineStyle style)
{
    switch (style) {
    case QTextCharFormat::NoUnderline: return "ulnone";
    case QTextCharFormat::DashUnderline: return "uldash";
    case QTextCharFormat::DotLine: return "uld";
    case QTextCharFormat::DashDotLine: return "uldashd";
    case QTextCharFormat::DashDotDotLine: return "uldashdd";
    case QTextCharFormat::WaveUnderline:
    case QTextCharFormat::SpellCheckUnderline: return "ulwave";
    default: return "ul";
    }
}

// The byte of Windows-1252 for c, or -1.
int ansiByte(char16_t c)
{
    char byte = 0;
    if (!Windows1252::encode(QStringView(&c, 1), &byte))
        return -1;
    return uchar(byte);
}

// What a reader that does not know \u shows instead: the letter without its accent when Unicode
// says the character is one, else a question mark.
int fallbackByte(char16_t c)
{
    if (QChar::decompositionTag(c) == QChar::Canonical) {
        const QString parts = QChar::decomposition(c);
        const int byte = parts.isEmpty() ? -1 : ansiByte(parts.front().unicode());
        // A digit or space would be read as part of the \u word before it.
        if (byte > ' ' && !(byte >= '0' && byte <= '9') && byte != '\\' && byte != '{'
            && byte != '}')
            return byte;
    }
    return '?';
}

// The text of a numbered item's mark, as Qt shows it: 1., a., i. and so on.
QString itemText(const QTextListFormat &format, int item, bool rightToLeft)
{
    QString number;
    switch (format.style()) {
    case QTextListFormat::ListLowerAlpha:
    case QTextListFormat::ListUpperAlpha: {
        const char16_t first = format.style() == QTextListFormat::ListUpperAlpha ? u'A' : u'a';
        for (int rest = item; rest > 0; rest /= 26) {
            --rest;
            number.prepend(QChar(char16_t(first + rest % 26)));
        }
        break;
    }
    case QTextListFormat::ListLowerRoman:
    case QTextListFormat::ListUpperRoman: {
        // Roman numerals go up to 4999.
        if (item >= 5000) {
            number = QStringLiteral("?");
            break;
        }
        static constexpr std::pair<int, const char *> numerals[] = {
            {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
            {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
        int rest = item;
        for (const auto &[value, letters] : numerals) {
            for (; rest >= value; rest -= value)
                number += QLatin1String(letters);
        }
        if (format.style() == QTextListFormat::ListUpperRoman)
            number = number.toUpper();
        break;
    }
    default:
        number = QString::number(item);
        break;
    }
    const QString prefix = format.numberPrefix();
    const QString suffix = format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                                             : QStringLiteral(".");
    return rightToLeft ? suffix + number + prefix : prefix + number + suffix;
}

// A picture of the document's image resource, or a null image.
QImage imageOf(const QTextDocument *document, const QTextImageFormat &format)
{
    const QVariant resource = document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.userType() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
    return image;
}

class Writer {
public:
    // Gives each part of the text in turn to its argument; called once for each pass.
    using Parts = std::function<void(const std::function<void(const RtfPart &)> &)>;

    Writer(const QFont &defaultFont, qreal indentWidth, Parts parts);

    // sizeHint: the number of characters, for the memory to reserve.
    QByteArray write(qsizetype sizeHint);

private:
    void collectTables();
    QString familyOf(const QTextCharFormat &format) const;
    int halfPointsOf(const QTextCharFormat &format) const;
    int addFont(const QString &family);
    int addColour(const QBrush &brush);
    int colourIndex(const QBrush &brush) const;
    CharState stateOf(const QTextCharFormat &format) const;

    void writeHeader();
    void writePart(const RtfPart &part);
    void startParagraph(const RtfPart &part);
    void endParagraph();
    void writeParagraphProperties(const RtfPart &part);
    void writeListMarker(const RtfPart &part);
    void switchTo(const CharState &state);
    void writeImage(const QTextImageFormat &format, const QImage &image);

    // Output primitives. A control word leaves its delimiter owing; whatever follows pays it
    // when it needs one.
    void controlWord(const char *word);
    void controlWord(const char *word, qint64 parameter);
    void rawText(const char *text);
    void openGroup();
    void closeGroup();
    void newLine();
    void endLineBeforeControlWord();
    void breakLineIfLong();
    // asUnicode writes every printable character as \uN: text in the Symbol font, whose bytes a
    // reader takes for the font's own symbols.
    void text(QStringView text, bool asUnicode = false);
    void payDelimiter();
    void appendNumber(qint64 value);
    void appendHexByte(int byte);

    Parts m_parts;
    qreal m_indentWidth;
    QString m_defaultFamily;
    int m_defaultHalfPoints = 24;

    QStringList m_fonts; // position = \f number
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colours; // position + 1 = \cf number
    QHash<QRgb, int> m_colourIndex;
    // The items of each list so far, by the list's object index: their numbers.
    QHash<int, int> m_listItems;

    QByteArray m_out;
    qsizetype m_lineStart = 0;
    bool m_delimiterOwed = false;
    bool m_inParagraph = false;
    CharState m_state;
};

Writer::Writer(const QFont &font, qreal indentWidth, Parts parts)
    : m_parts(std::move(parts))
    , m_indentWidth(indentWidth)
{
    m_defaultFamily = font.family();
    double points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0)
        points = font.pixelSize() * 72.0 / 96.0;
    if (points > 0)
        m_defaultHalfPoints = int(std::lround(points * 2));
}

QByteArray Writer::write(qsizetype sizeHint)
{
    collectTables();
    // Text costs a byte a character, a little more with formatting and escapes.
    m_out.reserve(qsizetype(sizeHint * 1.25) + 1024);
    writeHeader();
    m_parts([this](const RtfPart &part) { writePart(part); });
    endParagraph();
    m_out += '}';
    return m_out;
}

void Writer::collectTables()
{
    addFont(m_defaultFamily); // \deff0
    const auto addFormat = [this](const QTextCharFormat &format) {
        addFont(familyOf(format));
        addColour(format.foreground());
        addColour(format.background());
    };
    m_parts([&](const RtfPart &part) {
        if (part.startsParagraph) {
            if (part.list >= 0 && isBullet(part.listFormat.style()))
                addFont(bulletGlyph(part.listFormat.style()).family);
            if (part.runs.empty())
                addFormat(part.markFormat);
        }
        for (const RtfRun &run : part.runs)
            addFormat(run.format);
    });
}

QString Writer::familyOf(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    for (const QString &family : families) {
        if (!family.isEmpty())
            return family;
    }
    const QString family = format.stringProperty(QTextFormat::FontFamily);
    return family.isEmpty() ? m_defaultFamily : family;
}

int Writer::halfPointsOf(const QTextCharFormat &format) const
{
    double points = format.fontPointSize();
    if (points <= 0 && format.hasProperty(QTextFormat::FontPixelSize))
        points = format.intProperty(QTextFormat::FontPixelSize) * 72.0 / 96.0;
    if (!(points > 0) || points > 16383)
        return m_defaultHalfPoints;
    return int(std::lround(points * 2));
}

int Writer::addFont(const QString &family)
{
    const auto found = m_fontIndex.constFind(family);
    if (found != m_fontIndex.cend())
        return *found;
    const int index = int(m_fonts.size());
    m_fonts.append(family);
    m_fontIndex.insert(family, index);
    return index;
}

int Writer::addColour(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    const QRgb rgb = brush.color().rgb() | 0xff000000u;
    const auto found = m_colourIndex.constFind(rgb);
    if (found != m_colourIndex.cend())
        return *found;
    m_colours.append(rgb);
    const int index = int(m_colours.size());
    m_colourIndex.insert(rgb, index);
    return index;
}

int Writer::colourIndex(const QBrush &brush) const
{
    if (brush.style() == Qt::NoBrush)
        return 0;
    return m_colourIndex.value(brush.color().rgb() | 0xff000000u, 0);
}

CharState Writer::stateOf(const QTextCharFormat &format) const
{
    CharState state;
    state.font = m_fontIndex.value(familyOf(format), 0);
    state.halfPoints = halfPointsOf(format);
    state.colour = colourIndex(format.foreground());
    state.highlight = colourIndex(format.background());
    state.bold = format.fontWeight() > QFont::Medium;
    state.italic = format.fontItalic();
    state.strike = format.fontStrikeOut();
    state.underline = format.underlineStyle();
    if (state.underline == QTextCharFormat::NoUnderline && format.fontUnderline())
        state.underline = QTextCharFormat::SingleUnderline;
    state.vertical = format.verticalAlignment();
    if (state.vertical != QTextCharFormat::AlignSuperScript
        && state.vertical != QTextCharFormat::AlignSubScript)
        state.vertical = QTextCharFormat::AlignNormal;
    return state;
}

void Writer::writeHeader()
{
    rawText("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1");
    openGroup();
    controlWord("fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        breakLineIfLong();
        openGroup();
        controlWord("f", i);
        controlWord("fnil");
        controlWord("fcharset", m_fonts[i] == kSymbolFamily || m_fonts[i] == kWingdingsFamily ? 2 : 0);
        // A semicolon would end the name early.
        QString name = m_fonts[i];
        name.replace(u';', u',');
        text(name);
        rawText(";");
        closeGroup();
    }
    closeGroup();
    newLine();
    openGroup();
    controlWord("colortbl");
    rawText(" ;");
    for (const QRgb rgb : std::as_const(m_colours)) {
        breakLineIfLong();
        controlWord("red", qRed(rgb));
        controlWord("green", qGreen(rgb));
        controlWord("blue", qBlue(rgb));
        rawText(";");
    }
    closeGroup();
    newLine();
    rawText("{\\*\\generator kyxTavlo;}");
    controlWord("viewkind4");
    endLineBeforeControlWord();
}

void Writer::writePart(const RtfPart &part)
{
    if (part.startsParagraph) {
        endParagraph();
        startParagraph(part);
    }
    for (const RtfRun &run : part.runs) {
        switchTo(stateOf(run.format));
        if (run.format.isImageFormat()) {
            for (qsizetype i = 0; i < run.text.size(); ++i)
                writeImage(run.format.toImageFormat(), run.image);
            continue;
        }
        text(run.text, m_fonts.value(m_state.font).compare(kSymbolFamily, Qt::CaseInsensitive) == 0);
    }
}

void Writer::startParagraph(const RtfPart &part)
{
    controlWord("pard");
    writeParagraphProperties(part);
    // An empty paragraph keeps the font of its mark, which gives the blank line its height.
    switchTo(stateOf(part.runs.empty() ? part.markFormat : part.runs.front().format));
    writeListMarker(part);
    m_inParagraph = true;
}

void Writer::endParagraph()
{
    if (!m_inParagraph)
        return;
    controlWord("par");
    endLineBeforeControlWord();
    m_inParagraph = false;
}

void Writer::writeParagraphProperties(const RtfPart &part)
{
    const QTextBlockFormat &format = part.format;
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        controlWord("qc");
    else if (alignment & Qt::AlignJustify)
        controlWord("qj");
    else if (alignment & Qt::AlignRight)
        controlWord("qr");

    qreal left = format.leftMargin() + format.indent() * m_indentWidth;
    int firstTwips = twips(format.textIndent());
    if (part.list >= 0) {
        left += part.listFormat.indent() * m_indentWidth;
        if (firstTwips <= 0)
            firstTwips += kBulletHangTwips;
    }
    const int leftTwips = twips(left);
    const int rightTwips = twips(format.rightMargin());
    if (firstTwips != 0)
        controlWord("fi", firstTwips);
    if (leftTwips != 0)
        controlWord("li", leftTwips);
    if (rightTwips != 0)
        controlWord("ri", rightTwips);
    if (const int before = twips(format.topMargin()); before != 0)
        controlWord("sb", before);
    if (const int after = twips(format.bottomMargin()); after != 0)
        controlWord("sa", after);
}

void Writer::writeListMarker(const RtfPart &part)
{
    if (part.list < 0)
        return;
    const int item = ++m_listItems[part.list];
    const QTextListFormat &format = part.listFormat;
    if (isBullet(format.style())) {
        const BulletGlyph glyph = bulletGlyph(format.style());
        const int font = m_fontIndex.value(glyph.family);
        openGroup();
        controlWord("pntext");
        controlWord("f", font);
        rawText(glyph.byte);
        controlWord("tab");
        closeGroup();
        openGroup();
        rawText("\\*");
        controlWord("pn");
        controlWord("pnlvlblt");
        controlWord("pnf", font);
        controlWord("pnindent", 0);
        openGroup();
        controlWord("pntxtb");
        rawText(glyph.byte);
        closeGroup();
        closeGroup();
        return;
    }
    openGroup();
    controlWord("pntext");
    text(itemText(format, item, part.rightToLeft));
    controlWord("tab");
    closeGroup();
    openGroup();
    rawText("\\*");
    controlWord("pn");
    controlWord("pnlvlbody");
    controlWord("pnindent", 0);
    controlWord("pnstart", 1);
    controlWord(numberingWord(format.style()));
    if (const QString prefix = format.numberPrefix(); !prefix.isEmpty()) {
        openGroup();
        controlWord("pntxtb");
        text(prefix);
        closeGroup();
    }
    openGroup();
    controlWord("pntxta");
    text(format.hasProperty(QTextFormat::ListNumberSuffix) ? format.numberSuffix()
                                                            : QStringLiteral("."));
    closeGroup();
    closeGroup();
}

void Writer::switchTo(const CharState &state)
{
    if (state.font != m_state.font)
        controlWord("f", state.font);
    if (state.halfPoints != m_state.halfPoints)
        controlWord("fs", state.halfPoints);
    if (state.colour != m_state.colour)
        controlWord("cf", state.colour);
    if (state.highlight != m_state.highlight)
        controlWord("highlight", state.highlight);
    if (state.bold != m_state.bold)
        controlWord(state.bold ? "b" : "b0");
    if (state.italic != m_state.italic)
        controlWord(state.italic ? "i" : "i0");
    if (state.underline != m_state.underline)
        controlWord(underlineWord(state.underline));
    if (state.strike != m_state.strike)
        controlWord(state.strike ? "strike" : "strike0");
    if (state.vertical != m_state.vertical) {
        controlWord(state.vertical == QTextCharFormat::AlignSuperScript ? "super"
                    : state.vertical == QTextCharFormat::AlignSubScript ? "sub"
                                                                        : "nosupersub");
    }
    m_state = state;
}

// Pictures are written as PNG, which Word, WordPad and LibreOffice all read.
void Writer::writeImage(const QTextImageFormat &format, const QImage &image)
{
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return;
    const qreal width = format.width() > 0 ? format.width() : image.width();
    const qreal height = format.height() > 0 ? format.height() : image.height();

    breakLineIfLong();
    openGroup();
    controlWord("pict");
    controlWord("pngblip");
    controlWord("picw", image.width());
    controlWord("pich", image.height());
    controlWord("picwgoal", twips(width));
    controlWord("pichgoal", twips(height));
    static constexpr char digits[] = "0123456789abcdef";
    for (qsizetype i = 0; i < png.size(); ++i) {
        if (i % 64 == 0)
            newLine();
        const auto byte = uchar(png[i]);
        m_out += digits[byte >> 4];
        m_out += digits[byte & 0xf];
    }
    closeGroup();
}

void Writer::controlWord(const char *word)
{
    breakLineIfLong();
    m_out += '\\';
    m_out += word;
    m_delimiterOwed = true;
}

void Writer::controlWord(const char *word, qint64 parameter)
{
    breakLineIfLong();
    m_out += '\\';
    m_out += word;
    appendNumber(parameter);
    m_delimiterOwed = true;
}

// Only ever what cannot extend a control word before it: a symbol, a group or a semicolon.
void Writer::rawText(const char *text)
{
    m_out += text;
    m_delimiterOwed = false;
}

void Writer::openGroup()
{
    m_out += '{';
    m_delimiterOwed = false;
}

void Writer::closeGroup()
{
    m_out += '}';
    m_delimiterOwed = false;
}

void Writer::newLine()
{
    // A line end would end a control word without being the space that a reader swallows.
    payDelimiter();
    m_out += "\r\n";
    m_lineStart = m_out.size();
}

// The line end is then the delimiter, as in the files of Word and WordPad.
void Writer::endLineBeforeControlWord()
{
    m_delimiterOwed = false;
    newLine();
}

void Writer::breakLineIfLong()
{
    if (m_out.size() - m_lineStart >= kSoftLineLength)
        newLine();
}

void Writer::payDelimiter()
{
    if (m_delimiterOwed) {
        m_out += ' ';
        m_delimiterOwed = false;
    }
}

void Writer::text(QStringView text, bool asUnicode)
{
    const char16_t *c = text.utf16();
    const char16_t *const end = c + text.size();
    for (; c != end; ++c) {
        const qsizetype length = m_out.size() - m_lineStart;
        if (length >= kSoftLineLength && (*c == u' ' || length >= kHardLineLength))
            newLine();
        switch (*c) {
        case u'\\':
            m_out += "\\\\";
            m_delimiterOwed = false;
            continue;
        case u'{':
            m_out += "\\{";
            m_delimiterOwed = false;
            continue;
        case u'}':
            m_out += "\\}";
            m_delimiterOwed = false;
            continue;
        case u'\t':
            controlWord("tab");
            continue;
        case QChar::LineSeparator:
            controlWord("line");
            continue;
        case QChar::Nbsp:
            m_out += "\\~";
            m_delimiterOwed = false;
            continue;
        case QChar::SoftHyphen:
            m_out += "\\-";
            m_delimiterOwed = false;
            continue;
        case u'\u2011': // non-breaking hyphen
            m_out += "\\_";
            m_delimiterOwed = false;
            continue;
        default:
            break;
        }
        if (*c >= 0x20 && *c < 0x7f && !asUnicode) {
            payDelimiter();
            m_out += char(*c);
            continue;
        }
        m_delimiterOwed = false;
        if (const int byte = ansiByte(*c); byte >= 0 && !asUnicode) {
            appendHexByte(byte);
            continue;
        }
        // Surrogates too: each half of a pair is a \u of its own, as Word writes them.
        m_out += "\\u";
        appendNumber(qint16(*c));
        const int fallback = fallbackByte(*c);
        if (fallback < 0x80)
            m_out += char(fallback);
        else
            appendHexByte(fallback);
    }
}

void Writer::appendNumber(qint64 value)
{
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    m_out.append(digits, result.ptr - digits);
}

void Writer::appendHexByte(int byte)
{
    static constexpr char digits[] = "0123456789abcdef";
    const char escape[4] = {'\\', '\'', digits[byte >> 4], digits[byte & 0xf]};
    m_out.append(escape, 4);
}

} // namespace

RtfPart rtfParagraphStart(const QTextBlock &block)
{
    RtfPart part;
    part.startsParagraph = true;
    part.format = block.blockFormat();
    part.markFormat = block.charFormat();
    if (const QTextList *list = block.textList()) {
        part.list = list->objectIndex();
        part.listFormat = list->format();
        // Only a numbered item's mark turns round with the text.
        if (!isBullet(part.listFormat.style()))
            part.rightToLeft = block.textDirection() == Qt::RightToLeft;
    }
    return part;
}

int takeRtfRuns(const QTextBlock &block, QTextBlock::iterator &fragment, int from, int to,
                qsizetype maxRuns, std::vector<RtfRun> &runs)
{
    qsizetype taken = 0;
    for (; !fragment.atEnd(); ++fragment) {
        const QTextFragment piece = fragment.fragment();
        const int start = piece.position();
        const int end = start + piece.length();
        if (end <= from)
            continue;
        if (start >= to || taken == maxRuns)
            return std::clamp(start, from, to);
        RtfRun run;
        run.format = piece.charFormat();
        if (start >= from && end <= to) {
            run.text = piece.text();
        } else {
            // Only the part asked for, without copying the whole of a long fragment.
            QTextCursor cursor(block);
            cursor.setPosition(std::max(start, from));
            cursor.setPosition(std::min(end, to), QTextCursor::KeepAnchor);
            run.text = cursor.selectedText();
        }
        if (run.format.isImageFormat())
            run.image = imageOf(block.document(), run.format.toImageFormat());
        runs.push_back(std::move(run));
        ++taken;
        if (end > to)
            return to;
    }
    return to;
}

namespace {

// Gives each block of the document as one part.
Writer::Parts blocksOf(const QTextDocument *document)
{
    return [document](const std::function<void(const RtfPart &)> &each) {
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            RtfPart part = rtfParagraphStart(block);
            QTextBlock::iterator fragment = block.begin();
            takeRtfRuns(block, fragment, block.position(), block.position() + block.length() - 1,
                        std::numeric_limits<qsizetype>::max(), part.runs);
            each(part);
        }
    };
}

} // namespace

RtfContent rtfContent(const QTextDocument *document)
{
    RtfContent text;
    text.defaultFont = document->defaultFont();
    text.indentWidth = document->indentWidth();
    std::vector<RtfPart> &parts = text.parts.emplace_back();
    blocksOf(document)([&parts](const RtfPart &part) { parts.push_back(part); });
    return text;
}

QByteArray writeRtf(const QTextDocument *document)
{
    if (!document)
        return {};
    return Writer(document->defaultFont(), document->indentWidth(), blocksOf(document))
        .write(document->characterCount());
}

QByteArray writeRtf(const RtfContent &text)
{
    qsizetype characters = 0;
    for (const std::vector<RtfPart> &group : text.parts) {
        for (const RtfPart &part : group) {
            for (const RtfRun &run : part.runs)
                characters += run.text.size();
        }
    }
    const Writer::Parts parts = [&text](const std::function<void(const RtfPart &)> &each) {
        for (const std::vector<RtfPart> &group : text.parts) {
            for (const RtfPart &part : group)
                each(part);
        }
    };
    return Writer(text.defaultFont, text.indentWidth, parts).write(characters);
}

} // namespace Platform
