#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

// A grid of the sixteen basic colours, four by four; a click chooses a colour, and the cell of
// the colour in use is marked.
class TColorGrid : public QWidget {
    Q_OBJECT
public:
    explicit TColorGrid(QWidget *parent);

    static const QList<QColor> &basicColours();
    // Marks the cell of this colour; a colour outside the sixteen marks none.
    void setMarked(const QColor &colour);
    int markedIndex() const { return m_marked; }
    QSize sizeHint() const override;

signals:
    void colourChosen(const QColor &colour);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect cellRect(int index) const;
    int m_marked = -1;
};
