#pragma once
// Schedule editor panel: the year table above, the current cell's day profile below. All schedule
// logic is the model's; the panel turns clicks into model calls and draws what the model holds.

#include "schedule/model.h"

#include <QColor>
#include <QWidget>
#include <array>

class QAction;
class QButtonGroup;
class QFrame;
class QLabel;
class QPainter;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTableWidget;
class QTimeEdit;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QGroupBox;

namespace zr::schedule
{

// Colours of tariffs 1 … 8 until the user picks others.
const std::array<QColor, 8>& DefaultTariffColors();

// Where the user's tariff colours are kept between runs.
constexpr const char* kColorSettingsKey = "SOFTWARE\\Quenvoll\\Schedule";

class ScheduleEditor : public QWidget
{
    Q_OBJECT
public:
    explicit ScheduleEditor(Schedule* schedule, QWidget* parent = nullptr);

    // Draws the model afresh after it was replaced or changed from outside (new, load, save,
    // read, write): the current profile, the day bar, the record count, the year table.
    void ShowSchedule();

    // Paints tariff button, limit button and day-bar band of that tariff (1 … 8) alike.
    void SetTariffColor(int tariff, const QColor& color);
    QColor TariffColor(int tariff) const;
    // A colour the user chose for a tariff: shown, remembered and stored for the next run.
    void ChooseColor(int tariff, const QColor& color);

    // Cell of the year table at a point of its viewport: column = month, row = day type; 0 or
    // less for the fixed row or column.
    QPoint CellAt(QPoint point) const;
    // Rectangle of a cell (column, row) in the viewport.
    QRect CellRect(int column, int row) const;

    QFrame* PanelYear;
    QTableWidget* StringGrid1;
    QSlider* TrackBar1;
    QWidget* PaintBoxDay;
    QGroupBox* GroupTariff;
    QTimeEdit* DateTimeZone;
    QRadioButton* Tariff[8];
    QButtonGroup* TariffButtons;
    QGroupBox* GroupLimit;
    QSpinBox* SpinLimit;
    QRadioButton* TariffLimit[8];
    QButtonGroup* LimitButtons;
    QToolButton* BitBtnRedo;
    QToolButton* BitBtnUndo;
    QToolButton* BitBtnEdit;
    QToolButton* BitBtnDelete;
    QAction* ActionEdit;
    QAction* ActionDelete;
    QWidget* PanelList;
    QTreeWidget* ListViewDays;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel[2];

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void PanelYearCanResize();
    void StringGrid1DrawCell(QPainter& painter, int column, int row, const QRect& rect) const;
    void StringGrid1MouseDown(QMouseEvent* event);
    void StringGrid1MouseUp(QMouseEvent* event);
    void PaintBoxDayPaint();
    void TrackBar1Change(int position);
    void DateTimeZoneChange();
    void TariffClick(int tariff);
    void LimitClick(int limitTariff);
    void ListViewDaysSelectItem();
    void ActionEditExecute();
    void ActionDeleteExecute();
    void BitBtnRedoClick();
    void BitBtnUndoClick();
    void TariffContextPopup(int tariff);

    void GetSheduleDay();
    void DayChoice();
    void DayChange();
    void ShowState();
    void SetTime(int minutes);
    QString PickedTime() const;
    int CheckedTariff() const;
    int CheckedLimitTariff() const;
    QTreeWidgetItem* RowOfTime(const QString& time) const;
    QTreeWidgetItem* SelectedRow() const;
    void SetRow(QTreeWidgetItem* row, const Zone& zone);
    Zone RowZone(const QTreeWidgetItem* row) const;
    void UpdateAddAction(int tariff, int limitTariff);
    void LoadRememberedColors();

    Schedule* schedule_;
    Cell pressed_;
    bool shift_ = false;
    bool ctrl_ = false;
    // 0x00BBGGRR values of tariffs 1 … 8 as stored; 0 = none.
    std::array<uint32_t, 8> remembered_{};
};

} // namespace zr::schedule
