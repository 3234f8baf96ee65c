#pragma once

#include "platform/TextCodec.h"

#include <QString>
#include <QStringList>
#include <optional>

// Every per-user file (settings, lists, item files) is a list of lines read and written here.
namespace Platform {

// Replaces path with bytes atomically: a failed write leaves the old file whole. The file keeps
// its permissions and a symbolic link stays a link (the file it names is replaced). On failure
// returns false and, when error is given, the reason in Danish (see fileErrorReason).
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Whether the file's first 64 KB look binary (see looksBinary); false when it cannot be read.
bool fileLooksBinary(const QString &path);

// Lines split on CR LF, LF or CR; a final line break ends the last line rather than starting an
// empty one. A byte-order mark decides the encoding, otherwise the ANSI code page (see
// decodeText). Returns nothing when the file cannot be read, is no regular file (a named pipe, a
// device) or is bigger than any list of the program's (1 MB); *encoding tells what was found.
std::optional<QStringList> readLines(const QString &path, TextEncoding *encoding = nullptr);

// CR LF after every line, in `encoding` when every character fits, otherwise UTF-8 with a
// byte-order mark; replaced atomically. A symbolic link is written through only to a file of the
// user's own in the home folder or the data root; otherwise nothing is written.
bool writeLines(const QString &path, const QStringList &lines, QString *error = nullptr,
                TextEncoding encoding = TextEncoding::Ansi);

} // namespace Platform
