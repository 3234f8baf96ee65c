#include "widgets/tekstBoks.h"

#include "platform/Designs.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {
constexpr int Width = 339;
constexpr int Margin = 12;
// Room under the text for the buttons and the margins.
constexpr int ButtonRoom = 80;
// What the window manager's title bar may take of the screen's height.
constexpr int TitleRoom = 48;
constexpr int RestingPointSize = 8;
constexpr int ShownPointSize = 10;

void setLabelPointSize(QLabel *label, int points)
{
    QFont font = label->font();
    font.setPointSize(points);
    label->setFont(font);
}
} // namespace

TMessageBox::TMessageBox(QWidget *parent, const QString &caption)
    : TBox(parent, caption)
    , m_text(new QLabel(this))
    , m_buttons(new QHBoxLayout)
{
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    // With the main window as parent the box is its transient and the window manager keeps it above
    // the main window. Without one there is nothing to be transient for, so the box asks to stay on
    // top outright, or a message could open hidden behind the windows it is about.
    if (!parent)
        setWindowFlag(Qt::WindowStaysOnTopHint);

    // File names in messages may hold "<" and "&": the text is shown exactly as given.
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_text->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto *column = new QVBoxLayout(this);
    column->setSizeConstraint(QLayout::SetNoConstraint);
    column->setContentsMargins(Margin, Margin, Margin, Margin);
    column->addWidget(m_text);
    column->addStretch(1);
    m_buttons->addStretch(1);
    column->addLayout(m_buttons);

    resetValues();
    setFixedSize(Width, ButtonRoom);
}

QPushButton *TMessageBox::addButton(const QString &caption, const QString &iconName)
{
    auto *button = new QPushButton(Platform::designIcon(iconName), caption, this);
    button->setAccessibleName(caption);
    m_buttons->addWidget(button);
    m_buttons->addStretch(1);
    return button;
}

void TMessageBox::insertTekst(const QString &text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_text->setText(shown);
}

void TMessageBox::resetValues()
{
    m_text->clear();
    setLabelPointSize(m_text, RestingPointSize);
}

void TMessageBox::setVisible(bool visible)
{
    if (visible && !isVisible())
        FormShow();
    const bool wasVisible = isVisible();
    TBox::setVisible(visible);
    if (!visible && wasVisible)
        FormClose();
}

void TMessageBox::FormShow()
{
    setLabelPointSize(m_text, ShownPointSize);
    int boxHeight = m_text->heightForWidth(Width - 2 * Margin) + ButtonRoom;
    // A message longer than the screen still leaves the buttons where the user can reach them.
    const QWidget *owner = parentWidget() ? parentWidget()->window() : this;
    if (const QScreen *ownerScreen = owner->screen())
        boxHeight = qMin(boxHeight, ownerScreen->availableGeometry().height() - TitleRoom);
    setFixedSize(Width, qMax(boxHeight, ButtonRoom));
}

void TMessageBox::FormClose()
{
    resetValues();
}
