#pragma once

#include "Fakes.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// The whole program in-process on a fresh data root, with the desktop replaced by fakes and the
// locale fixed to Danish. Settings files may be placed in optMappe() before start().
class ProgramFixture {
public:
    ProgramFixture();
    ~ProgramFixture();

    // Creates the main window and every box, shows the main window (its first-show step runs)
    // and waits until it is exposed. args are the command-line file names.
    void start(const QStringList &args = {});
    // Closes the main window as the user would (close queries included) and frees the program.
    // Returns whether the main window accepted the close.
    bool close();

    QString dataRoot() const;
    QString optMappe() const; // the user's settings folder, created by the constructor
    QString workFolder() const; // a folder for the test's documents
    // Writes a file byte for byte; returns its full name.
    QString writeFile(const QString &name, const QByteArray &bytes) const;
    static QByteArray readFile(const QString &path);

    FakeShell shell;
    FakeDialogs dialogs;
    FakeBrowser browser;
    FakeNotifications notifications;
    ModalScript modal;

private:
    QTemporaryDir m_root;
    bool m_running = false;
};

// A nice-to-read comparison for texts shown in boxes: the program writes line breaks as "\r",
// labels show them as "\n".
QString shownText(QString text);
