#pragma once

#include "platform/RichEdit.h"

#include <QMenu>
#include <QPointer>
#include <QTextEdit>

class QTextCharFormat;

namespace Platform {

class SlicedRichCopy;
class SpellUnderliner;

// The text area of rich-text documents.
class RichTextArea : public QTextEdit {
    Q_OBJECT
public:
    explicit RichTextArea(QWidget *parent = nullptr);

    void setInnerMargins(int pixels) { setViewportMargins(pixels, 0, pixels, 0); }
    void setWindowMenu(QMenu *menu) { m_menu = menu; }
    QMenu *windowMenu() const { return m_menu; }
    SpellUnderliner *spelling() const { return m_spelling; }

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Pasted rich text keeps its formatting, but only what the document can save.
    void insertFromMimeData(const QMimeData *source) override;

private:
    QPointer<QMenu> m_menu;
    SpellUnderliner *m_spelling;
};

class RichTextEdit : public RichEdit {
    Q_OBJECT
public:
    explicit RichTextEdit(QWidget *parent);

    QAbstractScrollArea *widget() const override { return m_area; }
    QTextDocument *document() const override;
    RichTextArea *area() const { return m_area; }

    // RTF is read as RTF, anything else as plain text; the document is always saved as RTF.
    bool loadFromFile(const QString &path, QString *error = nullptr) override;
    bool saveToFile(const QString &path, QString *error = nullptr) override;
    void takeSnapshot(std::function<void(RecoverySnapshot)> done) override;
    bool restoreCopy(const RecoveredCopy &copy, QString *error = nullptr) override;

    bool hasLongLines() const override { return m_longParagraphs; }
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

    // Formatting of the selection, or of the text typed next when nothing is selected.
    QTextCharFormat selectionFormat() const;
    void mergeFormat(const QTextCharFormat &format);
    Qt::Alignment alignment() const;
    void setAlignment(Qt::Alignment alignment);
    bool bullet() const;
    void setBullet(bool on);
    // Indents of the selected paragraphs, in points.
    void setIndents(double start, double following, double right);

private:
    RichTextArea *m_area;
    SlicedRichCopy *m_copy;
    bool m_longParagraphs = false;
};

} // namespace Platform
