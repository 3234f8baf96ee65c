#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;

// A captioned group of radio buttons with one chosen item, known by its index.
class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent);

    int itemIndex() const;
    // An index outside the items is ignored.
    void setItemIndex(int index);
    int count() const;

signals:
    void clicked(int index);

private:
    QButtonGroup *m_buttons;
};
