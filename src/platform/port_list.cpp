#include "platform/port_list.h"

#include "link/port_name.h"

#include <QSerialPortInfo>

namespace zr::platform
{

namespace
{

// Adds one port to all three lists. Under Windows rules an entry without a number stays in the
// meter list only, and ports are matched with the saved ones by number.
void AddPort(PortLists& lists, const PortListInput& input, const QString& text)
{
    lists.meterPorts.append(text);
    const int index = int(lists.meterPorts.size()) - 1;
    const int number = link::PortNumber(text);
    if (input.windowsRules && number <= 0)
        return;
    const auto isSaved = [&](const QString& saved) {
        return input.windowsRules ? number == saved.toInt() : text == saved;
    };
    const bool meter = isSaved(input.savedMeter);
    lists.menu.append({text, input.windowsRules ? number : index, meter});
    if (meter)
        lists.meterIndex = index;
    lists.scannerPorts.append(text);
    if (isSaved(input.savedScanner))
        lists.scannerIndex = int(lists.scannerPorts.size()) - 1;
}

} // namespace

QString PortOpenName(const QString& entry, bool windowsRules)
{
    if (!windowsRules)
        return entry;
    const int number = link::PortNumber(entry);
    return QStringLiteral("COM%1").arg(number > 0 ? number : 1);
}

PortLists BuildPortLists(const PortListInput& input)
{
    PortLists lists;
    for (const QString& name : input.systemNames)
        AddPort(lists, input, name);
    if (input.windowsRules && input.systemNames.isEmpty() && input.probe) {
        for (int number = 1; number <= 8; ++number) {
            if (input.probe(QStringLiteral("COM%1").arg(number)))
                AddPort(lists, input, QStringLiteral("Com%1").arg(number));
        }
    }
    for (const QString& path : input.extraPaths) {
        if (!lists.meterPorts.contains(path))
            AddPort(lists, input, path);
    }
    if (!input.extraPaths.isEmpty()) {
        lists.meterIndex = int(lists.meterPorts.indexOf(input.extraPaths.first()));
        for (PortMenuItem& item : lists.menu)
            item.checked = item.caption == input.extraPaths.first();
    }
    return lists;
}

QStringList SystemPortNames()
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names.append(info.portName());
    return names;
}

} // namespace zr::platform
