#pragma once
// The program's one main window: tool bar, menus, connection panel, the eight tabs, status bar.
// It composes: the pages and the connection panel own their widgets and handlers.

#include "meter/ui/page.h"
#include "shell/connection_panel.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QLabel;
class QMenu;
class QTabWidget;
class QTimer;
class QToolBar;

namespace zr::meter
{
class AboutPage;
class DeviceState;
class JournalPage;
class Page;
class PlcPage;
class ReadingsPage;
class SettingsPage;
class StatusDialog;
} // namespace zr::meter

namespace zr::schedule
{
class SchedulePage;
}

namespace zr::link
{
class MeterLink;
}

namespace zr::platform
{
class SerialPort;
}

namespace zr::sim
{
class SimPort;
}

namespace zr::shell
{

class AboutWindow;
class ConnectionPanel;
class DbPage;
class IndicatorShape;
class ProtocolPage;
using meter::Modes;

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(const Modes& modes, const PortOptions& ports = {},
                        QWidget* parent = nullptr);

    const Modes& OperatingModes() const { return modes_; }
    link::MeterLink* Link() const { return link_; }
    // The meter's values every feature reads.
    meter::DeviceState* Device() const { return device_; }
    platform::SerialPort* SerialLine() const { return serialPort_; }
    // The demonstration meter's line; null without the demo entry.
    sim::SimPort* DemoPort() const { return demoPort_; }

    // The tool bar's and the menu's handlers.
    void ActionConnectExecute();
    void ActionDisconnectExecute();
    void ActionFindAddressExecute();

    // Display reset: forgets everything shown about the meter; fixed captions stay.
    void ResetMeterData();
    // Switches together every control that needs an answering meter.
    void SetMeterControlsEnabled(bool enabled);
    // Green or red circle in the tool bar for 2000 ms, followed by a display reset.
    void ShowResult(bool success);

    ConnectionPanel* Connection() const { return panel_; }
    meter::AboutPage* About() const { return about_; }
    meter::SettingsPage* Settings() const { return settings_; }
    schedule::SchedulePage* Sched() const { return sched_; }
    meter::ReadingsPage* Readings() const { return readings_; }
    meter::JournalPage* Journal() const { return journal_; }
    meter::PlcPage* Plc() const { return plc_; }
    DbPage* Db() const { return db_; }
    ProtocolPage* Protocol() const { return protocol_; }
    meter::StatusDialog* StatusForm() const { return statusDialog_; }
    AboutWindow* AboutBox() const { return aboutBox_; }

    QToolBar* ToolBar1;
    IndicatorShape* Shape1;
    QAction* ActionConnect;
    QAction* ActionDisconnect;
    QAction* ActionSetting;
    QAction* ActionReset;
    QAction* ActionFindAddress;
    QAction* ActionNewSched;
    QAction* ActionLoadTariff;
    QAction* ActionSaveTariff;
    QAction* ActionWriteSched;
    QAction* ActionReadSched;
    QAction* ActionFixDb;

    QMenu* NPort;
    QMenu* NBaud;
    QAction* NExit;
    QMenu* NSched;
    QAction* NStatus;
    QAction* N20;
    QAction* N15;

    QTabWidget* PageControl1;
    QLabel* StatusPanel[2];

    QTimer* Timer3;
    QTimer* TimerShape;

protected:
    // Closing the window disconnects first.
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateActions();
    void CreateToolBar();
    void CreateMenus();
    void CreatePages();
    // The schedule page's actions, its requests to be shown and its message boxes.
    void ConnectSchedule();
    void CreateStatusBar();
    void ApplyModes();
    void FitAndCentre();
    void TimerShapeTimer();
    void Timer3Timer();
    void CreateLink(const PortOptions& ports);
    void ConnectionChanged(bool connected);
    template <typename T> T* AddPage(T* page, const QString& caption);

    Modes modes_;
    QAction* shapeItem_ = nullptr;
    ConnectionPanel* panel_ = nullptr;
    QList<meter::Page*> pages_;
    meter::AboutPage* about_ = nullptr;
    meter::SettingsPage* settings_ = nullptr;
    schedule::SchedulePage* sched_ = nullptr;
    meter::ReadingsPage* readings_ = nullptr;
    meter::JournalPage* journal_ = nullptr;
    meter::PlcPage* plc_ = nullptr;
    DbPage* db_ = nullptr;
    ProtocolPage* protocol_ = nullptr;
    AboutWindow* aboutBox_ = nullptr;
    meter::StatusDialog* statusDialog_ = nullptr;
    meter::DeviceState* device_ = nullptr;
    platform::SerialPort* serialPort_ = nullptr;
    sim::SimPort* demoPort_ = nullptr;
    link::MeterLink* link_ = nullptr;
};

} // namespace zr::shell
