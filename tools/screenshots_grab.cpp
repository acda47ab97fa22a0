// Shows the real main window and saves a picture of every page and sub-page into a folder; with
// "demo", connects to the demonstration meter, saves the "О счетчике" tab once the idle poll
// cycle has gone round, writes settings and power-line parameters and saves the tabs that show
// them and the operation log, then reads "Показания" and the three journal pages, exports the
// yearly journal as demo_year.xls and prints the event journal (demo_print.pdf) and the chart
// (demo_chart.pdf); with "schedule", fills the schedule pages with a year of several profiles.
// Usage: zr347_screens OUTPUT_DIR [production|demo|schedule]; production needs the production
// database (tools/production-db).

#include "link/idle_poll.h"
#include "link/meter_link.h"
#include "meter/device_state.h"
#include "meter/ui/journal_page.h"
#include "meter/ui/plc_page.h"
#include "meter/ui/settings_page.h"
#include "meter/ui/status_dialog.h"
#include "meter/ui/table_output.h"
#include "schedule/ui/holidays_page.h"
#include "schedule/ui/schedule_editor.h"
#include "schedule/ui/schedule_page.h"
#include "shell/about_window.h"
#include "shell/application.h"
#include "shell/db_page.h"
#include "shell/main_window.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace
{

bool Save(QWidget* window, const QString& path)
{
    QTest::qWait(150);
    const bool saved = window->grab().save(path);
    std::printf("%s %s\n", saved ? "saved" : "FAILED", qPrintable(path));
    return saved;
}

// Connects to the demonstration meter and waits for the start request and one turn of the ring.
bool ConnectDemo(zr::shell::MainWindow& window)
{
    window.ActionConnect->trigger();
    const zr::link::MeterLink* link = window.Link();
    if (!QTest::qWaitFor([link] { return link->exchangeCount() > zr::link::kIdleSteps + 1; },
                         10000))
        return false;
    return true;
}

bool SaveDemo(const QDir& out)
{
    zr::shell::PortOptions ports;
    ports.demo = true;
    // The operation log goes to a directory of its own.
    QTemporaryDir directory;
    zr::shell::MainWindow window(zr::shell::StartUp{nullptr, directory.path()}, ports);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window) || !ConnectDemo(window))
        return false;
    bool ok = Save(&window, out.filePath(QStringLiteral("demo_TabAbout.png")));

    zr::meter::PlcPage* plc = window.Plc();
    plc->findChild<QSpinBox*>("SpinGroup")->setValue(12);
    plc->findChild<QSpinBox*>("SpinAddress")->setValue(34);
    plc->BtnWriteAddressClick();
    zr::meter::SettingsPage* settings = window.Settings();
    for (const char* name : {"CheckShedule", "CheckIndi", "CheckIntegra"})
        settings->findChild<QCheckBox*>(name)->setChecked(true);
    settings->findChild<QSpinBox*>("SpinIntegra")->setValue(15);
    window.ActionSetting->trigger();
    QTest::qWait(4000);
    window.PageControl1->setCurrentWidget(settings);
    ok &= Save(&window, out.filePath(QStringLiteral("demo_TabSheet1.png")));
    window.PageControl1->setCurrentWidget(plc);
    ok &= Save(&window, out.filePath(QStringLiteral("demo_TabPlc.png")));
    window.PageControl1->setCurrentWidget(window.Db());
    window.Db()->SpinFilter->setValue(window.Device()->factoryNumberText().toInt());
    ok &= Save(&window, out.filePath(QStringLiteral("demo_TabDb.png")));

    // Each read goes through in a moment when the send timer ticks without pause.
    const zr::link::MeterLink* link = window.Link();
    window.Link()->findChild<QTimer*>(QStringLiteral("Timer1"))->setInterval(1);
    const auto read = [&](const char* button, int tab, const char* page) {
        window.PageControl1->setCurrentIndex(tab);
        if (page)
            window.Journal()->PageJournal->setCurrentWidget(
                window.Journal()->findChild<QWidget*>(QLatin1String(page)));
        window.findChild<QPushButton*>(QLatin1String(button))->click();
        return QTest::qWaitFor([link] { return link->queue().size() <= 1; }, 300000) &&
               Save(&window, out.filePath(QStringLiteral("demo_%1.png")
                                              .arg(QLatin1String(page ? page : "TabSheet3"))));
    };
    const int readings = window.PageControl1->indexOf(window.findChild<QWidget*>("TabSheet3"));
    const int journal = window.PageControl1->indexOf(window.Journal());
    if (!read("BtnReadCounter", readings, nullptr) ||
        !read("BtnReadJournalYear", journal, "TabYear") ||
        !read("BtnReadHalf", journal, "TabSheet2") || !read("BtnReadDiary", journal, "TabDiary"))
        return false;
    const auto print = [&out](QPushButton* button, const char* file) {
        const QString path = out.filePath(QLatin1String(file));
        zr::meter::Output().choosePrinter = [path](QWidget*, QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
        button->setEnabled(true);
        button->click();
        std::printf("printed %s\n", qPrintable(path));
    };
    zr::meter::Output().chooseExportPath = [&out](QWidget*) {
        return out.filePath(QStringLiteral("demo_year.xls"));
    };
    zr::meter::Output().openFile = [](const QString& path) {
        std::printf("exported %s\n", qPrintable(path));
    };
    window.Journal()->BtnExportJournalYear->click();
    print(window.Journal()->BtnPrintDiary, "demo_print.pdf");
    print(window.Journal()->BtnPrintHalf, "demo_chart.pdf");
    return ok;
}

// A standard message box, whose buttons speak Russian.
bool SaveMessageBox(QWidget* parent, const QDir& out)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Подтверждение"),
                    QStringLiteral("Сохранить изменения?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.show();
    const bool saved = Save(&box, out.filePath(QStringLiteral("message_box.png")));
    box.hide();
    return saved;
}

zr::schedule::AList Rec(const char* time, int tariff, int limit, int limitTariff, uint8_t days,
                        uint16_t months)
{
    return {zr::schedule::Zone{QString::fromLatin1(time), uint8_t(tariff), uint8_t(limit),
                               uint8_t(limitTariff)},
            days, months};
}

// Workdays of winter in three zones, of summer in two, weekends in one, holidays from 08:30 only;
// then the holiday cell shown, and a Shift-click rectangle over cells alike and unlike.
bool SaveSchedule(const QDir& out)
{
    using namespace zr::schedule;
    zr::shell::MainWindow window(zr::shell::Modes{});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return false;
    SchedulePage& page = *window.Sched();
    const QVector<AList> records = {
        Rec("00:00", 2, 0, 2, 0x1F, 0xE07), Rec("07:00", 1, 30, 3, 0x1F, 0xE07),
        Rec("23:00", 2, 0, 2, 0x1F, 0xE07), Rec("00:00", 3, 0, 3, 0x1F, 0x1F8),
        Rec("09:00", 5, 0, 5, 0x1F, 0x1F8), Rec("00:00", 4, 0, 4, 0x60, 0xFFF),
        Rec("08:30", 6, 12, 7, 0x80, 0xFFF)};
    QVector<QByteArray> packed;
    for (const AList& r : records)
        packed.append(PackZone(r));
    page.Model.LoadRecords(packed);
    page.Model.SetTransferList({{QDate(2030, 1, 15), 6}, {QDate(2030, 3, 8), 8}});
    page.Model.SetCoefficient(17);
    page.FrameShedule->ShowSchedule();
    page.Holidays->ShowSchedule();
    window.PageControl1->setCurrentWidget(&page);
    QWidget* grid = page.FrameShedule->StringGrid1->viewport();
    const auto click = [&](int month, int dayType, Qt::KeyboardModifiers modifiers) {
        QTest::mouseClick(grid, Qt::LeftButton, modifiers,
                          page.FrameShedule->CellRect(month, dayType).center());
    };
    click(2, 8, {});
    bool ok = Save(&window, out.filePath(QStringLiteral("schedule_no_midnight.png")));
    click(2, 1, {});
    click(4, 3, Qt::ShiftModifier);
    ok &= Save(&window, out.filePath(QStringLiteral("schedule_selection.png")));
    page.PageControl3->setCurrentWidget(page.Holidays);
    ok &= Save(&window, out.filePath(QStringLiteral("schedule_holidays.png")));
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    QApplication::setWindowIcon(app.style()->standardIcon(QStyle::SP_ComputerIcon));
    zr::shell::InstallRussianTranslations(app);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIR [production|demo|schedule]\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QByteArray mode = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    if (mode == "demo")
        return SaveDemo(out) ? 0 : 1;
    if (mode == "schedule")
        return SaveSchedule(out) ? 0 : 1;
    const bool production = mode == "production";
    zr::shell::Modes modes;
    modes.production = production;
    modes.master = production;
    zr::shell::PortOptions ports;
    ports.demo = production; // the production window is also shown reading a meter
    zr::shell::MainWindow window(modes, ports);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    std::printf("window %dx%d\n", window.width(), window.height());

    bool ok = true;
    const QString prefix = production ? QStringLiteral("production_") : QString();
    QTabWidget* tabs = window.PageControl1;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        if (!tabs->isTabVisible(tab))
            continue;
        tabs->setCurrentIndex(tab);
        QTabWidget* inner = nullptr;
        if (tabs->widget(tab) == window.Journal())
            inner = window.Journal()->PageJournal;
        else if (tabs->widget(tab) == window.Sched())
            inner = window.Sched()->PageControl3;
        const QString name = prefix + tabs->widget(tab)->objectName();
        if (!inner) {
            ok &= Save(&window, out.filePath(name + QStringLiteral(".png")));
            continue;
        }
        for (int page = 0; page < inner->count(); ++page) {
            inner->setCurrentIndex(page);
            ok &= Save(&window, out.filePath(QStringLiteral("%1_%2.png").arg(name).arg(page)));
        }
        inner->setCurrentIndex(0);
    }
    if (production) {
        tabs->setCurrentIndex(0);
        ok &= ConnectDemo(window) &&
              Save(&window, out.filePath(QStringLiteral("production_demo_TabAbout.png")));
        return ok ? 0 : 1;
    }
    zr::meter::StatusDialog* status = window.StatusForm();
    status->findChild<QSpinBox*>("SpinEdit1")->setValue(254);
    ok &= Save(status, out.filePath(QStringLiteral("status_dialog.png")));
    window.AboutBox()->show();
    ok &= Save(window.AboutBox(), out.filePath(QStringLiteral("about.png")));
    window.AboutBox()->hide();
    window.ShowResult(true);
    ok &= Save(&window, out.filePath(QStringLiteral("result_green.png")));
    ok &= SaveMessageBox(&window, out);
    return ok ? 0 : 1;
}
