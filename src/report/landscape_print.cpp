#include "report/landscape_print.h"

#include <QPrinter>

namespace zr::report
{

bool PrintInLandscape(QPrinter& printer, const std::function<void(QPainter&, QRect)>& paint)
{
    const QPageLayout::Orientation previous = printer.pageLayout().orientation();
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    bool printed = painter.begin(&printer);
    if (printed) {
        paint(painter, QRect(0, 0, printer.width(), printer.height()));
        printed = painter.end();
    }
    printer.setPageOrientation(previous);
    return printed;
}

} // namespace zr::report
