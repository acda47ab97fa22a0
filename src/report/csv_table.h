#pragma once
// The same title and table as a CSV text for spreadsheet programs of a Russian locale.

#include "report/report_table.h"

#include <QByteArray>

namespace zr::report
{

// UTF-8 with a byte-order mark, ";" between cells, CR LF between lines; the title on the first
// line, the captions on the second. A cell holding ";", a quote or a line break is quoted.
QByteArray BuildCsv(const ReportTable& table);

} // namespace zr::report
