#pragma once
// Tab "Протокол": the traffic log of the meter line.

#include "meter/ui/page.h"

#include <QWidget>

class QCheckBox;
class QPlainTextEdit;

namespace zr::shell
{

class ProtocolPage : public QWidget, public meter::Page
{
    Q_OBJECT
public:
    explicit ProtocolPage(QWidget* parent = nullptr);

    // The log is on by default except in master mode.
    void applyModes(const meter::Modes& modes) override;
    // The check box switches the link's log; the link's lines land in the memo.
    void attach(link::MeterLink& link, meter::DeviceState& device) override;

    QCheckBox* CheckBox_Terminal;
    QPlainTextEdit* Memo_Terminal;
};

} // namespace zr::shell
