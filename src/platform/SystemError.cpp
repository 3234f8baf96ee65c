#include "platform/SystemError.h"

#include <QFileDevice>
#include <cerrno>
#include <utility>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace Platform {

namespace {

// The system's error numbers with a text of our own.
const std::pair<int, const char16_t *> kReasons[] = {
#ifdef Q_OS_WIN
    {ERROR_FILE_NOT_FOUND, u"Filen findes ikke."},
    {ERROR_PATH_NOT_FOUND, u"Mappen findes ikke."},
    {ERROR_ACCESS_DENIED, u"Du har ikke tilladelse til at bruge filen eller mappen."},
    {ERROR_SHARING_VIOLATION, u"Filen bruges af et andet program."},
    {ERROR_WRITE_PROTECT, u"Drevet er skrivebeskyttet."},
    {ERROR_HANDLE_DISK_FULL, u"Der er ikke mere plads på drevet."},
    {ERROR_DISK_FULL, u"Der er ikke mere plads på drevet."},
#else
    {ENOENT, u"Filen eller mappen findes ikke."},
    {ENOTDIR, u"En del af stien er ikke en mappe."},
    {EACCES, u"Du har ikke tilladelse til at bruge filen eller mappen."},
    {EPERM, u"Du har ikke tilladelse til at bruge filen eller mappen."},
    {ENOSPC, u"Der er ikke mere plads på disken."},
    {EDQUOT, u"Der er ikke mere plads til dig på disken (din kvote er brugt op)."},
    {EROFS, u"Filsystemet er skrivebeskyttet."},
    {ENAMETOOLONG, u"Navnet er for langt."},
#endif
};

} // namespace

QString fileErrorReason(const QFileDevice &file)
{
    // Qt keeps only the system's text of a failed file operation, not its number; the text is
    // made from the number by qt_error_string, so it tells the number back.
    const QString systemText = file.errorString();
    for (const auto &[known, reason] : kReasons)
        if (qt_error_string(known) == systemText)
            return QString::fromUtf16(reason);
    return QStringLiteral("Systemet melder: ") + systemText;
}

} // namespace Platform
