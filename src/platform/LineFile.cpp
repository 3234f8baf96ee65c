#include "platform/LineFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace Platform {

namespace {

// As many links in a row as Linux follows before it gives up with ELOOP.
constexpr int kMaxLinkHops = 40;

} // namespace

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    // QSaveFile renames a new file over the name it is given, so it is given the file at the end of
    // any links: the links stay, the file they name is replaced. (Qt 6.4 resolves links itself,
    // but would replace the last link of a loop with a file; a loop is refused here instead.)
    QString target = path;
    for (int hops = 0;; ++hops) {
        const QFileInfo info(target);
        if (!info.isSymbolicLink())
            break;
        if (hops == kMaxLinkHops) {
            if (error)
                *error = QStringLiteral("Too many levels of symbolic links");
            return false;
        }
        target = info.symLinkTarget();
    }

    // QSaveFile gives the new file the permissions of the one it replaces.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
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
