#include "platform/TextFind.h"

#include "platform/Windows1252.h"

#include <QStringView>

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace Platform {

namespace {

// The character a character of the BMP, other than a surrogate half, stands for when compared: a
// no-break space counts as a space and, with fold, every character stands for its simple case
// folding when that is one code unit too.
char16_t comparableUnit(char16_t c, bool fold)
{
    if (c == QChar::Nbsp)
        return u' ';
    if (!fold)
        return c;
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    const char32_t folded = QChar::toCaseFolded(char32_t(c));
    return QChar::requiresSurrogates(folded) ? c : char16_t(folded);
}

// Makes a text comparable: a no-break space counts as a space and, without matchCase, every
// character stands for its simple case folding. One character always stays one character.
void makeComparable(QString &text, bool fold)
{
    if (!fold) {
        text.replace(QChar::Nbsp, QLatin1Char(' '));
        return;
    }
    char16_t *chars = reinterpret_cast<char16_t *>(text.data());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z')
                chars[i] = char16_t(c + (u'a' - u'A'));
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(chars[i + 1])) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, chars[i + 1]));
            if (QChar::requiresSurrogates(folded)) {
                chars[i] = QChar::highSurrogate(folded);
                chars[i + 1] = QChar::lowSurrogate(folded);
            }
            ++i;
        } else if (!QChar::isSurrogate(c)) {
            chars[i] = comparableUnit(c, true);
        }
    }
}

} // namespace

QString withDocumentLineBreaks(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

TextFinder::TextFinder(QString text, const QString &searchText, FindFlags flags)
    : m_text(std::move(text))
    , m_needle(withDocumentLineBreaks(searchText))
    , m_wholeWords(flags.wholeWords)
    , m_fold(!flags.matchCase)
{
    makeComparable(m_text, m_fold);
    makeComparable(m_needle, m_fold);
}

QChar TextFinder::at(int position) const
{
    return position >= 0 && position < m_text.size() ? m_text.at(position) : QChar();
}

bool TextFinder::isWholeWord(QChar before, QChar after)
{
    return !before.isLetterOrNumber() && !after.isLetterOrNumber();
}

int TextFinder::find(int from, int to, std::optional<QChar> beforeFrom) const
{
    const qsizetype length = m_needle.size();
    from = qMax(from, 0);
    to = qMin(to, textLength());
    if (length == 0 || from + length > to)
        return -1;
    const QStringView range = QStringView(m_text).first(to);
    for (qsizetype start = from; start + length <= to;) {
        const qsizetype hit = range.indexOf(m_needle, start);
        if (hit < 0)
            return -1;
        const QChar before = hit == from && beforeFrom ? *beforeFrom : at(int(hit) - 1);
        if (!m_wholeWords || isWholeWord(before, at(int(hit + length))))
            return int(hit);
        start = hit + 1;
    }
    return -1;
}

int TextFinder::findLast(int end, std::optional<QChar> atEnd) const
{
    const qsizetype length = m_needle.size();
    end = qMin(end, textLength());
    if (length == 0 || end < length)
        return -1;
    const QStringView range = QStringView(m_text).first(end);
    // lastIndexOf reads a negative start as counted from the end, so the loop stops before one.
    for (qsizetype last = end - length; last >= 0;) {
        const qsizetype hit = range.lastIndexOf(m_needle, last);
        if (hit < 0)
            return -1;
        const QChar after = hit + length == end && atEnd ? *atEnd : at(int(hit + length));
        if (!m_wholeWords || isWholeWord(at(int(hit) - 1), after))
            return int(hit);
        last = hit - 1;
    }
    return -1;
}

int TextFinder::findLastBefore(int position, const QString &inserted, QChar after) const
{
    const qsizetype length = m_needle.size();
    position = qBound(0, position, textLength());
    if (length == 0)
        return -1;
    // Occurrences that begin before position and end inside the inserted text, the latest first.
    QString reached = inserted.left(length);
    makeComparable(reached, m_fold);
    const QStringView text(m_text);
    const QStringView needle(m_needle);
    const qsizetype reachable = qMin(reached.size(), length - 1);
    for (qsizetype start = position + reachable - length; start > position - length && start >= 0; --start) {
        const qsizetype head = position - start;
        if (text.sliced(start, head) != needle.first(head) || QStringView(reached).first(length - head) != needle.sliced(head))
            continue;
        const qsizetype behind = length - head;
        const QChar next = behind < inserted.size() ? inserted.at(behind) : after;
        if (!m_wholeWords || isWholeWord(at(int(start) - 1), next))
            return int(start);
    }
    return findLast(position, inserted.isEmpty() ? after : inserted.front());
}

namespace {

template <typename Unit>
constexpr Unit asciiLower(Unit c)
{
    return c >= 'A' && c <= 'Z' ? Unit(c + ('a' - 'A')) : c;
}

} // namespace

ByteScreen::ByteScreen(const QString &searchText, FindFlags flags)
    : m_fold(!flags.matchCase)
{
    QString needle = withDocumentLineBreaks(searchText);
    makeComparable(needle, m_fold);
    // The longest run of printable ASCII characters: any occurrence holds it.
    const auto printable = [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7f; };
    for (auto run = needle.cbegin(); run != needle.cend();) {
        run = std::find_if(run, needle.cend(), printable);
        const auto end = std::find_if_not(run, needle.cend(), printable);
        if (end - run > m_needle.size())
            m_needle = QStringView(run, end).toLatin1();
        run = end;
    }
    if (m_needle.isEmpty())
        return;
    const qsizetype length = m_needle.size();
    m_shift.fill(length);
    for (qsizetype i = 0; i + 1 < length; ++i) {
        const auto byte = uchar(m_needle[i]);
        m_shift[byte] = length - 1 - i;
        if (m_fold && byte >= 'a' && byte <= 'z')
            m_shift[byte - ('a' - 'A')] = length - 1 - i;
    }
    for (char32_t c = 0x80; c <= 0xffff; ++c) {
        if (QChar::isSurrogate(c))
            continue;
        const char16_t unit = comparableUnit(char16_t(c), m_fold);
        if (unit >= 0x80 || !m_needle.contains(char(unit)))
            continue;
        const QString character{QChar(char16_t(c))};
        m_otherCharacters.push_back(char16_t(c));
        m_others.push_back(character.toUtf8());
        char byte = 0;
        if (Windows1252::encode(character, &byte))
            m_others.push_back(QByteArray(1, byte));
    }
}

// Whether the units hold the needle, letter case aside without matchCase (Horspool). A unit
// beyond a byte is never one of the needle's, which are ASCII.
template <typename Unit>
bool ByteScreen::holdsNeedle(const Unit *data, qsizetype size) const
{
    using Value = std::make_unsigned_t<Unit>;
    const qsizetype length = m_needle.size();
    const auto last = Value(uchar(m_needle.back()));
    const auto comparable = [this](Unit c) { return Value(m_fold ? asciiLower(c) : c); };
    for (qsizetype at = 0; at + length <= size;) {
        const Unit c = data[at + length - 1];
        if (comparable(c) == last) {
            qsizetype i = length - 1;
            while (i > 0 && comparable(data[at + i - 1]) == Value(uchar(m_needle[i - 1])))
                --i;
            if (i == 0)
                return true;
        }
        at += Value(c) < m_shift.size() ? m_shift[Value(c)] : length;
    }
    return false;
}

bool ByteScreen::mayHold(QByteArrayView bytes) const
{
    if (m_needle.isEmpty() || bytes.startsWith("\xff\xfe") || bytes.startsWith("\xfe\xff"))
        return true;
#ifdef Q_OS_WIN
    // Without a mark the text is in the system's code page, which may give characters beyond
    // ASCII that compare equal to an ASCII one in ways the screen does not know.
    if (!bytes.startsWith("\xef\xbb\xbf"))
        return true;
#endif
    const std::string_view text(bytes.data(), size_t(bytes.size()));
    for (const QByteArray &other : m_others)
        if (text.find(std::string_view(other.data(), size_t(other.size()))) != std::string_view::npos)
            return true;
    return holdsNeedle(bytes.data(), bytes.size());
}

bool ByteScreen::mayHold(QStringView text) const
{
    if (m_needle.isEmpty())
        return true;
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    for (const char16_t other : m_otherCharacters)
        if (std::find(units, units + text.size(), other) != units + text.size())
            return true;
    return holdsNeedle(units, text.size());
}

} // namespace Platform
