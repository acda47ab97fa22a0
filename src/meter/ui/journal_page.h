#pragma once
// Tab "Журналы": yearly journal, event journal and the half-hour power profile.

#include "meter/ui/page.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTableWidget;
class QTreeWidget;

namespace zr::meter
{

class BarChart;

class JournalPage : public QWidget, public Page
{
    Q_OBJECT
public:
    explicit JournalPage(QWidget* parent = nullptr);

    // Empties the yearly grid's data cells, both lists and the chart.
    void clearData() override;
    void setMeterControlsEnabled(bool enabled) override;
    // The transfer gauge follows the link.
    void attach(link::MeterLink& link, DeviceState& device) override;
    // Printing needs an installed printer; until the window reports one the print buttons stay
    // off.
    void SetPrintersInstalled(bool installed);

    QTabWidget* PageJournal;
    QProgressBar* GaugeJournal;

    QWidget* TabYear;
    QPushButton* BtnReadJournalYear;
    QPushButton* BtnExportJournalYear;
    QPushButton* BtnPrintJournalYear;
    QLabel* PanelYearTitle;
    QTableWidget* GridJournal;

    QWidget* TabDiary;
    QPushButton* BtnReadDiary;
    QPushButton* BtnExportDiary;
    QPushButton* BtnPrintDiary;
    QTreeWidget* ListDiary;

    QWidget* TabSheet2;
    QPushButton* BtnReadHalf;
    QPushButton* BtnExportHalf;
    QPushButton* BtnPrintHalf;
    QDateEdit* DTPHalf;
    QSplitter* SplitterHalf;
    QTreeWidget* ListHalf;
    BarChart* ChartHalf;

private:
    void FitJournalColumns();
    void BtnReadJournalYearClick();
    void BtnReadDiaryClick();
    void BtnReadHalfClick();
    void ShowMonth(const QByteArray& frame);
    void ShowEvent(const QByteArray& frame);
    void ShowHalfHour(const QByteArray& frame);
    // The yearly and event journals' titles: the factory number prefix, then the journal's name.
    QString Title(const QString& name) const;

    link::MeterLink* link_ = nullptr;
    qint64 h0_ = 0; // the first half-hour number of the day being read
};

} // namespace zr::meter
