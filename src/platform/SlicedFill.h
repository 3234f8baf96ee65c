#pragma once

#include <QObject>
#include <QStringList>
#include <QTextCursor>
#include <QTimer>

#include <deque>

class QPlainTextEdit;
class QTextDocument;

namespace Platform {

// Puts a large text into an empty document a slice at a time, one slice each time the event loop
// comes round, so that the window stays responsive and can show how far the text has come.
//
// It begins only once the text area showing the document is on screen with its size. A plain
// text area lays the whole document out again whenever its width changes, and that gives every
// block a layout object of its own: for a document of millions of lines, seconds and hundreds of
// megabytes that the user never sees. Text that goes into a document whose width is already set
// costs no layout until it is shown.
//
// The caret stays at the start while the text goes in behind it: carried along to the end, it
// would have every line before it counted and laid out. Nothing of the filling can be undone, and
// the document is unmodified afterwards.
class SlicedFill : public QObject {
    Q_OBJECT
public:
    // Lives as long as view, the text area whose document it fills.
    explicit SlicedFill(QPlainTextEdit *view);

    // Parts of about this many characters go in one at a time: a few milliseconds' worth, so that
    // a slice can end close to its time. Each is a block of its own, which the system takes back
    // as soon as the part is in.
    static constexpr qsizetype PartCharacters = 128 * 1024;

    // Cuts text into parts for add, from the end, each part's memory given back to the system as
    // it goes: held whole until the last of it is in the document, a text of a hundred megabytes
    // would double what the document holds at its fullest.
    static QStringList parts(QString text);

    // A fill begins: the parts come with add, as they are made, and end tells that no more come.
    void start();
    // The next part, let go of once it is in; percent tells how much of the text is in with it.
    void add(QString part, int percent);
    void end();
    bool isFilling() const { return m_filling; }

signals:
    // How much of the text is in, in percent.
    void progress(int percent);
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step();
    void goOn();

    struct Part {
        QString text;
        int percent;
    };

    QPlainTextEdit *m_view;
    QTextDocument *m_document;
    QTextCursor m_end;
    std::deque<Part> m_parts;
    bool m_filling = false;
    bool m_ended = false;
    // How long the last part took to go in: a slice takes no part that would carry it beyond its
    // time.
    qint64 m_partNanoseconds = 0;
    QTimer m_next;
};

} // namespace Platform
