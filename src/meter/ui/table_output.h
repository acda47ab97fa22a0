#pragma once
// What the export and print buttons of the table pages share: the tables taken from grids and
// lists, the dialogs, the warning of a failed export and the opening of the saved file. The
// dialogs and the desktop go through replaceable hooks, so tests run without them.

#include "report/report_table.h"

#include <QPainter>
#include <QRect>
#include <QString>
#include <functional>

class QPrinter;
class QTableWidget;
class QTreeWidget;
class QWidget;

namespace zr::meter
{

struct OutputHooks {
    // The export's target; empty when the user cancels. By default the save dialog offering
    // "xls (*.xls)" and "CSV (*.csv)".
    std::function<QString(QWidget* parent)> chooseExportPath;
    // True when the user confirms the print dialog for `printer`.
    std::function<bool(QWidget* parent, QPrinter& printer)> choosePrinter;
    // Opens a saved file with the desktop's program for it; failures are ignored.
    std::function<void(const QString& path)> openFile;
    // A warning message box.
    std::function<void(QWidget* parent, const QString& caption, const QString& text)> warn;
    // The value of the factory number field SpinEdit_Number, for the titles.
    std::function<int()> numberField;
};

// The hooks in use; the window and tests replace members.
OutputHooks& Output();

// The titles' prefix: "Счетчик № " + number + separator when the number is at least 1.
QString NumberTitle(const QString& separator);

// A grid as it is shown, row 0 as the captions; a list with its column captions and one row per
// item (caption first).
report::ReportTable TableOfGrid(const QTableWidget& grid, const QString& title);
report::ReportTable TableOfList(const QTreeWidget& list, const QString& title);

// Export after the save dialog; a failure shows the warning, a success opens the file.
void ExportWithDialog(QWidget* parent, const report::ReportTable& table);
// The ruled listing on the printer chosen in the print dialog.
void PrintWithDialog(QWidget* parent, const report::ReportTable& table);
// One landscape page painted by `paint` on the printer chosen in the print dialog.
void PrintPictureWithDialog(QWidget* parent, const std::function<void(QPainter&, QRect)>& paint);

} // namespace zr::meter
