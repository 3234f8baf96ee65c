#pragma once

#include <QString>

namespace Platform {

// The web address that the character at offset of line belongs to ("https://…", "www.…",
// "mailto:…", …), without trailing punctuation; empty when there is none.
QString webAddressAt(const QString &line, int offset);

} // namespace Platform
