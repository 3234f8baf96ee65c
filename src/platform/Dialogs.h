#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class QPrinter;

// The common dialogs: open several files, save under a name, choose a folder, set up the printer.
namespace Platform {

struct SaveRequest {
    QString filter;           // "Description|*.ext|Description|*.ext2|..."
    int filterIndex = 1;      // 1-based entry of filter
    QString defaultExtension; // ".txt": added to a name typed without an extension
    QString folder;           // where the dialog opens; empty: the dialog's own choice
    QString fileName;         // the proposed name
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Existing files, in the dialog's order; empty when cancelled. The dialog opens in folder, or
    // where it was last when folder is empty.
    virtual QStringList openFiles(QWidget *parent, const QString &folder) = 0;
    // The chosen full name; empty when cancelled. Overwriting is not asked here: callers ask.
    virtual QString saveFile(QWidget *parent, const SaveRequest &request) = 0;
    virtual QString folder(QWidget *parent, const QString &start) = 0;
    virtual bool printerSetup(QWidget *parent, QPrinter &printer) = 0;
};

Dialogs &dialogs();
void setDialogs(Dialogs *fake); // nullptr restores the real dialogs; the caller keeps ownership

// "Tekst (.txt)|*.txt|Alle (*.*)|*.*" as the name filters of a Qt file dialog.
QStringList nameFilters(const QString &filter);

} // namespace Platform
