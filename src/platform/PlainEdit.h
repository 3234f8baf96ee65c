#pragma once

#include "platform/RichEdit.h"

#include <QPlainTextEdit>
#include <QMenu>
#include <QPointer>


namespace Platform {

class SlicedCopy;
class SpellUnderliner;
class WrappedLines;

// The text area of plain-text documents: QPlainTextEdit lays out only what is shown, so large
// files stay fast.
class PlainTextArea : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainTextArea(QWidget *parent = nullptr);

    void setInnerMargins(int pixels);
    void setWindowMenu(QMenu *menu) { m_menu = menu; }
    QMenu *windowMenu() const { return m_menu; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    // Web addresses in the text show themselves as a hint.
    bool viewportEvent(QEvent *event) override;
    // A plain text file knows only line breaks: Shift+Enter, which Qt makes a line separator
    // (U+2028) that no ANSI file can hold, and separators in pasted text become line breaks too.
    void keyPressEvent(QKeyEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
    // What is copied or dragged is the text as the file holds it, without the piece breaks.
    QMimeData *createMimeDataFromSelection() const override;

private:
    QPointer<QMenu> m_menu;
    SpellUnderliner *m_spelling;
    // Long lines are shown in pieces (see TextPieces.h).
    bool m_inPieces = false;
    friend class PlainEdit;
};

class PlainEdit : public RichEdit {
    Q_OBJECT
public:
    explicit PlainEdit(QWidget *parent);

    QAbstractScrollArea *widget() const override { return m_area; }
    QTextDocument *document() const override;
    PlainTextArea *area() const { return m_area; }

    bool loadFromFile(const QString &path, QString *error = nullptr) override;
    bool saveToFile(const QString &path, QString *error = nullptr) override;
    void takeSnapshot(std::function<void(RecoverySnapshot)> done) override;
    bool restoreCopy(const RecoveredCopy &copy, QString *error = nullptr) override;

    QString text() const override;
    int textLength() const override;
    TextPositions positions() const override;
    bool hasLongLines() const override { return m_area->m_inPieces; }
    QString selectedText() const override;

    int displayedLineCount() const override;
    QPoint caretPosition() const override;
    void setDefaultFont(const QString &family, int points) override;
    void setInnerMargins(int pixels) override;
    void setWordWrap(bool wrap) override;
    bool wordWrap() const override;
    void setContextMenu(QMenu *menu) override;
    QMenu *contextMenu() const override;
    void recheckSpelling() override;

    void cut() override;
    void copy() override;
    void paste() override;
    void selectAll() override;
    void undo() override;
    void deleteSelection() override;
    bool canPaste() const override;
    QTextCursor textCursor() const override;
    void setTextCursor(const QTextCursor &cursor) override;

private:
    // Shows text, its lines longer than a piece in pieces when one of them is longer than
    // LongLineLength; true when it did.
    bool showText(const QString &text);
    void markLineBreaks(const QByteArray &styles);
    // The line-break style of every line but the last; empty unless the file mixed styles.
    QByteArray lineBreaksOfBlocks() const;

    PlainTextArea *m_area;
    WrappedLines *m_lines;
    SlicedCopy *m_copy;
    bool m_mixedLineBreaks = false;
};

} // namespace Platform
