#include "report/list_sort.h"

namespace zr::report
{

namespace
{

constexpr int kNotANumber = -999;

int SortNumber(const QStringList& item, int column)
{
    bool ok = false;
    const int number = item.value(column).toInt(&ok);
    return ok ? number : kNotANumber;
}

} // namespace

int Compare(const QStringList& item1, const QStringList& item2, int sortKey)
{
    const int column = sortKey % 100;
    const int result = SortNumber(item1, column) > SortNumber(item2, column) ? 1 : -1;
    return sortKey / 100 >= 1 ? -result : result;
}

} // namespace zr::report
