#include "lists/FavDirUnit.h"

#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "platform/DataFolders.h"
#include "platform/LineFile.h"
#include "widgets/BoxSettings.h"
#include "widgets/Globals.h"
#include "widgets/infUnit.h"
#include "widgets/spmUnit.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QListWidget>

namespace {
const QString insertCloseS = QStringLiteral("Listen over lukkede dokumenter:\r");
const QString insertOpenS = QStringLiteral("Listen med åbne dokumenter:\r");
const QString insertFavoritS = QStringLiteral("Favoritlisten:\r");
} // namespace

TReopenFilerX::TReopenFilerX(QObject *parent)
    : QObject(parent)
{
}

bool TReopenFilerX::exists(const QString &path) const
{
    switch (Itemtype) {
    case TItemtype::itFil: return Platform::fileExists(path);
    case TItemtype::itBibliotek: return Platform::folderExists(path);
    case TItemtype::itAndet: break;
    }
    return true;
}

void TReopenFilerX::removeAt(int index)
{
    const QString key = lowerAZ(Ropen[index].Filnavn);
    if (--m_pathCount[key] <= 0)
        m_pathCount.remove(key);
    Ropen.removeAt(index);
}

bool TReopenFilerX::HentReopenFiler()
{
    if (Itemfile.isEmpty() || !QFileInfo::exists(Itemfile)) {
        DeleteAllItems();
        return true;
    }
    // A file that is there but cannot be read leaves the list as it was: emptied, it would be
    // saved over the file the next time.
    const std::optional<QStringList> lines = Platform::readLines(Itemfile);
    if (!lines) {
        showInfo(QStringLiteral("Listen kunne ikke hentes:\r") + Itemfile);
        return false;
    }
    DeleteAllItems();
    // A last caption without its path line (a file the program did not write) gets an empty
    // path; an itFil list drops it, as there is no such document.
    for (qsizetype i = 0; i < lines->size(); i += 2) {
        const QString path = lines->value(i + 1);
        if (Itemtype == TItemtype::itFil && !Platform::fileExists(path))
            continue;
        Ropen.append({lines->at(i), path});
        ++m_pathCount[lowerAZ(path)];
    }
    GemReopenFiler();
    MakeListeMenu();
    return true;
}

bool TReopenFilerX::GemReopenFiler() const
{
    if (Itemfile.isEmpty())
        return true;
    QStringList lines;
    lines.reserve(Ropen.size() * 2);
    for (const TReopenRec &item : Ropen)
        lines << item.Caption << item.Filnavn;
    return writeUserFile(Itemfile, lines);
}

bool TReopenFilerX::listBoxInStep(int rowsBefore) const
{
    return ListeBoks && m_connectedBox == ListeBoks && ListeBoks->count() == rowsBefore;
}

bool TReopenFilerX::InsertItem(const QString &FNavn, const QString &MenuCaption, int Snummer)
{
    if (Itemtype == TItemtype::itFil && !Platform::fileExists(FNavn))
        return false;
    const int rowsBefore = Antal();
    QString caption = MenuCaption;
    int movedFrom = -1;
    if (m_pathCount.contains(lowerAZ(FNavn))) {
        for (int i = 0; i < Antal(); ++i) {
            if (!sameTextAZ(Ropen[i].Filnavn, FNavn))
                continue;
            if (Snummer > 0) {
                const QString prefix = Snummer == 1 ? insertCloseS : Snummer == 2 ? insertOpenS : insertFavoritS;
                if (!ask(prefix + QFileInfo(FNavn).completeBaseName() + QStringLiteral(" findes allerede i listen.")
                         + QLatin1Char('\r') + QStringLiteral("Skal den indføres alligevel?")))
                    return false;
            }
            caption = Ropen[i].Caption;
            removeAt(i);
            movedFrom = i;
            break;
        }
    }
    const bool first = optform && optform->CheckInsertFirst->isChecked();
    if (first)
        Ropen.prepend({caption, FNavn});
    else
        Ropen.append({caption, FNavn});
    ++m_pathCount[lowerAZ(FNavn)];

    // Long lists (search results) would be slow if every insert refilled the whole list box;
    // while the box shows the list row for row, the same change is made in it alone.
    if (listBoxInStep(rowsBefore)) {
        if (movedFrom >= 0)
            delete ListeBoks->takeItem(movedFrom);
        ListeBoks->insertItem(first ? 0 : ListeBoks->count(), caption);
    } else {
        MakeListeMenu();
    }
    return true;
}

QString TReopenFilerX::GetCaption(int Index) const
{
    return Index >= 0 && Index < Antal() ? Ropen[Index].Caption : QString();
}

QString TReopenFilerX::GetFilnavn(int Index) const
{
    return Index >= 0 && Index < Antal() ? Ropen[Index].Filnavn : QString();
}

void TReopenFilerX::SetCaption(int Index, const QString &NewCaption)
{
    if (Index < 0 || Index >= Antal())
        return;
    Ropen[Index].Caption = NewCaption;
    MakeListeMenu();
}

void TReopenFilerX::DeleteItem(const QString &FNavn, bool Opdater)
{
    if (m_pathCount.contains(lowerAZ(FNavn))) {
        for (int i = 0; i < Antal(); ++i) {
            if (sameTextAZ(Ropen[i].Filnavn, FNavn)) {
                removeAt(i);
                break;
            }
        }
    }
    if (Opdater)
        MakeListeMenu();
}

void TReopenFilerX::DeleteItem(int Index)
{
    if (Index < 0 || Index >= Antal())
        return;
    removeAt(Index);
    MakeListeMenu();
}

void TReopenFilerX::DeleteAllItems()
{
    Ropen.clear();
    m_pathCount.clear();
}

void TReopenFilerX::DeleteAlleItems()
{
    DeleteAllItems();
    MakeListeMenu();
}

void TReopenFilerX::SletAlleItems()
{
    if (Ropen.isEmpty() || !ask(QStringLiteral("Skal alle indførte elementer i listen fjernes?")))
        return;
    DeleteAlleItems();
}

bool TReopenFilerX::flytOp(int aIndex)
{
    if (aIndex <= 0 || aIndex >= Antal())
        return false;
    Ropen.swapItemsAt(aIndex, aIndex - 1);
    return true;
}

bool TReopenFilerX::flytNed(int aIndex)
{
    if (aIndex < 0 || aIndex >= Antal() - 1)
        return false;
    Ropen.swapItemsAt(aIndex, aIndex + 1);
    return true;
}

bool TReopenFilerX::sorterABC(int aIndex)
{
    // Each step moves the item at aIndex down behind the last later item whose key is smaller, the
    // items between moving up; equal keys may so change their order. A loop, not recursion: a long
    // list would otherwise nest as deep as it is long.
    if (aIndex < 0 || aIndex >= Antal() - 1)
        return false;
    bool moved = false;
    while (aIndex < Antal() - 1) {
        const QString key = lowerAZ(Ropen[aIndex].Caption);
        int last = -1;
        for (int p = aIndex + 1; p < Antal(); ++p)
            if (lowerAZ(Ropen[p].Caption) < key)
                last = p;
        if (last < 0) {
            ++aIndex;
            continue;
        }
        Ropen.move(aIndex, last);
        moved = true;
    }
    MakeListeMenu();
    return moved;
}

void TReopenFilerX::MakeListeMenu()
{
    if (!ListeBoks)
        return;
    if (m_connectedBox != ListeBoks) {
        if (m_connectedBox)
            disconnect(m_connectedBox, nullptr, this, nullptr);
        m_connectedBox = ListeBoks;
        connect(ListeBoks, &QListWidget::itemClicked, this, &TReopenFilerX::OnClickListe);
        connect(ListeBoks, &QListWidget::itemDoubleClicked, this, &TReopenFilerX::OnDblClickListe);
    }
    ListeBoks->clear();
    QStringList captions;
    captions.reserve(Ropen.size());
    for (const TReopenRec &item : std::as_const(Ropen))
        captions << item.Caption;
    ListeBoks->addItems(captions);
}

void TReopenFilerX::OnClickListe()
{
    clickedRow(false);
}

void TReopenFilerX::OnDblClickListe()
{
    clickedRow(true);
}

void TReopenFilerX::clickedRow(bool doubleClick)
{
    if (!ListeBoks)
        return;
    const int row = ListeBoks->currentRow();
    if (row < 0 || row >= Antal() || !ListeBoks->item(row)->isSelected())
        return;
    const TReopenRec item = Ropen[row];
    if (Itemtype != TItemtype::itAndet && !exists(item.Filnavn)) {
        QString text = Itemtype == TItemtype::itBibliotek
            ? QStringLiteral("Mappen blev ikke fundet.\rSlet eventuelt elementet fra listen eller opdater listen hvis muligt.")
            : QStringLiteral("Filen blev ikke fundet.\rSlet eventuelt elementet fra listen eller opdater listen hvis muligt.");
        if (doubleClick)
            text.chop(1);
        showInfo(text);
        return;
    }
    const TOnListeKlik &event = doubleClick ? OnDblListeKlik : OnListeKlik;
    if (event)
        event(item.Caption, item.Filnavn);
}
