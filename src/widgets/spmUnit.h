#pragma once

#include "widgets/tekstBoks.h"

class QLabel;
class QPushButton;

// The question box: every yes-or-no question of the program is asked here.
class Tspform : public TMessageBox {
    Q_OBJECT
public:
    explicit Tspform(QWidget *parent = nullptr);

    QLabel *const textLabel;
    QPushButton *const BitBtn1;        // "Ja", modal result 1
    QPushButton *const annullerButton; // "Nej"

    // "Nej" ends the box with this result, so that it is told apart from a box closed without an
    // answer (Escape or the window's close button), which gives QDialog::Rejected.
    static constexpr int NoResult = 2;

protected:
    // Every question starts on "Ja": a "Nej" pressed for the last question must not become the
    // answer Enter gives to the next one.
    void showEvent(QShowEvent *event) override;
};

// The answers the question box can give: "Ja", "Nej", or none, the box being closed with Escape
// or the window's close button.
enum class Answer { Yes, No, Cancel };

// Asks the question in the question box and tells the three answers apart, for a question whose
// asker can still go back, such as the save question of a closing document.
Answer askOrCancel(const QString &text);

// Asks the question in the question box; true only when the user answered "Ja". "Nej", Escape
// and the window's close button all mean no.
bool ask(const QString &text);
