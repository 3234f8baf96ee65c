#include "platform/Modal.h"

#include <QDialog>

namespace Platform {

namespace {
ModalResponder &responder()
{
    static ModalResponder current;
    return current;
}
} // namespace

int showModal(QDialog &box)
{
    if (!responder())
        return box.exec();
    // Shown for real (its show and hide handling runs), but answered by the test instead of
    // a nested event loop.
    box.setResult(QDialog::Rejected);
    box.show();
    responder()(box);
    if (box.isVisible())
        box.done(QDialog::Rejected);
    return box.result();
}

void setModalResponder(ModalResponder r)
{
    responder() = std::move(r);
}

} // namespace Platform
