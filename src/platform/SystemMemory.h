#pragma once

#include <QtGlobal>
#include <optional>

namespace Platform {

// The memory the system can give the program now without swapping, in bytes; nothing where the
// system does not tell.
std::optional<qint64> availableMemory();

} // namespace Platform
