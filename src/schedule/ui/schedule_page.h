#pragma once
// Tab "Тарифное расписание": the schedule editor and the holidays page, with the transfer gauge;
// the file actions and the transfers to and from the meter.

#include "meter/ui/page.h"
#include "schedule/model.h"
#include "schedule/transfer.h"

#include <QWidget>
#include <optional>

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

    // The transfer gauge follows the link; the transfers go through it.
    void attach(link::MeterLink& link, meter::DeviceState& device) override;

    void ActionNewSchedExecute();
    void ActionLoadTariffExecute();
    void ActionSaveTariffExecute();
    // Each returns whether a batch was queued (the window then switches the meter-dependent
    // controls off until the queue drains).
    bool ActionWriteSchedExecute();
    bool ActionReadSchedExecute();

    // The one schedule of the program, shown by the editor and the holidays page.
    Schedule Model;
    QProgressBar* GaugeSched;
    QTabWidget* PageControl3;
    QWidget* TabShedule;
    ScheduleEditor* FrameShedule;
    HolidaysPage* Holidays;

signals:
    // The page wants to be the current tab of the window.
    void showRequested();
    // A line for the operation log.
    void operationLogged(const QString& text);

private:
    void ShowPages();
    void Redraw();
    // A read answer: into the collection, errors into the traffic log, the gauge on.
    template <typename Answer> void Collect(const Answer& answer);
    // The read ended, drained or dropped: the schedule takes what arrived.
    void FinishRead();

    link::MeterLink* link_ = nullptr;
    std::optional<ScheduleRead> read_;
};

} // namespace zr::schedule
