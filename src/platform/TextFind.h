#pragma once

#include <QString>
#include <optional>

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

} // namespace Platform
