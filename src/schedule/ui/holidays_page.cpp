#include "schedule/ui/holidays_page.h"

#include "meter/ui/widgets.h"

#include <QDate>
#include <QHeaderView>
#include <algorithm>

namespace zr::schedule
{

namespace
{

// The last date the packed transfer table can hold (two year digits after 2000).
const QDate kLastTransferDate(2099, 12, 31);

// Dates as the program's Russian texts write them, whatever the machine's locale.
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

int DaysInMonth(int month)
{
    // Holidays carry no year, so 29 February is always offered.
    return month == 2 ? 29 : QDate(2001, month, 1).daysInMonth();
}

// Rows of a list that are selected, from the last to the first, so removing them one by one
// does not move the rows still to be removed.
QList<int> SelectedRowsDescending(const QTreeWidget* list)
{
    QList<int> rows;
    for (QTreeWidgetItem* item : list->selectedItems())
        rows.append(list->indexOfTopLevelItem(item));
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    return rows;
}

} // namespace

HolidaysPage::HolidaysPage(Schedule* schedule, QWidget* parent)
    : QWidget(parent), schedule_(schedule)
{
    ui.setupUi(this);
    meter::SetupReportList(ui.ListCel, {QStringLiteral("Месяц"), QStringLiteral("День")}, true);
    ui.ListCel->setColumnWidth(0, 100);
    meter::SetupReportList(ui.ListTransfer, {QStringLiteral("День"), QStringLiteral("По графику")},
                           true);
    ui.ListTransfer->setColumnWidth(0, 120);
    ui.ListTransfer->setColumnWidth(1, 120);
    for (QTreeWidget* list : {ui.ListCel, ui.ListTransfer}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        connect(list, &QTreeWidget::itemSelectionChanged, this, &HolidaysPage::UpdateButtons);
        // Whatever fills or empties a list, its buttons follow.
        connect(list->model(), &QAbstractItemModel::rowsInserted, this,
                &HolidaysPage::UpdateButtons);
        connect(list->model(), &QAbstractItemModel::rowsRemoved, this,
                &HolidaysPage::UpdateButtons);
        connect(list->model(), &QAbstractItemModel::modelReset, this, &HolidaysPage::UpdateButtons);
    }
    ui.GroupBox6->setFixedWidth(241);
    ui.GroupBox7->setFixedWidth(288);
    // A transfer lies ahead, and no later than the packed table can store.
    ui.DTPTrans->setDisplayFormat(kDateFormat);
    ui.DTPTrans->setDateRange(QDate::currentDate(), kLastTransferDate);
    ui.DTPTrans->setDate(QDate::currentDate());

    connect(ui.ComboM, &QComboBox::currentIndexChanged, this, &HolidaysPage::ComboMChange);
    connect(ui.BtnInsCel, &QPushButton::clicked, this, &HolidaysPage::BtnInsCelClick);
    connect(ui.BtnDelCel, &QPushButton::clicked, this, &HolidaysPage::BtnDelCelClick);
    connect(ui.BtnTemplet, &QPushButton::clicked, this, &HolidaysPage::BtnTempletClick);
    connect(ui.DTPTrans, &QDateEdit::dateChanged, this, &HolidaysPage::DTPTransChange);
    connect(ui.BtnInsTrans, &QPushButton::clicked, this, &HolidaysPage::BtnInsTransClick);
    connect(ui.BtnDelTrans, &QPushButton::clicked, this, &HolidaysPage::BtnDelTransClick);
    connect(ui.SpinLimit, &QSpinBox::valueChanged, this,
            [this](int value) { schedule_->SetCoefficient(value); });

    BtnTempletClick();
    ShowSchedule();
}

// The lists' models announce their reset while the lists are destroyed, after the buttons may
// already be gone.
HolidaysPage::~HolidaysPage()
{
    for (QTreeWidget* list : {ui.ListCel, ui.ListTransfer})
        list->model()->disconnect(this);
}

void HolidaysPage::ShowSchedule()
{
    ui.ListCel->clear();
    for (const Holiday& h : schedule_->holidays())
        new QTreeWidgetItem(ui.ListCel, {ui.ComboM->itemText(h.month - 1), QString::number(h.day)});
    ui.ListTransfer->clear();
    for (const Transfer& t : schedule_->transfers())
        new QTreeWidgetItem(ui.ListTransfer,
                            {t.date.toString(kDateFormat), ui.ComboTrans->itemText(t.dayType - 1)});
    const QSignalBlocker block(ui.SpinLimit);
    ui.SpinLimit->setValue(schedule_->coefficient());
    UpdateButtons();
}

void HolidaysPage::UpdateButtons()
{
    ui.BtnInsCel->setEnabled(ui.ListCel->topLevelItemCount() < kMaxHolidays);
    ui.BtnDelCel->setEnabled(!ui.ListCel->selectedItems().isEmpty());
    ui.BtnInsTrans->setEnabled(ui.ListTransfer->topLevelItemCount() < kMaxTransfers);
    ui.BtnDelTrans->setEnabled(!ui.ListTransfer->selectedItems().isEmpty());
}

void HolidaysPage::ComboMChange(int index)
{
    // QSpinBox lowers a value above its new maximum.
    ui.SpinD->setMaximum(DaysInMonth(index + 1));
}

void HolidaysPage::BtnInsCelClick()
{
    const Holiday added{ui.ComboM->currentIndex() + 1, ui.SpinD->value()};
    QVector<Holiday> list = schedule_->holidays();
    // Before the first later date or equal one: the list stays ordered.
    const auto at = std::find_if(list.begin(), list.end(), [&](const Holiday& h) {
        return h.month > added.month || (h.month == added.month && h.day >= added.day);
    });
    list.insert(at, added);
    if (schedule_->SetHolidayList(list))
        ShowSchedule();
}

void HolidaysPage::BtnDelCelClick()
{
    QVector<Holiday> list = schedule_->holidays();
    for (int row : SelectedRowsDescending(ui.ListCel))
        list.removeAt(row);
    schedule_->SetHolidayList(list);
    ShowSchedule();
}

void HolidaysPage::BtnTempletClick()
{
    schedule_->SetHolidayList(DefaultHolidays());
    ShowSchedule();
}

void HolidaysPage::DTPTransChange()
{
    // Today moves on while the program runs; the minimum set at start-up does not.
    if (ui.DTPTrans->date() < QDate::currentDate())
        ui.DTPTrans->setDate(QDate::currentDate());
}

void HolidaysPage::BtnInsTransClick()
{
    const Transfer added{ui.DTPTrans->date(), ui.ComboTrans->currentIndex() + 1};
    QVector<Transfer> list = schedule_->transfers();
    // After every entry of an earlier or the same date: a new entry of a listed date comes last.
    const auto at = std::find_if(list.begin(), list.end(),
                                 [&](const Transfer& t) { return added.date < t.date; });
    list.insert(at, added);
    if (schedule_->SetTransferList(list))
        ShowSchedule();
}

void HolidaysPage::BtnDelTransClick()
{
    QVector<Transfer> list = schedule_->transfers();
    for (int row : SelectedRowsDescending(ui.ListTransfer))
        list.removeAt(row);
    schedule_->SetTransferList(list);
    ShowSchedule();
}

} // namespace zr::schedule
