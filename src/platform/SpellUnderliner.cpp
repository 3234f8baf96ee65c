#include "platform/SpellUnderliner.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <type_traits>

namespace Platform {

namespace {

// Text checked on either side of a visible part so that the words cut by the edge of the view
// are read whole; longer than any word the checker takes, so a word cut at the far end of this
// margin never reaches into the visible part.
constexpr int Margin = 256;

bool isOurs(const QTextEdit::ExtraSelection &selection)
{
    return selection.format.boolProperty(SpellUnderliner::MarkerProperty);
}

} // namespace

// What the underliner needs of a text area; QPlainTextEdit and QTextEdit offer the same calls
// without sharing a base class for them.
struct SpellUnderliner::Access {
    virtual ~Access() = default;
    virtual QAbstractScrollArea *area() const = 0;
    virtual QTextDocument *document() const = 0;
    virtual QTextCursor cursorForPosition(const QPoint &viewportPos) const = 0;
    virtual QRect cursorRect(const QTextCursor &cursor) const = 0;
    virtual QTextCursor textCursor() const = 0;
    virtual void setTextCursor(const QTextCursor &cursor) = 0;
    virtual QList<QTextEdit::ExtraSelection> extraSelections() const = 0;
    virtual void setExtraSelections(const QList<QTextEdit::ExtraSelection> &selections) = 0;
    virtual QMenu *createStandardContextMenu(const QPoint &viewportPos) = 0;
};

template <class Edit>
struct SpellUnderliner::EditAccess final : Access {
    explicit EditAccess(Edit *edit) : edit(edit) {}
    QAbstractScrollArea *area() const override { return edit; }
    QTextDocument *document() const override { return edit->document(); }
    QTextCursor cursorForPosition(const QPoint &viewportPos) const override
    {
        return edit->cursorForPosition(viewportPos);
    }
    QRect cursorRect(const QTextCursor &cursor) const override { return edit->cursorRect(cursor); }
    QTextCursor textCursor() const override { return edit->textCursor(); }
    void setTextCursor(const QTextCursor &cursor) override { edit->setTextCursor(cursor); }
    QList<QTextEdit::ExtraSelection> extraSelections() const override { return edit->extraSelections(); }
    void setExtraSelections(const QList<QTextEdit::ExtraSelection> &selections) override
    {
        edit->setExtraSelections(selections);
    }
    QMenu *createStandardContextMenu(const QPoint &viewportPos) override
    {
        if constexpr (std::is_same_v<Edit, QTextEdit>) {
            // QTextEdit wants document coordinates, to offer "copy link" for a link there.
            return edit->createStandardContextMenu(
                viewportPos + QPoint(edit->horizontalScrollBar()->value(), edit->verticalScrollBar()->value()));
        } else {
            return edit->createStandardContextMenu();
        }
    }
    Edit *edit;
};

SpellUnderliner::SpellUnderliner(QPlainTextEdit *edit, SpellChecker *checker)
    : QObject(edit), m_access(std::make_unique<EditAccess<QPlainTextEdit>>(edit)),
      m_checker(checker ? checker : &SpellChecker::shared())
{
    attach(edit);
}

SpellUnderliner::SpellUnderliner(QTextEdit *edit, SpellChecker *checker)
    : QObject(edit), m_access(std::make_unique<EditAccess<QTextEdit>>(edit)),
      m_checker(checker ? checker : &SpellChecker::shared())
{
    attach(edit);
}

// Touches nothing of the text area: as its child this is destroyed while the area itself is
// halfway through its own destruction.
SpellUnderliner::~SpellUnderliner() = default;

template <class Edit>
void SpellUnderliner::attach(Edit *edit)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &SpellUnderliner::update);
    connect(edit, &Edit::cursorPositionChanged, this, &SpellUnderliner::onCursorPositionChanged);
    connect(edit->verticalScrollBar(), &QScrollBar::valueChanged, this, &SpellUnderliner::schedule);
    connect(edit->horizontalScrollBar(), &QScrollBar::valueChanged, this, &SpellUnderliner::schedule);
    // Every repaint asks for a pass, which then only works when something shown has changed: this
    // catches what no signal tells, such as a new document, a new font or dropped underlines.
    edit->viewport()->installEventFilter(this);
    followDocument();
    schedule();
}

void SpellUnderliner::setEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_dirty = true;
    if (enabled) {
        schedule();
    } else {
        m_timer.stop();
        setUnderlines({});
    }
}

void SpellUnderliner::recheck()
{
    m_checker->clearCache();
    m_lastInsertEnd = -1;
    if (!m_enabled)
        return;
    m_timer.stop();
    m_dirty = true;
    update();
}

bool SpellUnderliner::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint || event->type() == QEvent::Resize)
        schedule();
    return QObject::eventFilter(watched, event);
}

void SpellUnderliner::followDocument()
{
    QTextDocument *document = m_access->document();
    if (document == m_document)
        return;
    disconnect(m_contentsConnection);
    m_document = document;
    m_contentsConnection = connect(document, &QTextDocument::contentsChange, this,
                                   &SpellUnderliner::onContentsChange);
    m_dirty = true;
    m_lastInsertEnd = -1;
}

void SpellUnderliner::schedule()
{
    if (m_enabled && !m_timer.isActive())
        m_timer.start();
}

void SpellUnderliner::onContentsChange(int position, int, int added)
{
    m_dirty = true;
    m_lastInsertEnd = added > 0 ? position + added : -1;
    schedule();
}

void SpellUnderliner::onCursorPositionChanged()
{
    if (m_lastInsertEnd >= 0 && m_access->textCursor().position() != m_lastInsertEnd) {
        m_lastInsertEnd = -1;
        m_dirty = true;
        schedule();
    }
}

SpellUnderliner::View SpellUnderliner::currentView() const
{
    const QAbstractScrollArea *area = m_access->area();
    View view;
    view.size = area->viewport()->size();
    view.horizontal = area->horizontalScrollBar()->value();
    view.vertical = area->verticalScrollBar()->value();
    if (!view.size.isEmpty()) {
        view.first = m_access->cursorForPosition(QPoint(0, 0)).position();
        view.last = m_access->cursorForPosition(QPoint(view.size.width() - 1, view.size.height() - 1)).position();
    }
    return view;
}

void SpellUnderliner::update()
{
    if (!m_enabled)
        return;
    followDocument();
    const View view = currentView();
    const QList<QTextEdit::ExtraSelection> selections = m_access->extraSelections();
    const auto shown = std::count_if(selections.cbegin(), selections.cend(), isOurs);
    if (!m_dirty && view == m_view && shown == m_ownCount)
        return;
    m_dirty = false;
    m_view = view;
    if (m_access->textCursor().position() != m_lastInsertEnd)
        m_lastInsertEnd = -1;
    setUnderlines(visibleMisspellings(view));
}

void SpellUnderliner::setUnderlines(const QList<SpellingSpan> &spans)
{
    const QList<QTextEdit::ExtraSelection> current = m_access->extraSelections();
    QList<QTextEdit::ExtraSelection> kept;
    QList<SpellingSpan> shown;
    for (const QTextEdit::ExtraSelection &selection : current) {
        if (isOurs(selection)) {
            shown << SpellingSpan{selection.cursor.selectionStart(),
                                  selection.cursor.selectionEnd() - selection.cursor.selectionStart()};
        } else {
            kept << selection;
        }
    }
    m_ownCount = int(spans.size());
    // Setting them repaints the whole viewport; a pass that changed nothing must not.
    if (shown == spans)
        return;

    QTextCharFormat format;
    format.setUnderlineStyle(QTextCharFormat::SpellCheckUnderline);
    format.setUnderlineColor(Qt::red);
    format.setProperty(MarkerProperty, true);
    QTextDocument *document = m_access->document();
    for (const SpellingSpan &span : spans) {
        QTextEdit::ExtraSelection selection;
        selection.cursor = QTextCursor(document);
        selection.cursor.setPosition(span.start);
        selection.cursor.setPosition(span.end(), QTextCursor::KeepAnchor);
        selection.format = format;
        kept << selection;
    }
    m_access->setExtraSelections(kept);
}

QList<SpellingSpan> SpellUnderliner::visibleMisspellings(const View &view) const
{
    QList<SpellingSpan> found;
    if (view.first < 0)
        return found;
    const int caret = m_access->textCursor().position();
    for (QTextBlock block = m_access->document()->findBlock(view.first);
         block.isValid() && block.position() <= view.last; block = block.next()) {
        if (!block.isVisible())
            continue;
        for (const auto &[from, to] : visibleParts(block, view)) {
            for (const SpellingSpan &span : misspellingsAround(block, from, to)) {
                const bool typing = span.end() == caret && caret == m_lastInsertEnd;
                const bool seen = !found.isEmpty() && span.start < found.last().end();
                if (span.end() > from && span.start < to && !typing && !seen)
                    found << span;
            }
        }
    }
    return found;
}

// The document ranges of a block's lines that the viewport shows, as [from, to) positions.
QList<std::pair<int, int>> SpellUnderliner::visibleParts(const QTextBlock &block, const View &view) const
{
    QList<std::pair<int, int>> parts;
    const int blockStart = block.position();
    const int blockEnd = blockStart + block.length() - 1;
    // Asking for the rect also lays the block out.
    const QRect firstLineRect = m_access->cursorRect(QTextCursor(block));
    const QTextLayout *layout = block.layout();
    if (!layout || layout->lineCount() == 0) {
        parts.append({std::max(blockStart, view.first), std::min(blockEnd, view.last)});
        return parts;
    }
    const qreal firstLineY = layout->lineAt(0).y();
    int lineNumber = 0;
    if (blockStart < view.first) {
        const QTextLine topLine = layout->lineForTextPosition(view.first - blockStart);
        lineNumber = topLine.isValid() ? topLine.lineNumber() : 0;
    }
    for (; lineNumber < layout->lineCount(); ++lineNumber) {
        const QTextLine line = layout->lineAt(lineNumber);
        const int top = firstLineRect.top() + qRound(line.y() - firstLineY);
        if (top >= view.size.height())
            break;
        if (top + line.height() <= 0)
            continue;
        // Hit-testing along the middle of the line leaves out what is scrolled away sideways.
        const int y = std::clamp(top + int(line.height() / 2), 0, view.size.height() - 1);
        const int lineStart = blockStart + line.textStart();
        const int from = std::max(m_access->cursorForPosition(QPoint(0, y)).position(), lineStart);
        const int to = std::min(m_access->cursorForPosition(QPoint(view.size.width() - 1, y)).position(),
                                lineStart + line.textLength());
        if (from >= to)
            continue;
        if (!parts.isEmpty() && from <= parts.last().second)
            parts.last().second = std::max(parts.last().second, to);
        else
            parts.append({from, to});
    }
    return parts;
}

// The misspelled words in and around [from, to) of a block, in document positions.
QList<SpellingSpan> SpellUnderliner::misspellingsAround(const QTextBlock &block, int from, int to) const
{
    const int blockStart = block.position();
    const int blockEnd = blockStart + block.length() - 1;
    const int start = std::max(blockStart, from - Margin);
    const int end = std::min(blockEnd, to + Margin);
    QTextCursor cursor(m_access->document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    // Within one block the selected text matches the document position for position.
    const QString text = cursor.selectedText();
    QStringView checked(text);
    int offset = start;
    // Start and end at a space where the margin has one, so that an address is seen whole.
    if (start > blockStart) {
        const auto space = std::find_if(checked.begin(), checked.begin() + (from - start),
                                        [](QChar c) { return c.isSpace(); });
        if (space != checked.begin() + (from - start)) {
            const int skipped = int(space - checked.begin()) + 1;
            checked = checked.sliced(skipped);
            offset += skipped;
        }
    }
    if (end < blockEnd) {
        const int visibleEnd = to - offset;
        for (int i = int(checked.size()) - 1; i >= visibleEnd; --i) {
            if (checked[i].isSpace()) {
                checked.truncate(i);
                break;
            }
        }
    }
    QList<SpellingSpan> spans = m_checker->misspellings(checked);
    for (SpellingSpan &span : spans)
        span.start += offset;
    return spans;
}

std::optional<Misspelling> SpellUnderliner::misspellingAt(const QPoint &viewportPos) const
{
    if (!m_enabled)
        return std::nullopt;
    const QTextCursor hit = m_access->cursorForPosition(viewportPos);
    const int position = hit.position();
    for (const SpellingSpan &span : misspellingsAround(hit.block(), position, position)) {
        if (position < span.start || position > span.end())
            continue;
        QTextCursor word(m_access->document());
        word.setPosition(span.start);
        const QRect startRect = m_access->cursorRect(word);
        word.setPosition(span.end(), QTextCursor::KeepAnchor);
        const QRect endRect = m_access->cursorRect(word);
        // The nearest position is not enough: a click past the end of a line or below the last
        // one is not on the word there.
        if (startRect.top() == endRect.top()
            && (viewportPos.x() < startRect.left() || viewportPos.x() > endRect.right()
                || viewportPos.y() < startRect.top() || viewportPos.y() > startRect.bottom()))
            return std::nullopt;
        Misspelling misspelling;
        misspelling.cursor = word;
        misspelling.word = word.selectedText();
        misspelling.suggestions = m_checker->suggestions(misspelling.word, MaxSuggestions);
        return misspelling;
    }
    return std::nullopt;
}

bool SpellUnderliner::replace(const Misspelling &misspelling, const QString &replacement)
{
    QTextCursor cursor = misspelling.cursor;
    if (cursor.isNull() || cursor.document() != m_access->document() || !cursor.hasSelection()
        || cursor.selectedText() != misspelling.word)
        return false;
    QTextCursor firstChar(cursor.document());
    firstChar.setPosition(cursor.selectionStart() + 1);
    cursor.beginEditBlock();
    cursor.insertText(replacement, firstChar.charFormat());
    cursor.endEditBlock();
    m_access->setTextCursor(cursor);
    return true;
}

QMenu *SpellUnderliner::createContextMenu(const QPoint &viewportPos)
{
    QMenu *menu = m_access->createStandardContextMenu(viewportPos);
    const std::optional<Misspelling> misspelling = misspellingAt(viewportPos);
    if (!misspelling)
        return menu;
    QList<QAction *> corrections;
    for (const QString &suggestion : misspelling->suggestions) {
        auto *action = new QAction(QString(suggestion).replace(u'&', QStringLiteral("&&")), menu);
        connect(action, &QAction::triggered, this,
                [this, found = *misspelling, suggestion] { replace(found, suggestion); });
        corrections << action;
    }
    if (corrections.isEmpty()) {
        auto *none = new QAction(QStringLiteral("Ingen forslag"), menu);
        none->setEnabled(false);
        corrections << none;
    }
    QAction *firstStandard = menu->actions().value(0);
    menu->insertActions(firstStandard, corrections);
    menu->insertSeparator(firstStandard);
    return menu;
}

QPoint SpellUnderliner::contextMenuPosition(const QContextMenuEvent &event) const
{
    if (event.reason() == QContextMenuEvent::Keyboard)
        return m_access->cursorRect(m_access->textCursor()).center();
    return event.pos();
}

} // namespace Platform
