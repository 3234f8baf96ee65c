#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace Platform {

struct FindFlags {
    bool wholeWords = false;
    bool matchCase = false;
};

// A search or replacement text with its line breaks as the document counts them: "\r\n", "\r" and
// the paragraph separator each become one "\n", which matches (or inserts) one line break.
QString withDocumentLineBreaks(QString text);

// The text area's find, on a copy of its text (positions as RichEdit counts them, a line break
// being "\n"). The search text is literal, characters such as "." or "*" included. A whole word
// has no letter or digit on either side (Qt's rule, so æ, ø and å are letters); the neighbours are
// those of the whole text, also when they lie outside the searched range. Without matchCase
// letters are compared by their simple case folding, one character for one, so positions never
// shift. A no-break space is found as a space, as Qt's own find does.
//
// The copy is taken once; a search then costs the distance it scans, so walking through every
// occurrence of a large document stays linear.
class TextFinder {
public:
    TextFinder(QString text, const QString &searchText, FindFlags flags);

    int textLength() const { return int(m_text.size()); }
    int length() const { return int(m_needle.size()); }
    // The character at a position of the text as the finder compares it (folded without
    // matchCase); a null character outside the text.
    QChar at(int position) const;

    // The first occurrence lying wholly inside [from, to), or -1. The range is always searched
    // forward. beforeFrom, when given, is the character that now stands before from (null for
    // none): the text there has changed since the copy was taken.
    int find(int from, int to, std::optional<QChar> beforeFrom = {}) const;
    // The last occurrence ending at or before end, or -1: what searching [0, end) forward again and
    // again, each time one character behind the last occurrence found, ends with. atEnd, when given,
    // is the character that now stands at end.
    int findLast(int end, std::optional<QChar> atEnd = {}) const;
    // The last occurrence beginning before position, in the text as it reads when inserted stands
    // at position, followed by the character after (null for the end of the text): the search of a
    // backward run behind the replacement it has just made. The occurrence may reach into
    // inserted but not past it, and one lying wholly inside inserted is passed over: replacing it
    // would bring it back again and again.
    int findLastBefore(int position, const QString &inserted, QChar after) const;

private:
    static bool isWholeWord(QChar before, QChar after);

    QString m_text;
    QString m_needle;
    bool m_wholeWords;
    bool m_fold;
};

// A first look at the bytes of a file before they are decoded (decodeText) and searched, or at a
// text before it is folded and searched: whether it can hold the search text at all. Decoding and
// folding a whole file costs many times a search of its bytes, and a search over a folder tree
// mostly meets files without a hit.
//
// The bytes are searched for the longest run of printable ASCII characters in the search text,
// which every occurrence holds. Such a character is one byte in UTF-8 and in Windows-1252, and a
// byte below 0x80 is always that character there, so the bytes hold the run exactly where the
// decoded text does, letter case aside. The few characters beyond ASCII that compare equal to one
// of the run's (KELVIN SIGN as k, LONG S as s, a no-break space as a space) are looked for on
// their own: a file that holds one of them is decoded and searched. A search text without such a
// run, a file with a UTF-16 mark, and on Windows a file in the system's code page are never ruled
// out. A text is looked at the same way, a character for a byte: the run's characters and the
// others that compare equal to them.
class ByteScreen {
public:
    ByteScreen(const QString &searchText, FindFlags flags);

    // False only when the text decodeText makes of the bytes surely holds no occurrence.
    bool mayHold(QByteArrayView bytes) const;
    // False only when the text surely holds no occurrence: what RTF gives, whose bytes cannot tell.
    bool mayHold(QStringView text) const;

private:
    template <typename Unit>
    bool holdsNeedle(const Unit *data, qsizetype size) const;

    QByteArray m_needle; // the run, comparable; empty when the bytes cannot tell
    bool m_fold = true;
    // The distance to move the needle on by the byte under its last place (Horspool).
    std::array<qsizetype, 256> m_shift{};
    // The bytes of the characters beyond ASCII that compare equal to one of the needle's, in UTF-8
    // and in Windows-1252.
    std::vector<QByteArray> m_others;
    // Those characters themselves.
    std::vector<char16_t> m_otherCharacters;
};

} // namespace Platform
