#pragma once

#include "platform/SpellChecker.h"

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QStringList>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>

#include <memory>
#include <optional>
#include <utility>

class QContextMenuEvent;
class QMenu;
class QPlainTextEdit;
class QTextBlock;
class QTextDocument;

namespace Platform {

// A misspelled word of a text area, found for its context menu.
struct Misspelling {
    QTextCursor cursor; // selects the word
    QString word;
    QStringList suggestions; // best first, at most SpellUnderliner::MaxSuggestions
};

// Underlines the misspelled words of a text area (QPlainTextEdit or QTextEdit) with the style's
// spell-check underline in red, and offers corrections for its context menu.
//
// Only the text on screen is checked: each pass looks at the lines the viewport shows (for a long
// unwrapped line only the part scrolled into view) and sets their underlines as extra selections.
// A pass runs from a zero-interval timer, so a burst of edits, scrolls and resizes costs one pass,
// and the check that starts it is cheap: it compares what is shown with what the last pass saw,
// so the repaint that the new underlines cause does not start another one.
//
// The underlines are the extra selections whose format has MarkerProperty set; a pass replaces only
// those and keeps every other one. An owner that sets its own extra selections may simply drop
// ours: the next repaint notices and a pass puts them back.
//
// The word just typed is not underlined while the caret stays at its end, so a word is not
// marked wrong while it is still being written.
class SpellUnderliner : public QObject {
    Q_OBJECT
public:
    static constexpr int MarkerProperty = QTextFormat::UserProperty + 0x5c1;
    static constexpr int MaxSuggestions = 8;

    // Becomes a child of edit and lives as long as it; checker defaults to SpellChecker::shared().
    explicit SpellUnderliner(QPlainTextEdit *edit, SpellChecker *checker = nullptr);
    explicit SpellUnderliner(QTextEdit *edit, SpellChecker *checker = nullptr);
    ~SpellUnderliner() override;

    bool isEnabled() const { return m_enabled; }
    // Switching off removes the underlines and the suggestions of the context menu.
    void setEnabled(bool enabled);

    // Forgets every remembered verdict and checks the text on screen again at once, the word
    // being typed included. Changes neither the document, its undo history, the caret nor the
    // clipboard. Does nothing while switched off.
    void recheck();

    // The misspelled word under a point of the viewport, with its suggestions; none when spell
    // checking is off or the word there is correct.
    std::optional<Misspelling> misspellingAt(const QPoint &viewportPos) const;
    // Replaces the word as one undo step, keeping its character format, and puts the caret after
    // the new word. Returns false, changing nothing, when the word is no longer there.
    bool replace(const Misspelling &misspelling, const QString &replacement);
    // The text area's standard context menu with, on top, the suggestions for the misspelled word
    // under viewportPos (each replaces it; "Ingen forslag" greyed out when there are none) and a
    // separator. Without a misspelled word there it is just the standard menu. The caller owns it.
    QMenu *createContextMenu(const QPoint &viewportPos);
    // Where a context menu event points, in viewport coordinates: the mouse position, or the caret
    // when the menu was asked for from the keyboard.
    QPoint contextMenuPosition(const QContextMenuEvent &event) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Access;
    template <class Edit>
    struct EditAccess;
    struct View {
        int first = -1;
        int last = -1;
        int horizontal = 0;
        int vertical = 0;
        QSize size;
        friend bool operator==(const View &, const View &) = default;
    };

    template <class Edit>
    void attach(Edit *edit);
    void followDocument();
    void schedule();
    void update();
    void onContentsChange(int position, int removed, int added);
    void onCursorPositionChanged();
    void setUnderlines(const QList<SpellingSpan> &spans);
    View currentView() const;
    QList<SpellingSpan> visibleMisspellings(const View &view) const;
    QList<std::pair<int, int>> visibleParts(const QTextBlock &block, const View &view) const;
    QList<SpellingSpan> misspellingsAround(const QTextBlock &block, int from, int to) const;

    std::unique_ptr<Access> m_access;
    SpellChecker *m_checker;
    QTimer m_timer;
    QPointer<QTextDocument> m_document;
    QMetaObject::Connection m_contentsConnection;
    View m_view;
    bool m_enabled = true;
    bool m_dirty = true;
    int m_ownCount = 0;
    // Where the last insertion ended while the caret has stayed there since; -1 otherwise.
    int m_lastInsertEnd = -1;
};

} // namespace Platform
