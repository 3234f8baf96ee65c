#pragma once

#include <QtGlobal>
#include <optional>

namespace Platform {

// The memory the system can give the program now without swapping, in bytes; nothing where the
// system does not tell.
std::optional<qint64> availableMemory();

// Blocks of a few hundred kilobytes and more (the text of a document, its parts while it loads,
// the file's bytes) are taken from the system and given back to it when freed. The GNU C
// library would otherwise raise that limit after the first large block is freed and keep
// tens of megabytes of freed blocks of a big file for itself. Called once, before anything large
// is allocated.
void giveLargeBlocksBack();

} // namespace Platform
