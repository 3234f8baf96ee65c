#include "lists/FavDirUnit.h"

#include "app/Globals.h"
#include "opening/Funktioner.h"
#include "options/optUnit.h"
#include "options/spmUnit.h"
#include "platform/DataFolders.h"

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

bool TReopenFilerX::InsertItem(const QString &FNavn, const QString &MenuCaption, int Snummer)
{
    if (Itemtype == TItemtype::itFil && !Platform::fileExists(FNavn))
        return false;
    QString caption = MenuCaption;
    for (const TReopenRec &item : std::as_const(m_items)) {
        if (!sameTextAZ(item.Filnavn, FNavn))
            continue;
        if (Snummer > 0) {
            const QString prefix = Snummer == 1 ? insertCloseS : Snummer == 2 ? insertOpenS : insertFavoritS;
            if (!spoerg(prefix + QFileInfo(FNavn).completeBaseName() + QStringLiteral(" findes allerede i listen.")
                        + QLatin1Char('\r') + QStringLiteral("Skal den indføres alligevel?")))
                return false;
        }
        caption = item.Caption;
        DeleteItem(FNavn, false);
        break;
    }
    const TReopenRec record{caption, FNavn};
    if (optform && optform->CheckInsertFirst->isChecked())
        m_items.prepend(record);
    else
        m_items.append(record);
    MakeListeMenu();
    return true;
}

void TReopenFilerX::DeleteItem(const QString &FNavn, bool Opdater)
{
    for (qsizetype i = 0; i < m_items.size(); ++i) {
        if (sameTextAZ(m_items[i].Filnavn, FNavn)) {
            m_items.removeAt(i);
            break;
        }
    }
    if (Opdater)
        MakeListeMenu();
}

void TReopenFilerX::DeleteAllItems()
{
    m_items.clear();
}

void TReopenFilerX::DeleteAlleItems()
{
    DeleteAllItems();
    MakeListeMenu();
}

QString TReopenFilerX::GetCaption(int Index) const
{
    return Index >= 0 && Index < m_items.size() ? m_items[Index].Caption : QString();
}

QString TReopenFilerX::GetFilnavn(int Index) const
{
    return Index >= 0 && Index < m_items.size() ? m_items[Index].Filnavn : QString();
}

void TReopenFilerX::MakeListeMenu()
{
    if (!ListeBoks)
        return;
    ListeBoks->clear();
    for (const TReopenRec &item : std::as_const(m_items))
        ListeBoks->addItem(item.Caption);
}
