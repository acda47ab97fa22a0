#pragma once
// The program's one main window: tool bar, menus, connection panel, the eight tabs, status bar.
// It composes: the pages and the connection panel own their widgets and handlers.

#include "meter/ui/page.h"
#include "shell/app_settings.h"
#include "shell/connection_panel.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <optional>

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
class ProductionLine;
class ProtocolPage;
using meter::Modes;

// What the window keeps between runs and where its files lie.
struct StartUp {
    // Read when the window is created, written when it closes normally; null: neither.
    QSettings* settings = nullptr;
    // Holds the production marker, the help file and the operation log; empty: the current
    // directory.
    QString workingDirectory;
};

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // The modes follow the settings' access flags and the production marker.
    explicit MainWindow(const StartUp& startUp, const PortOptions& ports = {},
                        QWidget* parent = nullptr);
    // Given modes, no kept settings, files in the current directory.
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
    // An acknowledged write's line in the operation log, outside production mode; a line that
    // cannot be written is reported in the traffic log and the status bar.
    void LogOperation(const QString& event);
    // "&Справка": the help file through the desktop's default viewer.
    void N20Click();

    QString helpPath() const { return helpPath_; }
    QString logPath() const { return logPath_; }
    // Opens a file as the desktop does; tests replace it.
    std::function<void(const QString& path)> openFile;
    // In production mode, each time the window becomes the active one: identification of the
    // workstation, the operator and the installation.
    std::function<void()> identify;

    ConnectionPanel* Connection() const { return panel_; }
    meter::AboutPage* About() const { return about_; }
    meter::SettingsPage* Settings() const { return settings_; }
    schedule::SchedulePage* Sched() const { return sched_; }
    meter::ReadingsPage* Readings() const { return readings_; }
    meter::JournalPage* Journal() const { return journal_; }
    meter::PlcPage* Plc() const { return plc_; }
    DbPage* Db() const { return db_; }
    ProtocolPage* Protocol() const { return protocol_; }
    // The production line's database and scanner; null outside production mode.
    ProductionLine* Production() const { return production_; }
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
    // Stays up while the operation log cannot be written.
    QLabel* StatusLogError;

    QTimer* Timer3;
    QTimer* TimerShape;

protected:
    // Closing the window disconnects first, then keeps the settings.
    void closeEvent(QCloseEvent* event) override;
    // Each activation identifies the workstation again in production mode.
    void changeEvent(QEvent* event) override;

private:
    MainWindow(const StartUp& startUp, const std::optional<Modes>& modes, PortOptions ports,
               QWidget* parent);
    void RestoreSettings();
    AppSettings CurrentSettings() const;
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
    QSettings* store_ = nullptr;
    AppSettings kept_;
    QString helpPath_;
    QString logPath_;
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
    ProductionLine* production_ = nullptr;
};

} // namespace zr::shell
