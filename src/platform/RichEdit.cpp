#include "platform/RichEdit.h"

#include "platform/SpellUnderliner.h"
#include "platform/SystemError.h"
#include "platform/WebAddress.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMenu>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolTip>

namespace Platform {

std::optional<QByteArray> RichEdit::readFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = fileErrorReason(file);
        return std::nullopt;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = fileErrorReason(file);
        return std::nullopt;
    }
    return bytes;
}

QString RichEdit::text() const
{
    // toPlainText() would turn no-break spaces into spaces; the raw text keeps every character.
    QString raw = document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return raw;
}

QString RichEdit::textRange(int from, int to) const
{
    QTextCursor cursor(document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return text;
}

int RichEdit::textLength() const
{
    return document()->characterCount() - 1;
}

bool RichEdit::isModified() const
{
    return document()->isModified();
}

void RichEdit::setModified(bool modified)
{
    document()->setModified(modified);
}

int RichEdit::selectionStart() const
{
    return positions().toText(textCursor().selectionStart());
}

int RichEdit::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    const TextPositions map = positions();
    return map.toText(cursor.selectionEnd()) - map.toText(cursor.selectionStart());
}

QString RichEdit::selectedText() const
{
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return selected;
}

void RichEdit::setSelection(int start, int length)
{
    const int last = textLength();
    const int anchor = qBound(0, start, last);
    const int caret = qBound(0, start + length, last);
    QTextCursor cursor = selectText(document(), positions(), qMin(anchor, caret), qAbs(caret - anchor));
    if (caret < anchor) {
        const int begin = cursor.selectionStart();
        cursor.setPosition(cursor.selectionEnd());
        cursor.setPosition(begin, QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

void RichEdit::replaceSelection(const QString &newText)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(newText);
    setTextCursor(cursor);
}

QString RichEdit::caretBlockText(int *offset) const
{
    const QTextCursor cursor = textCursor();
    if (offset)
        *offset = cursor.positionInBlock();
    return cursor.block().text();
}

bool RichEdit::canUndo() const
{
    return document()->isUndoAvailable();
}

bool RichEdit::hasSelection() const
{
    return textCursor().hasSelection();
}

bool isCtrlY(const QKeyEvent *event)
{
    return event->keyCombination() == QKeyCombination(Qt::ControlModifier, Qt::Key_Y);
}

void showAreaContextMenu(QMenu *windowMenu, SpellUnderliner *spelling, QContextMenuEvent *event)
{
    if (windowMenu) {
        windowMenu->popup(event->globalPos());
        return;
    }
    QMenu *menu = spelling->createContextMenu(spelling->contextMenuPosition(*event));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool showWebAddressHint(const QTextCursor &cursorAtPointer, QHelpEvent *event, QWidget *viewport)
{
    const QString address = webAddressAt(cursorAtPointer.block().text(), cursorAtPointer.positionInBlock());
    if (address.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), address, viewport);
    return true;
}

} // namespace Platform
