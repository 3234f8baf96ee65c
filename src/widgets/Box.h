#pragma once

#include <QDialog>

// A box of the program: one instance for the whole run, created hidden at start-up; closing it
// only hides it. It stays with the main window (centred on it, above it).
class TBox : public QDialog {
    Q_OBJECT
public:
    explicit TBox(QWidget *parent, const QString &caption);

    // The create step, run at start-up right after the box's instance pointer is set, so that
    // the step may already use it; the boxes created before it exist.
    virtual void FormCreate() {}
    // The close step: what the box keeps of itself is saved. It runs whenever the box closes,
    // whichever way the user closes it.
    virtual void FormClose() {}
    // Closes the box at program end: a shown box as the user would, a hidden one runs its close
    // step alone (Qt sends no close event to a dialog that was shown once and is hidden now).
    void closeBox();

protected:
    void done(int result) override;
};
