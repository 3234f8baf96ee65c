#include "widgets/ToolRow.h"

#include "widgets/Hints.h"

#include <QToolBar>
#include <QToolButton>

QToolBar *toolRow(QWidget *parent, const QString &name)
{
    auto *row = new QToolBar(parent);
    row->setObjectName(name);
    row->setMovable(false);
    row->setFloatable(false);
    row->setOrientation(Qt::Horizontal);
    row->setToolButtonStyle(Qt::ToolButtonTextOnly);
    row->setContentsMargins(0, 0, 0, 0);
    // Qt's overflow button is a narrow strip: the designs' padding for tool buttons would leave no
    // room for its mark, so it gets none, and a "»" that every design draws in its text colour.
    if (auto *overflow = row->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"))) {
        overflow->setStyleSheet(QStringLiteral("padding: 0px;"));
        overflow->setToolButtonStyle(Qt::ToolButtonTextOnly);
        overflow->setText(QStringLiteral("»"));
        overflow->setAccessibleName(QStringLiteral("Flere knapper"));
        setHint(overflow, QStringLiteral("Flere knapper"));
    }
    return row;
}

void addSpring(QToolBar *row)
{
    auto *spring = new QWidget(row);
    spring->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    row->addWidget(spring);
}
