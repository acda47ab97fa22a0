#pragma once
// Tab "Тарифное расписание": the schedule editor and the holidays page, with the transfer gauge.

#include <QWidget>

class QProgressBar;
class QTabWidget;

namespace zr::schedule
{

class TFrameShedule;
class TabHolidays;

class TabSched : public QWidget
{
    Q_OBJECT
public:
    explicit TabSched(QWidget* parent = nullptr);

    QProgressBar* GaugeSched;
    QTabWidget* PageControl3;
    QWidget* TabShedule;
    TFrameShedule* FrameShedule;
    TabHolidays* Holidays;
};

} // namespace zr::schedule
