#pragma once

#include "platform/FileWatch.h"
#include "platform/Rtf.h"
#include "platform/TextCodec.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThreadPool>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

// Recovery copies of unsaved documents: each run of the program keeps the copies of its modified
// documents in a folder of its own below the recovery folder, with a lock file that tells a
// running program's folder from one whose program has ended without removing it (a crash, a
// killed process, a machine that lost power).
namespace Platform {

// What a restore needs besides the text; kept beside each copy in a small line file (the index).
struct RecoveryEntry {
    QString fileName; // the document's full path; empty for a document never saved
    QString caption;
    bool rich = false;
    TextEncoding encoding = TextEncoding::Ansi;
    LineBreak lineBreak = LineBreak::CrLf;
    QDateTime time; // when the text was taken, in UTC
    // The file as the document had read or last written it, to tell on a restore whether another
    // program has changed it since; not known for copies written before it was kept.
    std::optional<FileStamp> read;
};

// The index file's lines for the entry, and the entry they hold; on damage nothing, with *reason
// (when given) telling what is wrong in Danish.
QStringList recoveryIndexLines(const RecoveryEntry &entry);
std::optional<RecoveryEntry> recoveryEntryFromLines(const QStringList &lines, QString *reason = nullptr);

// A document's text at one moment, taken on the user-interface thread and written in the
// background: the plain text as it is, or a rich text's paragraphs as values (see Rtf.h).
struct RecoverySnapshot {
    RecoveryEntry entry;
    QStringList text; // plain text in pieces to be joined, '\n' line breaks
    // The line-break style of each line of a plain text that mixes them (see encodeText).
    QByteArray lineBreaks;
    RtfContent rich;
};

// A copy left by a run that has ended: its entry, the file with its text (UTF-8 for plain text,
// RTF for rich text), and for a plain text that mixed line-break styles the style of each line.
struct RecoveredCopy {
    RecoveryEntry entry;
    QString textFile;
    QByteArray lineBreaks;
};

// A copy that cannot be restored: its index file and why, in Danish.
struct BrokenCopy {
    QString indexFile;
    QString reason;
};

// This run's copies. Copies are written atomically in a background thread, one at a time in the
// order asked; a copy removed while it was being written never appears.
class RecoveryStore : public QObject {
    Q_OBJECT
public:
    // folder: the recovery folder, made when the first copy is written.
    explicit RecoveryStore(const QString &folder, QObject *parent = nullptr);
    // Waits for the copy being written, then removes this run's folder with every copy in it:
    // the program ends normally.
    ~RecoveryStore() override;

    QString folder() const { return m_folder; }
    // The number of a new document's copy.
    int newCopy();
    // Writes the copy, replacing the earlier one of that number; a failure is told by
    // writeFailed, from the writer's thread.
    void write(int copy, RecoverySnapshot snapshot);
    // Takes a copy left by an ended run as this run's copy of that number, moving its files; false
    // when they could not be moved (the reason is told by writeFailed).
    bool adopt(int copy, const RecoveredCopy &left);
    // Removes the copy, and cancels a write of it not yet done.
    void remove(int copy);
    // Waits until every copy asked for is written.
    void waitForWriting();

signals:
    void writeFailed(int copy, const QString &reason);

private:
    bool makeRunFolder(QString *error);
    void writeInBackground(int copy, quint64 generation, const RecoverySnapshot &snapshot);
    bool isCurrent(int copy, quint64 generation);
    QString copyBase(int copy) const;

    QString m_folder;
    const QString m_runFolder;
    // Guards the making of the run's folder and lock, which the writer's thread does for the first
    // copy and a restore on the user-interface thread.
    QMutex m_folderMutex;
    std::unique_ptr<QLockFile> m_lock;
    QThreadPool m_writer;
    // Guards the generations and the moment a written copy takes its place on disk.
    QMutex m_mutex;
    QHash<int, quint64> m_generations;
    quint64 m_lastGeneration = 0;
    int m_lastCopy = 0;
};

// The copies of the runs below the recovery folder whose programs have ended without removing
// them. Found at start-up; their runs stay locked by this program while it holds this, so that a
// program started meanwhile does not take them too. Folders of running programs are never
// touched.
class RecoveryLeftovers {
public:
    explicit RecoveryLeftovers(const QString &folder);
    // Lets the runs go, their copies left for the next start.
    ~RecoveryLeftovers();

    bool isEmpty() const { return m_copies.isEmpty() && m_broken.isEmpty(); }
    // In the order they were made, run by run.
    const QList<RecoveredCopy> &copies() const { return m_copies; }
    const QList<BrokenCopy> &broken() const { return m_broken; }
    // Removes the runs' folders with every copy in them.
    void discard();

private:
    struct Run {
        QString folder;
        std::unique_ptr<QLockFile> lock;
    };
    void readRun(const QString &folder);

    std::vector<Run> m_runs;
    QList<RecoveredCopy> m_copies;
    QList<BrokenCopy> m_broken;
};

} // namespace Platform
