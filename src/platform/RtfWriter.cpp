#include "platform/Rtf.h"
#include "platform/Windows1252.h"

#include <QBuffer>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <QUrl>

#include <algorithm>
#include <charconv>
#include <cmath>
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

class Writer {
public:
    explicit Writer(const QTextDocument *document);

    QByteArray write();

private:
    void collectTables();
    QString familyOf(const QTextCharFormat &format) const;
    int halfPointsOf(const QTextCharFormat &format) const;
    int addFont(const QString &family);
    int addColour(const QBrush &brush);
    int colourIndex(const QBrush &brush) const;
    CharState stateOf(const QTextCharFormat &format) const;

    void writeHeader();
    void writeBlock(const QTextBlock &block);
    void writeParagraphProperties(const QTextBlock &block);
    void writeListMarker(const QTextBlock &block);
    void switchTo(const CharState &state);
    void writeImage(const QTextImageFormat &format);

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

    const QTextDocument *m_document;
    QString m_defaultFamily;
    int m_defaultHalfPoints = 24;

    QStringList m_fonts; // position = \f number
    QHash<QString, int> m_fontIndex;
    QList<QRgb> m_colours; // position + 1 = \cf number
    QHash<QRgb, int> m_colourIndex;

    QByteArray m_out;
    qsizetype m_lineStart = 0;
    bool m_delimiterOwed = false;
    CharState m_state;
};

Writer::Writer(const QTextDocument *document)
    : m_document(document)
{
    const QFont font = document->defaultFont();
    m_defaultFamily = font.family();
    double points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0)
        points = font.pixelSize() * 72.0 / 96.0;
    if (points > 0)
        m_defaultHalfPoints = int(std::lround(points * 2));
}

QByteArray Writer::write()
{
    collectTables();
    // Text costs a byte a character, a little more with formatting and escapes.
    m_out.reserve(qsizetype(m_document->characterCount() * 1.25) + 1024);
    writeHeader();
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next())
        writeBlock(block);
    m_out += '}';
    return m_out;
}

void Writer::collectTables()
{
    addFont(m_defaultFamily); // \deff0
    for (QTextBlock block = m_document->begin(); block.isValid(); block = block.next()) {
        const QTextList *list = block.textList();
        if (list && isBullet(list->format().style()))
            addFont(bulletGlyph(list->format().style()).family);
        const auto addFormat = [this](const QTextCharFormat &format) {
            addFont(familyOf(format));
            addColour(format.foreground());
            addColour(format.background());
        };
        if (block.length() <= 1)
            addFormat(block.charFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().isValid())
                addFormat(it.fragment().charFormat());
        }
    }
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

void Writer::writeBlock(const QTextBlock &block)
{
    controlWord("pard");
    writeParagraphProperties(block);

    auto it = block.begin();
    while (!it.atEnd() && !it.fragment().isValid())
        ++it;
    // An empty paragraph keeps the font of its mark, which gives the blank line its height.
    switchTo(stateOf(it.atEnd() ? block.charFormat() : it.fragment().charFormat()));
    writeListMarker(block);

    for (; !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat format = fragment.charFormat();
        switchTo(stateOf(format));
        if (format.isImageFormat()) {
            for (int i = 0; i < fragment.length(); ++i)
                writeImage(format.toImageFormat());
            continue;
        }
        text(fragment.text(), m_fonts.value(m_state.font).compare(kSymbolFamily, Qt::CaseInsensitive) == 0);
    }
    controlWord("par");
    endLineBeforeControlWord();
}

void Writer::writeParagraphProperties(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
    if (alignment & Qt::AlignHCenter)
        controlWord("qc");
    else if (alignment & Qt::AlignJustify)
        controlWord("qj");
    else if (alignment & Qt::AlignRight)
        controlWord("qr");

    qreal left = format.leftMargin() + format.indent() * m_document->indentWidth();
    int firstTwips = twips(format.textIndent());
    if (const QTextList *list = block.textList()) {
        left += list->format().indent() * m_document->indentWidth();
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

void Writer::writeListMarker(const QTextBlock &block)
{
    const QTextList *list = block.textList();
    if (!list)
        return;
    const QTextListFormat format = list->format();
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
    text(list->itemText(block));
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
void Writer::writeImage(const QTextImageFormat &format)
{
    const QVariant resource =
        m_document->resource(QTextDocument::ImageResource, QUrl(format.name()));
    QImage image;
    if (resource.userType() == QMetaType::QImage)
        image = resource.value<QImage>();
    else if (resource.userType() == QMetaType::QPixmap)
        image = resource.value<QPixmap>().toImage();
    else if (resource.userType() == QMetaType::QByteArray)
        image.loadFromData(resource.toByteArray());
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

QByteArray writeRtf(const QTextDocument *document)
{
    if (!document)
        return {};
    return Writer(document).write();
}

} // namespace Platform
