#pragma once
// A table as the pages hand it to export and printing: plain texts, no widgets.

#include <QList>
#include <QString>
#include <QStringList>

namespace zr::report
{

struct ReportTable {
    QString title;           // above the table; may be empty
    QStringList captions;    // the header row
    QList<QStringList> rows; // data rows; a row may be shorter than the captions

    int ColumnCount() const;
    // The cell text, empty past the end of its row.
    QString Cell(int row, int column) const;
};

} // namespace zr::report
