#include "platform/Browser.h"

#include "platform/Seam.h"

#include <QDesktopServices>

namespace Platform {

namespace {
class DesktopBrowser : public Browser {
public:
    bool open(const QUrl &address) override { return QDesktopServices::openUrl(address); }
};

} // namespace

Browser &browser()
{
    return Seam<Browser>::get<DesktopBrowser>();
}

void setBrowser(Browser *fake)
{
    Seam<Browser>::replace(fake);
}

} // namespace Platform
