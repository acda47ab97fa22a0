#include "schedule/ui/schedule_page.h"

#include "link/meter_link.h"
#include "schedule/ui/holidays_page.h"
#include "schedule/ui/schedule_editor.h"

#include <QProgressBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zr::schedule
{

SchedulePage::SchedulePage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSched"));
    auto* layout = new QVBoxLayout(this);
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
    FrameShedule = new ScheduleEditor(&Model, TabShedule);
    editorLayout->addWidget(FrameShedule);
    PageControl3->addTab(TabShedule, QStringLiteral("Расписание"));
    Holidays = new HolidaysPage(&Model);
    PageControl3->addTab(Holidays, QStringLiteral("Праздники и коэффициент лимита"));
    PageControl3->setCurrentIndex(0);
}

void SchedulePage::attach(link::MeterLink& link, meter::DeviceState&)
{
    connect(&link, &link::MeterLink::gaugeSchedVisible, GaugeSched, &QWidget::setVisible);
}

} // namespace zr::schedule
