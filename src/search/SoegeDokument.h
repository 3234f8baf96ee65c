#pragma once

#include <QFont>
#include <QList>
#include <QString>

#include <memory>

namespace Platform {
class ByteScreen;
}

// The screen line that holds a hit: the text of the wrapped line of the search reader (below) in
// which the hit's position stands. A line is laid out only when it is first asked for: a common
// word found in thousands of files would otherwise cost a layout of every paragraph it stands in,
// while the list shows a screenful of them. A short paragraph is kept for that; the line of a long
// one, which would cost too much memory to keep, is laid out at once.
class THitLine {
public:
    // A line already known.
    explicit THitLine(QString text);
    // The line that holds position (from the paragraph's start) of paragraph, laid out with font.
    THitLine(QString paragraph, int position, const QFont &font);

    QString text() const;

private:
    struct Pending {
        QString paragraph;
        int position = 0;
        QFont font;
    };
    mutable QString m_text;
    mutable std::unique_ptr<Pending> m_pending;
};

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
    // The longest paragraph whose lines are laid out only when shown.
    static constexpr int keptParagraphLength = 1'000;

    TSearchDocument();

    // Replaces the text with the file's; false, leaving no text, when the file cannot be read.
    // A file that the screen rules out, by its bytes or (RTF) by its text, leaves no text either:
    // it holds no hit.
    bool LoadFromFile(const QString &path, const Platform::ByteScreen &screen);
    const QString &text() const { return m_text; }
    // The wrapped line that holds the character at position.
    THitLine lineAt(int position);

    // The text of the wrapped line that holds position (from the paragraph's start).
    static QString wrappedLine(const QString &paragraph, int position, const QFont &font);

private:
    QString m_text;
    QByteArray m_bytes;
    QFont m_font;
    // The paragraph asked for last: hits come in text order, so every hit of one paragraph shares
    // one copy.
    int m_paragraphStart = -1;
    QString m_paragraph;
};
