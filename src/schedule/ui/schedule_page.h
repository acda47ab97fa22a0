#pragma once
// Tab "Тарифное расписание": the schedule editor and the holidays page, with the transfer gauge.

#include "meter/ui/page.h"
#include "schedule/model.h"

#include <QWidget>

class QProgressBar;
class QTabWidget;

namespace zr::schedule
{

class ScheduleEditor;
class HolidaysPage;

class SchedulePage : public QWidget, public meter::Page
{
    Q_OBJECT
public:
    explicit SchedulePage(QWidget* parent = nullptr);

    // The transfer gauge follows the link.
    void attach(link::MeterLink& link, meter::DeviceState& device) override;

    // The one schedule of the program, shown by the editor and the holidays page.
    Schedule Model;
    QProgressBar* GaugeSched;
    QTabWidget* PageControl3;
    QWidget* TabShedule;
    ScheduleEditor* FrameShedule;
    HolidaysPage* Holidays;
};

} // namespace zr::schedule
