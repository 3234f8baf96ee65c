#pragma once

#include <QString>

// Hands files to the desktop: open or edit them with their associated program, run programs and
// batch files. Results are the codes of the Windows shell's ShellExecute on every system, so the
// error texts read the same everywhere: 32 or less is a failure.
namespace Platform {

namespace ShellCode {
enum : int {
    OutOfResources = 0,
    FileNotFound = 2,
    PathNotFound = 3,
    AccessDenied = 5,
    NoAssociation = 31,
    Success = 42,
};
}

class Shell {
public:
    virtual ~Shell() = default;
    // operation is "open" or "edit"; file is a name inside folder (folder may be empty). The file
    // "cmd" with parameters "/K " + a batch file runs that file of folder in a terminal that stays
    // open there.
    virtual int execute(const QString &operation, const QString &file, const QString &parameters,
                        const QString &folder) = 0;
};

Shell &shell();
void setShell(Shell *fake); // nullptr restores the real shell; the caller keeps ownership

} // namespace Platform
