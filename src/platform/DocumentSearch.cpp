#include "platform/DocumentSearch.h"

#include <QFile>
#include <QFileInfo>

#include <new>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Platform {

namespace {

bool sameCharIgnoringCase(QChar a, QChar b)
{
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// "*" and "?" against the whole name; a star that failed is retried one character further on,
// so the work stays proportional to the name times the mask.
bool wildcardMatches(QStringView mask, QStringView name)
{
    qsizetype m = 0;
    qsizetype n = 0;
    qsizetype star = -1;
    qsizetype starName = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == QLatin1Char('*')) {
            star = m++;
            starName = n;
        } else if (m < mask.size() && (mask[m] == QLatin1Char('?') || sameCharIgnoringCase(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (star >= 0) {
            m = star + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == QLatin1Char('*'))
        ++m;
    return m == mask.size();
}

} // namespace

bool fileMaskMatches(const QString &mask, const QString &name)
{
    if (wildcardMatches(mask, name))
        return true;
    return mask.endsWith(QLatin1String(".*")) && !name.contains(QLatin1Char('.'))
           && wildcardMatches(QStringView(mask).chopped(2), name);
}

QString realFolderPath(const QString &folder)
{
    return QFileInfo(folder).canonicalFilePath();
}

#ifdef Q_OS_UNIX

bool readWholeFile(const QString &path, QByteArray &bytes)
{
    bytes.resize(0);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool complete = false;
    try {
        struct stat status {};
        if (::fstat(fd, &status) == 0 && !S_ISDIR(status.st_mode)) {
            // The size is a first guess: the file may grow or shrink while it is read.
            qsizetype filled = 0;
            bytes.resize(qMax<qsizetype>(status.st_size, 0) + 1);
            for (;;) {
                if (filled == bytes.size())
                    bytes.resize(bytes.size() * 2);
                const ssize_t count = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
                if (count < 0 && errno == EINTR)
                    continue;
                if (count <= 0) {
                    complete = count == 0;
                    break;
                }
                filled += count;
            }
            bytes.resize(complete ? filled : 0);
        }
    } catch (const std::bad_alloc &) {
        bytes = QByteArray();
        complete = false;
    }
    ::close(fd);
    return complete;
}

#else

bool readWholeFile(const QString &path, QByteArray &bytes)
{
    bytes.resize(0);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc &) {
        bytes = QByteArray();
        return false;
    }
    if (file.error() == QFileDevice::NoError)
        return true;
    bytes.resize(0);
    return false;
}

#endif

} // namespace Platform
