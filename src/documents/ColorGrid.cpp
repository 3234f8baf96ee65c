#include "documents/ColorGrid.h"

#include <QMouseEvent>
#include <QPainter>

namespace {
constexpr int cellSize = 12;
constexpr int columns = 4;
} // namespace

TColorGrid::TColorGrid(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("ColorGrid"));
    setAccessibleName(QStringLiteral("Farver"));
    setToolTip(QStringLiteral("Tekstfarve"));
    setFixedSize(sizeHint());
}

const QList<QColor> &TColorGrid::basicColours()
{
    // The first eight and the last eight static entries of the system's default palette.
    static const QList<QColor> colours{
        QColor(0, 0, 0),       QColor(128, 0, 0),   QColor(0, 128, 0),   QColor(128, 128, 0),
        QColor(0, 0, 128),     QColor(128, 0, 128), QColor(0, 128, 128), QColor(192, 192, 192),
        QColor(128, 128, 128), QColor(255, 0, 0),   QColor(0, 255, 0),   QColor(255, 255, 0),
        QColor(0, 0, 255),     QColor(255, 0, 255), QColor(0, 255, 255), QColor(255, 255, 255)};
    return colours;
}

QSize TColorGrid::sizeHint() const
{
    return {columns * cellSize + 1, columns * cellSize + 1};
}

QRect TColorGrid::cellRect(int index) const
{
    return {(index % columns) * cellSize, (index / columns) * cellSize, cellSize, cellSize};
}

void TColorGrid::setMarked(const QColor &colour)
{
    const int index = int(basicColours().indexOf(colour.toRgb()));
    if (index != m_marked) {
        m_marked = index;
        update();
    }
}

void TColorGrid::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QList<QColor> &colours = basicColours();
    for (int i = 0; i < colours.size(); ++i) {
        painter.fillRect(cellRect(i), colours[i]);
        painter.setPen(Qt::gray);
        painter.drawRect(cellRect(i));
    }
    if (m_marked >= 0) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRect(cellRect(m_marked).adjusted(1, 1, -1, -1));
    }
}

void TColorGrid::mousePressEvent(QMouseEvent *event)
{
    const QPoint at = event->position().toPoint();
    const int index = (at.y() / cellSize) * columns + at.x() / cellSize;
    if (at.x() < columns * cellSize && at.y() < columns * cellSize && index < basicColours().size())
        emit colourChosen(basicColours()[index]);
}
