#pragma once
// The connection panel above the tabs: port, speed, address, time-out and access password of the
// meter line, the scanner's port in production mode, and the port and speed menus that mirror the
// two lists.

#include <QFrame>
#include <QStringList>

class QAction;
class QActionGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QSpinBox;

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

// What the command line adds to the port lists.
struct PortOptions {
    // Device paths the system does not list (a pseudo-terminal); the first is preselected.
    QStringList extraPorts;
    // An entry for the built-in demonstration meter.
    bool demo = false;
    // The ports kept from the last run (numbers under Windows rules, otherwise names).
    QString savedMeterPort = QStringLiteral("1");
    QString savedScannerPort = QStringLiteral("2");
};

class ConnectionPanel : public QFrame
{
    Q_OBJECT
public:
    // Fills portMenu and speedMenu with their radio items.
    ConnectionPanel(QMenu* portMenu, QMenu* speedMenu, QWidget* parent = nullptr);

    // Joins the panel to the link and the lines it chooses between (demo may be null), and lists
    // the ports.
    void attach(link::MeterLink& link, platform::SerialPort& serial, sim::SimPort* demo,
                const PortOptions& ports);
    // The line behind the chosen port text: the demo meter or the serial port.
    link::Port& chosenPort() const;
    QString portText() const;
    // While connected the line cannot be changed.
    void setConnected(bool connected);
    void setScannerVisible(bool visible);

    // Handlers.
    void ComboPortChange();
    void NPortClick(QAction* item);
    void ComboBaudChange();
    void N48001Click(QAction* item);
    void SpinTimerChange();
    void LabeledPass1Change();

    QMenu* NPort;
    QActionGroup* PortItems;
    QMenu* NBaud;
    QActionGroup* BaudItems;
    QComboBox* ComboPort;
    QComboBox* ComboBaud;
    QSpinBox* SpinAddr;
    QSpinBox* SpinTimer;
    QLineEdit* LabeledPass2;
    QFrame* PanelScaner;
    QComboBox* ComboScaner;
    QCheckBox* CheckScaner;

private:
    void BuildPortLists(const PortOptions& ports);

    link::MeterLink* link_ = nullptr;
    platform::SerialPort* serial_ = nullptr;
    sim::SimPort* demo_ = nullptr;
};

} // namespace zr::shell
