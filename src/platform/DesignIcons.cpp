#include "platform/Designs.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPixmapCache>
#include <QStandardPaths>
#include <cmath>

namespace Platform {

namespace {

double luminance(QColor colour)
{
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) + 0.0722 * channel(colour.blueF());
}

// A pixel without a hue of its own: the strokes of a one-colour icon and their smoothed edges.
bool grey(QRgb pixel)
{
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) - std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)})
        < 48;
}

struct IconColour {
    QColor mean;         // of every pixel, weighted by how much each covers
    bool single = false; // nearly every pixel grey: an icon drawn in one colour
};

IconColour colourOf(const QImage &image)
{
    double covered = 0, greyCovered = 0, red = 0, green = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = line[x];
            const int alpha = qAlpha(pixel);
            covered += alpha;
            greyCovered += grey(pixel) ? alpha : 0;
            red += qRed(pixel) * alpha;
            green += qGreen(pixel) * alpha;
            blue += qBlue(pixel) * alpha;
        }
    }
    if (covered == 0)
        return {};
    return {QColor(int(red / covered), int(green / covered), int(blue / covered)), greyCovered >= 0.9 * covered};
}

QRgb mixed(QRgb pixel, const QColor &with, double share)
{
    const auto mix = [share](int own, int other) { return int(own + (other - own) * share + 0.5); };
    return qRgba(mix(qRed(pixel), with.red()), mix(qGreen(pixel), with.green()), mix(qBlue(pixel), with.blue()),
                 qAlpha(pixel));
}

// An icon that would hardly stand out from the windows is drawn in the text colour when it has one
// colour, and moved towards the text colour, keeping its hues, when it has several.
void recolour(QImage &image, const QPalette &palette)
{
    const IconColour own = colourOf(image);
    const QColor window = palette.color(QPalette::Active, QPalette::Window);
    const QColor text = palette.color(QPalette::Active, QPalette::WindowText);
    if (!own.mean.isValid() || contrastRatio(own.mean, window) >= 3.0
        || contrastRatio(text, window) <= contrastRatio(own.mean, window))
        return;
    double share = 1.0;
    if (!own.single) {
        share = 0.25;
        while (share < 1.0 && contrastRatio(QColor::fromRgb(mixed(own.mean.rgb(), text, share)), window) < 3.0)
            share += 0.25;
    }
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!own.single || grey(line[x]))
                line[x] = mixed(line[x], text, share);
        }
    }
}

// Disabled: grey, and faded to a quarter of its cover, on any background.
void fade(QImage &image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int level = qGray(line[x]);
            line[x] = qRgba(level, level, level, qAlpha(line[x]) / 4);
        }
    }
}

class DesignIconEngine : public QIconEngine {
public:
    DesignIconEngine(const QString &name, const QIcon &fallback) : m_name(name), m_fallback(fallback) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        QPixmap picture = pixmap(rect.size() * ratio, mode, state);
        picture.setDevicePixelRatio(ratio);
        const QSize shown = picture.deviceIndependentSize().toSize();
        painter->drawPixmap(QRect(rect.topLeft() + QPoint((rect.width() - shown.width()) / 2,
                                                          (rect.height() - shown.height()) / 2),
                                  shown),
                            picture);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QIcon themed = source();
        const QPalette palette = QGuiApplication::palette();
        const QString key = QStringLiteral("kyxDesignIcon/%1/%2/%3x%4/%5/%6/%7/%8")
                                .arg(m_name, QIcon::themeName())
                                .arg(size.width())
                                .arg(size.height())
                                .arg(int(mode == QIcon::Disabled))
                                .arg(int(state))
                                .arg(palette.color(QPalette::Active, QPalette::Window).rgb())
                                .arg(palette.color(QPalette::Active, QPalette::WindowText).rgb());
        QPixmap picture;
        if (QPixmapCache::find(key, &picture))
            return picture;
        QImage image = themed.pixmap(size, QIcon::Normal, state).toImage().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            return QPixmap();
        recolour(image, palette);
        if (mode == QIcon::Disabled)
            fade(image);
        picture = QPixmap::fromImage(image);
        QPixmapCache::insert(key, picture);
        return picture;
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return source().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return source().availableSizes(mode, state);
    }

    QString iconName() override { return m_name; }
    bool isNull() override { return source().isNull(); }
    QString key() const override { return QStringLiteral("kyxDesignIcon"); }
    QIconEngine *clone() const override { return new DesignIconEngine(m_name, m_fallback); }

private:
    // Looked up at each use, so a change of icon theme reaches icons made before it.
    QIcon source() const
    {
        const QIcon themed = QIcon::fromTheme(m_name);
        return themed.isNull() ? m_fallback : themed;
    }

    QString m_name;
    QIcon m_fallback;
};

} // namespace

void useIconTheme()
{
    QStringList folders = QIcon::themeSearchPaths();
    for (const QString &folder :
         QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory)) {
        if (!folders.contains(folder))
            folders << folder;
    }
    QIcon::setThemeSearchPaths(folders);
    if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("breeze"));
}

void suitIconTheme(const QPalette &palette)
{
    // Only the theme chosen here follows the design; a theme the desktop set is the user's own.
    const QString theme = QIcon::themeName();
    if (theme != QLatin1String("breeze") && theme != QLatin1String("breeze-dark"))
        return;
    const bool dark = palette.color(QPalette::Active, QPalette::Window).lightness() < 128;
    QIcon::setThemeName(dark ? QStringLiteral("breeze-dark") : QStringLiteral("breeze"));
}

QIcon designIcon(const QString &name, const QIcon &fallback)
{
    return QIcon(new DesignIconEngine(name, fallback));
}

double contrastRatio(QColor a, QColor b)
{
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

} // namespace Platform
