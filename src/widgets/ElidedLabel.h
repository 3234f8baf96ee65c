#pragma once

#include <QLabel>

// A one-line label for texts of any length, such as a status line: it never asks for more room
// than a few characters, so a long text cannot make its window grow. A text too long for it is
// shown shortened with "…": in the middle for a file or folder path, whose start and name tell it
// apart, at the end for anything else. text() stays the whole text.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as it is drawn now.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};
