#pragma once

#include <functional>

class QDialog;

// Every modal showing of the program goes through showModal, so that tests can answer the boxes
// as a user would instead of blocking in a modal loop.
namespace Platform {

// Shows the box modally and returns its result code.
int showModal(QDialog &box);

// A responder acts on the shown box (fills fields, presses a button) and must end it; its result
// is then returned by showModal. An empty responder restores real modal showing.
using ModalResponder = std::function<void(QDialog &)>;
void setModalResponder(ModalResponder responder);

} // namespace Platform
