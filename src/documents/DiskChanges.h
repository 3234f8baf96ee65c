#pragma once

#include "platform/FileWatch.h"

#include <QObject>
#include <QTimer>

namespace Platform {
class RichEdit;
struct RecoveryEntry;
}

// What the user is asked or told when the file of an open document is found changed on disk.
enum class DiskChange {
    None,               // nothing to say
    AskReload,          // the file was changed; the document holds no changes of its own
    AskReloadLosingChanges, // the file was changed, and so was the document
    TellGone,           // the file was removed or moved away
};

// The change rule. read: the file as the document last read or wrote it; answered: the file as it
// was when the user last answered a question about it or was told it was gone; now: the file as
// it is; modified: the document holds changes not saved.
DiskChange diskChange(const Platform::FileStamp &read, const Platform::FileStamp &answered,
                      const Platform::FileStamp &now, bool modified);

// Keeps a document's text and its file on disk apart when another program writes, replaces or
// removes the file: asks whether to read it again, or tells that it is gone, once for each change.
class DiskChanges : public QObject {
    Q_OBJECT
public:
    DiskChanges(Platform::RichEdit &editor, QObject *parent = nullptr);

    // The document now holds the file as it is on disk: after reading it, and after each save of
    // its own (which therefore never asks). An empty path follows nothing.
    void track(const QString &path);
    // The document holds a text restored from a recovery copy, which tells how the file was when
    // the document had read it; a copy too old to tell that tells when it was taken, and a file
    // written after that counts as changed by another program.
    void trackRestored(const QString &path, const Platform::RecoveryEntry &copy);
    // The file as the document read or last wrote it.
    Platform::FileStamp readStamp() const { return m_read; }
    // The file on disk is no longer the one the document read or last wrote.
    bool changedSinceRead() const;
    // Looks at the disk a moment from now, when nothing else is being asked.
    void checkSoon();

signals:
    // The text was read again, or marked modified because its file is gone; or a big file began
    // to be read again (the editor isLoading() until it is all in, and this comes again then).
    void documentChanged();

private:
    void check();
    void reload();

    Platform::RichEdit &m_editor;
    Platform::FileWatch *m_watch;
    Platform::FileStamp m_read;
    Platform::FileStamp m_answered;
    // Waits while a box is open: one question at a time, and never into the middle of another.
    QTimer m_retry;
};
