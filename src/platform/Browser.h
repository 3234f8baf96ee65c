#pragma once

#include <QUrl>

// Opens web addresses in the user's default browser.
namespace Platform {

class Browser {
public:
    virtual ~Browser() = default;
    virtual bool open(const QUrl &address) = 0;
};

// The address of a web search: https://host + path + "?" + key + "=" + the text, percent-encoded
// so that the whole text is searched ("&", "#", "+" and spaces included).
QUrl searchAddress(const QString &host, const QString &path, const QString &key, const QString &text);

Browser &browser();
void setBrowser(Browser *fake); // nullptr restores the real browser; the caller keeps ownership

} // namespace Platform
