#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <vector>

class QTextDocument;

namespace Platform {

// Copies the text of a document of any size without holding up the user-interface thread: a slice
// at a time, one slice each time the event loop comes round. Copying a hundred megabytes at once
// would freeze the window for as long as the memory takes to fill. The user may type meanwhile:
// a change in what is copied already is mended in its slice (or, where that cannot be done, the
// copy goes back to that slice's start), a change further on is read with the rest, so the copy
// given is the text as it stands when the last slice is taken.
class SlicedCopy : public QObject {
    Q_OBJECT
public:
    // inPieces tells whether the document shows its long lines in pieces (see TextPieces.h).
    SlicedCopy(QTextDocument *document, std::function<bool()> inPieces, QObject *parent);

    // Starts copying, or goes on with the copy under way; done then gets the text ('\n' line
    // breaks) in pieces to be joined, each ending between two characters, never inside a
    // surrogate pair.
    void take(std::function<void(QStringList)> done);

private:
    struct Slice {
        int start;
        int end;
        QString text;
        // The text is the document's characters one for one, block breaks as '\n': a change in it
        // can be mended in place.
        bool exact;
    };

    void step();
    void finish();
    void changed(int position, int removed, int added);
    QString textOf(int from, int to, bool exact) const;

    QTextDocument *m_document;
    std::function<bool()> m_inPieces;
    std::function<void(QStringList)> m_done;
    std::vector<Slice> m_slices;
    int m_copied = 0;
    QTimer m_next;
};

} // namespace Platform
