#pragma once
// The port lists of the connection panel (ComboPort, the "&Порт" menu) and of the barcode scanner
// (ComboScaner), built once at start-up.

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace zr::platform
{

// Windows names its ports COMn and knows them by their number; elsewhere a port is its name.
#ifdef Q_OS_WIN
constexpr bool kWindowsPortRules = true;
#else
constexpr bool kWindowsPortRules = false;
#endif

// The device to open for an entry of the port list: under Windows rules "COM" and the entry's
// number (1 when it has none); otherwise the entry is the system name or device path itself.
QString PortOpenName(const QString& entry, bool windowsRules = kWindowsPortRules);

struct PortListInput {
    // Port names as the system lists them, in its order.
    QStringList systemNames;
    // Device paths the system does not list (--port PATH); the first is preselected.
    QStringList extraPaths;
    // The saved meter and scanner ports: the port number under Windows rules, otherwise the name.
    QString savedMeter;
    QString savedScanner;
    // Windows: entries are COMn, identified by their number; an empty system list falls back to
    // probing ports 1-8. Elsewhere an entry is identified by its name.
    bool windowsRules = false;
    // Fallback probe: opens the named port and writes one zero byte.
    std::function<bool(const QString& name)> probe;
};

struct PortMenuItem {
    QString caption;
    // Windows rules: the port number. Otherwise: the entry's index in the meter port list.
    int tag = 0;
    bool checked = false;
};

struct PortLists {
    QStringList meterPorts; // ComboPort
    int meterIndex = -1;    // preselected entry, -1 for none
    QList<PortMenuItem> menu;
    QStringList scannerPorts; // ComboScaner
    int scannerIndex = -1;
};

PortLists BuildPortLists(const PortListInput& input);

// The names QSerialPortInfo reports, in its order.
QStringList SystemPortNames();

} // namespace zr::platform
