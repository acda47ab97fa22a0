#include "schedule/ui/schedule_page.h"

#include "link/function_code.h"
#include "link/meter_link.h"
#include "schedule/ui/holidays_page.h"
#include "schedule/ui/schedule_editor.h"
#include "schedule/ui/schedule_files.h"
#include "schedule/ui/schedule_message.h"

#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zr::schedule
{

SchedulePage::SchedulePage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSched"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    GaugeSched = new QProgressBar(this);
    GaugeSched->setObjectName(QStringLiteral("GaugeSched"));
    GaugeSched->setTextVisible(false);
    GaugeSched->setFixedHeight(8);
    GaugeSched->hide();
    layout->addWidget(GaugeSched);
    PageControl3 = new QTabWidget(this);
    PageControl3->setObjectName(QStringLiteral("PageControl3"));
    layout->addWidget(PageControl3);

    TabShedule = new QWidget;
    TabShedule->setObjectName(QStringLiteral("TabShedule"));
    auto* editorLayout = new QVBoxLayout(TabShedule);
    editorLayout->setContentsMargins(4, 4, 4, 4);
    FrameShedule = new ScheduleEditor(&Model, TabShedule);
    editorLayout->addWidget(FrameShedule);
    PageControl3->addTab(TabShedule, QStringLiteral("Расписание"));
    Holidays = new HolidaysPage(&Model);
    PageControl3->addTab(Holidays, QStringLiteral("Праздники и коэффициент лимита"));
    PageControl3->setCurrentIndex(0);
}

void SchedulePage::attach(link::MeterLink& link, meter::DeviceState&)
{
    link_ = &link;
    connect(&link, &link::MeterLink::gaugeSchedVisible, GaugeSched, &QWidget::setVisible);
    connect(&link, &link::MeterLink::queueDropped, this, [this] {
        if (read_)
            FinishRead();
    });
}

void SchedulePage::ShowPages()
{
    emit showRequested();
    PageControl3->setCurrentWidget(TabShedule);
}

void SchedulePage::Redraw()
{
    FrameShedule->ShowSchedule();
    Holidays->ShowSchedule();
}

void SchedulePage::ActionNewSchedExecute()
{
    ShowPages();
    Model.NewSchedule();
    Redraw();
}

void SchedulePage::ActionLoadTariffExecute()
{
    if (!LoadTariffAction(this, Model))
        return;
    ShowPages();
    Redraw();
}

void SchedulePage::ActionSaveTariffExecute()
{
    // Saving commits the pending edits, which the editor then shows as ordinary records.
    if (SaveTariffAction(this, Model))
        Redraw();
}

bool SchedulePage::ActionWriteSchedExecute()
{
    const ScheduleWrite write = BuildScheduleWrite(Model);
    if (write.refused()) {
        ScheduleMessage(this, QMessageBox::Warning, QStringLiteral("Внимание"), write.refusal);
        return false;
    }
    // The write commits the editor's pending changes.
    Redraw();
    if (!link_)
        return false;
    link_->setScheduleWriteMark();
    for (const QByteArray& frame : write.frames) {
        if (uint8_t(frame[0]) == link::WriteLimitCoefficient) {
            const int coefficient = uint8_t(frame[2]);
            link_->Enqueue(frame, [this, coefficient](const QByteArray&) {
                emit operationLogged(CoefficientWrittenLog(coefficient));
            });
        } else {
            link_->Enqueue(frame);
        }
    }
    return true;
}

template <typename Answer> void SchedulePage::Collect(const Answer& answer)
{
    if (!answer.error.isEmpty())
        link_->LogMessage(answer.error);
    read_->Add(answer);
    GaugeSched->setValue(read_->progress());
}

bool SchedulePage::ActionReadSchedExecute()
{
    if (!link_)
        return false;
    ShowPages();
    read_.emplace();
    GaugeSched->setMaximum(kReadGaugeMaximum);
    GaugeSched->setValue(0);
    const QList<QByteArray> frames = BuildScheduleRead();
    for (int i = 0; i < frames.size(); ++i) {
        const bool last = i == frames.size() - 1;
        link::MeterLink::Decoder decoder;
        switch (uint8_t(frames[i][0])) {
        case link::ReadLimitCoefficient:
            decoder = [this](const QByteArray& r) { Collect(DecodeCoefficient(r)); };
            break;
        case link::ReadSchedule:
            decoder = [this](const QByteArray& r) { Collect(DecodeZoneAnswer(r)); };
            break;
        case link::ReadHolidays:
            decoder = [this](const QByteArray& r) { Collect(DecodeHolidayAnswer(r)); };
            break;
        default:
            decoder = [this](const QByteArray& r) { Collect(DecodeTransferAnswer(r)); };
            break;
        }
        if (last) {
            link_->Enqueue(frames[i], [this, decoder](const QByteArray& r) {
                decoder(r);
                FinishRead();
            });
        } else {
            link_->Enqueue(frames[i], decoder);
        }
    }
    return true;
}

void SchedulePage::FinishRead()
{
    read_->ApplyTo(Model);
    read_.reset();
    Redraw();
}

} // namespace zr::schedule
