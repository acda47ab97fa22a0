#include "meter/ui/settings_page.h"

#include "link/line_speed.h"
#include "link/meter_link.h"
#include "link/password.h"
#include "meter/device_info.h"
#include "meter/device_state.h"
#include "meter/ui/widgets.h"

#include <QSignalBlocker>
#include <QStackedWidget>

namespace zr::meter
{

SettingsPage::SettingsPage(QWidget* parent) : QWidget(parent)
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
    ui.ComboNewBaud->addItems(link::LineSpeedTexts());
    ui.ComboTarifDDM->addItem(QStringLiteral("авто"));
    for (int tariff = 1; tariff <= 8; ++tariff)
        ui.ComboTarifDDM->addItem(QStringLiteral("  %1").arg(tariff));
    SetNumberEditable(false);

    // Only the user's own edits reach these slots: FollowClock blocks the signals.
    connect(ui.DatePicker, &QDateEdit::dateChanged, this, [this] { dateEdited_ = true; });
    connect(ui.TimePicker, &QTimeEdit::timeChanged, this, [this] { timeEdited_ = true; });
}

void SettingsPage::FollowClock(const QDateTime& now)
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

void SettingsPage::ClearEditedMarks()
{
    dateEdited_ = false;
    timeEdited_ = false;
}

void SettingsPage::SetNumberEditable(bool editable)
{
    ui.SpinEdit_Number->setReadOnly(!editable);
    if (editable)
        ui.SpinEdit_Number->setPalette(QPalette());
    else
        MakeParentColoured(ui.SpinEdit_Number);
}

void SettingsPage::attach(link::MeterLink& link, DeviceState& device)
{
    link_ = &link;
    connect(ui.LabeledPass1, &QLineEdit::textChanged, this, &SettingsPage::LabeledPass1Change);
    connect(&device, &DeviceState::factoryNumberRead, this, [this](const FactoryNumberInfo& info) {
        ui.SpinEdit_Number->setEnabled(info.assignable);
        ui.BitBtn1->setEnabled(info.assignable);
    });
}

void SettingsPage::LabeledPass1Change()
{
    ui.LabeledPass1->setToolTip(link::PasswordHint(ui.LabeledPass1->text()));
    if (link_)
        link_->setNewPassword(ui.LabeledPass1->text());
}

void SettingsPage::clearData()
{
    ui.BitBtn1->setEnabled(true);
    ClearEditedMarks();
    // A tab page sits in its tab widget's stack.
    const auto* stack = qobject_cast<const QStackedWidget*>(parentWidget());
    if (stack && stack->currentWidget() == this && ui.SpinEdit_Number->isEnabled())
        ui.SpinEdit_Number->setFocus();
}

void SettingsPage::applyModes(const Modes& modes)
{
    SetNumberEditable(modes.master);
    ui.BitBtn1->setVisible(modes.master);
    ui.LabeledPass1->setReadOnly(!modes.newPasswordAllowed);
    ui.CheckTime->setChecked(true);
    ui.CheckAddr->setChecked(modes.production);
    ui.CheckDDM->setChecked(modes.production);
    if (modes.production) {
        // The production line always writes the same indication set.
        ui.CheckSetIndi->setEnabled(false);
        for (int item : {0, 3, 4})
            ui.CheckSetIndi->item(item)->setCheckState(Qt::Checked);
    }
}

} // namespace zr::meter
