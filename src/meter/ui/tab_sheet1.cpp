#include "meter/ui/tab_sheet1.h"

#include "meter/device_info.h"
#include "meter/ui/widgets.h"

#include <QSignalBlocker>

namespace zr::meter
{

TabSheet1::TabSheet1(QWidget* parent) : QWidget(parent)
{
    ui.setupUi(this);
    // The settings to be written stand out a shade warmer than the rest of the page.
    TintBackground(ui.GroupTask, 2, 0, 0);
    for (const QString& text : IndicationItems()) {
        auto* item = new QListWidgetItem(text, ui.CheckSetIndi);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    FitListToContents(ui.CheckSetIndi);
    ui.ComboNewBaud->addItems(SpeedItems());
    ui.ComboTarifDDM->addItem(QStringLiteral("авто"));
    for (int tariff = 1; tariff <= 8; ++tariff)
        ui.ComboTarifDDM->addItem(QStringLiteral("  %1").arg(tariff));
    SetNumberEditable(false);

    // Only the user's own edits reach these slots: FollowClock blocks the signals.
    connect(ui.DatePicker, &QDateEdit::dateChanged, this, [this] { dateEdited_ = true; });
    connect(ui.TimePicker, &QTimeEdit::timeChanged, this, [this] { timeEdited_ = true; });
}

void TabSheet1::FollowClock(const QDateTime& now)
{
    if (!dateEdited_) {
        const QSignalBlocker blocker(ui.DatePicker);
        ui.DatePicker->setDate(now.date());
    }
    if (!timeEdited_) {
        const QSignalBlocker blocker(ui.TimePicker);
        ui.TimePicker->setTime(now.time());
    }
}

void TabSheet1::ClearEditedMarks()
{
    dateEdited_ = false;
    timeEdited_ = false;
}

void TabSheet1::SetNumberEditable(bool editable)
{
    ui.SpinEdit_Number->setReadOnly(!editable);
    if (editable)
        ui.SpinEdit_Number->setPalette(QPalette());
    else
        MakeParentColoured(ui.SpinEdit_Number);
}

} // namespace zr::meter
