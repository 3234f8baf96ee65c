#include "platform/LineFile.h"

#include "platform/DataFolders.h"
#include "platform/SystemError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace Platform {

namespace {

// As many links in a row as Linux follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

// The program's own lists and settings are a few kilobytes; anything far bigger is not one of
// them, and reading it whole could take all the memory there is.
constexpr qint64 kMaxLineFileSize = 1024 * 1024;

// The file at the end of path's symbolic links; nothing for a loop.
std::optional<QString> linkTarget(const QString &path)
{
    QString target = path;
    for (int hops = 0; hops <= kMaxLinkHops; ++hops) {
        const QFileInfo info(target);
        if (!info.isSymbolicLink())
            return target;
        target = info.symLinkTarget();
    }
    return std::nullopt;
}

bool isInside(const QString &path, const QString &folder)
{
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    if (canonicalFolder.isEmpty())
        return false;
    return path == canonicalFolder || path.startsWith(canonicalFolder.endsWith(u'/') ? canonicalFolder : canonicalFolder + u'/');
}

// Whether a link may be written through: its file (or, while that does not exist, the file's
// folder) belongs to the user the program runs as and lies in that user's home or the data root.
// A program run with another user's rights (sudo keeping HOME) must not replace a system file
// that a settings name was linked to.
bool linkLeadsToOwnFile(const QString &target)
{
    QFileInfo place(target);
    if (!place.exists())
        place = QFileInfo(place.absolutePath());
    const QString canonical = place.canonicalFilePath();
    if (canonical.isEmpty())
        return false;
#ifndef Q_OS_WIN
    if (place.ownerId() != geteuid())
        return false;
#endif
    return isInside(canonical, QDir::homePath()) || isInside(canonical, dataRoot());
}

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    // QSaveFile renames a new file over the name it is given, so it is given the file at the end of
    // any links: the links stay, the file they name is replaced. (Qt 6.4 resolves links itself,
    // but would replace the last link of a loop with a file; a loop is refused here instead.)
    const std::optional<QString> target = linkTarget(path);
    if (!target) {
        if (error)
            *error = QStringLiteral("For mange symbolske link efter hinanden.");
        return false;
    }

    // QSaveFile gives the new file the permissions of the one it replaces.
    QSaveFile file(*target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = fileErrorReason(file);
        return false;
    }
    return true;
}

bool fileLooksBinary(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return looksBinary(file.read(64 * 1024));
}

std::optional<QStringList> readLines(const QString &path, TextEncoding *encoding)
{
    // Opening a named pipe or a device would wait for a writer that never comes.
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.read(kMaxLineFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > kMaxLineFileSize)
        return std::nullopt;

    const DecodedText decoded = decodeText(bytes);
    if (encoding)
        *encoding = decoded.encoding;
    if (decoded.text.isEmpty())
        return QStringList();
    QStringList lines = decoded.text.split(u'\n');
    if (decoded.text.endsWith(u'\n'))
        lines.removeLast();
    return lines;
}

bool writeLines(const QString &path, const QStringList &lines, QString *error,
                TextEncoding encoding)
{
    if (QFileInfo(path).isSymbolicLink()) {
        const std::optional<QString> target = linkTarget(path);
        if (target && !linkLeadsToOwnFile(*target)) {
            if (error)
                *error = QStringLiteral("Navnet er et symbolsk link til en fil, som ikke er din eller ligger uden for din "
                                        "hjemmemappe og programmets datamappe. Der er ikke skrevet noget.");
            return false;
        }
    }
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 1;
    QString text;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += u'\n';
    }
    return writeFileAtomically(path, encodeText(text, encoding, LineBreak::CrLf), error);
}

} // namespace Platform
