#include "documents/FindReplace.h"

#include "platform/TextFind.h"

#include <QTextCursor>
#include <QTextDocument>

QList<int> occurrenceChain(const Platform::TextFinder &finder, bool forward, int from,
                           const std::optional<QString> &replacement)
{
    QList<int> chain;
    const int length = finder.length();
    // The character just outside the range searched next, where replacing has changed the text.
    std::optional<QChar> edge;
    if (forward) {
        for (int start = from, at; (at = finder.find(start, finder.textLength(), edge)) >= 0; start = at + length) {
            chain << at;
            if (replacement)
                edge = !replacement->isEmpty() ? replacement->back() : (at == start && edge ? *edge : finder.at(at - 1));
        }
    } else {
        for (int end = from, at; (at = finder.findLast(end, edge)) >= 0; end = at) {
            chain << at;
            if (replacement)
                edge = !replacement->isEmpty() ? replacement->front()
                                               : (at + length == end && edge ? *edge : finder.at(at + length));
        }
    }
    return chain;
}

int replaceChain(QTextDocument *document, const QList<int> &chain, int length, const QString &replacementText)
{
    if (chain.isEmpty())
        return -1;
    // Counted as the document will count the inserted line breaks.
    const QString replacement = Platform::withDocumentLineBreaks(replacementText);
    const bool ascending = chain.size() < 2 || chain.front() < chain.back();
    QTextCursor cursor(document);
    cursor.beginEditBlock();
    // From the end of the text towards its start, so that the positions still ahead stay valid.
    for (qsizetype i = 0; i < chain.size(); ++i) {
        const int at = chain[ascending ? chain.size() - 1 - i : i];
        cursor.setPosition(at);
        cursor.setPosition(at + length, QTextCursor::KeepAnchor);
        cursor.insertText(replacement);
    }
    cursor.endEditBlock();
    // Every replacement before the last one visited moved it by the difference in length.
    const qsizetype before = ascending ? chain.size() - 1 : 0;
    return int(chain.back() + before * (replacement.size() - length) + replacement.size());
}
