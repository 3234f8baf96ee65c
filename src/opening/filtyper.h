#pragma once

#include "widgets/Box.h"

class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TAction;

// The file type box: the user's list of file types that open for editing without a question.
// Its rows are a tick, the name ("Tekst") and the pattern ("Type"); the main window reads and
// writes the list's file.
class Ttypeform : public TBox {
    Q_OBJECT
public:
    explicit Ttypeform(QWidget *parent);

    void FormCreate() override;

    void typelisteAdd(const QString &aTekst, const QString &aType, bool check);
    bool isItTextfile(const QString &ext) const;
    void insertknapClick();
    void standardKnapClick();
    void saveknapClick();
    void lukKnapClick();

    QTreeWidget *typeliste = nullptr;
    QLineEdit *tekstedit = nullptr;
    QLineEdit *typeedit = nullptr;
    QToolButton *insertknap = nullptr;
    QPushButton *standardKnap = nullptr;
    QPushButton *saveknap = nullptr;
    QPushButton *lukKnap = nullptr;
    TAction *aDelete = nullptr;
    TAction *Aop = nullptr;
    TAction *Aned = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void typelisteChange();
    // The selected row's index, -1 when none is selected.
    int selectedRow() const;
    void aDeleteExecute();
    // Moves the selected row one place up (-1) or down (1).
    void moveRow(int step);
};
