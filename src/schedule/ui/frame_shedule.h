#pragma once
// Schedule editor panel: the year table above, the current day profile below.

#include <QColor>
#include <QWidget>
#include <array>

class QAction;
class QButtonGroup;
class QFrame;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStatusBar;
class QTableWidget;
class QTimeEdit;
class QToolButton;
class QTreeWidget;
class QGroupBox;

namespace zr::schedule
{

// Colours of tariffs 1 … 8 until the user picks others.
const std::array<QColor, 8>& DefaultTariffColors();

class TFrameShedule : public QWidget
{
    Q_OBJECT
public:
    explicit TFrameShedule(QWidget* parent = nullptr);

    // Paints tariff button, limit button and day-bar band of that tariff (1 … 8) alike.
    void SetTariffColor(int tariff, const QColor& color);
    QColor TariffColor(int tariff) const;

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
};

} // namespace zr::schedule
