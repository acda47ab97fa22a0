#pragma once
// The program's one main window: tool bar, menus, connection panel, the eight tabs, status bar.

#include "meter/device_info.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolBar;

namespace zr::meter
{
class TabAbout;
class TabSheet1;
class TabSheet3;
class TabJournal;
class TabPlc;
class TFormStatus;
} // namespace zr::meter

namespace zr::schedule
{
class TabSched;
}

namespace zr::link
{
class MeterLink;
class Port;
} // namespace zr::link

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
class IndicatorShape;
class TabDb;
class TabProtocol;

// Operating modes decided once at start-up.
struct Modes {
    bool production = false;
    bool master = false;
    bool newPasswordAllowed = true;
};

// What the command line adds to the port lists.
struct PortOptions {
    // Device paths the system does not list (a pseudo-terminal); the first is preselected.
    QStringList extraPorts;
    // An entry for the built-in demonstration meter.
    bool demo = false;
};

class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(const Modes& modes, const PortOptions& ports = {},
                        QWidget* parent = nullptr);

    const Modes& OperatingModes() const { return modes_; }
    link::MeterLink* Link() const { return link_; }
    // The meter values other features read.
    const meter::MeterState& MeterValues() const;
    platform::SerialPort* SerialLine() const { return serialPort_; }
    // The demonstration meter's line; null without the demo entry.
    sim::SimPort* DemoPort() const { return demoPort_; }

    // The connection panel's and the menu's handlers.
    void ActionConnectExecute();
    void ActionDisconnectExecute();
    void ActionFindAddressExecute();
    void ComboPortChange();
    void NPortClick(QAction* item);
    void ComboBaudChange();
    void N48001Click(QAction* item);
    void SpinTimerChange();
    void LabeledPass1Change(QLineEdit* edit);

    // Display reset: forgets everything shown about the meter; fixed captions stay.
    void ResetMeterData();
    // Switches together every control that needs an answering meter.
    void SetMeterControlsEnabled(bool enabled);
    // Green or red circle in the tool bar for 2000 ms, followed by a display reset.
    void ShowResult(bool success);

    meter::TabAbout* About() const { return tabAbout_; }
    meter::TabSheet1* Settings() const { return tabSheet1_; }
    schedule::TabSched* Sched() const { return tabSched_; }
    meter::TabSheet3* Readings() const { return tabSheet3_; }
    meter::TabJournal* Journal() const { return tabJournal_; }
    meter::TabPlc* Plc() const { return tabPlc_; }
    TabDb* Db() const { return tabDb_; }
    TabProtocol* Protocol() const { return tabProtocol_; }
    meter::TFormStatus* StatusForm() const { return formStatus_; }
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
    QActionGroup* PortItems;
    QMenu* NBaud;
    QActionGroup* BaudItems;
    QAction* NExit;
    QMenu* NSched;
    QAction* NStatus;
    QAction* N20;
    QAction* N15;

    QFrame* PanelConnect;
    QComboBox* ComboPort;
    QComboBox* ComboBaud;
    QSpinBox* SpinAddr;
    QSpinBox* SpinTimer;
    QLineEdit* LabeledPass2;
    QFrame* PanelScaner;
    QComboBox* ComboScaner;
    QCheckBox* CheckScaner;

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
    void CreateConnectionPanel();
    void CreatePages();
    void CreateStatusBar();
    void ApplyModes();
    void FitAndCentre();
    void TimerShapeTimer();
    void Timer3Timer();
    void CreateLink(const PortOptions& ports);
    void BuildPortLists(const PortOptions& ports);
    void ConnectionChanged(bool connected);
    void HideGridSelections();
    link::Port& PortFor(const QString& portText);

    Modes modes_;
    QAction* shapeItem_ = nullptr;
    meter::TabAbout* tabAbout_ = nullptr;
    meter::TabSheet1* tabSheet1_ = nullptr;
    schedule::TabSched* tabSched_ = nullptr;
    meter::TabSheet3* tabSheet3_ = nullptr;
    meter::TabJournal* tabJournal_ = nullptr;
    meter::TabPlc* tabPlc_ = nullptr;
    TabDb* tabDb_ = nullptr;
    TabProtocol* tabProtocol_ = nullptr;
    AboutWindow* aboutBox_ = nullptr;
    meter::TFormStatus* formStatus_ = nullptr;
    platform::SerialPort* serialPort_ = nullptr;
    sim::SimPort* demoPort_ = nullptr;
    link::MeterLink* link_ = nullptr;
};

} // namespace zr::shell
