#pragma once

#include <QString>

class QFileDevice;

// Why a file could not be read or written, told in Danish: the common reasons (no such file or
// folder, a path through something that is no folder, no permission, a full disk, a read-only file
// system) in the program's own words; any other as the system tells it, after a Danish lead.
namespace Platform {

QString fileErrorReason(const QFileDevice &file);

} // namespace Platform
