#include "platform/Printer.h"

#include <QPrinter>

namespace Platform {

QPrinter &currentPrinter()
{
    static QPrinter printer(QPrinter::HighResolution);
    return printer;
}

} // namespace Platform
