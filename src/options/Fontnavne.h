#pragma once

#include <QComboBox>
#include <QStringList>
#include <functional>

// A drop-down of font names. It tells its owner which name the user chose (FOnNyFont), and it can
// be told a name (NyFont) without telling that choice back.
class TFontnavne : public QComboBox {
    Q_OBJECT
public:
    using TOnNyFont = std::function<void(QObject *sender, const QString &fontName)>;

    explicit TFontnavne(QWidget *parent = nullptr);

    // Adds the face names of the fonts installed for the screen and sorts the whole list. What the
    // list held stays, and so does the choice: filling the list is not a change of the choice.
    void GetFontNames();
    // The same with the face names given; names beginning with "@" (the vertical variants of
    // East Asian fonts) are left out.
    void GetFontNames(const QStringList &faceNames);

    // Chooses fontName (when it differs from the name last given here) without raising FOnNyFont.
    void NyFont(const QString &fontName);

    TOnNyFont FOnNyFont;
    // True while FOnNyFont is being raised (and while NyFont chooses): a choice made then is not
    // reported again.
    bool FontUpdate = false;
    QString OldFontname;

signals:
    // The ordinary change event: every change of the choice, whoever made it. Raised before
    // FOnNyFont.
    void Changed();

protected:
    void Change();
    void SetFont();
};

// Font names in the order the user reads them: alphabetical by the program's language, letter
// case deciding only between otherwise equal names.
void sortFontNames(QStringList &names);
