#include "widgets/ScreenPlace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <limits>

namespace {

// How much of a title bar must be on a screen for the user to grab it: its top strip, and a
// stretch of it wide enough for the pointer.
constexpr int kTitleBarHeight = 24;
constexpr int kGrip = 40;

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

qint64 distance(const QRect &area, const QPoint &point)
{
    const qint64 dx = point.x() < area.left() ? area.left() - point.x() : qMax(0, point.x() - area.right());
    const qint64 dy = point.y() < area.top() ? area.top() - point.y() : qMax(0, point.y() - area.bottom());
    return dx * dx + dy * dy;
}

// The screen area the window is most on; for a window on none, the one nearest to it.
QRect homeArea(const QRect &place)
{
    QRect best;
    qint64 bestOverlap = -1;
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect area = screen->availableGeometry();
        const qint64 shared = overlap(area, place);
        const qint64 away = distance(area, place.center());
        if (shared > bestOverlap || (shared == bestOverlap && away < bestDistance)) {
            best = area;
            bestOverlap = shared;
            bestDistance = away;
        }
    }
    return best;
}

bool titleBarSeen(const QRect &place)
{
    const QRect titleBar(place.topLeft(), QSize(place.width(), kTitleBarHeight));
    const int needed = qMin(place.width(), kGrip);
    for (const QScreen *screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(titleBar);
        if (seen.height() == kTitleBarHeight && seen.width() >= needed)
            return true;
    }
    return false;
}

} // namespace

namespace {

// Makes the window fit its screen area and moves it into the area unless the place is good enough.
void placeOnScreen(QWidget &window, bool (*goodEnough)(const QRect &place))
{
    const QRect area = homeArea(QRect(window.pos(), window.size()));
    if (!area.isValid())
        return;
    const QSize size = window.size().boundedTo(area.size());
    if (size != window.size())
        window.resize(size);
    if (goodEnough(QRect(window.pos(), size)))
        return;
    window.move(qBound(area.left(), window.x(), area.right() + 1 - size.width()),
                qBound(area.top(), window.y(), area.bottom() + 1 - size.height()));
}

bool whollySeen(const QRect &place)
{
    return homeArea(place).contains(place);
}

} // namespace

void keepOnScreen(QWidget &window)
{
    placeOnScreen(window, titleBarSeen);
}

void showWhollyOnScreen(QWidget &window)
{
    placeOnScreen(window, whollySeen);
}
