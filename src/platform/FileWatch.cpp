#include "platform/FileWatch.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QGuiApplication>
#include <QHash>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace Platform {

FileStamp FileStamp::of(const QString &path)
{
    FileStamp stamp;
    if (path.isEmpty())
        return stamp;
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return stamp;
    stamp.exists = true;
    stamp.size = status.st_size;
    stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    stamp.id = status.st_ino;
#else
    const QFileInfo info(path);
    if (!info.isFile())
        return stamp;
    stamp.exists = true;
    stamp.size = info.size();
    stamp.modifiedNs = info.lastModified().toMSecsSinceEpoch() * 1000000;
#endif
    return stamp;
}

namespace {

// One watcher for every open document: each watcher costs the system a handle of a kind that a
// user has only some hundred of. Paths are counted, as several documents may lie in one folder.
class SharedWatcher {
public:
    static SharedWatcher &instance()
    {
        static SharedWatcher shared;
        return shared;
    }

    QFileSystemWatcher &watcher() { return *m_watcher; }

    void add(const QString &path)
    {
        if (m_counts[path]++ == 0)
            arm(path);
    }

    void remove(const QString &path)
    {
        auto found = m_counts.find(path);
        if (found == m_counts.end() || --found.value() > 0)
            return;
        m_counts.erase(found);
        m_watcher->removePath(path);
    }

    // A file that was removed or replaced drops out of the watcher; it is watched again as soon
    // as a file of that name is there.
    void arm(const QString &path)
    {
        if (m_counts.contains(path) && !m_watcher->files().contains(path) && !m_watcher->directories().contains(path)
            && QFileInfo::exists(path))
            m_watcher->addPath(path);
    }

private:
    SharedWatcher()
        : m_watcher(new QFileSystemWatcher(QCoreApplication::instance()))
    {
    }

    QFileSystemWatcher *m_watcher;
    QHash<QString, int> m_counts;
};

constexpr int settleMilliseconds = 100;

} // namespace

FileWatch::FileWatch(QObject *parent)
    : QObject(parent)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(settleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, [this] {
        SharedWatcher::instance().arm(m_path);
        SharedWatcher::instance().arm(m_folder);
        emit mayHaveChanged();
    });
    QFileSystemWatcher &watcher = SharedWatcher::instance().watcher();
    connect(&watcher, &QFileSystemWatcher::fileChanged, this, &FileWatch::onDiskEvent);
    connect(&watcher, &QFileSystemWatcher::directoryChanged, this, &FileWatch::onDiskEvent);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            soon();
    });
}

FileWatch::~FileWatch()
{
    setPath(QString());
}

void FileWatch::setPath(const QString &path)
{
    if (path == m_path)
        return;
    const QString folder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
    SharedWatcher &shared = SharedWatcher::instance();
    if (!m_path.isEmpty()) {
        shared.remove(m_path);
        shared.remove(m_folder);
    }
    m_path = path;
    m_folder = folder;
    if (!m_path.isEmpty()) {
        shared.add(m_path);
        shared.add(m_folder);
    }
}

void FileWatch::onDiskEvent(const QString &path)
{
    if (!m_path.isEmpty() && (path == m_path || path == m_folder))
        soon();
}

void FileWatch::soon()
{
    if (!m_path.isEmpty())
        m_settle.start();
}

} // namespace Platform
