#pragma once
// Tab "Тарифное расписание": the schedule editor and the holidays page, with the transfer gauge.

#include "meter/ui/page.h"

#include <QWidget>

class QProgressBar;
class QTabWidget;

namespace zr::schedule
{

class TFrameShedule;
class TabHolidays;

class SchedulePage : public QWidget, public meter::Page
{
    Q_OBJECT
public:
    explicit SchedulePage(QWidget* parent = nullptr);

    // The transfer gauge follows the link.
    void attach(link::MeterLink& link, meter::DeviceState& device) override;

    QProgressBar* GaugeSched;
    QTabWidget* PageControl3;
    QWidget* TabShedule;
    TFrameShedule* FrameShedule;
    TabHolidays* Holidays;
};

} // namespace zr::schedule
