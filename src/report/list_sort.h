#pragma once
// The numeric sort of list views such as the event journal.

#include <QString>
#include <QStringList>

namespace zr::report
{

// A sort key packs a column and a direction: key % 100 is the column (0 = the item's caption,
// k = its sub-item k - 1, that is column k of the item's cells), key / 100 >= 1 is descending.
// The keyed texts are read as integers, -999 when they are not one; +1 when item 1's number is
// greater, otherwise -1 (equal numbers too); negated for a descending key.
int Compare(const QStringList& item1, const QStringList& item2, int sortKey);

} // namespace zr::report
