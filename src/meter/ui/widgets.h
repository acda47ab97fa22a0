#pragma once
// Small helpers shared by the pages: grids with fixed caption cells, report lists, read-only
// fields.

#include <QColor>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTableWidgetItem;
class QTableWidget;
class QTreeWidget;
class QWidget;

namespace zr::meter
{

// The colour with each channel c moved by its percentage p to c + (c * p) / 100, truncated toward
// zero and kept within 0..255.
QColor AdjustColor(const QColor& color, int redPercent, int greenPercent, int bluePercent);
// Fills the widget's background with the system button face adjusted by AdjustColor, so a panel
// stands out a shade from its surroundings whatever the desktop's colours.
void TintBackground(QWidget* widget, int redPercent, int greenPercent, int bluePercent);

// A read-only field drawn in its parent's colour, so it reads as a value, not an input.
void MakeParentColoured(QWidget* field);

// The idle poll cycle shows the same values over and over: a text or check mark is rewritten
// only when it changes, so nothing flickers and a selection in a field survives.
void SetTextIfChanged(QLineEdit* field, const QString& text);
void SetTextIfChanged(QLabel* label, const QString& text);
void SetTextIfChanged(QTableWidgetItem* cell, const QString& text);
void SetCheckedIfChanged(QListWidgetItem* item, bool checked);

// Grid whose row 0 and column 0 are caption cells; every cell holds an item, so pages can
// write any cell by (row, column) without creating one first.
void SetupGrid(QTableWidget* grid, int columns, int rows);
void SetRowCaptions(QTableWidget* grid, int column, int firstRow, const QStringList& texts);
void SetColumnCaptions(QTableWidget* grid, int row, int firstColumn, const QStringList& texts);
// Empties every data cell (row >= 1 and column >= 1); captions stay.
void ClearDataCells(QTableWidget* grid);
// Clears the grid's selection and current cell, unless there is none (no needless repaint).
void HideSelection(QTableWidget* grid);
// Minimum size that shows every cell without scrolling, after the captions are in; data
// columns get at least dataColumnWidth so the values to come have room.
void FitGridToContents(QTableWidget* grid, int dataColumnWidth = 0);

// Check list as large as its items, so no item text is cut.
void FitListToContents(QListWidget* list);

// Column list in report style: no tree decoration, whole-row selection, optional grid lines;
// every column at least as wide as its caption.
void SetupReportList(QTreeWidget* list, const QStringList& columns, bool gridLines);

} // namespace zr::meter
