#include "platform/PlainEdit.h"

#include "platform/LineFile.h"
#include "platform/RecoveryStore.h"
#include "platform/SlicedCopy.h"
#include "platform/SlicedFill.h"
#include "platform/SpellUnderliner.h"
#include "platform/TextPieces.h"
#include "platform/WrappedLines.h"

#include <QContextMenuEvent>
#include <QLoggingCategory>
#include <QKeyEvent>
#include <QMimeData>
#include <QMenu>
#include <QTextBlock>
#include <QTextLayout>
#include <QThread>

namespace Platform {

// Tells how long a file took to load in the background, for measuring: QT_LOGGING_RULES
// "kyxtavlo.loading.info=true" shows it.
Q_LOGGING_CATEGORY(loadingLog, "kyxtavlo.loading", QtWarningMsg)

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
    showAreaContextMenu(m_menu, m_spelling, event);
}

bool PlainTextArea::viewportEvent(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QPlainTextEdit::viewportEvent(event);
    auto *help = static_cast<QHelpEvent *>(event);
    return showWebAddressHint(cursorForPosition(help->pos()), help, viewport());
}

void PlainTextArea::keyPressEvent(QKeyEvent *event)
{
    if (isCtrlY(event)) {
        redo();
        return;
    }
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !(event->modifiers() & Qt::ShiftModifier)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent plainEnter(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                         event->isAutoRepeat(), ushort(event->count()));
    QPlainTextEdit::keyPressEvent(&plainEnter);
    event->setAccepted(plainEnter.isAccepted());
}

void PlainTextArea::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    if (!text.contains(QChar::LineSeparator) && !text.contains(QChar::ParagraphSeparator)) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n')).replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    insertPlainText(text);
    ensureCursorVisible();
}

QMimeData *PlainTextArea::createMimeDataFromSelection() const
{
    if (!m_inPieces)
        return QPlainTextEdit::createMimeDataFromSelection();
    const QTextCursor cursor = textCursor();
    auto *data = new QMimeData;
    data->setText(textBetween(document(), cursor.selectionStart(), cursor.selectionEnd()));
    return data;
}

PlainEdit::PlainEdit(QWidget *parent)
    : RichEdit(parent)
    , m_area(new PlainTextArea(parent))
    , m_lines(new WrappedLines(m_area))
    , m_copy(new SlicedCopy(m_area->document(), [this] { return m_area->m_inPieces; }, this))
    , m_fill(new SlicedFill(m_area))
{
    // The text going in while a file loads is no change of the user's.
    connect(m_area, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            emit textChanged();
    });
    connect(m_fill, &SlicedFill::progress, this, &RichEdit::loadProgress);
    connect(m_fill, &SlicedFill::finished, this, &PlainEdit::loadingDone);
    connect(m_lines, &WrappedLines::counted, this, &RichEdit::displayedLinesCounted);
}

PlainEdit::~PlainEdit()
{
    m_stopPreparing = true;
    if (m_preparing)
        m_preparing->wait();
}

QTextDocument *PlainEdit::document() const
{
    return m_area->document();
}

bool PlainEdit::loadFromFile(const QString &path, QString *error)
{
    std::optional<QByteArray> bytes = readFile(path, error);
    if (!bytes)
        return false;
    show(prepare(std::move(*bytes)));
    return true;
}

bool PlainEdit::startLoading(const QString &path, QString *error)
{
    std::optional<QByteArray> bytes = readFile(path, error);
    if (!bytes)
        return false;
    if (bytes->size() < BackgroundLoadBytes) {
        show(prepare(std::move(*bytes)));
        return true;
    }
    m_loading = true;
    m_loadClock.start();
    // Read again, the file's text replaces what the document held.
    m_area->document()->clear();
    m_area->m_inPieces = false;
    m_area->setTextCursor(QTextCursor(m_area->document()));
    // The scroll bar that the text will need is there from the start: appearing after the first
    // slice, it would narrow the area, and Qt, laying the text out again for the new width,
    // forgets the width of its widest line but not which block that was. That block laid out
    // again would then have every block of the full document laid out to find the widest one.
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_area->setReadOnly(true);
    m_area->m_spelling->setEnabled(false);
    m_fill->start();
    // Decoded on a thread of its own while the window is made and shown, a part at a time, each
    // part going into the document while the next ones are decoded.
    m_stopPreparing = false;
    m_preparing.reset(QThread::create([this, bytes = std::move(*bytes)]() mutable {
        prepareInParts(std::exchange(bytes, QByteArray()));
    }));
    connect(m_preparing.get(), &QThread::finished, this, [this] {
        m_preparing->wait();
        m_preparing.reset();
        m_fill->end();
    });
    m_preparing->start();
    return true;
}

void PlainEdit::prepareInParts(QByteArray bytes)
{
    // What is handed over reaches the user-interface thread in the order it is handed.
    const auto handOver = [this](auto function) {
        QMetaObject::invokeMethod(this, std::move(function), Qt::QueuedConnection);
    };
    const auto addPart = [this, handOver](QString part, int percent) {
        handOver([this, part = std::move(part), percent]() mutable { m_fill->add(std::move(part), percent); });
    };
    std::optional<TextDecoder> decoder(std::in_place, bytes);
    if (decoder->mayHaveLineLongerThan(LongLineLength)) {
        // Long lines are cut into pieces, which takes the whole text; the form it is shown in
        // (no wrapping) is taken before the text goes in.
        decoder.reset();
        Prepared prepared = prepare(std::exchange(bytes, QByteArray()));
        QStringList parts = SlicedFill::parts(std::exchange(prepared.decoded.text, QString()));
        handOver([this, prepared] { takeForm(prepared); });
        qsizetype size = 0;
        for (const QString &part : std::as_const(parts))
            size += part.size();
        qsizetype done = 0;
        for (QString &part : parts) {
            if (m_stopPreparing)
                return;
            done += part.size();
            addPart(std::exchange(part, QString()), int(done * 100 / std::max<qsizetype>(size, 1)));
        }
        return;
    }
    // The decoder holds the bytes now, and lets go of them with its last part.
    bytes = QByteArray();
    while (!decoder->atEnd() && !m_stopPreparing) {
        QString part = decoder->next(SlicedFill::PartCharacters);
        addPart(std::move(part), int(decoder->position() * 100 / std::max<qsizetype>(1, decoder->size())));
    }
    Prepared form;
    form.decoded.encoding = decoder->encoding();
    form.decoded.lineBreak = decoder->lineBreak();
    form.decoded.lineBreaks = decoder->lineBreaks();
    handOver([this, form] { takeForm(form); });
}

void PlainEdit::loadingDone()
{
    m_area->setTextCursor(QTextCursor(m_area->document()));
    m_area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    markForm();
    m_area->setReadOnly(false);
    m_loading = false;
    qCInfo(loadingLog, "loaded %d characters in %lld ms", m_area->document()->characterCount() - 1,
           qint64(m_loadClock.elapsed()));
    emit loaded();
}

void PlainEdit::show(Prepared prepared)
{
    takeForm(prepared);
    m_area->setPlainText(prepared.decoded.text);
    markForm();
}

void PlainEdit::takeForm(const Prepared &prepared)
{
    // A recovery copy's text is saved in the form of the document it was taken from.
    const DecodedText &form = m_restored ? *m_restored : prepared.decoded;
    m_encoding = form.encoding;
    m_lineBreak = form.lineBreak;
    m_area->m_inPieces = prepared.inPieces;
    // Laying out and checking a long line whole, for each keystroke, is what makes such files
    // hang; in pieces without wrapping no layout is longer than a piece. Switched off before the
    // text goes in, the wrapping costs no layout of the text.
    if (prepared.inPieces)
        setWordWrap(false);
    m_form.decoded.lineBreaks = form.lineBreaks;
    m_form.pieces = prepared.pieces;
}

void PlainEdit::markForm()
{
    markPieces(m_area->document(), m_form.pieces);
    m_area->m_spelling->setEnabled(!m_area->m_inPieces);
    markLineBreaks(m_form.decoded.lineBreaks);
    m_form = Prepared();
    // A restored text is what was never saved.
    m_area->document()->setModified(m_restored.has_value());
    m_restored.reset();
}

bool PlainEdit::saveToFile(const QString &path, QString *error)
{
    if (m_loading) {
        // Only part of the text is there: written now, the file would lose the rest.
        if (error)
            *error = QStringLiteral("Dokumentet er ikke hentet helt endnu.");
        return false;
    }
    TextEncoding used = m_encoding;
    const QByteArray bytes = encodeText(text(), m_encoding, m_lineBreak, &used, lineBreaksOfBlocks());
    if (!writeFileAtomically(path, bytes, error))
        return false;
    // A character that the old encoding could not hold moved the document to UTF-8 for good.
    m_encoding = used;
    return true;
}

void PlainEdit::takeSnapshot(std::function<void(RecoverySnapshot)> done)
{
    SlicedCopy::BlockNote lineBreakOf;
    if (m_mixedLineBreaks)
        lineBreakOf = [this](const QTextBlock &block, QByteArray &styles) { appendLineBreak(block, styles); };
    m_copy->take(
        [this, done = std::move(done)](QStringList text, QByteArray lineBreaks) {
            RecoverySnapshot snapshot;
            snapshot.entry.rich = false;
            snapshot.entry.encoding = m_encoding;
            snapshot.entry.lineBreak = m_lineBreak;
            snapshot.text = std::move(text);
            snapshot.lineBreaks = std::move(lineBreaks);
            done(std::move(snapshot));
        },
        std::move(lineBreakOf));
}

bool PlainEdit::restoreCopy(const RecoveredCopy &copy, QString *error)
{
    m_restored = DecodedText{{}, copy.entry.encoding, copy.entry.lineBreak, copy.lineBreaks};
    if (startLoading(copy.textFile, error))
        return true;
    m_restored.reset();
    return false;
}

bool PlainEdit::isModified() const
{
    return m_restored || RichEdit::isModified();
}

PlainEdit::Prepared PlainEdit::prepare(QByteArray bytes)
{
    Prepared prepared;
    prepared.decoded = decodeText(bytes);
    bytes = QByteArray();
    const QString &text = prepared.decoded.text;
    bool longLines = false;
    for (qsizetype start = 0, end; !longLines && start <= text.size(); start = end + 1) {
        end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        longLines = end - start > LongLineLength;
    }
    if (!longLines)
        return prepared;
    QString shown;
    shown.reserve(text.size() + text.size() / PieceLength + 1);
    int blocks = 0;
    for (qsizetype start = 0, end; start <= text.size(); start = end + 1) {
        end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).sliced(start, end - start);
        qsizetype from = 0;
        for (const qsizetype piece : pieceStarts(line)) {
            shown += line.sliced(from, piece - from);
            shown += QLatin1Char('\n');
            prepared.pieces.push_back(++blocks);
            from = piece;
        }
        shown += line.sliced(from);
        if (end < text.size()) {
            shown += QLatin1Char('\n');
            ++blocks;
        }
    }
    prepared.decoded.text = std::move(shown);
    prepared.inPieces = true;
    return prepared;
}

// A file that mixes line-break styles keeps each line's own: the user state of the line's last
// block holds it. Blocks made since (a new line, a paste) have no state and take the document's
// common style.
void PlainEdit::markLineBreaks(const QByteArray &styles)
{
    m_mixedLineBreaks = !styles.isEmpty();
    QTextBlock block = m_area->document()->firstBlock();
    for (const char style : styles) {
        while (continuesLine(block.next()))
            block = block.next();
        block.setUserState(style);
        block = block.next();
    }
}

QByteArray PlainEdit::lineBreaksOfBlocks() const
{
    QByteArray styles;
    if (!m_mixedLineBreaks)
        return styles;
    styles.reserve(m_area->document()->blockCount());
    for (QTextBlock block = m_area->document()->firstBlock(); block.next().isValid(); block = block.next())
        appendLineBreak(block, styles);
    return styles;
}

void PlainEdit::appendLineBreak(const QTextBlock &block, QByteArray &styles) const
{
    if (continuesLine(block.next()))
        return;
    const int style = block.userState();
    styles.append(style >= 0 ? char(style) : char(m_lineBreak));
}

QString PlainEdit::text() const
{
    if (!hasLongLines())
        return RichEdit::text();
    return textBetween(document(), 0, document()->characterCount() - 1);
}

int PlainEdit::textLength() const
{
    return positions().toText(document()->characterCount() - 1);
}

TextPositions PlainEdit::positions() const
{
    return hasLongLines() ? TextPositions(document()) : TextPositions();
}

QString PlainEdit::selectedText() const
{
    if (!hasLongLines())
        return RichEdit::selectedText();
    const QTextCursor cursor = textCursor();
    return textBetween(document(), cursor.selectionStart(), cursor.selectionEnd());
}

QString PlainEdit::textRange(int from, int to) const
{
    if (!hasLongLines())
        return RichEdit::textRange(from, to);
    const TextPositions positions = this->positions();
    return Platform::textBetween(document(), positions.toDocument(from), positions.toDocument(to));
}

int PlainEdit::displayedLineCount() const
{
    if (!m_loading)
        if (const std::optional<int> lines = m_lines->total())
            return *lines;
    return m_area->document()->blockCount();
}

bool PlainEdit::displayedLinesKnown() const
{
    return !m_loading && m_lines->isCounted();
}

QPoint PlainEdit::caretPosition() const
{
    const QTextCursor cursor = m_area->textCursor();
    const QTextBlock block = cursor.block();
    const int inBlock = cursor.position() - block.position();
    int line = m_lines->firstLine(block);
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

bool PlainEdit::canPaste() const
{
    return m_area->canPaste();
}

QTextCursor PlainEdit::textCursor() const
{
    return m_area->textCursor();
}

void PlainEdit::setTextCursor(const QTextCursor &cursor)
{
    m_area->setTextCursor(cursor);
}

} // namespace Platform
