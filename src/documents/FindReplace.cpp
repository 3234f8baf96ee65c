#include "documents/FindReplace.h"

#include "platform/RichEdit.h"
#include "platform/TextPieces.h"

#include <QTextCursor>
#include <QTextDocument>

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

QTextCursor replaceChain(QTextDocument *document, const Platform::TextPositions &positions, const QList<int> &chain,
                         int length, const QString &replacementText)
{
    if (chain.isEmpty())
        return {};
    // Counted as the document will count the inserted line breaks.
    const QString replacement = Platform::withDocumentLineBreaks(replacementText);
    const bool ascending = chain.size() < 2 || chain.front() < chain.back();
    QTextCursor last;
    QTextCursor cursor(document);
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
    const Platform::TextFinder finder(editor.text(), settings.text, settings.flags);
    QList<int> visited;
    if (settings.all) {
        // Every occurrence in one pass, exactly those that stepping from one to the next would
        // visit, so that a large document neither lays out nor signals once per occurrence.
        visited = occurrenceChain(finder, settings.forward, settings.forward ? end : start,
                                  replacing ? std::optional(settings.replacement) : std::nullopt);
    } else if (const int at = settings.forward ? finder.find(end, finder.textLength()) : finder.findLast(start); at >= 0) {
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
