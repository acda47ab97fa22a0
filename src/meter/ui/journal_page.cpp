#include "meter/ui/journal_page.h"

#include "link/meter_link.h"
#include "meter/ui/bar_chart.h"
#include "meter/ui/widgets.h"

#include <QBoxLayout>
#include <QDateEdit>
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
    SetRowCaptions(GridJournal, 0, 1,
                   {QStringLiteral("янв."), QStringLiteral("фев."), QStringLiteral("март"),
                    QStringLiteral("апр."), QStringLiteral("май"), QStringLiteral("июнь"),
                    QStringLiteral("июль"), QStringLiteral("авг."), QStringLiteral("сент."),
                    QStringLiteral("окт."), QStringLiteral("нояб."), QStringLiteral("дек.")});
    GridJournal->resizeColumnsToContents();
    for (int column = 1; column < GridJournal->columnCount(); ++column)
        GridJournal->setColumnWidth(column, std::max(GridJournal->columnWidth(column), 80));
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
    // The status hint follows the pointer.
    ListDiary->setMouseTracking(true);
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
    ChartHalf = new BarChart(SplitterHalf);
    ChartHalf->setObjectName(QStringLiteral("ChartHalf"));
    SplitterHalf->setChildrenCollapsible(false);
    TabSheet2->layout()->addWidget(SplitterHalf);

    PageJournal->setCurrentWidget(TabYear);
    SetPrintersInstalled(false);
    DTPHalf->setDate(QDate::currentDate());
}

void JournalPage::attach(link::MeterLink& link, DeviceState&)
{
    connect(&link, &link::MeterLink::gaugeJournalVisible, GaugeJournal, &QWidget::setVisible);
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
