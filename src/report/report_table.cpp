#include "report/report_table.h"

#include <algorithm>

namespace zr::report
{

int ReportTable::ColumnCount() const
{
    int count = captions.size();
    for (const QStringList& row : rows)
        count = std::max(count, int(row.size()));
    return count;
}

QString ReportTable::Cell(int row, int column) const
{
    const QStringList& cells = rows.at(row);
    return column < cells.size() ? cells.at(column) : QString();
}

} // namespace zr::report
