#pragma once

#include "platform/TextCodec.h"
#include "platform/TextPieces.h"

#include <QObject>
#include <QPoint>
#include <QString>
#include <QTextCursor>
#include <functional>
#include <optional>

class QAbstractScrollArea;
class QContextMenuEvent;
class QHelpEvent;
class QKeyEvent;
class QMenu;
class QTextDocument;

// What the document windows rely on of their text area, the same for plain and rich documents.
// Positions count characters from 0; a line break counts as one character.
namespace Platform {

struct RecoveredCopy;
struct RecoverySnapshot;

class RichEdit : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QAbstractScrollArea *widget() const = 0;
    virtual QTextDocument *document() const = 0;

    // Reads the file, remembering its encoding and line-break style; on failure nothing changes
    // and *error (when given) tells why.
    virtual bool loadFromFile(const QString &path, QString *error = nullptr) = 0;
    // As loadFromFile, but a large plain text goes into the text area a slice at a time while
    // the event loop runs, once the area is on screen: isLoading() until loaded(). A failure to
    // read the file is known at once.
    virtual bool startLoading(const QString &path, QString *error = nullptr) { return loadFromFile(path, error); }
    // While loading, the text is not all there: it is not to be edited, saved or searched.
    virtual bool isLoading() const { return false; }
    // Writes the text in the remembered encoding, replacing the file atomically.
    virtual bool saveToFile(const QString &path, QString *error = nullptr) = 0;

    // Takes the text and the form it is saved in, for a recovery copy, and hands them to done:
    // at once, or for a large plain text once it is taken a slice at a time between the user's
    // keystrokes. A new request while one is under way replaces it.
    virtual void takeSnapshot(std::function<void(RecoverySnapshot)> done) = 0;
    // Shows the text of a recovery copy, to be saved in the encoding and line breaks of the
    // document it was taken from, and modified; a large plain text goes in as with startLoading.
    // On failure *error (when given) tells why.
    virtual bool restoreCopy(const RecoveredCopy &copy, QString *error = nullptr) = 0;

    // The text as the file holds it; positions below count in it.
    virtual QString text() const;
    // The part of text() between two of its positions, read from the document alone: a search near
    // the caret then copies no more of a large document than it looks at.
    virtual QString textRange(int from, int to) const;
    virtual int textLength() const;
    // Where the text's positions stand in the document (see TextPieces.h).
    virtual TextPositions positions() const { return {}; }
    // Whether the file read has lines (in rich text, paragraphs) so long that spell check was
    // switched off, and in plain text word wrap too.
    virtual bool hasLongLines() const { return false; }
    // Lines as displayed: a wrapped line counts once for every screen line. While the wrapped
    // lines of a long document are still being counted, the lines of the text, and
    // displayedLinesKnown() is false until displayedLinesCounted().
    virtual int displayedLineCount() const = 0;
    virtual bool displayedLinesKnown() const { return true; }
    // Caret (end of the selection): y the displayed line, x the column in it, both from 0.
    virtual QPoint caretPosition() const = 0;

    virtual bool isModified() const;
    void setModified(bool modified);

    int selectionStart() const;
    int selectionLength() const;
    virtual QString selectedText() const;
    void setSelection(int start, int length);
    // The caret stands behind the new text afterwards.
    void replaceSelection(const QString &text);
    // The text of the block (paragraph) that holds the caret, and the caret's offset in it.
    QString caretBlockText(int *offset) const;

    virtual void setDefaultFont(const QString &family, int points) = 0;
    virtual void setInnerMargins(int pixels) = 0;
    virtual void setWordWrap(bool wrap) = 0;
    virtual bool wordWrap() const = 0;
    // The window's own context menu; nullptr gives the control's menu with spelling corrections.
    virtual void setContextMenu(QMenu *menu) = 0;
    virtual QMenu *contextMenu() const = 0;
    // Checks the spelling of the whole document again.
    virtual void recheckSpelling() = 0;

    virtual void cut() = 0;
    virtual void copy() = 0;
    virtual void paste() = 0;
    virtual void selectAll() = 0;
    virtual void undo() = 0;
    virtual void deleteSelection() = 0;
    bool canUndo() const;
    virtual bool canPaste() const = 0;
    bool hasSelection() const;

    // The text area's cursor: what the shared operations above work on.
    virtual QTextCursor textCursor() const = 0;
    virtual void setTextCursor(const QTextCursor &cursor) = 0;

    TextEncoding encoding() const { return m_encoding; }
    LineBreak lineBreak() const { return m_lineBreak; }

signals:
    void textChanged();
    // How much of the text is in while loading, in percent.
    void loadProgress(int percent);
    void loaded();
    void displayedLinesCounted();

protected:
    // The whole file, or nothing with *error telling why in Danish.
    static std::optional<QByteArray> readFile(const QString &path, QString *error);

    TextEncoding m_encoding = TextEncoding::Ansi;
    LineBreak m_lineBreak = nativeLineBreak();
};

// What both kinds of text area do the same way: the window's own context menu or the one with
// spelling corrections, web addresses that show themselves as a hint, and Ctrl+Y for redo.
class SpellUnderliner;
// Ctrl+Y redoes, as the undo command's hint promises, also on desktops whose own redo key (which
// Qt's text areas know already) is another one, such as Ctrl+Shift+Z.
bool isCtrlY(const QKeyEvent *event);
void showAreaContextMenu(QMenu *windowMenu, SpellUnderliner *spelling, QContextMenuEvent *event);
bool showWebAddressHint(const QTextCursor &cursorAtPointer, QHelpEvent *event, QWidget *viewport);

} // namespace Platform
