#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Our own RTF reader and writer: Qt has none. Indents in the document are in its own units,
// which the program takes as pixels at 96 per inch.
namespace Platform {

constexpr double twipsPerDocumentUnit = 15.0; // 1440 twips an inch, 96 units an inch

// Whether the bytes are RTF: "{\rtf" at the start, after white space.
bool looksLikeRtf(const QByteArray &bytes);

// Replaces the document's content with what the RTF holds. Malformed input (unbalanced braces,
// a truncated file, absurd parameters, deep nesting) loads what it can; it never crashes, never
// hangs and never takes memory out of proportion to the input.
void readRtf(const QByteArray &bytes, QTextDocument *document);

// The text readRtf puts into a document, each paragraph break a '\n': for searching the visible
// text without the cost of building the document.
QString rtfText(const QByteArray &bytes);

// The document as RTF 1.x with \ansicpg1252: everything the rich-text window can format.
QByteArray writeRtf(const QTextDocument *document);

} // namespace Platform
