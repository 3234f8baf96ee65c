#pragma once

#include <QUrl>

// Opens web addresses in the user's default browser.
namespace Platform {

class Browser {
public:
    virtual ~Browser() = default;
    virtual bool open(const QUrl &address) = 0;
};

Browser &browser();
void setBrowser(Browser *fake); // nullptr restores the real browser; the caller keeps ownership

} // namespace Platform
