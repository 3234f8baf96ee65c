#include "platform/Browser.h"

#include <QDesktopServices>

namespace Platform {

namespace {
class DesktopBrowser : public Browser {
public:
    bool open(const QUrl &address) override { return QDesktopServices::openUrl(address); }
};

Browser *&current()
{
    static Browser *fake = nullptr;
    return fake;
}
} // namespace

Browser &browser()
{
    static DesktopBrowser real;
    return current() ? *current() : real;
}

void setBrowser(Browser *fake)
{
    current() = fake;
}

} // namespace Platform
