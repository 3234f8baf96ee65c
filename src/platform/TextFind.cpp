#include "platform/TextFind.h"

#include <QStringView>

namespace Platform {

namespace {

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
        } else if (c == QChar::Nbsp) {
            chars[i] = u' ';
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && QChar::isLowSurrogate(chars[i + 1])) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, chars[i + 1]));
            if (QChar::requiresSurrogates(folded)) {
                chars[i] = QChar::highSurrogate(folded);
                chars[i + 1] = QChar::lowSurrogate(folded);
            }
            ++i;
        } else {
            const char32_t folded = QChar::toCaseFolded(char32_t(c));
            if (!QChar::requiresSurrogates(folded))
                chars[i] = char16_t(folded);
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

} // namespace Platform
