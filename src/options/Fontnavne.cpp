#include "options/Fontnavne.h"

#include <QCollator>
#include <QFontDatabase>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <algorithm>

TFontnavne::TFontnavne(QWidget *parent)
    : QComboBox(parent)
{
    connect(this, &QComboBox::currentIndexChanged, this, &TFontnavne::Change);
}

void TFontnavne::GetFontNames()
{
    GetFontNames(QFontDatabase::families());
}

void TFontnavne::GetFontNames(const QStringList &faceNames)
{
    QStringList names;
    names.reserve(count() + faceNames.size());
    for (int i = 0; i < count(); ++i)
        names << itemText(i);
    for (const QString &name : faceNames) {
        if (name.startsWith(QLatin1Char('@')))
            continue;
        // A family that several foundries make comes as "C059 [UKWN]", "C059 [URW]": the user
        // chooses the family, and a text names only that.
        const qsizetype foundry = name.endsWith(QLatin1Char(']')) ? name.lastIndexOf(QLatin1String(" [")) : -1;
        const QString family = foundry > 0 ? name.left(foundry) : name;
        if (foundry <= 0 || !names.contains(family))
            names << family;
    }
    sortFontNames(names);

    const int chosenIndex = currentIndex();
    const QString chosen = currentText();
    const QSignalBlocker quiet(this);
    clear();
    addItems(names);
    setCurrentIndex(chosenIndex < 0 ? -1 : findText(chosen, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void TFontnavne::NyFont(const QString &fontName)
{
    if (fontName == OldFontname)
        return;
    OldFontname = fontName;
    if (count() == 0)
        return;
    const QScopedValueRollback<bool> updating(FontUpdate, true);
    setCurrentIndex(findText(fontName, Qt::MatchFixedString));
}

void TFontnavne::Change()
{
    emit Changed();
    if (!FontUpdate)
        SetFont();
}

void TFontnavne::SetFont()
{
    const QScopedValueRollback<bool> updating(FontUpdate, true);
    if (FOnNyFont)
        FOnNyFont(this, currentText());
}

void sortFontNames(QStringList &names)
{
    const QCollator collator;
    std::stable_sort(names.begin(), names.end(),
                     [&collator](const QString &a, const QString &b) { return collator.compare(a, b) < 0; });
}
