#include "shell/protocol_page.h"

#include "link/meter_link.h"
#include <QBoxLayout>
#include <QCheckBox>
#include <QPlainTextEdit>

namespace zr::shell
{

ProtocolPage::ProtocolPage(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabProtocol"));
    auto* layout = new QVBoxLayout(this);
    CheckBox_Terminal = new QCheckBox(QStringLiteral("Включен"), this);
    CheckBox_Terminal->setObjectName(QStringLiteral("CheckBox_Terminal"));
    layout->addWidget(CheckBox_Terminal);
    Memo_Terminal = new QPlainTextEdit(this);
    Memo_Terminal->setObjectName(QStringLiteral("Memo_Terminal"));
    Memo_Terminal->setReadOnly(true);
    // The log only grows while connected; keeping an undo history of it would double that.
    Memo_Terminal->setUndoRedoEnabled(false);
    Memo_Terminal->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo_Terminal);
}

void ProtocolPage::applyModes(const meter::Modes& modes)
{
    CheckBox_Terminal->setChecked(!modes.master);
}

void ProtocolPage::attach(link::MeterLink& link, meter::DeviceState&)
{
    using link::MeterLink;
    link.setTrafficLog(CheckBox_Terminal->isChecked());
    connect(CheckBox_Terminal, &QCheckBox::toggled, &link, &MeterLink::setTrafficLog);
    // The log only grows at its end: appending never lays out the earlier lines again.
    connect(&link, &MeterLink::trafficLine, Memo_Terminal, &QPlainTextEdit::appendPlainText);
    connect(&link, &MeterLink::trafficCleared, Memo_Terminal, &QPlainTextEdit::clear);
}

} // namespace zr::shell
