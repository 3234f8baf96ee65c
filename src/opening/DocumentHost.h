#pragma once

#include <QString>
#include <QStringList>

class TDocumentForm;
namespace Platform {
struct RecoveredCopy;
}

// What opening files asks of the window that holds the document windows: making a document
// window, bringing an open one to the front, the fields that hand an open request over to the
// window being made, and the user's file type list, which decides what opens for editing. The
// main window is the one host; the open dispatch and the boxes that open files know it only
// through this.
class DocumentHost {
public:
    // Makes a document window for the request in docFilnavn and docExt and makes it the active
    // one; nullptr when the file could not be read.
    virtual TDocumentForm *createDocumentWindow(bool rich) = 0;
    // Brings a window of that kind holding fileName to the front; false when there is none.
    virtual bool bringOpenDocumentToFront(const QString &fileName, bool rich) = 0;

    // The file type list "ExtListe.txt", in memory in extListe and on screen in the file type
    // box. makeTypeliste and GemExtListe tell whether the file was written (a failure is reported).
    virtual bool makeTypeliste() = 0;
    virtual void LoadExtListe(bool withLoad) = 0;
    virtual bool GemExtListe() = 0;

    // The file of the document being opened (empty for a new one) and its extension.
    QString docFilnavn;
    QString docExt;
    // Set while a document is brought back from its recovery copy: the window shows the copy's
    // text instead of reading docFilnavn.
    const Platform::RecoveredCopy *docRecovered = nullptr;
    // Counts the documents asked for; a new document is named by it.
    int newCount = 0;
    // The file of the active document; empty when there is none or it has no name yet.
    QString dokumentFilnavn;
    QStringList extListe;
    // The remembered height of the file type box; 0 until read.
    int filtypeBoksHeight = 0;

protected:
    ~DocumentHost() = default;
};
