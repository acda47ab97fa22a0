#include "shell/main_window.h"

#include "link/meter_link.h"
#include "link/password.h"
#include "link/port_name.h"
#include "meter/ui/status_form.h"
#include "meter/ui/tab_about.h"
#include "meter/ui/tab_journal.h"
#include "meter/ui/tab_plc.h"
#include "meter/ui/tab_sheet1.h"
#include "meter/ui/tab_sheet3.h"
#include "meter/ui/widgets.h"
#include "platform/port_list.h"
#include "platform/printers.h"
#include "platform/serial_port.h"
#include "schedule/ui/tab_sched.h"
#include "shell/about_window.h"
#include "shell/application.h"
#include "shell/indicator_shape.h"
#include "shell/message.h"
#include "shell/tab_db.h"
#include "shell/tab_protocol.h"
#include "sim/demo.h"

#include <QAction>
#include <QActionGroup>
#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

namespace zr::shell
{

namespace
{

const QSize kClientSize(724, 598);

// Until the settings are kept, the meter line preselects port 1 and the scanner port 2.
const QString kSavedMeterPort = QStringLiteral("1");
const QString kSavedScannerPort = QStringLiteral("2");

QAction* NewAction(QObject* parent, const char* name, const QString& caption, const QString& hint,
                   const QIcon& icon, bool enabled)
{
    auto* action = new QAction(icon, caption, parent);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(hint);
    action->setStatusTip(hint);
    action->setEnabled(enabled);
    return action;
}

// Connection panel: captions in row 0, their controls in row 1 below them.
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

MainWindow::MainWindow(const Modes& modes, const PortOptions& ports, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      modes_(modes)
{
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(ProgramTitle());

    CreateActions();
    CreateToolBar();
    CreateMenus();
    CreatePages();
    CreateStatusBar();

    Timer3 = new QTimer(this);
    Timer3->setObjectName(QStringLiteral("Timer3"));
    Timer3->setInterval(500);
    connect(Timer3, &QTimer::timeout, this, &MainWindow::Timer3Timer);
    Timer3->start();
    TimerShape = new QTimer(this);
    TimerShape->setObjectName(QStringLiteral("TimerShape"));
    TimerShape->setInterval(2000);
    connect(TimerShape, &QTimer::timeout, this, &MainWindow::TimerShapeTimer);

    aboutBox_ = new AboutWindow(this);
    formStatus_ = new meter::TFormStatus(this);
    connect(N15, &QAction::triggered, aboutBox_, &QDialog::exec);
    connect(NStatus, &QAction::triggered, formStatus_, &QDialog::exec);

    ApplyModes();
    CreateLink(ports);
    BuildPortLists(ports);
    ComboBaudChange();
    SpinTimerChange();
    tabJournal_->DTPHalf->setDate(QDate::currentDate());
    tabJournal_->SetPrintersInstalled(platform::PrintersInstalled());
    Timer3Timer();
    PageControl1->setCurrentIndex(0);
    SetMeterControlsEnabled(false);
    ResetMeterData();
    FitAndCentre();
}

void MainWindow::CreateActions()
{
    QStyle* s = style();
    ActionConnect =
        NewAction(this, "ActionConnect", QStringLiteral("&Установить"),
                  QStringLiteral("Установить связь"), s->standardIcon(QStyle::SP_MediaPlay), true);
    ActionDisconnect =
        NewAction(this, "ActionDisconnect", QStringLiteral("&Разорвать"),
                  QStringLiteral("Разорвать связь"), s->standardIcon(QStyle::SP_MediaStop), false);
    ActionSetting = NewAction(this, "ActionSetting", QStringLiteral("&Записать"),
                              QStringLiteral("Записать установки"),
                              s->standardIcon(QStyle::SP_DialogApplyButton), false);
    ActionSetting->setShortcut(Qt::Key_F12);
    ActionReset = NewAction(this, "ActionReset", QStringLiteral("&Сброс"), QStringLiteral("Сброс"),
                            QIcon(), true);
    ActionFindAddress = NewAction(this, "ActionFindAddress", QStringLiteral("Поиск &адреса"),
                                  QStringLiteral("Поиск адреса"),
                                  s->standardIcon(QStyle::SP_FileDialogContentsView), false);
    ActionFindAddress->setShortcut(Qt::Key_F3);
    ActionNewSched = NewAction(this, "ActionNewSched", QStringLiteral("&Новое"),
                               QStringLiteral("Новое тарифное расписание"),
                               s->standardIcon(QStyle::SP_FileIcon), true);
    ActionLoadTariff = NewAction(this, "ActionLoadTariff", QStringLiteral("&Загрузить из файла"),
                                 QStringLiteral("Загрузить тарифное расписание из файла"),
                                 s->standardIcon(QStyle::SP_DialogOpenButton), true);
    ActionSaveTariff = NewAction(this, "ActionSaveTariff", QStringLiteral("&Сохранить как файл"),
                                 QStringLiteral("Сохранить тарифное расписание как файл"),
                                 s->standardIcon(QStyle::SP_DialogSaveButton), true);
    ActionWriteSched = NewAction(this, "ActionWriteSched", QStringLiteral("З&аписать в счетчик"),
                                 QStringLiteral("Записать расписание в счетчик"),
                                 s->standardIcon(QStyle::SP_ArrowUp), false);
    ActionReadSched = NewAction(this, "ActionReadSched", QStringLiteral("&Прочитать из счетчика"),
                                QStringLiteral("Прочитать расписание из счетчика"),
                                s->standardIcon(QStyle::SP_ArrowDown), false);
    ActionFixDb = NewAction(this, "ActionFixDb", QStringLiteral("Зафиксировать в Б&Д"),
                            QStringLiteral("Зафиксировать в БД"),
                            s->standardIcon(QStyle::SP_DriveHDIcon), false);
    // Actions without a menu item or button still need the window to own their shortcuts.
    addActions({ActionSetting, ActionReset, ActionFindAddress});
    connect(ActionReset, &QAction::triggered, this, &MainWindow::ResetMeterData);
}

void MainWindow::CreateToolBar()
{
    ToolBar1 = addToolBar(QString());
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->toggleViewAction()->setVisible(false);
    setContextMenuPolicy(Qt::NoContextMenu);
    const struct {
        const char* name;
        QAction* action;
    } buttons[] = {
        {"ToolButton1", ActionConnect},
        {"ToolButton3", ActionDisconnect},
        {"ToolButton6", ActionFindAddress},
        {nullptr, nullptr},
        {"ToolButton5", ActionSetting},
        {"ToolButton2", ActionFixDb},
        {nullptr, nullptr},
        {"ToolButton12", ActionNewSched},
        {"ToolButton14", ActionLoadTariff},
        {"ToolButton15", ActionSaveTariff},
        {"ToolButton18", ActionWriteSched},
        {"ToolButton19", ActionReadSched},
        {nullptr, nullptr},
    };
    for (const auto& button : buttons) {
        if (!button.action) {
            ToolBar1->addSeparator();
            continue;
        }
        ToolBar1->addAction(button.action);
        auto* tool = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(button.action));
        tool->setObjectName(QLatin1String(button.name));
        tool->setAutoRaise(true);
    }
    Shape1 = new IndicatorShape(ToolBar1);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    shapeItem_ = ToolBar1->addWidget(Shape1);
    shapeItem_->setVisible(false);
}

void MainWindow::CreateMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu* link = bar->addMenu(QStringLiteral("&Связь"));
    link->setObjectName(QStringLiteral("NLink"));
    NPort = link->addMenu(QStringLiteral("&Порт"));
    NPort->setObjectName(QStringLiteral("NPort"));
    PortItems = new QActionGroup(this);
    NBaud = link->addMenu(QStringLiteral("&Скорость"));
    NBaud->setObjectName(QStringLiteral("NBaud"));
    BaudItems = new QActionGroup(this);
    const QStringList speeds = meter::SpeedItems();
    for (int index = 0; index < speeds.size(); ++index) {
        QAction* item = NBaud->addAction(speeds[index]);
        item->setObjectName(QStringLiteral("NBaud%1").arg(speeds[index]));
        item->setCheckable(true);
        item->setData(index);
        item->setChecked(index == 0);
        BaudItems->addAction(item);
    }
    link->addSeparator();
    link->addActions({ActionConnect, ActionDisconnect});
    link->addSeparator();
    link->addAction(ActionFindAddress);
    link->addSeparator();
    NExit = link->addAction(QStringLiteral("В&ыход"));
    NExit->setObjectName(QStringLiteral("NExit"));
    connect(NExit, &QAction::triggered, this, &QWidget::close);

    QMenu* settings = bar->addMenu(QStringLiteral("&Установки"));
    settings->setObjectName(QStringLiteral("NSetting"));
    settings->addActions({ActionSetting, ActionFixDb});

    NSched = bar->addMenu(QStringLiteral("&Расписание"));
    NSched->setObjectName(QStringLiteral("NSched"));
    NSched->addActions({ActionNewSched, ActionLoadTariff, ActionSaveTariff});
    NSched->addSeparator();
    NSched->addActions({ActionWriteSched, ActionReadSched});

    QMenu* help = bar->addMenu(QStringLiteral("&?"));
    help->setObjectName(QStringLiteral("NHelp"));
    NStatus = help->addAction(QStringLiteral("&Расшифровка статуса"));
    NStatus->setObjectName(QStringLiteral("NStatus"));
    help->addSeparator();
    N20 = help->addAction(QStringLiteral("&Справка"));
    N20->setObjectName(QStringLiteral("N20"));
    help->addSeparator();
    N15 = help->addAction(QStringLiteral("&О программе"));
    N15->setObjectName(QStringLiteral("N15"));
}

void MainWindow::CreateConnectionPanel()
{
    PanelConnect = new QFrame;
    PanelConnect->setObjectName(QStringLiteral("PanelConnect"));
    PanelConnect->setFrameShape(QFrame::StyledPanel);
    meter::TintBackground(PanelConnect, -2, -2, -1);
    auto* row = new QHBoxLayout(PanelConnect);
    row->setContentsMargins(6, 3, 6, 3);
    auto* grid = new QGridLayout;
    grid->setVerticalSpacing(2);
    row->addLayout(grid);

    ComboPort = new QComboBox(PanelConnect);
    ComboPort->setObjectName(QStringLiteral("ComboPort"));
    ComboPort->setMinimumContentsLength(6);
    AddCaptioned(grid, QStringLiteral("Порт:"), ComboPort, nullptr);

    ComboBaud = new QComboBox(PanelConnect);
    ComboBaud->setObjectName(QStringLiteral("ComboBaud"));
    ComboBaud->addItems(meter::SpeedItems());
    AddCaptioned(grid, QStringLiteral("Скорость :"), ComboBaud, nullptr);

    SpinAddr = new QSpinBox(PanelConnect);
    SpinAddr->setObjectName(QStringLiteral("SpinAddr"));
    SpinAddr->setRange(0, 255);
    AddCaptioned(grid, QStringLiteral("Адрес :"), SpinAddr, nullptr);

    auto* timer = new QWidget(PanelConnect);
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

    LabeledPass2 = new QLineEdit(PanelConnect);
    LabeledPass2->setObjectName(QStringLiteral("LabeledPass2"));
    LabeledPass2->setMaxLength(6);
    LabeledPass2->setToolTip(link::kInitialPasswordHint);
    AddCaptioned(grid, QStringLiteral("Пароль для доступа : "), LabeledPass2, nullptr);

    PanelScaner = new QFrame(PanelConnect);
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

void MainWindow::CreatePages()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateConnectionPanel();
    layout->addWidget(PanelConnect);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(false);
    tabAbout_ = new meter::TabAbout;
    tabSheet1_ = new meter::TabSheet1;
    tabSched_ = new schedule::TabSched;
    tabSheet3_ = new meter::TabSheet3;
    tabJournal_ = new meter::TabJournal;
    tabPlc_ = new meter::TabPlc;
    tabDb_ = new TabDb;
    tabProtocol_ = new TabProtocol;
    PageControl1->addTab(tabAbout_, QStringLiteral("О счетчике"));
    PageControl1->addTab(tabSheet1_, QStringLiteral("Установка"));
    PageControl1->addTab(tabSched_, QStringLiteral("Тарифное расписание"));
    PageControl1->addTab(tabSheet3_, QStringLiteral("Показания"));
    PageControl1->addTab(tabJournal_, QStringLiteral("Журналы"));
    PageControl1->addTab(tabPlc_, QStringLiteral("Параметры PLC"));
    PageControl1->addTab(tabDb_, QStringLiteral("База данных"));
    PageControl1->addTab(tabProtocol_, QStringLiteral("Протокол"));
    layout->addWidget(PageControl1, 1);
    setCentralWidget(central);
}

void MainWindow::CreateStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    const int widths[] = {160, 420};
    for (int i = 0; i < 2; ++i) {
        StatusPanel[i] = new QLabel(bar);
        StatusPanel[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        StatusPanel[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        // The exchange counter changes many times a second: a fixed size keeps a new text from
        // laying out the bar and the window again, an own background from repainting theirs.
        StatusPanel[i]->setAutoFillBackground(true);
        StatusPanel[i]->setFixedSize(widths[i], StatusPanel[i]->fontMetrics().height() +
                                                    2 * StatusPanel[i]->frameWidth());
        bar->addWidget(StatusPanel[i]);
    }
}

void MainWindow::ApplyModes()
{
    meter::TabSheet1& settings = *tabSheet1_;
    settings.SetNumberEditable(modes_.master);
    settings.ui.BitBtn1->setVisible(modes_.master);
    settings.ui.LabeledPass1->setReadOnly(!modes_.newPasswordAllowed);
    tabAbout_->SetDeltaVisible(modes_.production);

    const bool office = !modes_.production;
    for (QWidget* tab : {static_cast<QWidget*>(tabDb_), static_cast<QWidget*>(tabSched_),
                         static_cast<QWidget*>(tabPlc_)})
        PageControl1->setTabVisible(PageControl1->indexOf(tab), office);
    NSched->menuAction()->setVisible(office);
    for (QAction* action :
         {ActionNewSched, ActionLoadTariff, ActionSaveTariff, ActionWriteSched, ActionReadSched})
        action->setVisible(office);
    ActionFixDb->setVisible(modes_.production);
    PanelScaner->setVisible(modes_.production);

    tabDb_->MemoDb->clear();
    settings.ui.CheckTime->setChecked(true);
    settings.ui.CheckAddr->setChecked(modes_.production);
    settings.ui.CheckDDM->setChecked(modes_.production);
    tabProtocol_->CheckBox_Terminal->setChecked(!modes_.master);

    if (modes_.production) {
        // The production line always writes the same indication set.
        settings.ui.CheckSetIndi->setEnabled(false);
        for (int item : {0, 3, 4})
            settings.ui.CheckSetIndi->item(item)->setCheckState(Qt::Checked);
    }
}

void MainWindow::FitAndCentre()
{
    // The client area below the menu bar is 724 × 598 unless the fonts need more room.
    const int menuHeight = menuBar()->sizeHint().height();
    const QSize wanted(kClientSize.width(), kClientSize.height() + menuHeight);
    setFixedSize(wanted.expandedTo(minimumSizeHint()));
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

void MainWindow::ResetMeterData()
{
    // The password of the next write is scrambled with number 0 until the meter reports its own.
    link_->setFactoryNumber(0);
    tabAbout_->ClearData();
    tabSheet1_->ui.BitBtn1->setEnabled(true);
    tabSheet1_->ClearEditedMarks();
    tabSheet3_->ClearData();
    tabJournal_->ClearData();
    QSpinBox* number = tabSheet1_->ui.SpinEdit_Number;
    if (PageControl1->currentWidget() == tabSheet1_ && number->isEnabled())
        number->setFocus();
}

void MainWindow::SetMeterControlsEnabled(bool enabled)
{
    const QList<QWidget*> buttons = {
        tabSheet3_->ui.BtnReadCounter,   tabSheet3_->ui.BtnResetDayHour,
        tabJournal_->BtnReadJournalYear, tabJournal_->BtnReadDiary,
        tabJournal_->BtnReadHalf,        tabPlc_->ui.BtnWriteAddress,
        tabPlc_->ui.BtnWriteRoute,       tabPlc_->ui.ButtonDelRoute,
    };
    for (QWidget* button : buttons)
        button->setEnabled(enabled);
    for (QAction* action : {ActionSetting, ActionWriteSched, ActionReadSched})
        action->setEnabled(enabled);
}

void MainWindow::ShowResult(bool success)
{
    Shape1->SetColor(success ? QColor(0, 255, 0) : QColor(255, 0, 0));
    shapeItem_->setVisible(true);
    TimerShape->start();
}

void MainWindow::TimerShapeTimer()
{
    TimerShape->stop();
    shapeItem_->setVisible(false);
    ActionReset->trigger();
}

void MainWindow::Timer3Timer()
{
    tabSheet1_->FollowClock(QDateTime::currentDateTime());
}

const meter::MeterState& MainWindow::MeterValues() const
{
    return tabAbout_->Values();
}

void MainWindow::CreateLink(const PortOptions& ports)
{
    serialPort_ = new platform::SerialPort(this);
    if (ports.demo)
        demoPort_ = sim::CreateDemoPort(this);
    link_ = new link::MeterLink(*serialPort_, this);
    link_->setObjectName(QStringLiteral("MeterLink"));
    link_->setMasterMode(modes_.master);
    link_->setProductionMode(modes_.production);
    using link::MeterLink;

    connect(ActionConnect, &QAction::triggered, this, &MainWindow::ActionConnectExecute);
    connect(ActionDisconnect, &QAction::triggered, this, &MainWindow::ActionDisconnectExecute);
    connect(ActionFindAddress, &QAction::triggered, this, &MainWindow::ActionFindAddressExecute);
    connect(ComboPort, &QComboBox::currentIndexChanged, this, &MainWindow::ComboPortChange);
    connect(PortItems, &QActionGroup::triggered, this, &MainWindow::NPortClick);
    connect(ComboBaud, &QComboBox::currentIndexChanged, this, &MainWindow::ComboBaudChange);
    connect(BaudItems, &QActionGroup::triggered, this, &MainWindow::N48001Click);
    connect(SpinTimer, &QSpinBox::valueChanged, this, &MainWindow::SpinTimerChange);
    connect(SpinAddr, &QSpinBox::valueChanged, link_, &MeterLink::setAddress);
    for (QLineEdit* edit : {LabeledPass2, tabSheet1_->ui.LabeledPass1})
        connect(edit, &QLineEdit::textChanged, this, [this, edit] { LabeledPass1Change(edit); });
    QCheckBox* terminal = tabProtocol_->CheckBox_Terminal;
    link_->setTrafficLog(terminal->isChecked());
    connect(terminal, &QCheckBox::toggled, link_, &MeterLink::setTrafficLog);
    connect(tabAbout_->EditTariff, &QLineEdit::textChanged, link_,
            &MeterLink::setCurrentTariffText);

    // The log only grows at its end: appending never lays out the earlier lines again.
    QPlainTextEdit* memo = tabProtocol_->Memo_Terminal;
    connect(link_, &MeterLink::trafficLine, memo, &QPlainTextEdit::appendPlainText);
    connect(link_, &MeterLink::trafficCleared, memo, &QPlainTextEdit::clear);
    connect(link_, &MeterLink::statusText, this,
            [this](int panel, const QString& text) { StatusPanel[panel]->setText(text); });
    connect(link_, &MeterLink::meterControlsEnabled, this, &MainWindow::SetMeterControlsEnabled);
    connect(link_, &MeterLink::actionSettingEnabled, ActionSetting, &QAction::setEnabled);
    connect(link_, &MeterLink::actionFixDbEnabled, ActionFixDb, &QAction::setEnabled);
    connect(link_, &MeterLink::actionFindAddressEnabled, ActionFindAddress, &QAction::setEnabled);
    connect(link_, &MeterLink::connectionChanged, this, &MainWindow::ConnectionChanged);
    connect(link_, &MeterLink::displayResetRequested, this, &MainWindow::ResetMeterData);
    connect(link_, &MeterLink::resultIndicator, this, &MainWindow::ShowResult);
    // The box must be up before the link empties the queue, so no queued delivery.
    connect(
        link_, &MeterLink::failureMessage, this,
        [this](const QString& caption, const QString& text) {
            ShowMessage(this, {QMessageBox::Critical, caption, text});
        },
        Qt::DirectConnection);
    connect(link_, &MeterLink::gaugeSchedVisible, tabSched_->GaugeSched, &QWidget::setVisible);
    connect(link_, &MeterLink::gaugeJournalVisible, tabJournal_->GaugeJournal,
            &QWidget::setVisible);
    connect(link_, &MeterLink::addressChanged, SpinAddr, &QSpinBox::setValue);
    connect(link_, &MeterLink::sendTick, this, &MainWindow::HideGridSelections);
    tabAbout_->Attach(*link_, {tabSheet1_->ui.SpinEdit_Number, tabSheet1_->ui.BitBtn1});
}

void MainWindow::BuildPortLists(const PortOptions& ports)
{
    platform::PortListInput input;
    input.systemNames = platform::SystemPortNames();
    input.extraPaths = ports.extraPorts;
    if (ports.demo)
        input.extraPaths.append(sim::kDemoPortName);
    input.savedMeter = kSavedMeterPort;
    input.savedScanner = kSavedScannerPort;
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

link::Port& MainWindow::PortFor(const QString& portText)
{
    if (demoPort_ && portText == sim::kDemoPortName)
        return *demoPort_;
    return *serialPort_;
}

void MainWindow::ActionConnectExecute()
{
    const QString portText = ComboPort->currentText();
    link_->setPort(PortFor(portText));
    link_->ActionConnectExecute(portText);
}

void MainWindow::ActionDisconnectExecute()
{
    link_->ActionDisconnectExecute(ComboPort->currentText());
}

void MainWindow::ActionFindAddressExecute()
{
    link_->ActionFindAddressExecute();
}

void MainWindow::ConnectionChanged(bool connected)
{
    ActionConnect->setEnabled(!connected);
    ActionDisconnect->setEnabled(connected);
    ComboPort->setEnabled(!connected);
    NPort->menuAction()->setEnabled(!connected);
    ComboBaud->setEnabled(!connected);
    NBaud->menuAction()->setEnabled(!connected);
}

void MainWindow::ComboPortChange()
{
    CheckTaggedItem(PortItems, platform::kWindowsPortRules
                                   ? link::PortNumber(ComboPort->currentText())
                                   : ComboPort->currentIndex());
}

void MainWindow::NPortClick(QAction* item)
{
    item->setChecked(true);
    const int tag = item->data().toInt();
    ComboPort->setCurrentIndex(
        platform::kWindowsPortRules
            ? ComboPort->findText(QStringLiteral("Com%1").arg(tag), Qt::MatchFixedString)
            : tag);
}

void MainWindow::ComboBaudChange()
{
    const int index = ComboBaud->currentIndex();
    CheckTaggedItem(BaudItems, index);
    const int baud = link::BaudForIndex(index);
    if (baud == 0)
        return;
    serialPort_->setBaudRate(baud);
    if (demoPort_)
        demoPort_->setBaudRate(baud);
}

void MainWindow::N48001Click(QAction* item)
{
    item->setChecked(true);
    {
        const QSignalBlocker blocker(ComboBaud);
        ComboBaud->setCurrentIndex(item->data().toInt());
    }
    ComboBaudChange();
}

void MainWindow::SpinTimerChange()
{
    link_->setTimeout(SpinTimer->value());
}

void MainWindow::LabeledPass1Change(QLineEdit* edit)
{
    edit->setToolTip(link::PasswordHint(edit->text()));
    link_->setAccessPassword(LabeledPass2->text());
    link_->setNewPassword(tabSheet1_->ui.LabeledPass1->text());
}

// The send timer's tick: no grid cell stays highlighted while the meter is polled.
void MainWindow::HideGridSelections()
{
    for (QTableWidget* grid :
         {tabSheet3_->ui.GridValueTarif, tabSheet3_->ui.GridActive, tabAbout_->GridDdm}) {
        if (grid->currentIndex().isValid() || grid->selectionModel()->hasSelection()) {
            grid->clearSelection();
            grid->setCurrentIndex(QModelIndex());
        }
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    ActionDisconnectExecute();
    QMainWindow::closeEvent(event);
}

} // namespace zr::shell
