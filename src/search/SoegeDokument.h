#pragma once

#include <QFont>
#include <QList>
#include <QString>

// The invisible reader of the search in documents: one file at a time, loaded as the document
// windows load it, and asked for the screen line that holds a position.
//
// No text widget is made for it. A file is read the way the text areas read one: content that is
// RTF through our RTF reader, anything else through the text codec; only the visible text is
// kept, with a line break counted as one character, as the editor's positions count. A screen
// line is that of a text area 400 pixels wide in the default font; only the paragraph that holds
// a hit is laid out, never the whole file, so a large file costs no more than reading it.
class TSearchDocument {
public:
    static constexpr int lineWidth = 400;

    TSearchDocument();

    // Replaces the text with the file's; false, leaving no text, when the file cannot be read.
    bool LoadFromFile(const QString &path);
    const QString &text() const { return m_text; }
    // The text of the wrapped line that holds the character at position.
    QString lineAt(int position);

private:
    struct Line {
        int start = 0; // from the paragraph's start
        int length = 0;
    };
    void layOutParagraph(int start, int end);

    QString m_text;
    QFont m_font;
    // The paragraph laid out last: hits come in text order, so every hit of one paragraph uses
    // one layout.
    int m_paragraphStart = -1;
    QList<Line> m_lines;
};
