#include "meter/ui/about_page.h"

#include "meter/device_state.h"
#include "meter/encodings.h"
#include "meter/ui/widgets.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

namespace zr::meter
{

AboutPage::AboutPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabAbout"));
    auto* layout = new QGridLayout(this);

    LabelType = new QLabel(this);
    LabelType->setObjectName(QStringLiteral("LabelType"));
    QFont typeFont = LabelType->font();
    typeFont.setBold(true);
    typeFont.setPointSizeF(typeFont.pointSizeF() * 1.6);
    LabelType->setFont(typeFont);
    LabelType->setStyleSheet(QStringLiteral("color: navy"));
    LabelType->setMinimumHeight(QFontMetrics(typeFont).height());
    layout->addWidget(LabelType, 0, 0, 1, 4);

    struct Field {
        QLineEdit*& edit;
        const char* name;
        QString label;
    };
    const Field left[] = {
        {EditVersion, "EditVersion", QStringLiteral("Версия ПО : ")},
        {EditNumber, "EditNumber", QStringLiteral("Заводской номер : ")},
        {EditDate, "EditDate", QStringLiteral("Дата : ")},
        {EditTime, "EditTime", QStringLiteral("Время : ")},
        {EditTest, "EditTest", QStringLiteral("Тест часов : ")},
        {EditSummer, "EditSummer", QStringLiteral("Автопереход на летнее время : ")},
        {EditDay, "EditDay", QStringLiteral("Расчетный день : ")},
        {EditHour, "EditHour", QStringLiteral("Расчетный час : ")},
        {EditWork, "EditWork", QStringLiteral("Время работы : ")},
        {EditNCorrect, "EditNCorrect", QStringLiteral("Счетчик коррекций : ")},
    };
    const Field right[] = {
        {EditIntegra, "EditIntegra",
         QStringLiteral("Время интегрирования пиковой мощности (мин) : ")},
        {EditCheckSum, "EditCheckSum", QStringLiteral("Контрольная сумма тарифного расписания : ")},
        {EditPower, "EditPower", QStringLiteral("Текущая мощность, Вт :")},
        {EditTariff, "EditTariff", QStringLiteral("Текущий тариф : ")},
        {EditValue, "EditValue", QStringLiteral("Показания (тек. тариф) : ")},
        {EditDelta, "EditDelta", QStringLiteral("Уход за сутки (сек.) : ")},
    };
    auto place = [&](const Field& field, int row, int column) -> QLabel* {
        auto* label = new QLabel(field.label, this);
        field.edit = new QLineEdit(this);
        field.edit->setObjectName(QLatin1String(field.name));
        field.edit->setReadOnly(true);
        field.edit->setFocusPolicy(Qt::ClickFocus);
        MakeParentColoured(field.edit);
        label->setBuddy(field.edit);
        layout->addWidget(label, row, column, Qt::AlignRight);
        layout->addWidget(field.edit, row, column + 1);
        fields_.append(field.edit);
        return label;
    };
    int row = 1;
    for (const Field& field : left)
        place(field, row++, 0);
    row = 1;
    for (const Field& field : right) {
        QLabel* label = place(field, row++, 2);
        if (field.edit == EditDelta)
            deltaLabel_ = label;
    }
    SetDeltaVisible(false);

    auto* bottom = new QHBoxLayout;
    auto* indicatorLabel = new QLabel(QStringLiteral("Индикатор :"), this);
    CheckListIndi = new QListWidget(this);
    CheckListIndi->setObjectName(QStringLiteral("CheckListIndi"));
    for (const QString& text : IndicationItems()) {
        auto* item = new QListWidgetItem(text, CheckListIndi);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    CheckListIndi->setEnabled(false);
    FitListToContents(CheckListIndi);
    indicatorLabel->setBuddy(CheckListIndi);
    bottom->addWidget(indicatorLabel, 0, Qt::AlignTop);
    bottom->addWidget(CheckListIndi, 0, Qt::AlignTop);
    bottom->addSpacing(12);

    GridDdm = new QTableWidget(this);
    GridDdm->setObjectName(QStringLiteral("GridDdm"));
    SetupGrid(GridDdm, 4, 5);
    SetColumnCaptions(GridDdm, 0, 1, DdmPhaseCaptions());
    SetRowCaptions(GridDdm, 0, 1, DdmRowCaptions());
    // Room for the last session's date and time in the user's locale.
    const QDateTime widest(QDate(2026, 12, 28), QTime(23, 59, 59));
    FitGridToContents(GridDdm,
                      GridDdm->fontMetrics().horizontalAdvance(FormatDateTime(widest)) + 8);
    bottom->addWidget(GridDdm, 1, Qt::AlignTop);
    layout->addLayout(bottom, 11, 0, 1, 4);
    layout->setRowStretch(12, 1);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
}

void AboutPage::SetDeltaVisible(bool visible)
{
    deltaLabel_->setVisible(visible);
    EditDelta->setVisible(visible);
}

void AboutPage::applyModes(const Modes& modes)
{
    SetDeltaVisible(modes.production);
}

void AboutPage::clearData()
{
    LabelType->clear();
    for (QLineEdit* field : fields_)
        field->clear();
    ClearDataCells(GridDdm);
}

void AboutPage::hideGridSelections()
{
    HideSelection(GridDdm);
}

void AboutPage::attach(link::MeterLink&, DeviceState& device)
{
    connect(&device, &DeviceState::versionRead, this, &AboutPage::ShowVersion);
    connect(&device, &DeviceState::factoryNumberRead, this, &AboutPage::ShowFactoryNumber);
    connect(&device, &DeviceState::clockRead, this, &AboutPage::ShowClock);
    connect(&device, &DeviceState::powerRead, this,
            [this](const PowerInfo& info) { SetTextIfChanged(EditPower, info.text); });
    connect(&device, &DeviceState::indicationRead, this, &AboutPage::ShowIndication);
    connect(&device, &DeviceState::idleReadingRead, this,
            [this](const TariffReadingInfo& info) { SetTextIfChanged(EditValue, info.text); });
    connect(&device, &DeviceState::ddmStatusRead, this, &AboutPage::ShowDdmStatus);
    connect(&device, &DeviceState::runningTimeRead, this, &AboutPage::ShowRunningTime);
    connect(&device, &DeviceState::integrationRead, this,
            [this](const IntegrationInfo& info) { SetTextIfChanged(EditIntegra, info.text); });
    connect(&device, &DeviceState::billingRead, this, &AboutPage::ShowBilling);
    connect(&device, &DeviceState::ddmNumbersRead, this, &AboutPage::ShowDdmNumbers);
    connect(
        &device, &DeviceState::scheduleChecksumRead, this,
        [this](const ScheduleChecksumInfo& info) { SetTextIfChanged(EditCheckSum, info.text); });
}

void AboutPage::ShowVersion(const VersionInfo& info)
{
    SetTextIfChanged(EditVersion, info.version);
    SetTextIfChanged(LabelType, info.type);
}

void AboutPage::ShowFactoryNumber(const FactoryNumberInfo& info)
{
    SetTextIfChanged(EditNumber, info.text);
}

void AboutPage::ShowClock(const ClockInfo& info)
{
    SetTextIfChanged(EditDelta, QString());
    SetTextIfChanged(EditSummer, info.summer);
    SetTextIfChanged(EditTariff, info.tariffText);
    SetTextIfChanged(EditTest, info.test);
    SetTextIfChanged(EditDate, info.date);
    SetTextIfChanged(EditTime, info.time);
}

void AboutPage::ShowIndication(const IndicationInfo& info)
{
    for (int i = 0; i < CheckListIndi->count(); ++i)
        SetCheckedIfChanged(CheckListIndi->item(i), info.checked[size_t(i)]);
}

void AboutPage::ShowDdmStatus(const DdmStatusInfo& info)
{
    for (int phase = 0; phase < 3; ++phase) {
        SetCell(DdmRowStatus, phase, info.phases[size_t(phase)].status);
        SetCell(DdmRowSession, phase, info.phases[size_t(phase)].lastSession);
    }
}

void AboutPage::ShowRunningTime(const RunningTimeInfo& info)
{
    SetTextIfChanged(EditWork, info.work);
    SetTextIfChanged(EditNCorrect, info.correctionText);
}

void AboutPage::ShowBilling(const BillingInfo& info)
{
    SetTextIfChanged(EditDay, info.dayText);
    SetTextIfChanged(EditHour, info.hourText);
}

void AboutPage::ShowDdmNumbers(const DdmNumbersInfo& info)
{
    for (int phase = 0; phase < 3; ++phase) {
        SetCell(DdmRowNumber, phase, info.numberTexts[size_t(phase)]);
        SetCell(DdmRowMode, phase, info.modeText);
    }
}

void AboutPage::SetCell(int row, int phase, const QString& text)
{
    SetTextIfChanged(GridDdm->item(row, phase + 1), text);
}

} // namespace zr::meter
