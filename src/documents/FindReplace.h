#pragma once

#include "platform/TextFind.h"

#include <QList>
#include <QString>
#include <optional>

class QTextCursor;
class QTextDocument;

namespace Platform {
class RichEdit;
class TextPositions;
}

// The Søg commands on a text area: one step to the next occurrence, or "Find alle forekomster" in
// one pass over the text, and the replacing.

// What a search asks for: the search text and its replacement, whole words and letter case,
// the direction, and whether every occurrence is visited.
struct SearchSettings {
    QString text;
    QString replacement;
    Platform::FindFlags flags;
    bool forward = true;
    bool all = false;
};

// Finds, or with replacing replaces, from the selection of the text area: forward from its end,
// backward the last occurrence lying wholly before its start; with all, every occurrence that
// stepping on would visit, as one undo step when replacing. The last occurrence visited is left
// selected, or the caret behind the text inserted last; nothing found leaves the selection as it
// was. Returns the number of occurrences found or replaced.
int searchText(Platform::RichEdit &editor, const SearchSettings &settings, bool replacing);

// The occurrences that searching again and again visits, in the order visited. Forward, the first
// search starts at from and each further one behind the occurrence found; backward, each search
// takes the last occurrence ending at or before from, then at or before the occurrence found. With
// a replacement, every occurrence is replaced as soon as it is found, and the next search sees the
// text so changed: forward it starts behind the inserted text; backward it covers the text before
// the caret, which stands behind the inserted text, so an occurrence may reach into it. Only an
// occurrence lying wholly inside the text just inserted is passed over, since replacing it would
// bring it back without end. Forward the positions are those of the finder's text; backward each
// is a position in the text as the steps before it have left it, the same in the finder's text
// for everything before it.
QList<int> occurrenceChain(const Platform::TextFinder &finder, bool forward, int from,
                           const std::optional<QString> &replacement = std::nullopt);

// Replaces the occurrences of a chain, in the order visited and with positions as occurrenceChain
// gives them, by replacement, as one undo step; positions tells where the text's positions stand
// in the document before the first replacement. Each inserted text takes the format of the
// occurrence, as typing over it would; its line breaks count one character each ("\r\n" too).
// Returns a cursor behind the text inserted last in the chain's order.
QTextCursor replaceChain(QTextDocument *document, const Platform::TextPositions &positions, const QList<int> &chain,
                         int length, const QString &replacement);
