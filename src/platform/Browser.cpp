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

QUrl searchAddress(const QString &host, const QString &path, const QString &key, const QString &text)
{
    const QByteArray address = "https://" + host.toLatin1() + path.toLatin1() + '?' + key.toLatin1() + '='
        + QUrl::toPercentEncoding(text);
    return QUrl::fromEncoded(address, QUrl::StrictMode);
}

Browser &browser()
{
    return Seam<Browser>::get<DesktopBrowser>();
}

void setBrowser(Browser *fake)
{
    Seam<Browser>::replace(fake);
}

} // namespace Platform
