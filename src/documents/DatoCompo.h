#pragma once

#include "platform/RichEdit.h"

#include <QPointer>
#include <QString>
#include <QStringList>

// Writes dates, the time and the holiday list into the active document's text area.
// Today and now come from Platform::now(); names of days and months are Danish whatever the
// machine's locale.
class TDatoer {
public:
    // The text area that date texts go into; nullptr when no document takes them.
    void SetEditor(Platform::RichEdit *editor) { FEditor = editor; }
    Platform::RichEdit *editor() const { return FEditor; }

    // 1 Monday … 7 Sunday, followed by one space; "" for any other number.
    static QString makeDag(int D);
    // 1 January … 12 December, preceded by one space; "" for any other number.
    static QString makeMaaned(int M);

    QString getDato() const; // "Mandag 05. Februar 2024"
    QString getDato2() const; // "05-02-2024"
    QString getDato3() const; // "2024-02-05"
    QString getKlokken() const; // "09:07:03"

    // S replaces the selection of the attached text area, which gets the focus.
    void UdskrivTekst(const QString &S);
    // S goes in at the caret (a selection is removed first), after a line break when newLine.
    void InsertLine(const QString &S, bool newLine);

    // The day of month of Easter Sunday in the given year; Maaned becomes 3 or 4.
    static int beregnPaaskeS(int &Maaned, int year);

    // Writes the movable feasts and the Christmas and New Year days of the year at the caret of
    // the attached text area. A year that is not a whole number is told to the user instead, and
    // false returned.
    bool udskrivHelligdage(const QString &yearText);

    // The lines of the last holiday list, each ending in a line break.
    QStringList datoerListe;

private:
    // A text area is attached and takes text: not while its file is still loading.
    bool writable() const;

    QPointer<Platform::RichEdit> FEditor;
};
