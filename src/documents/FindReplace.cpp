#include "documents/FindReplace.h"

#include "platform/RichEdit.h"
#include "platform/TextPieces.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

QList<int> occurrenceChain(const Platform::TextFinder &finder, bool forward, int from,
                           const std::optional<QString> &replacement)
{
    QList<int> chain;
    const int length = finder.length();
    const QString inserted = replacement ? Platform::withDocumentLineBreaks(*replacement) : QString();
    if (forward) {
        // The character just before the range searched next, where replacing has changed the text.
        std::optional<QChar> edge;
        for (int start = from, at; (at = finder.find(start, finder.textLength(), edge)) >= 0; start = at + length) {
            chain << at;
            if (replacement)
                edge = !inserted.isEmpty() ? inserted.back() : (at == start && edge ? *edge : finder.at(at - 1));
        }
        return chain;
    }
    // Backward, the text before end is still the finder's; behind it stands what the last
    // replacement inserted (nothing yet), then the character after.
    QString standing;
    QChar after = finder.at(from);
    for (int end = from, at; (at = finder.findLastBefore(end, standing, after)) >= 0; end = at) {
        chain << at;
        if (replacement) {
            const int behind = at + length;
            if (behind < end)
                after = finder.at(behind);
            else if (behind - end < standing.size())
                after = standing.at(behind - end);
            standing = inserted;
        } else {
            after = finder.at(at);
        }
    }
    return chain;
}

namespace {

// Whether no occurrence of the chain reaches into the text that the replacement before it put in,
// so that every position is one of the text as it was before the first replacement. Forward they
// never do; backward an occurrence may end inside the text just inserted.
bool apart(const QList<int> &chain, int length, bool ascending)
{
    if (ascending)
        return true;
    for (qsizetype i = 1; i < chain.size(); ++i)
        if (chain[i] + length > chain[i - 1])
            return false;
    return true;
}

// Whether all the text of the block has one character format.
bool oneFormat(const QTextBlock &block)
{
    int format = -1;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const int index = it.fragment().charFormatIndex();
        if (format >= 0 && index != format)
            return false;
        format = index;
    }
    return true;
}

// Replaces the occurrences, ascending and apart, in a document whose positions are the text's,
// from the end towards the start. Each replacement costs the document a record for its undo and a
// split of its pieces; the occurrences of one paragraph in one character format therefore go in
// with the text between them as one insertion, which gives the same text in the same format.
void replaceInRuns(QTextDocument *document, QTextCursor &cursor, const QList<int> &occurrences, int length,
                   const QString &replacement)
{
    for (qsizetype last = occurrences.size() - 1; last >= 0;) {
        const QTextBlock block = document->findBlock(occurrences[last]);
        const int start = block.position();
        qsizetype first = last;
        if (occurrences[last] + length < start + block.length() && oneFormat(block)) {
            while (first > 0 && occurrences[first - 1] >= start)
                --first;
        }
        cursor.setPosition(occurrences[first]);
        cursor.setPosition(occurrences[last] + length, QTextCursor::KeepAnchor);
        if (first == last) {
            cursor.insertText(replacement);
        } else {
            const QString text = block.text();
            QString run;
            run.reserve(occurrences[last] + length - occurrences[first] + (last - first + 1) * (replacement.size() - length));
            for (qsizetype i = first, from = occurrences[first]; i <= last; from = occurrences[i++] + length) {
                run += QStringView(text).sliced(from - start, occurrences[i] - from);
                run += replacement;
            }
            cursor.insertText(run);
        }
        last = first - 1;
    }
}

// A single step reads the text a part at a time from where it starts: a step to the next
// occurrence copies and folds no more of a large document than lies between. A part searches the
// occurrences that begin in it, with the characters on either side that tell a whole word.
constexpr int kPartLength = 1 << 18;

// The first occurrence from a position on.
int findForward(const Platform::RichEdit &editor, const QString &searchText, Platform::FindFlags flags, int from)
{
    const int length = editor.textLength();
    const int needle = int(Platform::withDocumentLineBreaks(searchText).size());
    if (needle == 0)
        return -1;
    for (int part = std::max(from, 0); part + needle <= length; part += kPartLength) {
        const int to = std::min(length, part + kPartLength + needle - 1);
        const int textFrom = std::max(0, part - 1);
        const Platform::TextFinder finder(editor.textRange(textFrom, std::min(length, to + 1)), searchText, flags);
        if (const int at = finder.find(part - textFrom, to - textFrom); at >= 0)
            return textFrom + at;
    }
    return -1;
}

// The last occurrence ending at or before a position.
int findBackward(const Platform::RichEdit &editor, const QString &searchText, Platform::FindFlags flags, int end)
{
    const int length = editor.textLength();
    const int needle = int(Platform::withDocumentLineBreaks(searchText).size());
    if (needle == 0)
        return -1;
    for (end = std::min(end, length); end >= needle;) {
        // The occurrences that begin from `first` on; one beginning on the character before, seen
        // here without its own neighbour before it, is the next part's.
        const int first = std::max(0, end - needle - kPartLength + 1);
        const int textFrom = std::max(0, first - 1);
        const Platform::TextFinder finder(editor.textRange(textFrom, std::min(length, end + 1)), searchText, flags);
        if (const int at = finder.findLast(end - textFrom); at >= 0 && textFrom + at >= first)
            return textFrom + at;
        if (first == 0)
            break;
        end = first - 1 + needle;
    }
    return -1;
}

} // namespace

QTextCursor replaceChain(QTextDocument *document, const Platform::TextPositions &positions, const QList<int> &chain,
                         int length, const QString &replacementText)
{
    if (chain.isEmpty())
        return {};
    // Counted as the document will count the inserted line breaks.
    const QString replacement = Platform::withDocumentLineBreaks(replacementText);
    const bool ascending = chain.size() < 2 || chain.front() < chain.back();
    QTextCursor cursor(document);
    if (positions.isIdentity() && !replacement.contains(QLatin1Char('\n')) && apart(chain, length, ascending)) {
        QList<int> occurrences = chain;
        if (!ascending)
            std::reverse(occurrences.begin(), occurrences.end());
        cursor.beginEditBlock();
        replaceInRuns(document, cursor, occurrences, length, replacement);
        cursor.endEditBlock();
        // Behind the text inserted last: forward the last occurrence's, after every other
        // replacement before it; backward the first one's, with nothing replaced before it.
        const int grown = int(replacement.size()) - length;
        cursor.setPosition(ascending ? occurrences.back() + int(occurrences.size() - 1) * grown + int(replacement.size())
                                     : occurrences.front() + int(replacement.size()));
        return cursor;
    }
    QTextCursor last;
    cursor.beginEditBlock();
    // From the end of the text towards its start, so that the positions still ahead stay valid.
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const qsizetype index = ascending ? chain.size() - 1 - i : i;
        const QTextCursor occurrence = Platform::selectText(document, positions, chain[index], length);
        cursor.setPosition(occurrence.selectionStart());
        cursor.setPosition(occurrence.selectionEnd(), QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
        // The replacements still to come lie before it and move it along.
        if (index == chain.size() - 1)
            last = cursor;
    }
    cursor.endEditBlock();
    return last;
}

int searchText(Platform::RichEdit &editor, const SearchSettings &settings, bool replacing)
{
    const int start = editor.selectionStart();
    const int end = start + editor.selectionLength();
    QList<int> visited;
    if (settings.all) {
        // Every occurrence in one pass, exactly those that stepping from one to the next would
        // visit, so that a large document neither lays out nor signals once per occurrence.
        const Platform::TextFinder finder(editor.text(), settings.text, settings.flags);
        visited = occurrenceChain(finder, settings.forward, settings.forward ? end : start,
                                  replacing ? std::optional(settings.replacement) : std::nullopt);
    } else if (const int at = settings.forward ? findForward(editor, settings.text, settings.flags, end)
                                               : findBackward(editor, settings.text, settings.flags, start);
               at >= 0) {
        visited << at;
    }
    if (!visited.isEmpty()) {
        const int length = int(Platform::withDocumentLineBreaks(settings.text).size());
        if (replacing)
            editor.setTextCursor(replaceChain(editor.document(), editor.positions(), visited, length, settings.replacement));
        else
            editor.setSelection(visited.back(), length);
    }
    return int(visited.size());
}
