#pragma once

#include "platform/Rtf.h"

#include <QObject>
#include <QStringList>
#include <QTextBlock>
#include <QTimer>
#include <functional>
#include <vector>

class QTextDocument;

namespace Platform {

// Copies a document of any size without holding up the user-interface thread: a slice at a time,
// one slice each time the event loop comes round. Copying a hundred megabytes at once would freeze
// the window for as long as the memory takes to fill. The user may type meanwhile: each copy mends
// what it has taken already when the document tells of a change there, so that the copy given is
// the document as it stands when the last slice is taken.
class SlicedTake : public QObject {
protected:
    SlicedTake(QTextDocument *document, QObject *parent);

    // Takes the next slice when the event loop comes round, unless that is asked for already.
    void goOn();
    // Takes a slice, or gives the copy when everything is taken.
    virtual void step() = 0;
    // The document changed, as QTextDocument::contentsChange tells it.
    virtual void changed(int position, int removed, int added) = 0;

    QTextDocument *const m_document;

private:
    QTimer m_next;
};

// The plain text, and with it, when asked for, a note of each block that ends in a break, such as
// the style of a line's break in a document whose lines keep their own.
class SlicedCopy : public SlicedTake {
public:
    // Appends to the notes what a block whose break is in the document tells.
    using BlockNote = std::function<void(const QTextBlock &block, QByteArray &notes)>;
    using Done = std::function<void(QStringList text, QByteArray notes)>;

    // inPieces tells whether the document shows its long lines in pieces (see TextPieces.h).
    SlicedCopy(QTextDocument *document, std::function<bool()> inPieces, QObject *parent);

    // Starts copying, or goes on with the copy under way; done then gets the text ('\n' line
    // breaks) in pieces to be joined, each ending between two characters, never inside a
    // surrogate pair, and the notes of the blocks in their order, or none when note is empty.
    void take(Done done, BlockNote note = {});

private:
    struct Slice {
        int start;
        int end;
        QString text;
        // The text is the document's characters one for one, block breaks as '\n': a change in it
        // can be mended in place.
        bool exact;
        // The notes of the blocks whose break is in the slice.
        QByteArray notes;
    };

    void step() override;
    void changed(int position, int removed, int added) override;
    void finish();
    QString textOf(int from, int to, bool exact) const;
    QByteArray notesOf(int from, int to) const;

    std::function<bool()> m_inPieces;
    Done m_done;
    BlockNote m_note;
    std::vector<Slice> m_slices;
    int m_copied = 0;
};

// The text of a rich document with its formatting, as values that the RTF writer turns into the
// same file as it makes of the document itself (see Rtf.h). It is taken paragraph by paragraph, a
// long paragraph in parts. A change in what is taken already is mended by taking the parts it
// touches again; one too large to mend at once sends the copy back to where it begins.
class SlicedRichCopy : public SlicedTake {
public:
    SlicedRichCopy(QTextDocument *document, QObject *parent);

    // Starts copying, or goes on with the copy under way; done then gets the copy.
    void take(std::function<void(RtfContent)> done);

private:
    // The parts taken between two event loop turns, with the number of document characters each
    // covers: its text, and the break at the end of its paragraph when it is the paragraph's last.
    struct Slice {
        int start;
        int end;
        std::vector<int> lengths;
        std::vector<RtfPart> parts;
    };
    // Where a part is: its slice, its place in the slice and its first document position.
    struct Place {
        std::size_t slice;
        std::size_t part;
        int start;
    };

    void step() override;
    void changed(int position, int removed, int added) override;
    void finish();
    // Takes the document from `from` up to `to`, or less once what is taken costs `limit` (its
    // characters, and a little more for each run and part); returns where it stopped.
    int takeParts(int from, int to, qint64 limit, Slice &slice);
    // The part holding the position, which must be in what is taken.
    Place placeOf(int position) const;
    // Drops the part at the place and everything after it: the copy goes on from there.
    void goBackTo(const Place &place);
    // Takes the paragraph properties of the block holding the position again, into the part that
    // starts the paragraph.
    void retakeParagraphStart(int position);

    std::function<void(RtfContent)> m_done;
    std::vector<Slice> m_slices;
    int m_copied = 0;
    // The fragment a long paragraph goes on from in the next slice, while nothing has changed.
    QTextBlock::iterator m_fragment;
    int m_fragmentAt = -1;
};

} // namespace Platform
