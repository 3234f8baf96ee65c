#pragma once

#include <QObject>
#include <QStringList>
#include <QTextCursor>
#include <QTimer>

class QTextDocument;
class QWidget;

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
// Nothing of the filling can be undone, and the document is unmodified afterwards.
class SlicedFill : public QObject {
    Q_OBJECT
public:
    // Lives as long as view, the text area that shows document.
    SlicedFill(QTextDocument *document, QWidget *view);

    // Cuts text into the parts that fill takes, from the end, each part's memory given back to
    // the system as it goes: held whole until the last of it is in the document, a text of a
    // hundred megabytes would double what the document holds at its fullest.
    static QStringList parts(QString text);
    // The parts go in one after the other, each let go of once it is in.
    void fill(QStringList parts);
    bool isFilling() const { return m_filling; }

signals:
    // How much of the text is in, in percent.
    void progress(int percent);
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void step();

    QTextDocument *m_document;
    QWidget *m_view;
    QTextCursor m_end;
    QStringList m_parts;
    qsizetype m_part = 0;
    qsizetype m_size = 0;
    qsizetype m_done = 0;
    bool m_filling = false;
    QTimer m_next;
};

} // namespace Platform
