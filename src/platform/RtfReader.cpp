#include "platform/Rtf.h"
#include "platform/Windows1252.h"

#include <QColor>
#include <QHash>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>
#include <string>
#include <optional>
#include <string_view>
#include <tuple>
#include <vector>

namespace Platform {

bool looksLikeRtf(const QByteArray &bytes)
{
    qsizetype i = 0;
    while (i < bytes.size() && (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r'
                                || bytes[i] == '\n' || bytes[i] == '\f' || bytes[i] == '\v'))
        ++i;
    return QByteArrayView(bytes).sliced(i).startsWith("{\\rtf");
}

namespace {

// Deeper groups still give their text, but their formatting is ignored: the saved states are
// what a hostile file could otherwise grow without end.
constexpr int kMaxDepth = 1000;
// Control words are at most 32 letters; longer ones are read whole and ignored.
constexpr qsizetype kMaxWordLength = 32;
// Parameters are 16-bit in the format and 32-bit in practice; more digits are read but not added.
constexpr qint64 kParameterCap = qint64(INT_MAX) + 1;
// Word's own limits: 1638 points, 22 inches.
constexpr int kMaxHalfPoints = 3276;
constexpr int kMaxTwips = 31680;
// Items in one QTextList; see Reader::writeParagraph.
constexpr int kMaxBulletItems = 250;
constexpr int kMaxNumberedItems = 1000;
// A fallback longer than this is no fallback; skipping stops at the end of the group anyway.
constexpr int kMaxSkipCount = 1000;

// Code pages that are not code pages: fonts with charset 2 draw their own glyphs for each byte.
constexpr int kSymbolCodePage = -2;
constexpr int kPrivateUseCodePage = -3;

// Adobe's Symbol encoding from 0x20 on; 0 where the font has no character.
constexpr char16_t kSymbolTable[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, // 20
    0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212, 0x002E, 0x002F, // 28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, // 30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, // 38
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, // 40
    0x0397, 0x0399, 0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, // 48
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, // 50
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F, // 58
    0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, // 60
    0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, // 68
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, // 70
    0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0,      // 78
    0,      0,      0,      0,      0,      0,      0,      0,      // 80
    0,      0,      0,      0,      0,      0,      0,      0,      // 88
    0,      0,      0,      0,      0,      0,      0,      0,      // 90
    0,      0,      0,      0,      0,      0,      0,      0,      // 98
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, // A0
    0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191, 0x2192, 0x2193, // A8
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, // B0
    0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0x23D0, 0x23AF, 0x21B5, // B8
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, // C0
    0x222A, 0x2283, 0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, // C8
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, // D0
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3, // D8
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0x239B, 0x239C, // E0
    0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA, // E8
    0,      0x232A, 0x222B, 0x2320, 0x23AE, 0x2321, 0x239E, 0x239F, // F0
    0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0,      // F8
};

// Where the Symbol font has no character, 0x80-0x9F are most likely text written in
// Windows-1252 by a program that did not mind the font; the rest keep the private-use character
// Windows gives them (U+F000 + byte).
char16_t symbolCharacter(uchar byte)
{
    const char16_t mapped = byte >= 0x20 ? kSymbolTable[byte - 0x20] : 0;
    if (mapped)
        return mapped;
    if (byte >= 0x80 && byte < 0xA0) {
        const char asText = char(byte);
        return Windows1252::decode(QByteArrayView(&asText, 1)).at(0).unicode();
    }
    return char16_t(0xF000 + byte);
}

enum class Dest : uint8_t {
    Text,
    Skip,
    FontTable,
    ColorTable,
    ListTable,
    ListOverrideTable,
    LevelText,
    FieldInstruction,
    Numbering, // the old \pn paragraph numbering
    NumberingText, // its bullet
};

enum class ListKind : uint8_t {
    None,
    Bullet,
    Decimal,
    LowerAlpha,
    UpperAlpha,
    LowerRoman,
    UpperRoman,
};

struct CharProps {
    int font = -1; // -1: the document's default font
    int halfPoints = 24;
    int color = 0;
    int background = 0;
    int href = -1;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int8_t vertical = 0; // 1 superscript, -1 subscript

    bool operator==(const CharProps &) const = default;
};

size_t qHash(const CharProps &p, size_t seed = 0)
{
    return qHashMulti(seed, p.font, p.halfPoints, p.color, p.background, p.href, p.bold, p.italic,
                      p.underline, p.strike, p.hidden, p.vertical);
}

struct ParaProps {
    int align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int left = 0;
    int right = 0;
    int first = 0;
    int before = 0;
    int after = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    int ls = 0;
    int level = 0;
    ListKind numbering = ListKind::None;
    int numberingLevel = 0;
    QTextListFormat::Style numberingBullet = QTextListFormat::ListDisc;
};

struct State {
    Dest dest = Dest::Text;
    bool ansiAlternative = false; // inside \upr before its \ud: the same text again, in ANSI
    int uc = 1;
    int field = -1;
    CharProps chr;
    ParaProps para;
};

enum class Word : uint8_t {
    // destinations
    FontTable,
    ColorTable,
    SkipGroup,
    ListTable,
    ListOverrideTable,
    List,
    ListLevel,
    ListOverride,
    LevelText,
    Field,
    FieldInstruction,
    FieldResult,
    Numbering,
    NumberingText,
    Upr,
    Ud,
    Container, // a group whose parts other words deal with (shapes)
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Bin,
    // fonts and colours
    F,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // characters
    Plain,
    Fs,
    Cf,
    Background,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Hidden,
    Super,
    Sub,
    NoSuperSub,
    // paragraphs
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Sl,
    SlMult,
    Ls,
    Ilvl,
    ListId,
    LevelNfc,
    NumberingBullet,
    NumberingBody,
    NumberingContinue,
    NumberingLevel,
    NumberingDecimal,
    NumberingUpperAlpha,
    NumberingLowerAlpha,
    NumberingUpperRoman,
    NumberingLowerRoman,
    // text
    Par,
    Cell,
    Char,
};

struct Keyword {
    std::string_view name;
    Word word;
    char16_t ch = 0;
};

bool isDestination(Word word)
{
    return word <= Word::Container;
}

constexpr Keyword kKeywords[] = {
    {"aftncn", Word::SkipGroup},
    {"aftnsep", Word::SkipGroup},
    {"aftnsepc", Word::SkipGroup},
    {"annotation", Word::SkipGroup},
    {"ansi", Word::Ansi},
    {"ansicpg", Word::AnsiCpg},
    {"atnauthor", Word::SkipGroup},
    {"atndate", Word::SkipGroup},
    {"atnicn", Word::SkipGroup},
    {"atnid", Word::SkipGroup},
    {"atnparent", Word::SkipGroup},
    {"atnref", Word::SkipGroup},
    {"atntime", Word::SkipGroup},
    {"atrfend", Word::SkipGroup},
    {"atrfstart", Word::SkipGroup},
    {"author", Word::SkipGroup},
    {"b", Word::B},
    {"background", Word::SkipGroup},
    {"bin", Word::Bin},
    {"bkmkend", Word::SkipGroup},
    {"bkmkstart", Word::SkipGroup},
    {"blue", Word::Blue},
    {"buptim", Word::SkipGroup},
    {"bullet", Word::Char, 0x2022},
    {"category", Word::SkipGroup},
    {"cb", Word::Background},
    {"cell", Word::Cell},
    {"cf", Word::Cf},
    {"chcbpat", Word::Background},
    {"colortbl", Word::ColorTable},
    {"column", Word::Par},
    {"comment", Word::SkipGroup},
    {"company", Word::SkipGroup},
    {"cpg", Word::Cpg},
    {"creatim", Word::SkipGroup},
    {"datafield", Word::SkipGroup},
    {"deff", Word::Deff},
    {"dn", Word::Sub},
    {"do", Word::SkipGroup},
    {"doccomm", Word::SkipGroup},
    {"emdash", Word::Char, 0x2014},
    {"emspace", Word::Char, 0x2003},
    {"endash", Word::Char, 0x2013},
    {"enspace", Word::Char, 0x2002},
    {"f", Word::F},
    {"fcharset", Word::FCharset},
    {"fi", Word::Fi},
    {"field", Word::Field},
    {"filetbl", Word::SkipGroup},
    {"fldinst", Word::FieldInstruction},
    {"fldrslt", Word::FieldResult},
    {"fonttbl", Word::FontTable},
    {"footer", Word::SkipGroup},
    {"footerf", Word::SkipGroup},
    {"footerl", Word::SkipGroup},
    {"footerr", Word::SkipGroup},
    {"footnote", Word::SkipGroup},
    {"fs", Word::Fs},
    {"ftncn", Word::SkipGroup},
    {"ftnsep", Word::SkipGroup},
    {"ftnsepc", Word::SkipGroup},
    {"green", Word::Green},
    {"header", Word::SkipGroup},
    {"headerf", Word::SkipGroup},
    {"headerl", Word::SkipGroup},
    {"headerr", Word::SkipGroup},
    {"highlight", Word::Background},
    {"i", Word::I},
    {"ilvl", Word::Ilvl},
    {"info", Word::SkipGroup},
    {"keywords", Word::SkipGroup},
    {"ldblquote", Word::Char, 0x201C},
    {"leveltext", Word::LevelText},
    {"levelnfc", Word::LevelNfc},
    {"levelnfcn", Word::LevelNfc},
    {"levelnumbers", Word::SkipGroup},
    {"li", Word::Li},
    {"line", Word::Char, 0x2028},
    {"list", Word::List},
    {"listid", Word::ListId},
    {"listlevel", Word::ListLevel},
    {"listname", Word::SkipGroup},
    {"listoverride", Word::ListOverride},
    {"listoverridetable", Word::ListOverrideTable},
    {"listpicture", Word::SkipGroup},
    {"listtable", Word::ListTable},
    {"listtext", Word::SkipGroup},
    {"lquote", Word::Char, 0x2018},
    {"ls", Word::Ls},
    {"ltrmark", Word::Char, 0x200E},
    {"mac", Word::Mac},
    {"manager", Word::SkipGroup},
    {"nestcell", Word::Cell},
    {"nestrow", Word::Par},
    {"nesttableprops", Word::SkipGroup},
    {"nonesttables", Word::SkipGroup},
    {"nonshppict", Word::SkipGroup},
    {"nosupersub", Word::NoSuperSub},
    {"object", Word::SkipGroup},
    {"objdata", Word::SkipGroup},
    {"operator", Word::SkipGroup},
    {"page", Word::Par},
    {"par", Word::Par},
    {"pard", Word::Pard},
    {"pc", Word::Pc},
    {"pca", Word::Pca},
    {"pict", Word::SkipGroup},
    {"plain", Word::Plain},
    {"pn", Word::Numbering},
    {"pndec", Word::NumberingDecimal},
    {"pnlcltr", Word::NumberingLowerAlpha},
    {"pnlcrm", Word::NumberingLowerRoman},
    {"pnlvl", Word::NumberingLevel},
    {"pnlvlblt", Word::NumberingBullet},
    {"pnlvlbody", Word::NumberingBody},
    {"pnlvlcont", Word::NumberingContinue},
    {"pntext", Word::SkipGroup},
    {"pntxta", Word::SkipGroup},
    {"pntxtb", Word::NumberingText},
    {"pnucltr", Word::NumberingUpperAlpha},
    {"pnucrm", Word::NumberingUpperRoman},
    {"printim", Word::SkipGroup},
    {"qc", Word::Qc},
    {"qd", Word::Qj},
    {"qj", Word::Qj},
    {"ql", Word::Ql},
    {"qmspace", Word::Char, 0x2005},
    {"qr", Word::Qr},
    {"rdblquote", Word::Char, 0x201D},
    {"red", Word::Red},
    {"revtbl", Word::SkipGroup},
    {"revtim", Word::SkipGroup},
    {"ri", Word::Ri},
    {"row", Word::Par},
    {"rquote", Word::Char, 0x2019},
    {"rtlmark", Word::Char, 0x200F},
    {"rxe", Word::SkipGroup},
    {"sa", Word::Sa},
    {"sb", Word::Sb},
    {"sect", Word::Par},
    {"shp", Word::Container},
    {"shpgrp", Word::Container},
    {"shpinst", Word::Container},
    {"shppict", Word::SkipGroup},
    {"shprslt", Word::SkipGroup},
    {"shptxt", Word::Container},
    {"sl", Word::Sl},
    {"slmult", Word::SlMult},
    {"sn", Word::SkipGroup},
    {"sp", Word::SkipGroup},
    {"strike", Word::Strike},
    {"striked", Word::Strike},
    {"stylesheet", Word::SkipGroup},
    {"sub", Word::Sub},
    {"subject", Word::SkipGroup},
    {"super", Word::Super},
    {"sv", Word::SkipGroup},
    {"tab", Word::Char, u'\t'},
    {"tc", Word::SkipGroup},
    {"template", Word::SkipGroup},
    {"title", Word::SkipGroup},
    {"txe", Word::SkipGroup},
    {"u", Word::U},
    {"uc", Word::Uc},
    {"ud", Word::Ud},
    {"ul", Word::Ul},
    {"uld", Word::Ul},
    {"uldash", Word::Ul},
    {"uldashd", Word::Ul},
    {"uldashdd", Word::Ul},
    {"uldb", Word::Ul},
    {"ulhwave", Word::Ul},
    {"ulldash", Word::Ul},
    {"ulnone", Word::UlNone},
    {"ulth", Word::Ul},
    {"ulthd", Word::Ul},
    {"ulthdash", Word::Ul},
    {"ulthdashd", Word::Ul},
    {"ulthdashdd", Word::Ul},
    {"ulthldash", Word::Ul},
    {"ululdbwave", Word::Ul},
    {"ulw", Word::Ul},
    {"ulwave", Word::Ul},
    {"up", Word::Super},
    {"upr", Word::Upr},
    {"v", Word::Hidden},
    {"xe", Word::SkipGroup},
    {"zwbo", Word::Char, 0x200B},
    {"zwj", Word::Char, 0x200D},
    {"zwnj", Word::Char, 0x200C},
};

const Keyword *findKeyword(std::string_view name)
{
    static const auto sorted = [] {
        std::vector<Keyword> table(std::begin(kKeywords), std::end(kKeywords));
        std::sort(table.begin(), table.end(),
                  [](const Keyword &a, const Keyword &b) { return a.name < b.name; });
        return table;
    }();
    const auto before = [](const Keyword &k, std::string_view n) { return k.name < n; };
    const auto it = std::lower_bound(sorted.begin(), sorted.end(), name, before);
    return it != sorted.end() && it->name == name ? &*it : nullptr;
}

bool isLetter(uchar c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(uchar c)
{
    return c >= '0' && c <= '9';
}

int hexValue(uchar c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int codePageOfCharset(int charset, int documentCodePage)
{
    switch (charset) {
    case 2: return kSymbolCodePage;
    case 77: return 10000;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case 255: return 437;
    default: return documentCodePage;
    }
}

// The code pages RTF writers use for text: Windows and DOS, Mac, ISO 8859 and UTF-8. Others
// (EBCDIC, UTF-16) cannot be what the bytes of an RTF file are in.
bool isKnownCodePage(int codePage)
{
    static constexpr int kWindowsAndDos[] = {437, 720, 737, 775, 850, 852, 855, 857, 858, 860, 861,
                                             862, 863, 864, 865, 866, 869, 874, 932, 936, 949, 950,
                                             1250, 1251, 1253, 1254, 1255, 1256, 1257, 1258};
    return std::find(std::begin(kWindowsAndDos), std::end(kWindowsAndDos), codePage)
        != std::end(kWindowsAndDos)
        || (codePage >= 10000 && codePage <= 10082) || codePage == 20127
        || (codePage >= 28591 && codePage <= 28606) || codePage == 65001;
}

// Text that may not go into a QTextDocument as it is: lone surrogate halves, control characters
// (the document would take \r and U+2029 for paragraph breaks it does not know the format of) and
// the characters the document uses to mark frames and objects. The text before from is left as
// it is.
void makeInsertable(QString &text, qsizetype from = 0)
{
    char16_t *data = reinterpret_cast<char16_t *>(text.data());
    const qsizetype size = text.size();
    // Most text has none of them: what comes before the first stays where it is.
    while (from < size && data[from] >= 0x20 && data[from] < 0xD800 && data[from] != QChar::ParagraphSeparator)
        ++from;
    qsizetype out = from;
    for (qsizetype i = from; i < size; ++i) {
        char16_t c = data[i];
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 < size && QChar::isLowSurrogate(data[i + 1])) {
                data[out++] = c;
                data[out++] = data[++i];
                continue;
            }
            c = QChar::ReplacementCharacter;
        } else if (QChar::isLowSurrogate(c)) {
            c = QChar::ReplacementCharacter;
        } else if (c < 0x20) {
            if (c == '\r' || c == '\n')
                c = QChar::LineSeparator;
            else if (c != '\t')
                continue;
        } else if (c == QChar::ParagraphSeparator) {
            c = QChar::LineSeparator;
        } else if (c == 0xFDD0 || c == 0xFDD1 || c == QChar::ObjectReplacementCharacter) {
            c = QChar::ReplacementCharacter;
        }
        data[out++] = c;
    }
    text.truncate(out);
}

struct Font {
    QString name;
    int charset = 0;
    int codePage = 0; // \cpg, 0 when the charset decides
};

struct ListLevel {
    int format = 0; // \levelnfc
    QString text;
};

struct ListDefinition {
    std::vector<ListLevel> levels;
};

struct Field {
    QString instruction;
    Dest outerDest = Dest::Text;
    int parentField = -1;
    int href = -2; // -2 until the instruction has been read
};

// The old paragraph numbering as its group gives it.
struct Numbering {
    ListKind levelKind = ListKind::None;
    ListKind style = ListKind::Decimal;
    int level = 0;
    QString text; // \pntxtb: the bullet
};

// The bullet a list shows, from the character the file gives for it: Word's second and third
// levels are a hollow "o" and a Wingdings square (U+F0A7, or § where the font is not minded).
QTextListFormat::Style bulletStyle(QStringView text)
{
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    for (const QChar c : text) {
        if (c == u'o' || c == u'\u25CB' || c == u'\u25E6')
            style = QTextListFormat::ListCircle;
        else if (c == u'\uF0A7' || c == u'\u00A7' || c == u'\u25AA' || c == u'\u25A0')
            style = QTextListFormat::ListSquare;
    }
    return style;
}

QString hyperlinkTarget(QStringView instruction)
{
    QStringList tokens;
    QString token;
    bool quoted = false;
    bool inToken = false;
    for (const QChar c : instruction) {
        if (c == u'"') {
            if (quoted) {
                tokens.append(token);
                token.clear();
                inToken = false;
            }
            quoted = !quoted;
            if (quoted)
                inToken = true;
        } else if (!quoted && c.isSpace()) {
            if (inToken)
                tokens.append(token);
            token.clear();
            inToken = false;
        } else {
            token += c;
            inToken = true;
        }
    }
    if (inToken)
        tokens.append(token);
    if (tokens.isEmpty() || tokens.first().compare(u"HYPERLINK", Qt::CaseInsensitive) != 0)
        return {};
    QString address;
    QString mark;
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        const QString &t = tokens.at(i);
        if (t.size() == 2 && t.startsWith(u'\\')) {
            const QChar option = t.at(1).toLower();
            // \l names a place in the document; \o and \t take a value the link does not need.
            if (i + 1 < tokens.size() && option == u'l')
                mark = tokens.at(++i);
            else if (i + 1 < tokens.size() && (option == u'o' || option == u't'))
                ++i;
        } else if (address.isEmpty()) {
            address = t;
        }
    }
    if (!mark.isEmpty())
        address += u'#' + mark;
    return address;
}

class Reader {
public:
    Reader(QByteArrayView input, QTextDocument *document)
        : m_data(reinterpret_cast<const uchar *>(input.data())),
          m_end(m_data + input.size()),
          m_cursor(document),
          m_indentWidth(document->indentWidth())
    {
    }
    // Reads the text alone, as the document would hold it, into text.
    Reader(QByteArrayView input, QString *text)
        : m_data(reinterpret_cast<const uchar *>(input.data())),
          m_end(m_data + input.size()),
          m_indentWidth(0),
          m_text(text)
    {
    }

    void read();

private:
    // Tokens
    void controlWord();
    void controlSymbol(uchar c);
    void openGroup();
    void closeGroup();
    void keyword(std::string_view name, bool hasParameter, int parameter);
    void apply(const Keyword &k, bool hasParameter, int parameter);
    void applyDestination(Word word);

    // Text
    void textBytes(const uchar *from, const uchar *to);
    void byteText(uchar byte);
    void flushBytes();
    void appendText(QStringView text);
    void appendUnicode(int value);
    int codePage() const;
    struct FontUse {
        int index;    // into m_fonts, -1 for none
        int codePage; // of the font's text
    };
    FontUse fontUse(int font) const;
    CharProps resolved(const CharProps &props) const;
    int codePageOfFont(int font) const { return fontUse(font).codePage; }
    void decode(QByteArrayView bytes, int codePage, QString &out);

    // The document
    void documentText(QStringView text);
    void paragraphBreak();
    void cellBreak();
    // chr and props here have their font resolved (resolved()).
    void writeParagraph(const ParaProps &para, const CharProps &chr);
    QTextBlockFormat blockFormat(const ParaProps &para, ListKind kind, int level) const;
    QTextCharFormat charFormat(const CharProps &props);
    std::optional<QColor> color(int index) const;

    // Tables
    void commitFont();
    void commitColor();
    ListLevel *currentListLevel();
    ListKind listKindOf(const ParaProps &para, QTextListFormat::Style *style, int *level) const;

    const uchar *m_pos = nullptr;
    const uchar *m_data;
    const uchar *m_end;
    QTextCursor m_cursor;
    const qreal m_indentWidth;
    // Where the text goes when no document is built: paragraphs end in '\n' instead of blocks.
    QString *m_text = nullptr;

    State m_state;
    std::vector<State> m_stack;
    int m_overflow = 0;     // groups opened past kMaxDepth and not yet closed
    int m_overflowSkip = 0; // the overflow depth a destination to skip began at, 0 for none
    bool m_ignorable = false;
    int m_skipFallback = 0;

    int m_documentCodePage = 1252;
    int m_defaultFont = 0;
    // Every definition of a font stays as it was: text already read in a font keeps the name
    // and the characters it had when a later table defines its number again.
    std::vector<Font> m_fonts;
    QHash<int, int> m_fontIndexById;
    // The last font asked for, with what it was asked in: text asks for it piece by piece.
    mutable struct {
        int font = INT_MIN;
        int defaultFont = 0;
        int documentCodePage = 0;
        size_t definitions = 0;
        FontUse use = {-1, 0};
    } m_lastFontUse;
    std::optional<int> m_fontId; // the font table entry being read
    Font m_font;
    std::vector<std::optional<QColor>> m_colors;
    std::array<int, 3> m_rgb = {0, 0, 0};
    bool m_rgbSet = false;

    std::vector<ListDefinition> m_lists;
    bool m_levelOpen = false; // the last list's last level takes what follows
    QHash<int, int> m_listIndexById;
    std::optional<int> m_overrideListId;
    std::optional<int> m_overrideLs;
    QHash<int, int> m_listIdByLs;
    Numbering m_numbering;

    std::vector<Field> m_fields;
    QStringList m_hrefs;

    std::string m_bytes; // text bytes not yet decoded
    QString m_decoded;
    std::map<int, std::optional<QStringDecoder>> m_decoders;

    // The paragraph being read, written to the document whole at its end: a block inserted with
    // its formats costs half what one inserted first and formatted afterwards does.
    struct Run {
        qsizetype end;
        CharProps props;
    };
    QString m_paragraph;
    std::vector<Run> m_runs;
    QString m_piece;
    int m_pendingCells = 0;
    bool m_firstBlock = true; // a new document has its first block, empty
    ParaProps m_lastPara;
    CharProps m_lastChar; // with its font resolved
    // Building a format costs more than inserting the text it is for.
    QHash<CharProps, QTextCharFormat> m_formats;

    struct ListSlot {
        QTextList *list = nullptr;
        int items = 0;
    };
    QHash<QPair<int, int>, ListSlot> m_overrideLists;
    ListSlot m_numberingList;
    std::tuple<ListKind, int, QTextListFormat::Style> m_numberingKey;
};

// The bytes that end a run of text bytes: a group, a control word or symbol, a line break (which
// RTF ignores).
constexpr auto kEndsText = [] {
    std::array<bool, 256> ends{};
    for (const uchar c : {'{', '}', '\\', '\r', '\n'})
        ends[c] = true;
    return ends;
}();

void Reader::read()
{
    m_stack.reserve(64);
    m_cursor.beginEditBlock();
    m_pos = m_data;
    while (m_pos < m_end) {
        const uchar c = *m_pos;
        switch (c) {
        case '{':
            ++m_pos;
            flushBytes();
            openGroup();
            break;
        case '}':
            ++m_pos;
            flushBytes();
            closeGroup();
            break;
        case '\\':
            ++m_pos;
            controlWord();
            break;
        case '\r':
        case '\n':
            ++m_pos;
            break;
        default: {
            const uchar *from = m_pos;
            while (m_pos < m_end && !kEndsText[*m_pos])
                ++m_pos;
            m_ignorable = false;
            textBytes(from, m_pos);
            break;
        }
        }
    }
    flushBytes();
    commitFont();
    // The last paragraph mark is optional; a paragraph after it only when there is text.
    if (!m_paragraph.isEmpty() || m_firstBlock)
        writeParagraph(m_lastPara, m_lastChar);
    m_cursor.endEditBlock();
}

void Reader::controlWord()
{
    if (m_pos >= m_end)
        return;
    if (!isLetter(*m_pos)) {
        controlSymbol(*m_pos++);
        return;
    }
    const uchar *nameStart = m_pos;
    while (m_pos < m_end && isLetter(*m_pos))
        ++m_pos;
    const qsizetype nameLength = m_pos - nameStart;
    bool negative = false;
    if (m_pos + 1 < m_end && *m_pos == '-' && isDigit(m_pos[1])) {
        negative = true;
        ++m_pos;
    }
    bool hasParameter = false;
    qint64 value = 0;
    while (m_pos < m_end && isDigit(*m_pos)) {
        hasParameter = true;
        if (value < kParameterCap)
            value = value * 10 + (*m_pos - '0');
        ++m_pos;
    }
    if (m_pos < m_end && *m_pos == ' ')
        ++m_pos;
    value = std::min(value, qint64(INT_MAX));
    const int parameter = int(negative ? -value : value);
    flushBytes();
    if (nameLength > kMaxWordLength) {
        // Too long to be any word we know; as one it still counts as a fallback character.
        keyword({}, hasParameter, parameter);
        return;
    }
    keyword(std::string_view(reinterpret_cast<const char *>(nameStart), size_t(nameLength)),
            hasParameter, parameter);
}

void Reader::controlSymbol(uchar c)
{
    switch (c) {
    case '\'': {
        int value = 0;
        int digits = 0;
        while (digits < 2 && m_pos < m_end && hexValue(*m_pos) >= 0) {
            value = value * 16 + hexValue(*m_pos++);
            ++digits;
        }
        m_ignorable = false;
        if (digits > 0) {
            byteText(uchar(value));
        } else if (m_skipFallback > 0) {
            --m_skipFallback;
        }
        return;
    }
    case '*':
        flushBytes();
        m_ignorable = true;
        return;
    case '\\':
    case '{':
    case '}':
        m_ignorable = false;
        byteText(c);
        return;
    default:
        break;
    }
    flushBytes();
    m_ignorable = false;
    if (m_skipFallback > 0) {
        --m_skipFallback;
        return;
    }
    switch (c) {
    case '~': appendText(u"\u00A0"); break;
    case '-': appendText(u"\u00AD"); break;
    case '_': appendText(u"\u2011"); break;
    case '\t': appendText(u"\t"); break;
    case '\r':
    case '\n':
        if (m_state.dest == Dest::Text && !m_overflowSkip)
            paragraphBreak();
        break;
    default: break; // \: \| and the unknown ones mean nothing here
    }
}

void Reader::openGroup()
{
    m_ignorable = false;
    m_skipFallback = 0;
    if (m_stack.size() >= size_t(kMaxDepth)) {
        ++m_overflow;
        return;
    }
    m_stack.push_back(m_state);
}

void Reader::closeGroup()
{
    m_ignorable = false;
    m_skipFallback = 0;
    if (m_overflow > 0) {
        if (m_overflowSkip == m_overflow)
            m_overflowSkip = 0;
        --m_overflow;
        return;
    }
    if (m_stack.empty())
        return; // one brace too many
    const State closing = m_state;
    m_state = m_stack.back();
    m_stack.pop_back();
    if (closing.dest == Dest::FontTable)
        commitFont();
    if (closing.dest == Dest::Numbering && m_state.dest != Dest::Numbering) {
        m_state.para.numbering = m_numbering.levelKind == ListKind::Bullet
            ? ListKind::Bullet
            : (m_numbering.levelKind == ListKind::None ? ListKind::None : m_numbering.style);
        m_state.para.numberingLevel = m_numbering.level;
        m_state.para.numberingBullet = bulletStyle(m_numbering.text);
    }
}

void Reader::keyword(std::string_view name, bool hasParameter, int parameter)
{
    const Keyword *k = name.empty() ? nullptr : findKeyword(name);
    if (k && k->word == Word::Bin) {
        // Binary data is never text, whatever group it is in.
        const qint64 count = std::clamp<qint64>(hasParameter ? parameter : 0, 0, m_end - m_pos);
        m_pos += count;
        m_ignorable = false;
        return;
    }
    const bool ignorable = m_ignorable;
    m_ignorable = false;
    if (m_skipFallback > 0 && !(k && (k->word == Word::U || k->word == Word::Uc))) {
        --m_skipFallback;
        return;
    }
    if (m_overflowSkip || m_state.dest == Dest::Skip)
        return;
    if (m_overflow > 0) {
        // Too deep to keep formatting: only text comes through, and what is not shown is skipped.
        if (ignorable && !(k && isDestination(k->word)))
            m_overflowSkip = m_overflow;
        else if (k && (k->word == Word::SkipGroup || k->word == Word::FontTable
                       || k->word == Word::ColorTable || k->word == Word::ListTable
                       || k->word == Word::ListOverrideTable || k->word == Word::FieldInstruction
                       || k->word == Word::Numbering || k->word == Word::NumberingText
                       || k->word == Word::LevelText))
            m_overflowSkip = m_overflow;
        else if (k && (k->word == Word::Par || k->word == Word::Cell || k->word == Word::Char
                       || k->word == Word::U))
            apply(*k, hasParameter, parameter);
        return;
    }
    if (!k) {
        if (ignorable)
            m_state.dest = Dest::Skip;
        return;
    }
    if (ignorable && !isDestination(k->word)) {
        m_state.dest = Dest::Skip;
        return;
    }
    apply(*k, hasParameter, parameter);
}

void Reader::applyDestination(Word word)
{
    switch (word) {
    case Word::FontTable:
        m_state.dest = Dest::FontTable;
        break;
    case Word::ColorTable:
        m_state.dest = Dest::ColorTable;
        m_rgbSet = false;
        m_rgb = {0, 0, 0};
        break;
    case Word::SkipGroup:
        m_state.dest = Dest::Skip;
        break;
    case Word::ListTable:
        m_state.dest = Dest::ListTable;
        break;
    case Word::ListOverrideTable:
        m_state.dest = Dest::ListOverrideTable;
        break;
    case Word::List:
        if (m_state.dest == Dest::ListTable) {
            m_lists.emplace_back();
            m_levelOpen = false;
        }
        break;
    case Word::ListLevel:
        // Lists have nine levels; what a file says of more goes nowhere.
        m_levelOpen = m_state.dest == Dest::ListTable && !m_lists.empty()
            && m_lists.back().levels.size() < 9;
        if (m_levelOpen)
            m_lists.back().levels.emplace_back();
        break;
    case Word::ListOverride:
        if (m_state.dest == Dest::ListOverrideTable) {
            m_overrideListId.reset();
            m_overrideLs.reset();
        }
        break;
    case Word::LevelText:
        m_state.dest = m_state.dest == Dest::ListTable ? Dest::LevelText : Dest::Skip;
        break;
    case Word::Field:
        if (m_fields.size() < size_t(INT_MAX)) {
            m_fields.push_back({{}, m_state.dest, m_state.field, -2});
            m_state.field = int(m_fields.size() - 1);
        }
        break;
    case Word::FieldInstruction:
        m_state.dest = m_state.field >= 0 ? Dest::FieldInstruction : Dest::Skip;
        break;
    case Word::FieldResult: {
        if (m_state.field < 0)
            break; // a result without its field is just text
        Field &field = m_fields[size_t(m_state.field)];
        m_state.dest = field.outerDest;
        if (field.outerDest == Dest::FieldInstruction) {
            // A field inside another field's instruction gives its result to that instruction.
            m_state.field = field.parentField;
            break;
        }
        if (field.href == -2) {
            const QString target = hyperlinkTarget(field.instruction);
            field.href = target.isEmpty() ? -1 : int(m_hrefs.size());
            if (!target.isEmpty())
                m_hrefs.append(target);
            field.instruction.clear();
        }
        if (field.href >= 0)
            m_state.chr.href = field.href;
        break;
    }
    case Word::Numbering:
        if (m_state.dest == Dest::Text) {
            m_state.dest = Dest::Numbering;
            m_numbering = {};
        } else {
            m_state.dest = Dest::Skip;
        }
        break;
    case Word::NumberingText:
        m_state.dest = m_state.dest == Dest::Numbering ? Dest::NumberingText : Dest::Skip;
        break;
    case Word::Upr:
        m_state.ansiAlternative = true;
        break;
    case Word::Ud:
        m_state.ansiAlternative = false;
        break;
    default:
        break;
    }
}

void Reader::apply(const Keyword &k, bool hasParameter, int parameter)
{
    const bool on = !hasParameter || parameter != 0;
    CharProps &chr = m_state.chr;
    ParaProps &para = m_state.para;
    const auto twips = [&] { return std::clamp(parameter, -kMaxTwips, kMaxTwips); };

    if (isDestination(k.word)) {
        applyDestination(k.word);
        return;
    }
    // Font names and list bullets are written in Unicode too.
    if (k.word == Word::Uc) {
        m_state.uc = std::clamp(parameter, 0, kMaxSkipCount);
        return;
    }
    if (k.word == Word::U) {
        appendUnicode(parameter);
        m_skipFallback = m_state.uc;
        return;
    }
    switch (m_state.dest) {
    case Dest::FontTable:
        switch (k.word) {
        case Word::F:
            commitFont();
            m_fontId = parameter;
            m_font = {};
            break;
        case Word::FCharset: m_font.charset = parameter; break;
        case Word::Cpg: m_font.codePage = parameter; break;
        default: break;
        }
        return;
    case Dest::ColorTable:
        if (k.word == Word::Red || k.word == Word::Green || k.word == Word::Blue) {
            m_rgb[size_t(int(k.word) - int(Word::Red))] = std::clamp(parameter, 0, 255);
            m_rgbSet = true;
        }
        return;
    case Dest::ListTable:
        if (k.word == Word::ListId && !m_lists.empty())
            m_listIndexById.insert(parameter, int(m_lists.size() - 1));
        else if (k.word == Word::LevelNfc && currentListLevel())
            currentListLevel()->format = parameter;
        return;
    case Dest::ListOverrideTable:
        if (k.word == Word::ListId)
            m_overrideListId = parameter;
        else if (k.word == Word::Ls)
            m_overrideLs = parameter;
        if (m_overrideListId && m_overrideLs)
            m_listIdByLs.insert(*m_overrideLs, *m_overrideListId);
        return;
    case Dest::Numbering:
        switch (k.word) {
        case Word::NumberingBullet: m_numbering.levelKind = ListKind::Bullet; break;
        case Word::NumberingBody: m_numbering.levelKind = ListKind::Decimal; break;
        case Word::NumberingContinue: m_numbering.levelKind = ListKind::None; break;
        case Word::NumberingLevel:
            m_numbering.levelKind = ListKind::Decimal;
            m_numbering.level = std::clamp(parameter - 1, 0, 8);
            break;
        case Word::NumberingDecimal: m_numbering.style = ListKind::Decimal; break;
        case Word::NumberingUpperAlpha: m_numbering.style = ListKind::UpperAlpha; break;
        case Word::NumberingLowerAlpha: m_numbering.style = ListKind::LowerAlpha; break;
        case Word::NumberingUpperRoman: m_numbering.style = ListKind::UpperRoman; break;
        case Word::NumberingLowerRoman: m_numbering.style = ListKind::LowerRoman; break;
        default: break;
        }
        return;
    default:
        break;
    }

    switch (k.word) {
    case Word::Ansi: m_documentCodePage = 1252; break;
    case Word::Mac: m_documentCodePage = 10000; break;
    case Word::Pc: m_documentCodePage = 437; break;
    case Word::Pca: m_documentCodePage = 850; break;
    case Word::AnsiCpg: m_documentCodePage = parameter > 0 ? parameter : 1252; break;
    case Word::Deff: m_defaultFont = parameter; break;
    case Word::F: chr.font = parameter; break;
    case Word::Plain: {
        const int href = chr.href;
        chr = {};
        chr.href = href;
        break;
    }
    case Word::Fs:
        chr.halfPoints = hasParameter && parameter > 0 ? std::min(parameter, kMaxHalfPoints) : 24;
        break;
    case Word::Cf: chr.color = parameter; break;
    case Word::Background: chr.background = parameter; break;
    case Word::B: chr.bold = on; break;
    case Word::I: chr.italic = on; break;
    case Word::Ul: chr.underline = on; break;
    case Word::UlNone: chr.underline = false; break;
    case Word::Strike: chr.strike = on; break;
    case Word::Hidden: chr.hidden = on; break;
    case Word::Super: chr.vertical = on ? 1 : 0; break;
    case Word::Sub: chr.vertical = on ? -1 : 0; break;
    case Word::NoSuperSub: chr.vertical = 0; break;
    case Word::Pard: para = {}; break;
    case Word::Ql: para.align = 0; break;
    case Word::Qc: para.align = 1; break;
    case Word::Qr: para.align = 2; break;
    case Word::Qj: para.align = 3; break;
    case Word::Li: para.left = twips(); break;
    case Word::Ri: para.right = twips(); break;
    case Word::Fi: para.first = twips(); break;
    case Word::Sb: para.before = twips(); break;
    case Word::Sa: para.after = twips(); break;
    case Word::Sl: para.lineSpacing = twips(); break;
    case Word::SlMult: para.lineMultiple = on; break;
    case Word::Ls: para.ls = parameter; break;
    case Word::Ilvl: para.level = std::clamp(parameter, 0, 8); break;
    case Word::Par:
        if (m_state.dest == Dest::Text)
            paragraphBreak();
        break;
    case Word::Cell:
        if (m_state.dest == Dest::Text)
            cellBreak();
        break;
    case Word::Char: {
        const char16_t ch = k.ch;
        appendText(QStringView(&ch, 1));
        break;
    }
    default: break;
    }
}

ListLevel *Reader::currentListLevel()
{
    return m_levelOpen ? &m_lists.back().levels.back() : nullptr;
}

void Reader::textBytes(const uchar *from, const uchar *to)
{
    if (m_skipFallback > 0) {
        const qsizetype skipped = std::min<qsizetype>(to - from, m_skipFallback);
        from += skipped;
        m_skipFallback -= int(skipped);
    }
    if (from == to || m_overflowSkip)
        return;
    switch (m_state.dest) {
    case Dest::FontTable:
    case Dest::ColorTable:
        for (; from < to; ++from) {
            if (*from == ';') {
                if (m_state.dest == Dest::FontTable) {
                    flushBytes();
                    commitFont();
                } else {
                    commitColor();
                }
            } else if (m_state.dest == Dest::FontTable && *from >= 0x20) {
                m_bytes.push_back(char(*from));
            }
        }
        return;
    case Dest::Text:
        // Outside every group only text that means something counts: files end in line breaks,
        // blanks and NULs after their last brace.
        if (m_stack.empty() && std::all_of(from, to, [](uchar c) { return c <= ' '; }))
            return;
        [[fallthrough]];
    case Dest::FieldInstruction:
    case Dest::LevelText:
    case Dest::NumberingText:
        // Control characters other than the tab are left out; the rest goes in a run at a time.
        while (from < to) {
            const uchar *end = std::find_if(from, to, [](uchar c) { return c < 0x20 && c != '\t'; });
            m_bytes.append(reinterpret_cast<const char *>(from), size_t(end - from));
            from = end == to ? to : end + 1;
        }
        return;
    default:
        return;
    }
}

void Reader::byteText(uchar byte)
{
    textBytes(&byte, &byte + 1);
}

// The props with the font they stand for now. Text in the Symbol font has become the characters
// the font shows, which need the font no longer: it takes the document's font, and a writer that
// sees "Symbol" would take the characters back for the font's own codes.
CharProps Reader::resolved(const CharProps &props) const
{
    CharProps copy = props;
    const FontUse use = fontUse(props.font);
    copy.font = use.codePage == kSymbolCodePage ? -1 : use.index;
    return copy;
}

// The font a number stands for now and how its text is written.
Reader::FontUse Reader::fontUse(int font) const
{
    auto &last = m_lastFontUse;
    if (last.font == font && last.defaultFont == m_defaultFont
        && last.documentCodePage == m_documentCodePage && last.definitions == m_fonts.size())
        return last.use;
    last.font = font;
    last.defaultFont = m_defaultFont;
    last.documentCodePage = m_documentCodePage;
    last.definitions = m_fonts.size();

    const int index = m_fontIndexById.value(font < 0 ? m_defaultFont : font, -1);
    last.use = {index, m_documentCodePage};
    if (index < 0)
        return last.use;
    const Font &definition = m_fonts[size_t(index)];
    // Windows draws the Symbol font with its own characters whatever charset a file gives it.
    if (definition.name.compare(u"Symbol", Qt::CaseInsensitive) == 0) {
        last.use.codePage = kSymbolCodePage;
    } else if (definition.codePage > 0) {
        last.use.codePage = definition.codePage;
    } else {
        const int codePage = codePageOfCharset(definition.charset, m_documentCodePage);
        last.use.codePage = codePage == kSymbolCodePage ? kPrivateUseCodePage : codePage;
    }
    return last.use;
}

int Reader::codePage() const
{
    if (m_state.dest == Dest::FontTable) {
        // A symbol font's name is in plain letters, not in its own symbols.
        const int codePage = m_font.codePage > 0
            ? m_font.codePage
            : codePageOfCharset(m_font.charset, m_documentCodePage);
        return codePage == kSymbolCodePage ? 1252 : codePage;
    }
    return codePageOfFont(m_state.chr.font);
}

void Reader::decode(QByteArrayView bytes, int codePage, QString &out)
{
    if (codePage == kSymbolCodePage || codePage == kPrivateUseCodePage) {
        out.resize(bytes.size());
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            const uchar b = uchar(bytes[i]);
            out[i] = QChar(codePage == kSymbolCodePage ? symbolCharacter(b) : char16_t(0xF000 + b));
        }
        return;
    }
    if (codePage != 1252 && isKnownCodePage(codePage)) {
        auto it = m_decoders.find(codePage);
        if (it == m_decoders.end()) {
            std::optional<QStringDecoder> decoder;
            for (const QByteArray &name : {"windows-" + QByteArray::number(codePage),
                                           "cp" + QByteArray::number(codePage)}) {
                QStringDecoder candidate(name.constData(), QStringConverter::Flag::Stateless);
                if (candidate.isValid()) {
                    decoder.emplace(std::move(candidate));
                    break;
                }
            }
            it = m_decoders.emplace(codePage, std::move(decoder)).first;
        }
        if (it->second) {
            out = it->second->decode(bytes);
            return;
        }
    }
    Windows1252::decode(bytes, out);
}

void Reader::flushBytes()
{
    if (m_bytes.empty())
        return;
    decode(QByteArrayView(m_bytes.data(), qsizetype(m_bytes.size())), codePage(), m_decoded);
    // Emptied, not freed: the next run of text takes the same memory.
    m_bytes.clear();
    appendText(m_decoded);
}

void Reader::appendUnicode(int value)
{
    if (value < 0)
        value += 65536;
    if (value < 0 || value > 0x10FFFF) {
        appendText(u"\uFFFD");
        return;
    }
    if (value >= 0xF020 && value <= 0xF0FF && m_state.dest == Dest::Text
        && codePageOfFont(m_state.chr.font) == kSymbolCodePage) {
        const char16_t ch = symbolCharacter(uchar(value - 0xF000));
        appendText(QStringView(&ch, 1));
        return;
    }
    const char32_t codePoint = char32_t(value);
    appendText(QStringView(QChar::fromUcs4(codePoint)));
}

void Reader::appendText(QStringView text)
{
    if (m_state.ansiAlternative || m_overflowSkip)
        return;
    switch (m_state.dest) {
    case Dest::Text:
        if (!m_state.chr.hidden)
            documentText(text);
        break;
    case Dest::FontTable:
        if (m_fontId)
            m_font.name += text;
        break;
    case Dest::FieldInstruction:
        if (m_state.field >= 0)
            m_fields[size_t(m_state.field)].instruction += text;
        break;
    case Dest::LevelText:
        if (ListLevel *level = currentListLevel(); level && level->text.size() < 32)
            level->text += text;
        break;
    case Dest::NumberingText:
        if (m_numbering.text.size() < 32)
            m_numbering.text += text;
        break;
    default:
        break;
    }
}

void Reader::commitFont()
{
    if (!m_fontId)
        return;
    m_font.name = m_font.name.trimmed();
    m_fonts.push_back(m_font);
    m_fontIndexById.insert(*m_fontId, int(m_fonts.size() - 1));
    m_fontId.reset();
    m_font = {};
}

void Reader::commitColor()
{
    if (m_rgbSet)
        m_colors.emplace_back(QColor(m_rgb[0], m_rgb[1], m_rgb[2]));
    else
        m_colors.emplace_back(); // the automatic colour
    m_rgb = {0, 0, 0};
    m_rgbSet = false;
    m_formats.clear();
}

std::optional<QColor> Reader::color(int index) const
{
    if (index < 0 || size_t(index) >= m_colors.size())
        return std::nullopt;
    return m_colors[size_t(index)];
}

void Reader::documentText(QStringView text)
{
    if (text.isEmpty())
        return;
    const CharProps props = resolved(m_state.chr);
    if (m_runs.empty() || !(m_runs.back().props == props))
        m_runs.push_back({m_paragraph.size(), props});
    for (; m_pendingCells > 0; --m_pendingCells)
        m_paragraph += u'\t';
    m_paragraph += text;
    m_runs.back().end = m_paragraph.size();
    m_lastPara = m_state.para;
    m_lastChar = props;
}

void Reader::paragraphBreak()
{
    m_pendingCells = 0;
    writeParagraph(m_state.para, resolved(m_state.chr));
}

void Reader::cellBreak()
{
    // Cells come out as one line per row with a tab between cells; the tab is written when more
    // text follows, so the last cell leaves none behind.
    if (m_pendingCells < INT_MAX)
        ++m_pendingCells;
}

ListKind Reader::listKindOf(const ParaProps &para, QTextListFormat::Style *style, int *level) const
{
    ListKind kind = ListKind::None;
    if (para.ls > 0) {
        *level = para.level;
        kind = ListKind::Bullet;
        const auto id = m_listIdByLs.constFind(para.ls);
        const auto index = id == m_listIdByLs.cend() ? m_listIndexById.cend()
                                                     : m_listIndexById.constFind(*id);
        *style = QTextListFormat::ListDisc;
        if (index != m_listIndexById.cend()) {
            const ListDefinition &list = m_lists[size_t(*index)];
            if (size_t(para.level) < list.levels.size()) {
                const ListLevel &def = list.levels[size_t(para.level)];
                switch (def.format) {
                case 0: kind = ListKind::Decimal; break;
                case 1: kind = ListKind::UpperRoman; break;
                case 2: kind = ListKind::LowerRoman; break;
                case 3: kind = ListKind::UpperAlpha; break;
                case 4: kind = ListKind::LowerAlpha; break;
                case 23: kind = ListKind::Bullet; break;
                case 255: kind = ListKind::None; break;
                default: kind = ListKind::Decimal; break;
                }
                *style = bulletStyle(def.text);
            }
        }
    } else if (para.numbering != ListKind::None) {
        kind = para.numbering;
        *level = para.numberingLevel;
        *style = para.numberingBullet;
    }
    switch (kind) {
    case ListKind::Decimal: *style = QTextListFormat::ListDecimal; break;
    case ListKind::LowerAlpha: *style = QTextListFormat::ListLowerAlpha; break;
    case ListKind::UpperAlpha: *style = QTextListFormat::ListUpperAlpha; break;
    case ListKind::LowerRoman: *style = QTextListFormat::ListLowerRoman; break;
    case ListKind::UpperRoman: *style = QTextListFormat::ListUpperRoman; break;
    default: break;
    }
    return kind;
}

QTextBlockFormat Reader::blockFormat(const ParaProps &para, ListKind kind, int level) const
{
    QTextBlockFormat format;
    switch (para.align) {
    case 1: format.setAlignment(Qt::AlignHCenter); break;
    case 2: format.setAlignment(Qt::AlignRight); break;
    case 3: format.setAlignment(Qt::AlignJustify); break;
    default: break;
    }
    qreal left = para.left / twipsPerDocumentUnit;
    qreal first = para.first / twipsPerDocumentUnit;
    if (kind != ListKind::None) {
        // The list's own indent holds the bullet, where the writers put it with a hanging indent.
        left = std::max<qreal>(0, left - (level + 1) * m_indentWidth);
        first = std::max<qreal>(0, first);
    }
    if (left != 0)
        format.setLeftMargin(left);
    if (first != 0)
        format.setTextIndent(first);
    if (para.right != 0)
        format.setRightMargin(para.right / twipsPerDocumentUnit);
    if (para.before != 0)
        format.setTopMargin(para.before / twipsPerDocumentUnit);
    if (para.after != 0)
        format.setBottomMargin(para.after / twipsPerDocumentUnit);
    if (para.lineMultiple && para.lineSpacing > 0 && para.lineSpacing != 240)
        format.setLineHeight(para.lineSpacing * 100.0 / 240, QTextBlockFormat::ProportionalHeight);
    else if (!para.lineMultiple && para.lineSpacing > 0)
        format.setLineHeight(para.lineSpacing / twipsPerDocumentUnit,
                             QTextBlockFormat::MinimumHeight);
    else if (!para.lineMultiple && para.lineSpacing < 0)
        format.setLineHeight(-para.lineSpacing / twipsPerDocumentUnit,
                             QTextBlockFormat::FixedHeight);
    return format;
}

void Reader::writeParagraph(const ParaProps &para, const CharProps &chr)
{
    if (m_text) {
        if (!m_firstBlock)
            *m_text += u'\n';
        m_firstBlock = false;
        qsizetype start = 0;
        // Piece by piece, as they go into a document: a surrogate pair split between two pieces
        // is no character there either.
        for (const Run &run : m_runs) {
            const qsizetype pieceStart = m_text->size();
            m_text->append(QStringView(m_paragraph).sliced(start, run.end - start));
            makeInsertable(*m_text, pieceStart);
            start = run.end;
        }
        m_paragraph.resize(0);
        m_runs.clear();
        return;
    }
    QTextListFormat::Style style = QTextListFormat::ListDisc;
    int level = 0;
    const ListKind kind = listKindOf(para, &style, &level);
    QTextBlockFormat format = blockFormat(para, kind, level);

    ListSlot *slot = nullptr;
    if (kind == ListKind::None) {
        m_numberingList = {};
    } else if (para.ls > 0) {
        slot = &m_overrideLists[{para.ls, level}];
        m_numberingList = {};
    } else {
        if (m_numberingKey != std::tuple(kind, level, style))
            m_numberingList = {};
        m_numberingKey = {kind, level, style};
        slot = &m_numberingList;
    }
    // Every block that joins a list makes Qt touch all the blocks already in it, so one list of
    // many thousand items takes minutes to build. Longer lists go on in a new one: bullets look
    // the same, numbers start again.
    if (slot && slot->items >= (kind == ListKind::Bullet ? kMaxBulletItems : kMaxNumberedItems))
        *slot = {};
    if (slot && slot->list)
        format.setObjectIndex(slot->list->objectIndex());

    CharProps markProps = chr;
    markProps.href = -1;
    const QTextCharFormat markFormat = charFormat(markProps);
    if (m_firstBlock) {
        m_cursor.setBlockFormat(format);
        m_cursor.setBlockCharFormat(markFormat);
        m_firstBlock = false;
    } else {
        m_cursor.insertBlock(format, markFormat);
    }
    if (slot) {
        if (!slot->list) {
            QTextListFormat listFormat;
            listFormat.setStyle(style);
            listFormat.setIndent(level + 1);
            slot->list = m_cursor.createList(listFormat);
        }
        ++slot->items;
    }

    qsizetype start = 0;
    for (const Run &run : m_runs) {
        m_piece = QStringView(m_paragraph).sliced(start, run.end - start).toString();
        makeInsertable(m_piece);
        if (!m_piece.isEmpty())
            m_cursor.insertText(m_piece, charFormat(run.props));
        start = run.end;
    }
    m_paragraph.resize(0);
    m_runs.clear();
}

QTextCharFormat Reader::charFormat(const CharProps &props)
{
    if (const auto known = m_formats.constFind(props); known != m_formats.cend())
        return *known;
    QTextCharFormat format;
    if (props.font >= 0 && !m_fonts[size_t(props.font)].name.isEmpty())
        format.setFontFamilies({m_fonts[size_t(props.font)].name});
    format.setFontPointSize(props.halfPoints / 2.0);
    if (const auto foreground = color(props.color))
        format.setForeground(*foreground);
    if (props.background > 0) {
        if (const auto background = color(props.background))
            format.setBackground(*background);
    }
    if (props.bold)
        format.setFontWeight(QFont::Bold);
    if (props.italic)
        format.setFontItalic(true);
    if (props.underline)
        format.setFontUnderline(true);
    if (props.strike)
        format.setFontStrikeOut(true);
    if (props.vertical != 0)
        format.setVerticalAlignment(props.vertical > 0 ? QTextCharFormat::AlignSuperScript
                                                       : QTextCharFormat::AlignSubScript);
    if (props.href >= 0) {
        format.setAnchor(true);
        format.setAnchorHref(m_hrefs.at(props.href));
    }
    m_formats.insert(props, format);
    return format;
}

} // namespace

QString rtfText(const QByteArray &bytes)
{
    QString text;
    Reader(bytes, &text).read();
    return text;
}

void readRtf(const QByteArray &bytes, QTextDocument *document)
{
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    Reader(bytes, document).read();
    document->setUndoRedoEnabled(undo);
}

} // namespace Platform
