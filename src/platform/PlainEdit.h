#pragma once

#include "platform/RichEdit.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QMenu>
#include <QPointer>

#include <atomic>
#include <memory>
#include <vector>

class QThread;


namespace Platform {

class SlicedCopy;
class SlicedFill;
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

// Files of at least this size are loaded with startLoading in the background.
constexpr qsizetype BackgroundLoadBytes = 2'000'000;

class PlainEdit : public RichEdit {
    Q_OBJECT
public:
    explicit PlainEdit(QWidget *parent);
    ~PlainEdit() override;

    QAbstractScrollArea *widget() const override { return m_area; }
    QTextDocument *document() const override;
    PlainTextArea *area() const { return m_area; }

    bool loadFromFile(const QString &path, QString *error = nullptr) override;
    bool startLoading(const QString &path, QString *error = nullptr) override;
    bool isLoading() const override { return m_loading; }
    bool saveToFile(const QString &path, QString *error = nullptr) override;
    void takeSnapshot(std::function<void(RecoverySnapshot)> done) override;
    bool restoreCopy(const RecoveredCopy &copy, QString *error = nullptr) override;
    // A restored text still going in counts as modified all along, though the document's own
    // flag goes off with each slice that goes in.
    bool isModified() const override;

    QString text() const override;
    int textLength() const override;
    TextPositions positions() const override;
    bool hasLongLines() const override { return m_area->m_inPieces; }
    QString selectedText() const override;
    QString textRange(int from, int to) const override;

    int displayedLineCount() const override;
    bool displayedLinesKnown() const override;
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

    // A file's text made ready to be shown, on any thread: decoded, and when a line is longer
    // than LongLineLength, every line longer than a piece cut into pieces.
    struct Prepared {
        DecodedText decoded; // its text is the text to show
        bool inPieces = false;
        std::vector<int> pieces; // the blocks that continue the line of the block before them
    };

private:
    static Prepared prepare(QByteArray bytes);
    // Decodes the bytes of a file being loaded, on the thread that loads it, and hands its text to
    // the fill a part at a time.
    void prepareInParts(QByteArray bytes);
    void show(Prepared prepared);
    // Takes the encoding and the form of the text before it goes in, and what is marked in the
    // document afterwards.
    void takeForm(const Prepared &prepared);
    void markForm();
    void loadingDone();
    void markLineBreaks(const QByteArray &styles);
    // The line-break style of every line but the last; empty unless the file mixed styles.
    QByteArray lineBreaksOfBlocks() const;
    // Appends the style of the block's break, unless the block is a piece that its line goes on
    // from.
    void appendLineBreak(const QTextBlock &block, QByteArray &styles) const;

    PlainTextArea *m_area;
    WrappedLines *m_lines;
    SlicedCopy *m_copy;
    SlicedFill *m_fill;
    // Decodes a file being loaded.
    std::unique_ptr<QThread> m_preparing;
    // Tells that thread to stop: the document is going away.
    std::atomic_bool m_stopPreparing = false;
    bool m_loading = false;
    QElapsedTimer m_loadClock;
    // What is marked once the text is in.
    Prepared m_form;
    // The encoding and line breaks of the document that the recovery copy being restored was
    // taken from, until its text is in; its text is left empty.
    std::optional<DecodedText> m_restored;
    bool m_mixedLineBreaks = false;
};

} // namespace Platform
