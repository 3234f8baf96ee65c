#include "platform/PlainEdit.h"

#include "platform/LineFile.h"
#include "platform/SpellUnderliner.h"
#include "platform/WebAddress.h"

#include <QContextMenuEvent>
#include <QFile>
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>
#include <QToolTip>

namespace Platform {

PlainTextArea::PlainTextArea(QWidget *parent)
    : QPlainTextEdit(parent)
    , m_spelling(new SpellUnderliner(this))
{
    setTabChangesFocus(false);
}

void PlainTextArea::setInnerMargins(int pixels)
{
    setViewportMargins(pixels, 0, pixels, 0);
}

void PlainTextArea::contextMenuEvent(QContextMenuEvent *event)
{
    if (m_menu) {
        m_menu->popup(event->globalPos());
        return;
    }
    // Without a menu of the window's own, the control's menu offers spelling corrections.
    QMenu *menu = m_spelling->createContextMenu(m_spelling->contextMenuPosition(*event));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

bool PlainTextArea::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QPlainTextEdit::viewportEvent(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QTextCursor cursor = cursorForPosition(help->pos());
    const QString address = webAddressAt(cursor.block().text(), cursor.positionInBlock());
    if (address.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), address, viewport());
    return true;
}

PlainEdit::PlainEdit(QWidget *parent)
    : RichEdit(parent)
    , m_area(new PlainTextArea(parent))
{
    connect(m_area, &QPlainTextEdit::textChanged, this, &RichEdit::textChanged);
}

QTextDocument *PlainEdit::document() const
{
    return m_area->document();
}

bool PlainEdit::loadFromFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        return false;
    }
    file.close();
    DecodedText decoded = decodeText(bytes);
    m_encoding = decoded.encoding;
    m_lineBreak = decoded.lineBreak;
    m_area->setPlainText(decoded.text);
    m_area->document()->setModified(false);
    return true;
}

bool PlainEdit::saveToFile(const QString &path, QString *error)
{
    TextEncoding used = m_encoding;
    const QByteArray bytes = encodeText(text(), m_encoding, m_lineBreak, &used);
    if (!writeFileAtomically(path, bytes, error))
        return false;
    // A character that the old encoding could not hold moved the document to UTF-8 for good.
    m_encoding = used;
    return true;
}

QString PlainEdit::text() const
{
    // toPlainText() would turn no-break spaces into spaces; the raw text keeps every character.
    QString raw = m_area->document()->toRawText();
    raw.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return raw;
}

int PlainEdit::textLength() const
{
    return m_area->document()->characterCount() - 1;
}

int PlainEdit::displayedLineCount() const
{
    return m_area->document()->lineCount();
}

QPoint PlainEdit::caretPosition() const
{
    const QTextCursor cursor = m_area->textCursor();
    const QTextBlock block = cursor.block();
    const int inBlock = cursor.position() - block.position();
    int line = block.firstLineNumber();
    int column = inBlock;
    if (const QTextLayout *layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(inBlock);
        if (textLine.isValid()) {
            line += textLine.lineNumber();
            column = inBlock - textLine.textStart();
        }
    }
    return {column, line};
}

bool PlainEdit::isModified() const
{
    return m_area->document()->isModified();
}

void PlainEdit::setModified(bool modified)
{
    m_area->document()->setModified(modified);
}

int PlainEdit::selectionStart() const
{
    return m_area->textCursor().selectionStart();
}

int PlainEdit::selectionLength() const
{
    const QTextCursor cursor = m_area->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

QString PlainEdit::selectedText() const
{
    QString selected = m_area->textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    return selected;
}

void PlainEdit::setSelection(int start, int length)
{
    QTextCursor cursor = m_area->textCursor();
    const int last = textLength();
    cursor.setPosition(qBound(0, start, last));
    cursor.setPosition(qBound(0, start + length, last), QTextCursor::KeepAnchor);
    m_area->setTextCursor(cursor);
}

void PlainEdit::replaceSelection(const QString &newText)
{
    QTextCursor cursor = m_area->textCursor();
    cursor.insertText(newText);
    m_area->setTextCursor(cursor);
}

QString PlainEdit::caretBlockText(int *offset) const
{
    const QTextCursor cursor = m_area->textCursor();
    if (offset)
        *offset = cursor.positionInBlock();
    return cursor.block().text();
}

void PlainEdit::setDefaultFont(const QString &family, int points)
{
    QFont font = m_area->font();
    font.setFamily(family);
    if (points > 0)
        font.setPointSize(points);
    m_area->setFont(font);
}

void PlainEdit::setInnerMargins(int pixels)
{
    m_area->setInnerMargins(pixels);
}

void PlainEdit::setWordWrap(bool wrap)
{
    m_area->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    m_area->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
}

bool PlainEdit::wordWrap() const
{
    return m_area->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void PlainEdit::setContextMenu(QMenu *menu)
{
    m_area->setWindowMenu(menu);
}

QMenu *PlainEdit::contextMenu() const
{
    return m_area->windowMenu();
}

void PlainEdit::recheckSpelling()
{
    m_area->m_spelling->recheck();
}

void PlainEdit::cut()
{
    m_area->cut();
}

void PlainEdit::copy()
{
    m_area->copy();
}

void PlainEdit::paste()
{
    m_area->paste();
}

void PlainEdit::selectAll()
{
    m_area->selectAll();
}

void PlainEdit::undo()
{
    m_area->undo();
}

void PlainEdit::deleteSelection()
{
    m_area->textCursor().removeSelectedText();
}

bool PlainEdit::canUndo() const
{
    return m_area->document()->isUndoAvailable();
}

bool PlainEdit::canPaste() const
{
    return m_area->canPaste();
}

bool PlainEdit::hasSelection() const
{
    return m_area->textCursor().hasSelection();
}

} // namespace Platform
