#include "widgets/ElidedLabel.h"

#include <QDir>
#include <QPainter>
#include <QStyle>

namespace {

bool looksLikePath(const QString &text)
{
    return QDir::isAbsolutePath(text) || text.startsWith(QLatin1String("\\\\"));
}

} // namespace

ElidedLabel::ElidedLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize ElidedLabel::sizeHint() const
{
    return minimumSizeHint();
}

QSize ElidedLabel::minimumSizeHint() const
{
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(QStringLiteral("Mmmmmmmmmm")) + margins.left() + margins.right(),
            QLabel::minimumSizeHint().height()};
}

QString ElidedLabel::shownText() const
{
    // One line: a line break in a message would otherwise show as nothing at all.
    QString line = text();
    line.replace(QLatin1Char('\n'), QLatin1Char(' ')).replace(QLatin1Char('\r'), QLatin1Char(' '));
    return fontMetrics().elidedText(line, looksLikePath(line) ? Qt::ElideMiddle : Qt::ElideRight,
                                    contentsRect().width() - 2 * margin());
}

void ElidedLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    style()->drawItemText(&painter, area, int(alignment() | Qt::TextSingleLine), palette(), isEnabled(), shownText(),
                          foregroundRole());
}
