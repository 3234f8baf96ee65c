#pragma once

#include "platform/RichEdit.h"

#include <QPlainTextEdit>
#include <QMenu>
#include <QPointer>


namespace Platform {

class SpellUnderliner;

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

private:
    QPointer<QMenu> m_menu;
    SpellUnderliner *m_spelling;
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

    QString text() const override;
    int textLength() const override;
    int displayedLineCount() const override;
    QPoint caretPosition() const override;

    bool isModified() const override;
    void setModified(bool modified) override;

    int selectionStart() const override;
    int selectionLength() const override;
    QString selectedText() const override;
    void setSelection(int start, int length) override;
    void replaceSelection(const QString &text) override;
    QString caretBlockText(int *offset) const override;

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
    bool canUndo() const override;
    bool canPaste() const override;
    bool hasSelection() const override;

private:
    PlainTextArea *m_area;
};

} // namespace Platform
