#pragma once
// Printing a picture, such as a chart, on one landscape page.

#include <QPainter>
#include <QRect>
#include <functional>

class QPrinter;

namespace zr::report
{

// Paints one landscape page through `paint`, given the page's printable rectangle, and restores
// the printer's previous orientation. The same painting code serves the screen and the printer.
// False when the printer cannot be started.
bool PrintInLandscape(QPrinter& printer, const std::function<void(QPainter&, QRect)>& paint);

} // namespace zr::report
