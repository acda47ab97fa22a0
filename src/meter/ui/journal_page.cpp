#include "meter/ui/journal_page.h"

#include "link/meter_link.h"
#include "meter/event_journal.h"
#include "meter/half_hours.h"
#include "meter/ui/bar_chart.h"
#include "meter/ui/table_output.h"
#include "meter/ui/widgets.h"
#include "meter/year_journal.h"

#include <QBoxLayout>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>

namespace zr::meter
{

namespace
{

QWidget* NewPage(QTabWidget* tabs, const char* name, const QString& caption)
{
    auto* page = new QWidget;
    page->setObjectName(QLatin1String(name));
    new QVBoxLayout(page);
    tabs->addTab(page, caption);
    return page;
}

// Every journal page starts with the same row: read, export, print.
QHBoxLayout* AddButtonRow(QWidget* page, QPushButton*& read, QPushButton*& exportButton,
                          QPushButton*& print, const QString& suffix)
{
    auto* row = new QHBoxLayout;
    const struct {
        QPushButton*& button;
        QString prefix;
        QString text;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        {read, QStringLiteral("BtnRead"), QStringLiteral("Прочитать"), QStyle::SP_ArrowDown},
        {exportButton, QStringLiteral("BtnExport"), QStringLiteral("Экспорт"),
         QStyle::SP_DialogSaveButton},
        {print, QStringLiteral("BtnPrint"), QStringLiteral("Печать"),
         QStyle::SP_FileDialogDetailedView},
    };
    for (const auto& button : buttons) {
        button.button =
            new QPushButton(page->style()->standardIcon(button.icon), button.text, page);
        button.button->setObjectName(button.prefix + suffix);
        row->addWidget(button.button);
    }
    static_cast<QVBoxLayout*>(page->layout())->addLayout(row);
    return row;
}

} // namespace

// Wide enough for the captions and the values shown; data columns at least 80 pixels.
void JournalPage::FitJournalColumns()
{
    GridJournal->resizeColumnsToContents();
    for (int column = 1; column < GridJournal->columnCount(); ++column)
        GridJournal->setColumnWidth(column, std::max(GridJournal->columnWidth(column), 80));
}

JournalPage::JournalPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabJournal"));
    auto* layout = new QVBoxLayout(this);
    PageJournal = new QTabWidget(this);
    PageJournal->setObjectName(QStringLiteral("PageJournal"));
    PageJournal->setDocumentMode(true);
    layout->addWidget(PageJournal);
    GaugeJournal = new QProgressBar(this);
    GaugeJournal->setObjectName(QStringLiteral("GaugeJournal"));
    GaugeJournal->setTextVisible(false);
    GaugeJournal->hide();
    layout->addWidget(GaugeJournal);

    TabYear = NewPage(PageJournal, "TabYear", QStringLiteral("Годовой журнал"));
    AddButtonRow(TabYear, BtnReadJournalYear, BtnExportJournalYear, BtnPrintJournalYear,
                 QStringLiteral("JournalYear"))
        ->addStretch();
    PanelYearTitle = new QLabel(QStringLiteral("Годовой журнал"), TabYear);
    PanelYearTitle->setObjectName(QStringLiteral("PanelYearTitle"));
    PanelYearTitle->setAlignment(Qt::AlignCenter);
    PanelYearTitle->setFrameShape(QFrame::Panel);
    PanelYearTitle->setFrameShadow(QFrame::Raised);
    GridJournal = new QTableWidget(TabYear);
    GridJournal->setObjectName(QStringLiteral("GridJournal"));
    SetupGrid(GridJournal, 13, 13);
    SetColumnCaptions(
        GridJournal, 0, 0,
        {QStringLiteral("месяц"), QStringLiteral("пик.мощн."), QStringLiteral("дата пик."),
         QStringLiteral("время пик."), QStringLiteral("1 тариф"), QStringLiteral("2 тариф"),
         QStringLiteral("3 тариф"), QStringLiteral("4 тариф"), QStringLiteral("5 тариф"),
         QStringLiteral("6 тариф"), QStringLiteral("7 тариф"), QStringLiteral("8 тариф"),
         QStringLiteral("наработка")});
    SetRowCaptions(GridJournal, 0, 1, JournalMonthNames());
    FitJournalColumns();
    GridJournal->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TabYear->layout()->addWidget(PanelYearTitle);
    TabYear->layout()->addWidget(GridJournal);

    TabDiary = NewPage(PageJournal, "TabDiary", QStringLiteral("Журнал событий"));
    AddButtonRow(TabDiary, BtnReadDiary, BtnExportDiary, BtnPrintDiary, QStringLiteral("Diary"))
        ->addStretch();
    ListDiary = new QTreeWidget(TabDiary);
    ListDiary->setObjectName(QStringLiteral("ListDiary"));
    SetupReportList(ListDiary,
                    {QStringLiteral("Запись №"), QStringLiteral("Время"), QStringLiteral("Статус"),
                     QStringLiteral("Тариф"), QStringLiteral("Показания"),
                     QStringLiteral("Наработка")},
                    true);
    // Room for a full time stamp; measuring 1600 items as they arrive would cost more than
    // the list itself.
    ListDiary->setColumnWidth(
        EventColumnTime,
        ListDiary->fontMetrics().horizontalAdvance(QStringLiteral("00.00.00 00:00:00")) + 16);
    TabDiary->layout()->addWidget(ListDiary);

    TabSheet2 = NewPage(PageJournal, "TabSheet2", QStringLiteral("Получасовки"));
    QHBoxLayout* row =
        AddButtonRow(TabSheet2, BtnReadHalf, BtnExportHalf, BtnPrintHalf, QStringLiteral("Half"));
    row->addSpacing(12);
    auto* forLabel = new QLabel(QStringLiteral("За"), TabSheet2);
    DTPHalf = new QDateEdit(TabSheet2);
    DTPHalf->setObjectName(QStringLiteral("DTPHalf"));
    DTPHalf->setCalendarPopup(true);
    forLabel->setBuddy(DTPHalf);
    row->addWidget(forLabel);
    row->addWidget(DTPHalf);
    row->addStretch();
    SplitterHalf = new QSplitter(Qt::Vertical, TabSheet2);
    SplitterHalf->setObjectName(QStringLiteral("SplitterHalf"));
    ListHalf = new QTreeWidget(SplitterHalf);
    ListHalf->setObjectName(QStringLiteral("ListHalf"));
    SetupReportList(ListHalf, {QStringLiteral("Время"), QStringLiteral("Мощность, кВт")}, false);
    ListHalf->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    ChartHalf = new BarChart(SplitterHalf);
    ChartHalf->setObjectName(QStringLiteral("ChartHalf"));
    SplitterHalf->setChildrenCollapsible(false);
    TabSheet2->layout()->addWidget(SplitterHalf);

    PageJournal->setCurrentWidget(TabYear);
    SetPrintersInstalled(false);
    // Half-hours are counted from 2000-01-01: an earlier day has none.
    DTPHalf->setMinimumDate(QDate(2000, 1, 1));
    DTPHalf->setDate(QDate::currentDate());

    connect(BtnReadJournalYear, &QPushButton::clicked, this, &JournalPage::BtnReadJournalYearClick);
    connect(BtnReadDiary, &QPushButton::clicked, this, &JournalPage::BtnReadDiaryClick);
    connect(BtnReadHalf, &QPushButton::clicked, this, &JournalPage::BtnReadHalfClick);
    connect(BtnExportJournalYear, &QPushButton::clicked, this, [this] {
        ExportWithDialog(this, TableOfGrid(*GridJournal, Title(QStringLiteral("Годовой журнал"))));
    });
    connect(BtnPrintJournalYear, &QPushButton::clicked, this, [this] {
        PrintWithDialog(this, TableOfGrid(*GridJournal, Title(QStringLiteral("Годовой журнал"))));
    });
    connect(BtnExportDiary, &QPushButton::clicked, this, [this] {
        ExportWithDialog(this,
                         TableOfList(*ListDiary, Title(QStringLiteral("Журнал потребления"))));
    });
    connect(BtnPrintDiary, &QPushButton::clicked, this, [this] {
        PrintWithDialog(this, TableOfList(*ListDiary, Title(QStringLiteral("Журнал потребления"))));
    });
    connect(BtnExportHalf, &QPushButton::clicked, this, [this] {
        ExportWithDialog(this,
                         TableOfList(*ListHalf, Title(QStringLiteral("Получасовки ")) +
                                                    ChartHalf->Title() + QStringLiteral("\r\n")));
    });
    connect(BtnPrintHalf, &QPushButton::clicked, this, [this] {
        PrintPictureWithDialog(
            this, [this](QPainter& painter, QRect area) { ChartHalf->Paint(painter, area); });
    });
}

void JournalPage::attach(link::MeterLink& link, DeviceState&)
{
    link_ = &link;
    connect(&link, &link::MeterLink::gaugeJournalVisible, GaugeJournal, &QWidget::setVisible);
}

QString JournalPage::Title(const QString& name) const
{
    return NumberTitle(QStringLiteral(", ")) + name;
}

void JournalPage::BtnReadJournalYearClick()
{
    for (const QByteArray& frame : YearJournalBatch())
        link_->Enqueue(frame, [this](const QByteArray& f) { ShowMonth(f); });
    ClearDataCells(GridJournal);
    GaugeJournal->setRange(0, kJournalMonths);
    GaugeJournal->setValue(0);
}

void JournalPage::ShowMonth(const QByteArray& frame)
{
    const YearJournalMonth month = DecodeYearJournalMonth(frame);
    if (!month.ok()) {
        link_->LogMessage(month.error);
        return;
    }
    if (!month.trafficLogLine.isEmpty())
        link_->LogMessage(month.trafficLogLine);
    if (month.row >= 0) {
        for (int column = 0; column < month.cells.size(); ++column)
            GridJournal->item(month.row, column)->setText(month.cells[column]);
        FitJournalColumns();
    }
    GaugeJournal->setValue(month.progress);
}

void JournalPage::BtnReadDiaryClick()
{
    GaugeJournal->setRange(0, kEventRecords - 1);
    GaugeJournal->setValue(0);
    for (const QByteArray& frame : EventJournalBatch())
        link_->Enqueue(frame, [this](const QByteArray& f) { ShowEvent(f); });
    ListDiary->clear();
}

void JournalPage::ShowEvent(const QByteArray& frame)
{
    const EventRecord record = DecodeEventRecord(frame);
    if (!record.ok()) {
        link_->LogMessage(record.error);
        return;
    }
    GaugeJournal->setValue(record.index);
    if (!record.present)
        return;
    auto* item = new QTreeWidgetItem(record.columns);
    // The hint over the "Статус" column explains the status byte.
    item->setToolTip(EventColumnStatus, StatusHint(record.columns[EventColumnStatus]));
    // The list stays sorted by record number: a binary search finds the place, no re-sort.
    const int position = SortedInsertPosition(
        ListDiary->topLevelItemCount(), EventSortKey(record.columns[0]),
        [this](int i) { return EventSortKey(ListDiary->topLevelItem(i)->text(0)); });
    ListDiary->insertTopLevelItem(position, item);
}

void JournalPage::BtnReadHalfClick()
{
    const HalfHourRead read = HalfHourBatch(DTPHalf->date());
    if (!read.ok())
        return;
    h0_ = read.h0;
    for (const QByteArray& frame : read.requests)
        link_->Enqueue(frame, [this](const QByteArray& f) { ShowHalfHour(f); });
    ListHalf->clear();
    ChartHalf->Clear();
    ChartHalf->SetTitle(read.title);
    GaugeJournal->setRange(0, kHalfHoursPerDay);
    GaugeJournal->setValue(0);
}

void JournalPage::ShowHalfHour(const QByteArray& frame)
{
    const HalfHourItem half = DecodeHalfHour(frame, h0_);
    if (!half.ok()) {
        link_->LogMessage(half.error);
        return;
    }
    new QTreeWidgetItem(ListHalf, {half.caption, half.power});
    ChartHalf->AddBar(half.start, half.kilowatts, half.label);
    GaugeJournal->setValue(GaugeJournal->value() + 1);
}

void JournalPage::setMeterControlsEnabled(bool enabled)
{
    for (QPushButton* button : {BtnReadJournalYear, BtnReadDiary, BtnReadHalf})
        button->setEnabled(enabled);
}

void JournalPage::SetPrintersInstalled(bool installed)
{
    for (QPushButton* button : {BtnPrintJournalYear, BtnPrintDiary, BtnPrintHalf})
        button->setEnabled(installed);
}

void JournalPage::clearData()
{
    ClearDataCells(GridJournal);
    ListDiary->clear();
    ListHalf->clear();
    ChartHalf->Clear();
}

} // namespace zr::meter
