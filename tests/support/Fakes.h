#pragma once

#include "platform/Browser.h"
#include "platform/Dialogs.h"
#include "platform/Modal.h"
#include "platform/Notifications.h"
#include "platform/Printer.h"
#include "platform/Shell.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <QTextDocument>
#include <QStringList>
#include <QUrl>
#include <functional>

// Test stand-ins for the desktop: each records what the program asked of it and answers as told.

struct ShellCall {
    QString operation, file, parameters, folder;
};

class FakeShell : public Platform::Shell {
public:
    FakeShell() { Platform::setShell(this); }
    ~FakeShell() override { Platform::setShell(nullptr); }
    int execute(const QString &operation, const QString &file, const QString &parameters,
                const QString &folder) override
    {
        calls.append({operation, file, parameters, folder});
        return action ? action(calls.last()) : result;
    }
    QList<ShellCall> calls;
    int result = Platform::ShellCode::Success;
    // When set, does what the desktop would (for example runs a script) and gives the result.
    std::function<int(const ShellCall &)> action;
};

class FakeBrowser : public Platform::Browser {
public:
    FakeBrowser() { Platform::setBrowser(this); }
    ~FakeBrowser() override { Platform::setBrowser(nullptr); }
    bool open(const QUrl &address) override
    {
        opened.append(address);
        return browserThere;
    }
    QList<QUrl> opened;
    bool browserThere = true; // false: the desktop has no browser to open the address
};

struct PostedNotification {
    QString name, title, body;
};

class FakeNotifications : public Platform::Notifications {
public:
    FakeNotifications() { Platform::setNotifications(this); }
    ~FakeNotifications() override { Platform::setNotifications(nullptr); }
    bool post(const QString &name, const QString &title, const QString &body, QSystemTrayIcon *) override
    {
        posted.append({name, title, body});
        return shown;
    }
    bool hasNotificationArea() const override { return notificationArea; }
    QList<PostedNotification> posted;
    // The desktop the program meets has a notification area unless a test takes it away.
    bool notificationArea = true;
    bool shown = true; // false: neither a notification service nor a notification area took it
};

// A printer that records its print jobs: the text printed and the page rectangle.
class FakePrinter : public Platform::Printer {
public:
    struct Job {
        QString text, title;
        QRect pageRect;
    };
    FakePrinter() { Platform::setPrinter(this); }
    ~FakePrinter() override { Platform::setPrinter(nullptr); }
    bool available() override { return isThere || !pdfFile.isEmpty(); }
    Platform::PrinterMetrics metrics() override { return printerMetrics; }
    bool print(const QTextDocument &document, const QRect &pageRect, const QString &jobTitle, QString *) override
    {
        jobs.append({document.toPlainText(), jobTitle, pageRect});
        return true;
    }
    void setPdfFile(const QString &fileName) override
    {
        pdfFile = fileName;
        pdfFiles << fileName;
    }
    bool isThere = true;
    QString pdfFile;
    QStringList pdfFiles; // every setting of the PDF file, in order
    // A 600 dpi printer on A4 whose printable area begins 100 pixels from the paper's edges.
    Platform::PrinterMetrics printerMetrics{600, 600, 100, 100, 4760, 6816};
    QList<Job> jobs;
};

// Answers the file dialogs from queues; an empty queue answers "cancelled".
class FakeDialogs : public Platform::Dialogs {
public:
    FakeDialogs() { Platform::setDialogs(this); }
    ~FakeDialogs() override { Platform::setDialogs(nullptr); }
    QStringList openFiles(QWidget *, const QString &folder) override
    {
        openFolders.append(folder);
        return openAnswers.isEmpty() ? QStringList() : openAnswers.dequeue();
    }
    QString saveFile(QWidget *, const Platform::SaveRequest &request) override
    {
        saveRequests.append(request);
        return saveAnswers.isEmpty() ? QString() : saveAnswers.dequeue();
    }
    QString folder(QWidget *, const QString &) override { return folderAnswers.isEmpty() ? QString() : folderAnswers.dequeue(); }
    bool printerSetup(QWidget *, QPrinter &) override { return printerSetupAnswer; }

    QQueue<QStringList> openAnswers;
    QStringList openFolders; // where each open dialog was asked to start
    QQueue<QString> saveAnswers;
    QList<Platform::SaveRequest> saveRequests;
    QQueue<QString> folderAnswers;
    bool printerSetupAnswer = false;
};

// Answers modal boxes as a user would. Each queued answer acts on the next box shown; a box with
// no answer queued is recorded as unexpected and closed as cancelled.
class ModalScript {
public:
    struct Shown {
        QString title;
        QString text; // the texts of the box's labels, joined by "\n"
    };
    using Answer = std::function<void(QDialog &)>;

    ModalScript();
    ~ModalScript();

    // Press the button with this caption (shortcut ampersands ignored).
    void press(const QString &caption);
    // Any other action on the box; it must end the box (done/accept/reject or a button click).
    void answer(Answer action);
    // Close the box with its window button.
    void closeWindow();
    // Press a key as the keyboard sends it: to the box's window, reaching its focused control.
    void key(Qt::Key key);

    QList<Shown> shown;
    QStringList unexpected;
    int pending() const { return int(m_answers.size()); }

private:
    QQueue<Answer> m_answers;
};

// Presses a button of a box by its caption; false when there is none.
bool pressButton(QWidget &box, const QString &caption);
