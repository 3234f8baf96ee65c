#pragma once

#include <QList>
#include <QString>
#include <optional>

class QTextDocument;

namespace Platform {
class TextFinder;
}

// "Find alle forekomster" of the Søg commands in one pass over the text, and the replacing.

// The occurrences that searching again and again visits, in the order visited, as positions in
// the finder's text. Forward, the first search starts at from and each further one behind the
// occurrence found; backward, each search takes the last occurrence ending at or before from, then
// at or before the occurrence found. With a replacement, every occurrence is replaced as soon as it
// is found: a later search sees the text so changed where it decides a whole word, and never looks
// inside a text that was inserted (backward included, where it would otherwise never end).
QList<int> occurrenceChain(const Platform::TextFinder &finder, bool forward, int from,
                           const std::optional<QString> &replacement = std::nullopt);

// Replaces the occurrences of a chain (positions in the document's text as it is, in the order
// visited, forward or backward) by replacement, as one undo step. Each inserted text takes the
// format of the occurrence, as typing over it would; its line breaks count one character each
// ("\r\n" too). Returns the position behind the text
// inserted last in the chain's order.
int replaceChain(QTextDocument *document, const QList<int> &chain, int length, const QString &replacement);
