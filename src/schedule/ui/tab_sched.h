#pragma once
// Tab "Тарифное расписание": the schedule editor and the holidays page, with the transfer gauge.

#include "schedule/model.h"

#include <QWidget>

class QProgressBar;
class QTabWidget;

namespace zr::schedule
{

class ScheduleEditor;
class HolidaysPage;

class TabSched : public QWidget
{
    Q_OBJECT
public:
    explicit TabSched(QWidget* parent = nullptr);

    // The one schedule of the program, shown by the editor and the holidays page.
    Schedule Model;
    QProgressBar* GaugeSched;
    QTabWidget* PageControl3;
    QWidget* TabShedule;
    ScheduleEditor* FrameShedule;
    HolidaysPage* Holidays;
};

} // namespace zr::schedule
