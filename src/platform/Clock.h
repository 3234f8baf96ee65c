#pragma once

#include <QDateTime>
#include <functional>

// Today and now come from here, so that tests can fix the time.
namespace Platform {

QDateTime now(); // local time
void setClock(std::function<QDateTime()> clock); // empty restores the system clock

} // namespace Platform
