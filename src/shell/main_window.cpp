#include "shell/main_window.h"

#include "link/meter_link.h"
#include "link/port_name.h"
#include "meter/device_state.h"
#include "meter/ui/about_page.h"
#include "meter/ui/journal_page.h"
#include "meter/ui/plc_page.h"
#include "meter/ui/readings_page.h"
#include "meter/ui/settings_page.h"
#include "meter/ui/status_dialog.h"
#include "meter/ui/table_output.h"
#include "platform/port_list.h"
#include "platform/printers.h"
#include "platform/serial_port.h"
#include "production/operation_log.h"
#include "schedule/ui/schedule_message.h"
#include "schedule/ui/schedule_page.h"
#include "shell/about_window.h"
#include "shell/application.h"
#include "shell/db_page.h"
#include "shell/indicator_shape.h"
#include "shell/message.h"
#include "shell/operating_modes.h"
#include "shell/production_line.h"
#include "shell/protocol_page.h"
#include "sim/demo.h"

#include <QAction>
#include <QBoxLayout>
#include <QCloseEvent>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace zr::shell
{

namespace
{

const QSize kClientSize(724, 598);

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

} // namespace

MainWindow::MainWindow(const StartUp& startUp, const PortOptions& ports, QWidget* parent)
    : MainWindow(startUp, std::nullopt, ports, parent)
{
}

MainWindow::MainWindow(const Modes& modes, const PortOptions& ports, QWidget* parent)
    : MainWindow(StartUp{}, modes, ports, parent)
{
}

MainWindow::MainWindow(const StartUp& startUp, const std::optional<Modes>& modes, PortOptions ports,
                       QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      store_(startUp.settings)
{
    // Both files belong to the directory the program was started in, not to the executable's.
    const QString directory =
        startUp.workingDirectory.isEmpty() ? QDir::currentPath() : startUp.workingDirectory;
    helpPath_ = HelpPath(directory);
    logPath_ = OperationLogPath(directory);
    openFile = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    QStringList problems;
    if (store_) {
        LoadedSettings loaded = LoadAppSettings(*store_, platform::kWindowsPortRules);
        kept_ = loaded.values;
        problems = loaded.problems;
        ports.savedMeterPort = kept_.meterPort;
        ports.savedScannerPort = kept_.scannerPort;
    }
    if (modes) {
        modes_ = *modes;
    } else {
        const auto decided = DecideModes(QFileInfo::exists(ProductionMarkerPath(directory)),
                                         kept_.master, kept_.noUser);
        modes_ = {decided.production, decided.master, decided.newPasswordAllowed};
    }

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
    statusDialog_ = new meter::StatusDialog(this);
    connect(N15, &QAction::triggered, aboutBox_, &QDialog::exec);
    connect(NStatus, &QAction::triggered, statusDialog_, &QDialog::exec);
    connect(N20, &QAction::triggered, this, &MainWindow::N20Click);

    db_->setLogPath(logPath_);
    ApplyModes();
    if (store_)
        RestoreSettings();
    CreateLink(ports);
    if (modes_.production) {
        production_ = new ProductionLine(*this, kept_.database);
        identify = [this] { production_->Identify(); };
    }
    journal_->SetPrintersInstalled(platform::PrintersInstalled());
    meter::Output().numberField = [this] { return settings_->NumberFieldValue(); };
    meter::Output().warn = [](QWidget* parent, const QString& caption, const QString& text) {
        ShowMessage(parent, {QMessageBox::Warning, caption, text});
    };
    Timer3Timer();
    PageControl1->setCurrentIndex(0);
    SetMeterControlsEnabled(false);
    ResetMeterData();
    FitAndCentre();
    // A value of the wrong type has been replaced by its default; start-up goes on.
    if (!problems.isEmpty())
        ShowMessage(this, {QMessageBox::Warning, ProgramTitle(), problems.join(QLatin1Char('\n'))});
}

void MainWindow::RestoreSettings()
{
    panel_->ComboBaud->setCurrentIndex(kept_.baudIndex);
    panel_->SpinTimer->setValue(kept_.timeoutMs);
    panel_->CheckScaner->setChecked(kept_.scanner);
    settings_->setDdmNumbers(kept_.ddmNumbers);
}

AppSettings MainWindow::CurrentSettings() const
{
    const auto kept = [](const QString& portText) {
        return platform::kWindowsPortRules ? QString::number(link::PortNumber(portText)) : portText;
    };
    AppSettings values = kept_;
    values.meterPort = kept(panel_->ComboPort->currentText());
    values.scannerPort = kept(panel_->ComboScaner->currentText());
    values.baudIndex = panel_->ComboBaud->currentIndex();
    values.timeoutMs = panel_->SpinTimer->value();
    values.ddmNumbers = settings_->ddmNumbers();
    values.scanner = panel_->CheckScaner->isChecked();
    return values;
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
    NBaud = link->addMenu(QStringLiteral("&Скорость"));
    NBaud->setObjectName(QStringLiteral("NBaud"));
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

template <typename T> T* MainWindow::AddPage(T* page, const QString& caption)
{
    PageControl1->addTab(page, caption);
    pages_.append(page);
    return page;
}

void MainWindow::CreatePages()
{
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    panel_ = new ConnectionPanel(NPort, NBaud);
    layout->addWidget(panel_);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setUsesScrollButtons(false);
    about_ = AddPage(new meter::AboutPage, QStringLiteral("О счетчике"));
    settings_ = AddPage(new meter::SettingsPage, QStringLiteral("Установка"));
    sched_ = AddPage(new schedule::SchedulePage, QStringLiteral("Тарифное расписание"));
    ConnectSchedule();
    readings_ = AddPage(new meter::ReadingsPage, QStringLiteral("Показания"));
    journal_ = AddPage(new meter::JournalPage, QStringLiteral("Журналы"));
    plc_ = AddPage(new meter::PlcPage, QStringLiteral("Параметры PLC"));
    db_ = AddPage(new DbPage, QStringLiteral("База данных"));
    protocol_ = AddPage(new ProtocolPage, QStringLiteral("Протокол"));
    layout->addWidget(PageControl1, 1);
    setCentralWidget(central);
}

void MainWindow::ConnectSchedule()
{
    using schedule::SchedulePage;
    schedule::SetScheduleMessageHandler([](QWidget* parent, QMessageBox::Icon icon,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons) {
        return ShowMessage(parent, {icon, caption, text, buttons});
    });
    connect(sched_, &SchedulePage::showRequested, this,
            [this] { PageControl1->setCurrentWidget(sched_); });
    connect(ActionNewSched, &QAction::triggered, sched_, &SchedulePage::ActionNewSchedExecute);
    connect(ActionLoadTariff, &QAction::triggered, sched_, &SchedulePage::ActionLoadTariffExecute);
    connect(ActionSaveTariff, &QAction::triggered, sched_, &SchedulePage::ActionSaveTariffExecute);
    // A queued batch keeps the meter-dependent controls off until the queue drains.
    connect(ActionWriteSched, &QAction::triggered, this, [this] {
        if (sched_->ActionWriteSchedExecute())
            SetMeterControlsEnabled(false);
    });
    connect(ActionReadSched, &QAction::triggered, this, [this] {
        if (sched_->ActionReadSchedExecute())
            SetMeterControlsEnabled(false);
    });
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
    StatusLogError = new QLabel(bar);
    StatusLogError->setObjectName(QStringLiteral("StatusLogError"));
    StatusLogError->setStyleSheet(QStringLiteral("color: #c00000;"));
    bar->addWidget(StatusLogError, 1);
}

void MainWindow::ApplyModes()
{
    for (meter::Page* page : pages_)
        page->applyModes(modes_);
    const bool office = !modes_.production;
    for (QWidget* tab :
         {static_cast<QWidget*>(db_), static_cast<QWidget*>(sched_), static_cast<QWidget*>(plc_)})
        PageControl1->setTabVisible(PageControl1->indexOf(tab), office);
    NSched->menuAction()->setVisible(office);
    for (QAction* action :
         {ActionNewSched, ActionLoadTariff, ActionSaveTariff, ActionWriteSched, ActionReadSched})
        action->setVisible(office);
    ActionFixDb->setVisible(modes_.production);
    panel_->setScannerVisible(modes_.production);
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
    device_->reset();
    for (meter::Page* page : pages_)
        page->clearData();
    if (production_)
        production_->clearData();
}

void MainWindow::SetMeterControlsEnabled(bool enabled)
{
    for (meter::Page* page : pages_)
        page->setMeterControlsEnabled(enabled);
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
    settings_->FollowClock(QDateTime::currentDateTime());
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
    device_ = new meter::DeviceState(this);
    device_->attach(*link_);
    using link::MeterLink;

    connect(ActionConnect, &QAction::triggered, this, &MainWindow::ActionConnectExecute);
    connect(ActionDisconnect, &QAction::triggered, this, &MainWindow::ActionDisconnectExecute);
    connect(ActionFindAddress, &QAction::triggered, this, &MainWindow::ActionFindAddressExecute);
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
    // Each tick of the send timer: no grid cell stays highlighted while the meter is polled.
    connect(link_, &MeterLink::sendTick, this, [this] {
        for (meter::Page* page : pages_)
            page->hideGridSelections();
    });
    panel_->attach(*link_, *serialPort_, demoPort_, ports);
    for (meter::Page* page : pages_)
        page->attach(*link_, *device_);

    // On the production line the PC clock comes from the server first, since the batch writes it
    // into the meter; without the server's time nothing is written.
    connect(ActionSetting, &QAction::triggered, this, [this] {
        if (production_ && !production_->SetClockFromServer())
            return;
        settings_->ActionSettingExecute();
    });
    const auto refuse = [this](const QString& reason) {
        ShowMessage(this, {QMessageBox::Warning, QStringLiteral("Ошибка"), reason});
    };
    connect(settings_, &meter::SettingsPage::refused, this, refuse);
    connect(plc_, &meter::PlcPage::refused, this, refuse);
    connect(settings_, &meter::SettingsPage::operationLogged, this, &MainWindow::LogOperation);
    connect(plc_, &meter::PlcPage::operationLogged, this, &MainWindow::LogOperation);
    connect(readings_, &meter::ReadingsPage::operationLogged, this, &MainWindow::LogOperation);
    connect(sched_, &schedule::SchedulePage::operationLogged, this, &MainWindow::LogOperation);
    // Later exchanges of the batch already talk at the new address and speed.
    connect(settings_, &meter::SettingsPage::linkParametersWritten, this,
            [this](int address, int baudIndex) {
                panel_->SpinAddr->setValue(address);
                panel_->ComboBaud->setCurrentIndex(baudIndex);
            });
    connect(settings_, &meter::SettingsPage::accessPasswordWritten, panel_->LabeledPass2,
            &QLineEdit::setText);
}

void MainWindow::LogOperation(const QString& event)
{
    // The production database keeps the record there.
    if (modes_.production)
        return;
    const QString line = production::OperationLogLine(device_->factoryNumberText(),
                                                      QDateTime::currentDateTime(), event);
    const QString reason = production::AppendOperationLog(logPath_, line);
    if (reason.isEmpty()) {
        StatusLogError->clear();
        db_->SpinFilterChange();
        return;
    }
    const QString text = QStringLiteral("Журнал операций не записан: ") + reason;
    link_->LogMessage(text);
    StatusLogError->setText(text);
}

void MainWindow::N20Click()
{
    // A missing help file is the desktop's to report.
    openFile(helpPath_);
}

void MainWindow::ActionConnectExecute()
{
    link_->setPort(panel_->chosenPort());
    link_->ActionConnectExecute(panel_->portText());
}

void MainWindow::ActionDisconnectExecute()
{
    link_->ActionDisconnectExecute(panel_->portText());
}

void MainWindow::ActionFindAddressExecute()
{
    link_->ActionFindAddressExecute();
}

void MainWindow::ConnectionChanged(bool connected)
{
    ActionConnect->setEnabled(!connected);
    ActionDisconnect->setEnabled(connected);
    panel_->setConnected(connected);
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    ActionDisconnectExecute();
    if (store_)
        SaveAppSettings(*store_, CurrentSettings(), modes_.production, platform::kWindowsPortRules);
    QMainWindow::closeEvent(event);
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && modes_.production &&
        identify)
        identify();
}

} // namespace zr::shell
