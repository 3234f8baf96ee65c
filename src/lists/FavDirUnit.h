#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>

class QListWidget;

struct TReopenRec {
    QString Caption;
    QString Filnavn;
};

using TReopen = QList<TReopenRec>;

// What the items are, for the existence checks: files, folders or anything.
enum class TItemtype { itFil, itBibliotek, itAndet };

// An ordered list of files or folders (caption and path), kept in an item file of caption and path
// line pairs and shown in a list box that it fills itself. Paths are compared ignoring the case of
// A–Z only.
class TReopenFilerX : public QObject {
    Q_OBJECT
public:
    using TOnListeKlik = std::function<void(const QString &Capnavn, const QString &Filnavn)>;

    explicit TReopenFilerX(QObject *parent = nullptr);

    // Loads the item file (an itFil list drops the pairs whose document is gone), writes it back
    // and refills the list box. A missing file gives an empty list and leaves the list box. False
    // when the file is there but cannot be read: the list stays as it was (the user is told).
    bool HentReopenFiler();
    // Replaces the item file with the items; nothing without an item file. False when the write
    // failed (the user has been told).
    bool GemReopenFiler() const;

    // Snummer names the list in the question asked when the path is listed already: 0 asks
    // nothing, 1 the closed documents, 2 the open documents, 3 a favourite list. An already
    // listed path moves to the insertion end under its old caption. True when an item was added.
    bool InsertItem(const QString &FNavn, const QString &MenuCaption, int Snummer);
    QString GetCaption(int Index) const;
    QString GetFilnavn(int Index) const;
    void SetCaption(int Index, const QString &NewCaption);
    // Removes the first item with that path; the list box is refilled when Opdater is true.
    void DeleteItem(const QString &FNavn, bool Opdater = true);
    // Removes the item at Index (callers pass the selected row) and refills the list box.
    void DeleteItem(int Index);
    // Empties the list; DeleteAlleItems also empties the list box. Neither asks or saves.
    void DeleteAllItems();
    void DeleteAlleItems();
    // Empties the list and the list box after the user has said yes; nothing on an empty list.
    void SletAlleItems();
    // Swap the item with its neighbour above or below; false and no change at the ends. The list
    // box is not refilled.
    bool flytOp(int aIndex);
    bool flytNed(int aIndex);
    // Sorts from aIndex to the end by caption (A–Z lower-cased, then by character code); true when
    // an item moved.
    bool sorterABC(int aIndex);
    void MakeListeMenu();

    int Antal() const { return int(Ropen.size()); }

    QString Itemfile;
    TItemtype Itemtype = TItemtype::itBibliotek;
    QListWidget *ListeBoks = nullptr;
    // Raised by a click or double click on a row whose file or folder exists.
    TOnListeKlik OnListeKlik;
    TOnListeKlik OnDblListeKlik;

private:
    void OnClickListe();
    void OnDblClickListe();
    void clickedRow(bool doubleClick);
    bool exists(const QString &path) const;
    // The list box still shows the list row for row, so a change can be made in it alone.
    bool listBoxInStep(int rowsBefore) const;
    void removeAt(int index);

    TReopen Ropen;
    // How many items hold each path (A–Z lower-cased): most inserts find no duplicate without a
    // scan of the list.
    QHash<QString, int> m_pathCount;
    QPointer<QListWidget> m_connectedBox;
};
