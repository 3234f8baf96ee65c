#include "platform/DocumentSearch.h"

#include <QFile>
#include <QFileInfo>

#include <new>

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

std::optional<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    try {
        QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        return bytes;
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
}

} // namespace Platform
