#include "Fakes.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QTest>
#include <QWindow>

bool pressButton(QWidget &box, const QString &caption)
{
    for (QAbstractButton *button : box.findChildren<QAbstractButton *>()) {
        QString text = button->text();
        text.remove(QLatin1Char('&'));
        if (text == caption && button->isVisible() && button->isEnabled()) {
            button->click();
            return true;
        }
    }
    return false;
}

ModalScript::ModalScript()
{
    Platform::setModalResponder([this](QDialog &box) {
        QStringList texts;
        for (const QLabel *label : box.findChildren<QLabel *>())
            if (!label->text().isEmpty())
                texts << label->text();
        shown.append({box.windowTitle(), texts.join(QLatin1Char('\n'))});
        if (m_answers.isEmpty()) {
            unexpected << box.windowTitle() + QStringLiteral(": ") + texts.join(QLatin1Char(' '));
            box.reject();
            return;
        }
        m_answers.dequeue()(box);
    });
}

ModalScript::~ModalScript()
{
    Platform::setModalResponder({});
}

void ModalScript::press(const QString &caption)
{
    m_answers.enqueue([caption, this](QDialog &box) {
        if (!pressButton(box, caption)) {
            unexpected << QStringLiteral("no button \"%1\" in %2").arg(caption, box.windowTitle());
            box.reject();
        }
    });
}

void ModalScript::answer(Answer action)
{
    m_answers.enqueue(std::move(action));
}

void ModalScript::closeWindow()
{
    m_answers.enqueue([](QDialog &box) { box.close(); });
}

void ModalScript::key(Qt::Key key)
{
    m_answers.enqueue([key](QDialog &box) { QTest::keyClick(box.windowHandle(), key); });
}
