#include "platform/RichTextEdit.h"

#include "platform/LineFile.h"
#include "platform/RecoveryStore.h"
#include "platform/SlicedCopy.h"
#include "platform/Rtf.h"
#include "platform/SpellUnderliner.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPalette>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextList>

namespace Platform {

namespace {
// Indents are given in points; the document counts pixels at 96 an inch.
double pointsToUnits(double points)
{
    return points * 96.0 / 72.0;
}
} // namespace

RichTextArea::RichTextArea(QWidget *parent)
    : QTextEdit(parent)
    , m_spelling(new SpellUnderliner(this))
{
    setTabChangesFocus(false);
    setAcceptRichText(true);
    // White paper under the automatic text colour, also when the desktop's own palette is dark; the
    // designs' sheets say the same.
    QPalette paper = palette();
    paper.setColor(QPalette::Base, Qt::white);
    paper.setColor(QPalette::Text, Qt::black);
    setPalette(paper);
}

void RichTextArea::contextMenuEvent(QContextMenuEvent *event)
{
    showAreaContextMenu(m_menu, m_spelling, event);
}

bool RichTextArea::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QTextEdit::viewportEvent(event);
    auto *help = static_cast<QHelpEvent *>(event);
    return showWebAddressHint(cursorForPosition(help->pos()), help, viewport());
}

void RichTextArea::keyPressEvent(QKeyEvent *event)
{
    if (isCtrlY(event)) {
        redo();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void RichTextArea::insertFromMimeData(const QMimeData *source)
{
    if (source->hasHtml()) {
        // Through our own RTF the pasted text keeps exactly what a saved document would.
        QTextDocument pasted;
        pasted.setHtml(source->html());
        QTextDocument clean;
        readRtf(writeRtf(&pasted), &clean);
        textCursor().insertFragment(QTextDocumentFragment(&clean));
        ensureCursorVisible();
        return;
    }
    QTextEdit::insertFromMimeData(source);
}

RichTextEdit::RichTextEdit(QWidget *parent)
    : RichEdit(parent)
    , m_area(new RichTextArea(parent))
    , m_copy(new SlicedRichCopy(m_area->document(), this))
{
    connect(m_area, &QTextEdit::textChanged, this, &RichEdit::textChanged);
}

QTextDocument *RichTextEdit::document() const
{
    return m_area->document();
}

bool RichTextEdit::loadFromFile(const QString &path, QString *error)
{
    const std::optional<QByteArray> bytes = readFile(path, error);
    if (!bytes)
        return false;
    if (looksLikeRtf(*bytes)) {
        readRtf(*bytes, m_area->document());
    } else {
        const DecodedText decoded = decodeText(*bytes);
        m_area->setPlainText(decoded.text);
    }
    // A paragraph of tens of thousands of characters is laid out whole for every keystroke; what
    // would also happen on every paint, the caret's blinking included, is spared by keeping its
    // layout, and the spell check, which reads the layout at each paint, is switched off.
    m_longParagraphs = false;
    for (QTextBlock block = m_area->document()->begin(); block.isValid(); block = block.next()) {
        if (block.length() > LongLineLength) {
            m_longParagraphs = true;
            block.layout()->setCacheEnabled(true);
        }
    }
    m_area->spelling()->setEnabled(!m_longParagraphs);
    m_area->document()->setModified(false);
    return true;
}

bool RichTextEdit::saveToFile(const QString &path, QString *error)
{
    return writeFileAtomically(path, writeRtf(m_area->document()), error);
}

void RichTextEdit::takeSnapshot(std::function<void(RecoverySnapshot)> done)
{
    m_copy->take([this, done = std::move(done)](RtfContent text) {
        RecoverySnapshot snapshot;
        snapshot.entry.rich = true;
        snapshot.entry.encoding = m_encoding;
        snapshot.entry.lineBreak = m_lineBreak;
        snapshot.rich = std::move(text);
        done(std::move(snapshot));
    });
}

bool RichTextEdit::restoreCopy(const RecoveredCopy &copy, QString *error)
{
    return loadFromFile(copy.textFile, error);
}

int RichTextEdit::displayedLineCount() const
{
    int lines = 0;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lines += block.layout() && block.layout()->lineCount() > 0 ? block.layout()->lineCount() : 1;
    return lines;
}

QPoint RichTextEdit::caretPosition() const
{
    const QTextCursor cursor = m_area->textCursor();
    const QTextBlock caretBlock = cursor.block();
    int line = 0;
    for (QTextBlock block = document()->begin(); block.isValid() && block != caretBlock; block = block.next())
        line += block.layout() && block.layout()->lineCount() > 0 ? block.layout()->lineCount() : 1;
    const int inBlock = cursor.positionInBlock();
    int column = inBlock;
    if (const QTextLayout *layout = caretBlock.layout(); layout && layout->lineCount() > 0) {
        const QTextLine textLine = layout->lineForTextPosition(inBlock);
        if (textLine.isValid()) {
            line += textLine.lineNumber();
            column = inBlock - textLine.textStart();
        }
    }
    return {column, line};
}

void RichTextEdit::setDefaultFont(const QString &family, int points)
{
    QFont font = m_area->document()->defaultFont();
    font.setFamily(family);
    if (points > 0)
        font.setPointSize(points);
    m_area->document()->setDefaultFont(font);
    QTextCharFormat format;
    format.setFontFamilies({family});
    if (points > 0)
        format.setFontPointSize(points);
    m_area->mergeCurrentCharFormat(format);
}

void RichTextEdit::setInnerMargins(int pixels)
{
    m_area->setInnerMargins(pixels);
}

void RichTextEdit::setWordWrap(bool wrap)
{
    m_area->setLineWrapMode(wrap ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
}

bool RichTextEdit::wordWrap() const
{
    return m_area->lineWrapMode() != QTextEdit::NoWrap;
}

void RichTextEdit::setContextMenu(QMenu *menu)
{
    m_area->setWindowMenu(menu);
}

QMenu *RichTextEdit::contextMenu() const
{
    return m_area->windowMenu();
}

void RichTextEdit::recheckSpelling()
{
    m_area->spelling()->recheck();
}

void RichTextEdit::cut()
{
    m_area->cut();
}

void RichTextEdit::copy()
{
    m_area->copy();
}

void RichTextEdit::paste()
{
    m_area->paste();
}

void RichTextEdit::selectAll()
{
    m_area->selectAll();
}

void RichTextEdit::undo()
{
    m_area->undo();
}

void RichTextEdit::deleteSelection()
{
    m_area->textCursor().removeSelectedText();
}

bool RichTextEdit::canPaste() const
{
    return m_area->canPaste();
}

QTextCursor RichTextEdit::textCursor() const
{
    return m_area->textCursor();
}

void RichTextEdit::setTextCursor(const QTextCursor &cursor)
{
    m_area->setTextCursor(cursor);
}

QTextCharFormat RichTextEdit::selectionFormat() const
{
    return m_area->textCursor().charFormat();
}

void RichTextEdit::mergeFormat(const QTextCharFormat &format)
{
    QTextCursor cursor = m_area->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    m_area->mergeCurrentCharFormat(format);
}

Qt::Alignment RichTextEdit::alignment() const
{
    return m_area->alignment();
}

void RichTextEdit::setAlignment(Qt::Alignment alignment)
{
    m_area->setAlignment(alignment);
}

bool RichTextEdit::bullet() const
{
    return m_area->textCursor().currentList() != nullptr;
}

void RichTextEdit::setBullet(bool on)
{
    QTextCursor cursor = m_area->textCursor();
    cursor.beginEditBlock();
    if (on) {
        QTextListFormat format;
        format.setStyle(QTextListFormat::ListDisc);
        cursor.createList(format);
    } else {
        const QTextBlock first = document()->findBlock(cursor.selectionStart());
        const QTextBlock last = document()->findBlock(cursor.selectionEnd());
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (QTextList *list = block.textList())
                list->remove(block);
            QTextBlockFormat plain = block.blockFormat();
            plain.setIndent(0);
            QTextCursor(block).setBlockFormat(plain);
            if (block == last)
                break;
        }
    }
    cursor.endEditBlock();
}

void RichTextEdit::setIndents(double start, double following, double right)
{
    QTextBlockFormat format;
    format.setLeftMargin(pointsToUnits(start + following));
    format.setTextIndent(-pointsToUnits(following));
    format.setRightMargin(pointsToUnits(right));
    m_area->textCursor().mergeBlockFormat(format);
}

} // namespace Platform
