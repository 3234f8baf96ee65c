#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

// Noticing that another program has written, replaced or removed a file.
namespace Platform {

// What the disk tells of a file at one moment: enough to see that it is no longer the file that
// was read, also when it was replaced by one of the same size within the same second.
struct FileStamp {
    bool exists = false;
    qint64 size = 0;
    qint64 modifiedNs = 0; // modification time, nanoseconds since the epoch
    quint64 id = 0;        // the file's identity on its file system (inode); 0 where not known

    static FileStamp of(const QString &path);
    friend bool operator==(const FileStamp &, const FileStamp &) = default;
};

// Watches one file and tells, a moment after a burst of changes, that it may have changed: when
// the file or its folder changes on disk, and when the program becomes the active one again,
// because watchers miss some changes (on network drives, for example). Whether it really changed
// is for the owner to find out by comparing stamps.
class FileWatch : public QObject {
    Q_OBJECT
public:
    explicit FileWatch(QObject *parent = nullptr);
    ~FileWatch() override;

    // The file to watch; an empty name watches nothing.
    void setPath(const QString &path);
    QString path() const { return m_path; }

signals:
    void mayHaveChanged();

private:
    void onDiskEvent(const QString &path);
    void soon();

    QString m_path;
    QString m_folder;
    // Writers change a file in several steps (truncate, write, close, rename); one look after the
    // last of them is enough.
    QTimer m_settle;
};

} // namespace Platform
