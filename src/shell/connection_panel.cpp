#include "shell/connection_panel.h"

#include "link/line_speed.h"
#include "link/meter_link.h"
#include "link/password.h"
#include "link/port_name.h"
#include "meter/ui/widgets.h"
#include "platform/port_list.h"
#include "platform/serial_port.h"
#include "sim/demo.h"

#include <QAction>
#include <QActionGroup>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSpinBox>

namespace zr::shell
{

namespace
{

// Captions in row 0, their controls in row 1 below them.
void AddCaptioned(QGridLayout* grid, const QString& caption, QWidget* control, QWidget* shown)
{
    const int column = grid->isEmpty() ? 0 : grid->columnCount();
    auto* label = new QLabel(caption, control->parentWidget());
    label->setBuddy(control);
    grid->addWidget(label, 0, column);
    grid->addWidget(shown ? shown : control, 1, column);
}

// The radio item of a menu that stands for the entry chosen in its combo box.
void CheckTaggedItem(QActionGroup* items, int tag)
{
    for (QAction* item : items->actions()) {
        if (item->data().toInt() == tag)
            item->setChecked(true);
    }
}

} // namespace

ConnectionPanel::ConnectionPanel(QMenu* portMenu, QMenu* speedMenu, QWidget* parent)
    : QFrame(parent), NPort(portMenu), PortItems(new QActionGroup(this)), NBaud(speedMenu),
      BaudItems(new QActionGroup(this))
{
    setObjectName(QStringLiteral("PanelConnect"));
    setFrameShape(QFrame::StyledPanel);
    meter::TintBackground(this, -2, -2, -1);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    row->addLayout(grid);

    ComboPort = new QComboBox(this);
    ComboPort->setObjectName(QStringLiteral("ComboPort"));
    ComboPort->setMinimumContentsLength(6);
    AddCaptioned(grid, QStringLiteral("Порт:"), ComboPort, nullptr);

    const QStringList speeds = link::LineSpeedTexts();
    ComboBaud = new QComboBox(this);
    ComboBaud->setObjectName(QStringLiteral("ComboBaud"));
    ComboBaud->addItems(speeds);
    AddCaptioned(grid, QStringLiteral("Скорость :"), ComboBaud, nullptr);
    for (int index = 0; index < speeds.size(); ++index) {
        QAction* item = NBaud->addAction(speeds[index]);
        item->setObjectName(QStringLiteral("NBaud%1").arg(speeds[index]));
        item->setCheckable(true);
        item->setData(index);
        item->setChecked(index == 0);
        BaudItems->addAction(item);
    }

    SpinAddr = new QSpinBox(this);
    SpinAddr->setObjectName(QStringLiteral("SpinAddr"));
    SpinAddr->setRange(0, 255);
    AddCaptioned(grid, QStringLiteral("Адрес :"), SpinAddr, nullptr);

    auto* timer = new QWidget(this);
    auto* timerRow = new QHBoxLayout(timer);
    timerRow->setContentsMargins(0, 0, 0, 0);
    SpinTimer = new QSpinBox(timer);
    SpinTimer->setObjectName(QStringLiteral("SpinTimer"));
    SpinTimer->setRange(200, 10000);
    SpinTimer->setSingleStep(100);
    SpinTimer->setValue(500);
    // Stepping only: a typed time-out could land between the steps or outside the range.
    SpinTimer->findChild<QLineEdit*>()->setReadOnly(true);
    timerRow->addWidget(SpinTimer);
    timerRow->addWidget(new QLabel(QStringLiteral("мсек"), timer));
    AddCaptioned(grid, QStringLiteral("Таймаут :"), SpinTimer, timer);

    LabeledPass2 = new QLineEdit(this);
    LabeledPass2->setObjectName(QStringLiteral("LabeledPass2"));
    LabeledPass2->setMaxLength(6);
    LabeledPass2->setToolTip(link::kInitialPasswordHint);
    AddCaptioned(grid, QStringLiteral("Пароль для доступа : "), LabeledPass2, nullptr);

    PanelScaner = new QFrame(this);
    PanelScaner->setObjectName(QStringLiteral("PanelScaner"));
    auto* scanner = new QGridLayout(PanelScaner);
    scanner->setContentsMargins(0, 0, 0, 0);
    scanner->setVerticalSpacing(2);
    ComboScaner = new QComboBox(PanelScaner);
    ComboScaner->setObjectName(QStringLiteral("ComboScaner"));
    ComboScaner->setMinimumContentsLength(6);
    AddCaptioned(scanner, QStringLiteral("Сканер:"), ComboScaner, nullptr);
    CheckScaner = new QCheckBox(QStringLiteral("Включен"), PanelScaner);
    CheckScaner->setObjectName(QStringLiteral("CheckScaner"));
    scanner->addWidget(CheckScaner, 1, scanner->columnCount());
    row->addWidget(PanelScaner);
    row->addStretch();
}

void ConnectionPanel::attach(link::MeterLink& link, platform::SerialPort& serial,
                             sim::SimPort* demo, const PortOptions& ports)
{
    link_ = &link;
    serial_ = &serial;
    demo_ = demo;
    using link::MeterLink;
    connect(ComboPort, &QComboBox::currentIndexChanged, this, &ConnectionPanel::ComboPortChange);
    connect(PortItems, &QActionGroup::triggered, this, &ConnectionPanel::NPortClick);
    connect(ComboBaud, &QComboBox::currentIndexChanged, this, &ConnectionPanel::ComboBaudChange);
    connect(BaudItems, &QActionGroup::triggered, this, &ConnectionPanel::N48001Click);
    connect(SpinTimer, &QSpinBox::valueChanged, this, &ConnectionPanel::SpinTimerChange);
    connect(SpinAddr, &QSpinBox::valueChanged, &link, &MeterLink::setAddress);
    connect(&link, &MeterLink::addressChanged, SpinAddr, &QSpinBox::setValue);
    connect(LabeledPass2, &QLineEdit::textChanged, this, &ConnectionPanel::LabeledPass1Change);
    BuildPortLists(ports);
    ComboBaudChange();
    SpinTimerChange();
}

void ConnectionPanel::BuildPortLists(const PortOptions& ports)
{
    platform::PortListInput input;
    input.systemNames = platform::SystemPortNames();
    input.extraPaths = ports.extraPorts;
    if (ports.demo)
        input.extraPaths.append(sim::kDemoPortName);
    input.savedMeter = ports.savedMeterPort;
    input.savedScanner = ports.savedScannerPort;
    input.windowsRules = platform::kWindowsPortRules;
    input.probe = platform::ProbePort;
    platform::PortLists lists = platform::BuildPortLists(input);
    // The demonstration meter answers on the meter line only; it is no scanner.
    if (ports.demo && lists.scannerPorts.endsWith(sim::kDemoPortName)) {
        lists.scannerPorts.removeLast();
        if (lists.scannerIndex >= lists.scannerPorts.size())
            lists.scannerIndex = -1;
    }

    {
        const QSignalBlocker blocker(ComboPort);
        ComboPort->addItems(lists.meterPorts);
        ComboPort->setCurrentIndex(lists.meterIndex);
    }
    for (const platform::PortMenuItem& entry : lists.menu) {
        QAction* item = NPort->addAction(entry.caption);
        item->setCheckable(true);
        item->setData(entry.tag);
        item->setChecked(entry.checked);
        PortItems->addAction(item);
    }
    ComboScaner->addItems(lists.scannerPorts);
    ComboScaner->setCurrentIndex(lists.scannerIndex);
}

link::Port& ConnectionPanel::chosenPort() const
{
    if (demo_ && portText() == sim::kDemoPortName)
        return *demo_;
    return *serial_;
}

QString ConnectionPanel::portText() const
{
    return ComboPort->currentText();
}

void ConnectionPanel::setConnected(bool connected)
{
    ComboPort->setEnabled(!connected);
    NPort->menuAction()->setEnabled(!connected);
    ComboBaud->setEnabled(!connected);
    NBaud->menuAction()->setEnabled(!connected);
}

void ConnectionPanel::setScannerVisible(bool visible)
{
    PanelScaner->setVisible(visible);
}

void ConnectionPanel::ComboPortChange()
{
    CheckTaggedItem(PortItems, platform::kWindowsPortRules
                                   ? link::PortNumber(ComboPort->currentText())
                                   : ComboPort->currentIndex());
}

void ConnectionPanel::NPortClick(QAction* item)
{
    item->setChecked(true);
    const int tag = item->data().toInt();
    ComboPort->setCurrentIndex(
        platform::kWindowsPortRules
            ? ComboPort->findText(QStringLiteral("Com%1").arg(tag), Qt::MatchFixedString)
            : tag);
}

void ConnectionPanel::ComboBaudChange()
{
    const int index = ComboBaud->currentIndex();
    CheckTaggedItem(BaudItems, index);
    const int baud = link::BaudForIndex(index);
    if (baud == 0)
        return;
    serial_->setBaudRate(baud);
    if (demo_)
        demo_->setBaudRate(baud);
}

void ConnectionPanel::N48001Click(QAction* item)
{
    item->setChecked(true);
    {
        const QSignalBlocker blocker(ComboBaud);
        ComboBaud->setCurrentIndex(item->data().toInt());
    }
    ComboBaudChange();
}

void ConnectionPanel::SpinTimerChange()
{
    link_->setTimeout(SpinTimer->value());
}

void ConnectionPanel::LabeledPass1Change()
{
    LabeledPass2->setToolTip(link::PasswordHint(LabeledPass2->text()));
    link_->setAccessPassword(LabeledPass2->text());
}

} // namespace zr::shell
