#pragma once

#include "widgets/Box.h"

class QCheckBox;
class QPushButton;
class TRadioGroup;

// Asks what to do with files that are being opened from the open dialog or dropped on the main
// window. It only records the choice; the main window carries it out.
class Topenform : public TBox {
    Q_OBJECT
public:
    explicit Topenform(QWidget *parent);

    void FormCreate() override;
    // Settings file "OpenUnit.txt": the chosen action and "Start med ny liste".
    void HentOpt();
    void GemOpt();

    QString optFilnavn;
    TRadioGroup *handlingsBox = nullptr;
    QCheckBox *checkNyListe = nullptr;
    QPushButton *okButton = nullptr;
    QPushButton *annullerButton = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    // Confirmed or not, the choice is remembered for the next time.
    void FormClose() override { GemOpt(); }

private:
    // A new list only means something when the files go into a list.
    void handlingsBoxClick();
};
