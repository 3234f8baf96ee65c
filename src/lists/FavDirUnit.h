#pragma once

#include <QList>
#include <QObject>
#include <QString>

class QListWidget;

struct TReopenRec {
    QString Caption;
    QString Filnavn;
};

enum class TItemtype { itFil, itBibliotek, itAndet };

// An ordered list of files or folders (caption and path), kept in an item file and shown in a
// list box.
class TReopenFilerX : public QObject {
    Q_OBJECT
public:
    explicit TReopenFilerX(QObject *parent = nullptr);

    // Snummer names the list in the question asked when the path is listed already: 0 asks
    // nothing, 1 the closed documents, 2 the open documents, 3 a favourite list.
    bool InsertItem(const QString &FNavn, const QString &MenuCaption, int Snummer);
    void DeleteItem(const QString &FNavn, bool Opdater = true);
    // Empties the list (and its list box) without asking.
    void DeleteAllItems();
    void DeleteAlleItems();
    QString GetCaption(int Index) const;
    QString GetFilnavn(int Index) const;
    void MakeListeMenu();

    int Antal() const { return int(m_items.size()); }
    TItemtype Itemtype = TItemtype::itBibliotek;
    QListWidget *ListeBoks = nullptr;

private:
    QList<TReopenRec> m_items;
};
