#include "meter/ui/about_page.h"
#include "meter/ui/bar_chart.h"
#include "meter/ui/journal_page.h"
#include "meter/ui/plc_page.h"
#include "meter/ui/readings_page.h"
#include "meter/ui/settings_page.h"
#include "platform/port_list.h"
#include "platform/printers.h"
#include "schedule/ui/holidays_page.h"
#include "schedule/ui/schedule_page.h"
#include "shell/about_window.h"
#include "shell/application.h"
#include "shell/db_page.h"
#include "shell/indicator_shape.h"
#include "shell/main_window.h"
#include "shell/message.h"
#include "shell/protocol_page.h"
#include "support.h"
#include "support/child.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <memory>
#include <stdexcept>

using zr::shell::MainWindow;
using zr::shell::Modes;
using zr::test::Child;
using zr::test::MessageCatcher;

namespace
{

// The one object of that name under scope; "." means the window's own direct children.
QObject* Find(QObject* window, const QString& scope, const QString& name)
{
    QObjectList found;
    if (scope == QLatin1String(".")) {
        for (QObject* child : window->children())
            if (child->objectName() == name)
                found << child;
    } else {
        QObject* root = scope.isEmpty() ? window : Find(window, QString(), scope);
        if (!root)
            return nullptr;
        for (QObject* child : root->findChildren<QObject*>(name))
            found << child;
    }
    return found.size() == 1 ? found.first() : nullptr;
}

// The caption the user reads for a component: its own text, its tab's text or its label's.
QString Caption(QObject* object, QObject* window)
{
    if (auto* action = qobject_cast<QAction*>(object))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(object))
        return menu->title();
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(object))
        return group->title();
    if (auto* label = qobject_cast<QLabel*>(object))
        return label->text();
    auto* widget = qobject_cast<QWidget*>(object);
    if (auto* stack = qobject_cast<QStackedWidget*>(widget->parentWidget()))
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            return tabs->tabText(tabs->indexOf(widget));
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() == widget)
            return label->text();
    return QStringLiteral("<no caption>");
}

QStringList Items(QObject* object)
{
    QStringList items;
    if (auto* combo = qobject_cast<QComboBox*>(object))
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
    if (auto* list = qobject_cast<QListWidget*>(object))
        for (int i = 0; i < list->count(); ++i)
            items << list->item(i)->text();
    if (auto* tree = qobject_cast<QTreeWidget*>(object))
        for (int i = 0; i < tree->columnCount(); ++i)
            items << tree->headerItem()->text(i);
    if (auto* menu = qobject_cast<QMenu*>(object))
        for (QAction* action : menu->actions())
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return items;
}

QVariant Value(QObject* object)
{
    if (auto* spin = qobject_cast<QSpinBox*>(object))
        return spin->value();
    if (auto* slider = qobject_cast<QSlider*>(object))
        return slider->value();
    if (auto* combo = qobject_cast<QComboBox*>(object))
        return combo->currentText();
    if (auto* button = qobject_cast<QAbstractButton*>(object))
        return button->isChecked();
    if (auto* edit = qobject_cast<QLineEdit*>(object))
        return edit->text();
    if (auto* action = qobject_cast<QAction*>(object))
        return action->isChecked();
    return {};
}

QPair<int, int> Range(QObject* object)
{
    if (auto* spin = qobject_cast<QSpinBox*>(object))
        return {spin->minimum(), spin->maximum()};
    if (auto* slider = qobject_cast<QSlider*>(object))
        return {slider->minimum(), slider->maximum()};
    return {0, 0};
}

bool Enabled(QObject* object)
{
    if (auto* action = qobject_cast<QAction*>(object))
        return action->isEnabled();
    return qobject_cast<QWidget*>(object)->isEnabled();
}

const QStringList kSpeeds = {"4800", "9600", "19200", "38400"};
const QStringList kIndication = {"Суммарное потребление", "Потребление на РДЧ", "Дата", "Мощность",
                                 "Автопереключение индикации"};

QList<QTableWidget*> Grids(MainWindow& window)
{
    return {window.About()->GridDdm, Child<QTableWidget>(window.Readings(), "GridValueTarif"),
            Child<QTableWidget>(window.Readings(), "GridActive"), window.Journal()->GridJournal};
}

class Thrower : public QObject
{
public:
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            throw std::runtime_error("Отказ устройства");
        return QObject::event(event);
    }
};

} // namespace

class TestWindow : public QObject
{
    Q_OBJECT

private slots:
    void components_data();
    void components();
    void properties_data();
    void properties();
    void plainLabels_data();
    void plainLabels();
    void actions_data();
    void actions();
    void menus_data();
    void menus();
    void modes_data();
    void modes();
    void productionTabsAndMenus();
    void fixedCaptions_data();
    void fixedCaptions();
    void displayReset();
    void meterControls();
    void resultIndicator_data();
    void resultIndicator();
    void timers_data();
    void timers();
    void listCaptionsFit_data();
    void listCaptionsFit();
    void shortcutNeedsEnabledAction();
    void generalErrorHandler();
    void memInfo_data();
    void memInfo();
    void windowSize();
};

void TestWindow::components_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("kind");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<bool>("enabled");

    const QStringList none;
    const QVariant any;
    auto row = [](const char* scope, const char* name, const char* kind, const QString& caption,
                  const QStringList& items, int min, int max, const QVariant& value, bool enabled) {
        QTest::addRow("%s/%s", scope, name) << QString(scope) << QString(name) << QByteArray(kind)
                                            << caption << items << min << max << value << enabled;
    };
    // Connection panel.
    // Both port lists hold the ports the system lists (no probe without Windows rules).
    const QStringList ports = zr::platform::SystemPortNames();
    row("", "ComboPort", "QComboBox", "Порт:", ports, 0, 0, any, true);
    row("", "ComboBaud", "QComboBox", "Скорость :", kSpeeds, 0, 0, "4800", true);
    row("", "SpinAddr", "QSpinBox", "Адрес :", none, 0, 255, 0, true);
    row("", "SpinTimer", "QSpinBox", "Таймаут :", none, 200, 10000, 500, true);
    row("", "LabeledPass2", "QLineEdit", "Пароль для доступа : ", none, 0, 0, "", true);
    row("", "ComboScaner", "QComboBox", "Сканер:", ports, 0, 0, any, true);
    row("", "CheckScaner", "QCheckBox", "Включен", none, 0, 0, false, true);
    // Tabs in order of the tab row.
    row("", "TabAbout", "QWidget", "О счетчике", none, 0, 0, any, true);
    row("", "TabSheet1", "QWidget", "Установка", none, 0, 0, any, true);
    row("", "TabSched", "QWidget", "Тарифное расписание", none, 0, 0, any, true);
    row("", "TabSheet3", "QWidget", "Показания", none, 0, 0, any, true);
    row("", "TabJournal", "QWidget", "Журналы", none, 0, 0, any, true);
    row("", "TabPlc", "QWidget", "Параметры PLC", none, 0, 0, any, true);
    row("", "TabDb", "QWidget", "База данных", none, 0, 0, any, true);
    row("", "TabProtocol", "QWidget", "Протокол", none, 0, 0, any, true);
    // "О счетчике".
    row("", "LabelType", "QLabel", "", none, 0, 0, any, true);
    const char* about[][2] = {{"EditVersion", "Версия ПО : "},
                              {"EditNumber", "Заводской номер : "},
                              {"EditDate", "Дата : "},
                              {"EditTime", "Время : "},
                              {"EditTest", "Тест часов : "},
                              {"EditSummer", "Автопереход на летнее время : "},
                              {"EditDay", "Расчетный день : "},
                              {"EditHour", "Расчетный час : "},
                              {"EditWork", "Время работы : "},
                              {"EditNCorrect", "Счетчик коррекций : "},
                              {"EditIntegra", "Время интегрирования пиковой мощности (мин) : "},
                              {"EditCheckSum", "Контрольная сумма тарифного расписания : "},
                              {"EditDelta", "Уход за сутки (сек.) : "},
                              {"EditPower", "Текущая мощность, Вт :"},
                              {"EditTariff", "Текущий тариф : "},
                              {"EditValue", "Показания (тек. тариф) : "}};
    for (const auto& field : about)
        row("", field[0], "QLineEdit", field[1], none, 0, 0, "", true);
    row("", "CheckListIndi", "QListWidget", "Индикатор :", kIndication, 0, 0, any, false);
    row("", "GridDdm", "QTableWidget", "<no caption>", none, 0, 0, any, true);
    // "Установка".
    row("", "GroupTask", "QGroupBox", " Установки для записи ", none, 0, 0, any, true);
    row("", "CheckAddr", "QCheckBox", "Записать параметры связи", none, 0, 0, false, true);
    row("", "CheckTime", "QCheckBox", "Установить время", none, 0, 0, true, true);
    row("", "CheckShedule", "QCheckBox", "Установить расч. день и час", none, 0, 0, false, true);
    row("", "CheckIndi", "QCheckBox", "Установить индикацию", none, 0, 0, false, true);
    row("", "CheckIntegra", "QCheckBox", "Установить интегр. пик. мощности", none, 0, 0, false,
        true);
    row("", "CheckPassword", "QCheckBox", "Записать новый пароль", none, 0, 0, false, true);
    row("", "CheckDDM", "QCheckBox", "Записать № и режим ДДМ", none, 0, 0, false, true);
    row("", "CheckResetTariff", "QCheckBox", "Сброс тарифного расписания", none, 0, 0, false, true);
    row("", "GroupConnect", "QGroupBox", " Параметры связи ", none, 0, 0, any, true);
    row("", "SpinNewAddr", "QSpinBox", "Новые адрес:", none, 0, 255, 1, true);
    row("", "ComboNewBaud", "QComboBox", "Скорость :", kSpeeds, 0, 0, "4800", true);
    row("", "GroupCalendar", "QGroupBox", " Время  ", none, 0, 0, any, true);
    row("", "TimePicker", "QTimeEdit", "<no caption>", none, 0, 0, any, true);
    row("", "DatePicker", "QDateEdit", "<no caption>", none, 0, 0, any, true);
    row("", "CheckBoxClock", "QCheckBox", "Автопереход на летнее время", none, 0, 0, false, true);
    row("", "GroupBox13", "QGroupBox", " Пиковая мощность ", none, 0, 0, any, true);
    row("", "SpinIntegra", "QSpinBox", "Время интегрирования (мин): ", none, 1, 60, 1, true);
    row("", "GroupBox3", "QGroupBox", " Новый пароль ", none, 0, 0, any, true);
    row("", "LabeledPass1", "QLineEdit", "Пароль для доступа : ", none, 0, 0, "", true);
    row("", "GroupBox15", "QGroupBox", " РДЧ ", none, 0, 0, any, true);
    row("", "SpinDay", "QSpinBox", "Расчетный день:", none, 1, 31, 1, true);
    row("", "SpinHour", "QSpinBox", "Расчетный час:", none, 0, 23, 0, true);
    row("", "GroupBox1", "QGroupBox", " Номер ", none, 0, 0, any, true);
    row("", "SpinEdit_Number", "QSpinBox", "№ :", none, 0, 999999, 0, true);
    row("", "BitBtn1", "QPushButton", "+", none, 0, 0, false, true);
    row("", "GroupBox4", "QGroupBox", " Индикация ", none, 0, 0, any, true);
    row("", "CheckSetIndi", "QListWidget", "<no caption>", kIndication, 0, 0, any, true);
    row("", "GroupBox2", "QGroupBox", " ДДМ ", none, 0, 0, any, true);
    row("", "SpinDDM_A", "QSpinBox", "А", none, 0, 16777215, 0, true);
    row("", "SpinDDM_B", "QSpinBox", "B", none, 0, 16777215, 0, true);
    row("", "SpinDDM_C", "QSpinBox", "C", none, 0, 16777215, 0, true);
    row("", "ComboTarifDDM", "QComboBox",
        "Режим тарификации:", {"авто", "  1", "  2", "  3", "  4", "  5", "  6", "  7", "  8"}, 0,
        0, "авто", true);
    // "Тарифное расписание".
    row("", "GaugeSched", "QProgressBar", "<no caption>", none, 0, 0, any, true);
    row("", "PageControl3", "QTabWidget", "<no caption>", none, 0, 0, any, true);
    row("", "TabShedule", "QWidget", "Расписание", none, 0, 0, any, true);
    row("", "TabHolidays", "QWidget", "Праздники и коэффициент лимита", none, 0, 0, any, true);
    row("", "FrameShedule", "QWidget", "<no caption>", none, 0, 0, any, true);
    row("FrameShedule", "StringGrid1", "QTableWidget", "<no caption>", none, 0, 0, any, true);
    row("FrameShedule", "TrackBar1", "QSlider", "<no caption>", none, 0, 1439, 0, true);
    row("FrameShedule", "GroupTariff", "QGroupBox", " Действующий тариф по расписанию : ", none, 0,
        0, any, true);
    row("FrameShedule", "GroupLimit", "QGroupBox",
        " Действующий тариф при превышении лимита : ", none, 0, 0, any, true);
    row("FrameShedule", "SpinLimit", "QSpinBox", "<no caption>", none, 0, 255, 0, true);
    for (int i = 1; i <= 8; ++i) {
        const QByteArray tariff = "Tariff" + QByteArray::number(i);
        const QByteArray limit = "TariffLimit" + QByteArray::number(i);
        row("FrameShedule", tariff, "QRadioButton", QString::number(i), none, 0, 0, i == 1, true);
        row("FrameShedule", limit, "QRadioButton", QString::number(i), none, 0, 0, i == 1, true);
    }
    row("FrameShedule", "BitBtnRedo", "QToolButton", "", none, 0, 0, false, false);
    row("FrameShedule", "BitBtnUndo", "QToolButton", "", none, 0, 0, false, false);
    row("FrameShedule", "ActionEdit", "QAction", "Добавить", none, 0, 0, false, true);
    row("FrameShedule", "ActionDelete", "QAction", "Удалить", none, 0, 0, false, false);
    row("FrameShedule", "ListViewDays", "QTreeWidget", "<no caption>",
        {"время", "тариф", "лимит мощности", "тариф (превышение лимита)"}, 0, 0, any, true);
    row("FrameShedule", "StatusBar1", "QStatusBar", "<no caption>", none, 0, 0, any, true);
    row("", "GroupBox6", "QGroupBox", " Праздники ", none, 0, 0, any, true);
    row("", "ComboM", "QComboBox", "месяц:",
        {"январь", "февраль", "март", "апрель", "май", "июнь", "июль", "август", "сентябрь",
         "октябрь", "ноябрь", "декабрь"},
        0, 0, "январь", true);
    row("", "SpinD", "QSpinBox", "день:", none, 1, 31, 1, true);
    row("", "BtnInsCel", "QPushButton", "Добавить", none, 0, 0, false, true);
    row("", "BtnDelCel", "QPushButton", "Удалить", none, 0, 0, false, false);
    row("", "BtnTemplet", "QPushButton", "Праздники по умолчанию", none, 0, 0, false, true);
    row("", "ListCel", "QTreeWidget", "<no caption>", {"Месяц", "День"}, 0, 0, any, true);
    row("", "GroupBox7", "QGroupBox", " Переносы ", none, 0, 0, any, true);
    row("", "DTPTrans", "QDateEdit", "<no caption>", none, 0, 0, any, true);
    row("", "ComboTrans", "QComboBox", "по графику:",
        {"понедельник", "вторник", "среда", "четверг", "пятница", "суббота", "воскресенье",
         "праздник"},
        0, 0, "понедельник", true);
    row("", "BtnInsTrans", "QPushButton", "Добавить", none, 0, 0, false, true);
    row("", "BtnDelTrans", "QPushButton", "Удалить", none, 0, 0, false, false);
    row("", "ListTransfer", "QTreeWidget", "<no caption>", {"День", "По графику"}, 0, 0, any, true);
    row("", "GroupBox12", "QGroupBox", " Коэффициент лимита тарифного расписания ", none, 0, 0, any,
        true);
    row("TabHolidays", "SpinLimit", "QSpinBox",
        "Лимит мощности определяется как значение поля лимита тарифного расписания, умноженное "
        "на тысячу и деленное на коэффициент (Вт)",
        none, 1, 255, 1, true);
    // "Показания".
    row("", "GridValueTarif", "QTableWidget", "<no caption>", none, 0, 0, any, true);
    row("", "GridActive", "QTableWidget", "<no caption>", none, 0, 0, any, true);
    row("", "GroupPower", "QGroupBox", " Мощность ", none, 0, 0, any, true);
    row("", "EditPeak", "QLineEdit", "Пиковая, Вт:", none, 0, 0, "", true);
    row("", "EditTimePeak", "QLineEdit", "<no caption>", none, 0, 0, "", true);
    row("", "EditPeak_1", "QLineEdit", "Пиковая РДЧ,Вт:", none, 0, 0, "", true);
    row("", "EditTimePeak_1", "QLineEdit", "<no caption>", none, 0, 0, "", true);
    row("", "BtnReadCounter", "QPushButton", "Прочитать", none, 0, 0, false, false);
    row("", "BtnResetDayHour", "QPushButton", "Сброс показаний на РДЧ", none, 0, 0, false, false);
    row("", "BtnExport", "QPushButton", "Экспорт", none, 0, 0, false, true);
    // "Журналы".
    row("", "PageJournal", "QTabWidget", "<no caption>", none, 0, 0, any, true);
    row("", "GaugeJournal", "QProgressBar", "<no caption>", none, 0, 0, any, true);
    row("", "TabYear", "QWidget", "Годовой журнал", none, 0, 0, any, true);
    row("", "BtnReadJournalYear", "QPushButton", "Прочитать", none, 0, 0, false, false);
    row("", "BtnExportJournalYear", "QPushButton", "Экспорт", none, 0, 0, false, true);
    row("", "BtnPrintJournalYear", "QPushButton", "Печать", none, 0, 0, false,
        zr::platform::PrintersInstalled());
    row("", "PanelYearTitle", "QLabel", "Годовой журнал", none, 0, 0, any, true);
    row("", "GridJournal", "QTableWidget", "<no caption>", none, 0, 0, any, true);
    row("", "TabDiary", "QWidget", "Журнал событий", none, 0, 0, any, true);
    row("", "BtnReadDiary", "QPushButton", "Прочитать", none, 0, 0, false, false);
    row("", "BtnExportDiary", "QPushButton", "Экспорт", none, 0, 0, false, true);
    row("", "BtnPrintDiary", "QPushButton", "Печать", none, 0, 0, false,
        zr::platform::PrintersInstalled());
    row("", "ListDiary", "QTreeWidget", "<no caption>",
        {"Запись №", "Время", "Статус", "Тариф", "Показания", "Наработка"}, 0, 0, any, true);
    row("", "TabSheet2", "QWidget", "Получасовки", none, 0, 0, any, true);
    row("", "BtnReadHalf", "QPushButton", "Прочитать", none, 0, 0, false, false);
    row("", "BtnExportHalf", "QPushButton", "Экспорт", none, 0, 0, false, true);
    row("", "BtnPrintHalf", "QPushButton", "Печать", none, 0, 0, false,
        zr::platform::PrintersInstalled());
    row("", "DTPHalf", "QDateEdit", "За", none, 0, 0, any, true);
    row("", "ListHalf", "QTreeWidget", "<no caption>", {"Время", "Мощность, кВт"}, 0, 0, any, true);
    row("", "ChartHalf", "zr::meter::BarChart", "<no caption>", none, 0, 0, any, true);
    // "Параметры PLC".
    row("", "GroupAddress", "QGroupBox", " Группа и адрес ", none, 0, 0, any, true);
    row("", "EditGroup", "QLineEdit", "Группа : ", none, 0, 0, "", true);
    row("", "EditAddress", "QLineEdit", "Адрес : ", none, 0, 0, "", true);
    row("", "BtnWriteAddress", "QPushButton", "Записать", none, 0, 0, false, false);
    row("", "SpinGroup", "QSpinBox", "Группа:", none, 0, 255, 0, true);
    row("", "SpinAddress", "QSpinBox", "Адрес:", none, 0, 255, 0, true);
    row("", "GroupRoute", "QGroupBox", " Маршруты ретрансляции ", none, 0, 0, any, true);
    row("", "ListRoute", "QTreeWidget", "<no caption>", {"№", "Адрес", "Номер"}, 0, 0, any, true);
    row("", "SpinRoute", "QSpinBox", "Маршрут:", none, 0, 3, 0, true);
    row("", "SpinAddrRep", "QSpinBox", "Адрес ретранслятора:", none, 0, 255, 0, true);
    row("", "EditNumb", "QLineEdit", "Номер для записи:", none, 0, 0, "", true);
    row("", "ButtonDelRoute", "QPushButton", "Удалить", none, 0, 0, false, false);
    row("", "BtnWriteRoute", "QPushButton", "Записать", none, 0, 0, false, false);
    // "База данных" and "Протокол".
    row("", "SpinFilter", "QSpinBox", "Номер:", none, std::numeric_limits<int>::min(),
        std::numeric_limits<int>::max(), 0, true);
    row("", "MemoDb", "QPlainTextEdit", "<no caption>", none, 0, 0, any, true);
    row("", "CheckBox_Terminal", "QCheckBox", "Включен", none, 0, 0, true, true);
    row("", "Memo_Terminal", "QPlainTextEdit", "<no caption>", none, 0, 0, any, true);
    // Frame of the window.
    row(".", "ToolBar1", "QToolBar", "<no caption>", none, 0, 0, any, true);
    row(".", "MainMenu1", "QMenuBar", "<no caption>", none, 0, 0, any, true);
    row(".", "StatusBar1", "QStatusBar", "<no caption>", none, 0, 0, any, true);
    row("", "PageControl1", "QTabWidget", "<no caption>", none, 0, 0, any, true);
    row("", "PanelConnect", "QFrame", "<no caption>", none, 0, 0, any, true);
    row("", "PanelScaner", "QFrame", "<no caption>", none, 0, 0, any, true);
    // Hidden tool bar items are disabled with their item until a result is shown.
    row("", "Shape1", "zr::shell::IndicatorShape", "<no caption>", none, 0, 0, any, false);
}

void TestWindow::components()
{
    QFETCH(QString, scope);
    QFETCH(QString, name);
    QFETCH(QByteArray, kind);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(QVariant, value);
    QFETCH(bool, enabled);

    MainWindow window{Modes{}};
    QObject* object = Find(&window, scope, name);
    QVERIFY2(object, "missing or not unique");
    QVERIFY2(object->inherits(kind), object->metaObject()->className());
    QCOMPARE(Caption(object, &window), caption);
    QCOMPARE(Items(object), items);
    if (minimum != 0 || maximum != 0)
        QCOMPARE(Range(object), qMakePair(minimum, maximum));
    if (value.isValid())
        QCOMPARE(Value(object).toString(), value.toString());
    QCOMPARE(Enabled(object), enabled);
}

void TestWindow::properties_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("value");

    auto row = [](const char* scope, const char* name, const char* property,
                  const QVariant& value) {
        QTest::addRow("%s/%s.%s", scope, name, property)
            << QString(scope) << QString(name) << QByteArray(property) << value;
    };
    const int single = QAbstractItemView::SingleSelection;
    const int extended = QAbstractItemView::ExtendedSelection;
    const int rows = QAbstractItemView::SelectRows;
    const int alwaysOn = Qt::ScrollBarAlwaysOn;
    // Connection panel.
    row("", "SpinTimer", "singleStep", 100);
    row("", "LabeledPass2", "maxLength", 6);
    row("", "LabeledPass2", "toolTip", "00 00 00 00 00 00");
    row("", "PanelScaner", "hidden", true);
    // "Установка".
    row("", "LabeledPass1", "maxLength", 6);
    row("", "LabeledPass1", "toolTip", "00 00 00 00 00 00");
    row("", "LabeledPass1", "readOnly", false);
    row("", "SpinEdit_Number", "readOnly", true);
    row("", "BitBtn1", "hidden", true);
    row("", "DatePicker", "displayFormat", "ddd d MMMM yyyy");
    row("", "TimePicker", "readOnly", false);
    // "Тарифное расписание".
    row("", "GaugeSched", "hidden", true);
    row("", "PageControl3", "currentIndex", 0);
    row("FrameShedule", "StringGrid1", "columnCount", 13);
    row("FrameShedule", "StringGrid1", "rowCount", 9);
    row("FrameShedule", "StringGrid1", "showGrid", false);
    row("FrameShedule", "TrackBar1", "pageStep", 5);
    row("FrameShedule", "TrackBar1", "tickInterval", 60);
    row("FrameShedule", "TrackBar1", "tickPosition", int(QSlider::TicksAbove));
    row("FrameShedule", "PaintBoxDay", "minimumHeight", 24);
    row("FrameShedule", "PaintBoxDay", "maximumHeight", 24);
    row("FrameShedule", "DateTimeZone", "displayFormat", "HH:mm");
    row("FrameShedule", "DateTimeZone", "time", QTime(0, 0));
    row("FrameShedule", "BitBtnRedo", "toolTip", "Сохранить");
    row("FrameShedule", "BitBtnUndo", "toolTip", "Отменить");
    row("FrameShedule", "BitBtnEdit", "toolTip", "Добавить");
    row("FrameShedule", "BitBtnDelete", "toolTip", "Удалить");
    row("FrameShedule", "ActionEdit", "shortcut", QKeySequence(Qt::Key_Insert));
    row("FrameShedule", "ActionDelete", "shortcut", QKeySequence(Qt::Key_Delete));
    row("FrameShedule", "ListViewDays", "selectionMode", single);
    row("FrameShedule", "ListViewDays", "selectionBehavior", rows);
    row("FrameShedule", "ListViewDays", "editTriggers", 0);
    row("", "GroupBox6", "minimumWidth", 241);
    row("", "GroupBox6", "maximumWidth", 241);
    row("", "GroupBox7", "minimumWidth", 288);
    row("", "GroupBox7", "maximumWidth", 288);
    for (const char* list : {"ListCel", "ListTransfer"}) {
        row("", list, "selectionMode", extended);
        row("", list, "selectionBehavior", rows);
        row("", list, "editTriggers", 0);
    }
    // "Показания".
    for (const char* field : {"EditPeak", "EditTimePeak", "EditPeak_1", "EditTimePeak_1"})
        row("", field, "readOnly", true);
    // "Журналы".
    row("", "PageJournal", "currentIndex", 0);
    row("", "GaugeJournal", "hidden", true);
    row("", "GridJournal", "horizontalScrollBarPolicy", alwaysOn);
    // "Параметры PLC".
    row("", "EditGroup", "readOnly", true);
    row("", "EditAddress", "readOnly", true);
    // "База данных" and "Протокол".
    row("", "MemoDb", "readOnly", true);
    row("", "MemoDb", "verticalScrollBarPolicy", alwaysOn);
    row("", "Memo_Terminal", "readOnly", true);
    row("", "Memo_Terminal", "verticalScrollBarPolicy", alwaysOn);
    // Main tab set.
    row("", "PageControl1", "currentIndex", 0);
}

void TestWindow::properties()
{
    QFETCH(QString, scope);
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, value);

    MainWindow window{Modes{}};
    QObject* object = Find(&window, scope, name);
    QVERIFY2(object, "missing or not unique");
    // Hidden on its own account, whichever tab happens to be shown.
    QVariant actual = property == "hidden" ? QVariant(qobject_cast<QWidget*>(object)->isHidden())
                                           : object->property(property);
    QVERIFY2(actual.isValid(), "no such property");
    if (actual.metaType().flags() & QMetaType::IsEnumeration ||
        actual.metaType().id() == QMetaType::fromType<QAbstractItemView::EditTriggers>().id())
        actual = actual.toInt();
    QCOMPARE(actual, value);
}

void TestWindow::plainLabels_data()
{
    QTest::addColumn<QString>("scope");
    QTest::addColumn<QString>("text");
    QTest::newRow("time-out unit") << "PanelConnect"
                                   << "мсек";
    QTest::newRow("day start") << "FrameShedule"
                               << "0:00";
    QTest::newRow("noon") << "FrameShedule"
                          << "12:00";
    QTest::newRow("day end") << "FrameShedule"
                             << "23:59";
}

void TestWindow::plainLabels()
{
    QFETCH(QString, scope);
    QFETCH(QString, text);

    MainWindow window{Modes{}};
    QObject* root = Find(&window, QString(), scope);
    QVERIFY(root);
    QStringList texts;
    for (QLabel* label : root->findChildren<QLabel*>())
        texts << label->text();
    QCOMPARE(texts.count(text), 1);
}

void TestWindow::actions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("button");

    auto row = [](const char* name, const char* caption, const char* hint, QKeySequence key,
                  bool enabled, const char* button) {
        QTest::newRow(name) << QString(name) << QString(caption) << QString(hint) << key << enabled
                            << QString(button);
    };
    row("ActionConnect", "&Установить", "Установить связь", {}, true, "ToolButton1");
    row("ActionDisconnect", "&Разорвать", "Разорвать связь", {}, false, "ToolButton3");
    row("ActionSetting", "&Записать", "Записать установки", QKeySequence(Qt::Key_F12), false,
        "ToolButton5");
    row("ActionReset", "&Сброс", "Сброс", {}, true, "");
    row("ActionFindAddress", "Поиск &адреса", "Поиск адреса", QKeySequence(Qt::Key_F3), false,
        "ToolButton6");
    row("ActionNewSched", "&Новое", "Новое тарифное расписание", {}, true, "ToolButton12");
    row("ActionLoadTariff", "&Загрузить из файла", "Загрузить тарифное расписание из файла", {},
        true, "ToolButton14");
    row("ActionSaveTariff", "&Сохранить как файл", "Сохранить тарифное расписание как файл", {},
        true, "ToolButton15");
    row("ActionWriteSched", "З&аписать в счетчик", "Записать расписание в счетчик", {}, false,
        "ToolButton18");
    row("ActionReadSched", "&Прочитать из счетчика", "Прочитать расписание из счетчика", {}, false,
        "ToolButton19");
    row("ActionFixDb", "Зафиксировать в Б&Д", "Зафиксировать в БД", {}, false, "ToolButton2");
}

void TestWindow::actions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, enabled);
    QFETCH(QString, button);

    MainWindow window{Modes{}};
    auto* action = window.findChild<QAction*>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->toolTip(), hint);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(action->isEnabled(), enabled);
    QVERIFY(!action->icon().isNull() || button.isEmpty());
    if (button.isEmpty()) {
        QVERIFY(!window.ToolBar1->actions().contains(action));
        return;
    }
    auto* tool = window.ToolBar1->findChild<QToolButton*>(button);
    QVERIFY(tool);
    QCOMPARE(tool->defaultAction(), action);
}

void TestWindow::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("link") << "NLink"
                          << "&Связь"
                          << QStringList{"&Порт", "&Скорость",     "-", "&Установить", "&Разорвать",
                                         "-",     "Поиск &адреса", "-", "В&ыход"};
    QTest::newRow("speed") << "NBaud"
                           << "&Скорость" << kSpeeds;
    QTest::newRow("settings") << "NSetting"
                              << "&Установки" << QStringList{"&Записать", "Зафиксировать в Б&Д"};
    QTest::newRow("schedule") << "NSched"
                              << "&Расписание"
                              << QStringList{
                                     "&Новое", "&Загрузить из файла", "&Сохранить как файл",
                                     "-",      "З&аписать в счетчик", "&Прочитать из счетчика"};
    QTest::newRow("help") << "NHelp"
                          << "&?"
                          << QStringList{"&Расшифровка статуса", "-", "&Справка", "-",
                                         "&О программе"};
}

void TestWindow::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(QStringList, items);

    MainWindow window{Modes{}};
    auto* menu = window.findChild<QMenu*>(name);
    QVERIFY(menu);
    QCOMPARE(menu->title(), title);
    QCOMPARE(Items(menu), items);

    QStringList bar;
    for (QAction* action : window.menuBar()->actions())
        if (action->isVisible())
            bar << action->text();
    QCOMPARE(bar, (QStringList{"&Связь", "&Установки", "&Расписание", "&?"}));
    // The speed items carry their list index and start at 4800.
    const QList<QAction*> speeds = window.NBaud->actions();
    for (int i = 0; i < speeds.size(); ++i) {
        QCOMPARE(speeds[i]->data().toInt(), i);
        QCOMPARE(speeds[i]->isChecked(), i == 0);
    }
}

void TestWindow::modes_data()
{
    QTest::addColumn<bool>("production");
    QTest::addColumn<bool>("master");
    QTest::addColumn<bool>("newPassword");

    QTest::newRow("office") << false << false << true;
    QTest::newRow("office master") << false << true << true;
    QTest::newRow("office locked password") << false << false << false;
    QTest::newRow("production") << true << true << true;
    QTest::newRow("production locked password") << true << true << false;
}

void TestWindow::modes()
{
    QFETCH(bool, production);
    QFETCH(bool, master);
    QFETCH(bool, newPassword);

    MainWindow window{Modes{production, master, newPassword}};
    const auto* settings = window.Settings();
    QCOMPARE(Child<QSpinBox>(settings, "SpinEdit_Number")->isReadOnly(), !master);
    QCOMPARE(Child<QPushButton>(settings, "BitBtn1")->isVisibleTo(window.Settings()), master);
    QCOMPARE(Child<QLineEdit>(settings, "LabeledPass1")->isReadOnly(), !newPassword);
    QCOMPARE(window.About()->EditDelta->isVisibleTo(window.About()), production);
    QCOMPARE(window.Connection()->PanelScaner->isVisibleTo(&window), production);
    QCOMPARE(window.ActionFixDb->isVisible(), production);
    for (QAction* action : {window.ActionNewSched, window.ActionLoadTariff, window.ActionSaveTariff,
                            window.ActionWriteSched, window.ActionReadSched})
        QCOMPARE(action->isVisible(), !production);
    QCOMPARE(window.NSched->menuAction()->isVisible(), !production);
    QVERIFY(Child<QCheckBox>(settings, "CheckTime")->isChecked());
    QCOMPARE(Child<QCheckBox>(settings, "CheckAddr")->isChecked(), production);
    QCOMPARE(Child<QCheckBox>(settings, "CheckDDM")->isChecked(), production);
    QCOMPARE(window.Protocol()->CheckBox_Terminal->isChecked(), !master);
    QCOMPARE(Child<QListWidget>(settings, "CheckSetIndi")->isEnabled(), !production);
    QStringList ticked;
    for (int i = 0; i < Child<QListWidget>(settings, "CheckSetIndi")->count(); ++i)
        if (Child<QListWidget>(settings, "CheckSetIndi")->item(i)->checkState() == Qt::Checked)
            ticked << Child<QListWidget>(settings, "CheckSetIndi")->item(i)->text();
    const QStringList productionSet = {"Суммарное потребление", "Мощность",
                                       "Автопереключение индикации"};
    QCOMPARE(ticked, production ? productionSet : QStringList());
}

void TestWindow::productionTabsAndMenus()
{
    MainWindow window{Modes{true, true, true}};
    QStringList tabs;
    for (int i = 0; i < window.PageControl1->count(); ++i)
        if (window.PageControl1->isTabVisible(i))
            tabs << window.PageControl1->tabText(i);
    QCOMPARE(tabs, (QStringList{"О счетчике", "Установка", "Показания", "Журналы", "Протокол"}));
    QStringList bar;
    for (QAction* action : window.menuBar()->actions())
        if (action->isVisible())
            bar << action->text();
    QVERIFY(!bar.contains("&Расписание"));
    QCOMPARE(window.PageControl1->currentIndex(), 0);
}

void TestWindow::fixedCaptions_data()
{
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("columns");
    QTest::addColumn<int>("rows");
    QTest::addColumn<QStringList>("row0");
    QTest::addColumn<QStringList>("column0");

    QTest::newRow("GridValueTarif")
        << "GridValueTarif" << 3 << 9 << QStringList{"", "текущие", "на РЧД"}
        << QStringList{"",        "1 тариф", "2 тариф", "3 тариф", "4 тариф",
                       "5 тариф", "6 тариф", "7 тариф", "8 тариф"};
    QTest::newRow("GridJournal") << "GridJournal" << 13 << 13
                                 << QStringList{"месяц",    "пик.мощн.", "дата пик.", "время пик.",
                                                "1 тариф",  "2 тариф",   "3 тариф",   "4 тариф",
                                                "5 тариф",  "6 тариф",   "7 тариф",   "8 тариф",
                                                "наработка"}
                                 << QStringList{"месяц", "янв.",  "фев.", "март", "апр.",
                                                "май",   "июнь",  "июль", "авг.", "сент.",
                                                "окт.",  "нояб.", "дек."};
    // Cyrillic А, В, С in the readings grid; Latin A, B, C in the
    // ДДМ grid.
    QTest::newRow("GridActive") << "GridActive" << 7 << 2
                                << QStringList{"",           "Фаза А",     "Фаза В",    "Фаза С",
                                               "Фаза А РДЧ", "Фаза В РДЧ", "Фаза С РДЧ"}
                                << QStringList{"", ""};
    QTest::newRow("GridDdm") << "GridDdm" << 4 << 5 << QStringList{"", "Фаза A", "Фаза B", "Фаза C"}
                             << QStringList{"", "№ ДДМ", "Тарификация", "Статус",
                                            "Последний сеанс"};
}

void TestWindow::fixedCaptions()
{
    QFETCH(QString, grid);
    QFETCH(int, columns);
    QFETCH(int, rows);
    QFETCH(QStringList, row0);
    QFETCH(QStringList, column0);

    MainWindow window{Modes{}};
    auto* table = window.findChild<QTableWidget*>(grid);
    QVERIFY(table);
    QCOMPARE(table->columnCount(), columns);
    QCOMPARE(table->rowCount(), rows);
    QStringList top, left;
    for (int column = 0; column < columns; ++column)
        top << table->item(0, column)->text();
    for (int row = 0; row < rows; ++row)
        left << table->item(row, 0)->text();
    QCOMPARE(top, row0);
    QCOMPARE(left, column0);
}

void TestWindow::displayReset()
{
    MainWindow window{Modes{true, true, true}};
    // Captions as built, to compare after the reset.
    QList<QStringList> captions;
    for (QTableWidget* grid : Grids(window)) {
        QStringList texts;
        for (int row = 0; row < grid->rowCount(); ++row)
            for (int column = 0; column < grid->columnCount(); ++column)
                texts << (row == 0 || column == 0 ? grid->item(row, column)->text() : QString());
        captions << texts;
        for (int row = 1; row < grid->rowCount(); ++row)
            for (int column = 1; column < grid->columnCount(); ++column)
                grid->item(row, column)->setText(QStringLiteral("x"));
    }
    window.About()->LabelType->setText(QStringLiteral("ZR"));
    for (QLineEdit* edit : window.About()->findChildren<QLineEdit*>())
        edit->setText(QStringLiteral("1"));
    const auto* readings = window.Readings();
    for (QLineEdit* edit :
         {Child<QLineEdit>(readings, "EditPeak"), Child<QLineEdit>(readings, "EditPeak_1"),
          Child<QLineEdit>(readings, "EditTimePeak"), Child<QLineEdit>(readings, "EditTimePeak_1")})
        edit->setText(QStringLiteral("1"));
    new QTreeWidgetItem(window.Journal()->ListDiary, {"1"});
    new QTreeWidgetItem(window.Journal()->ListHalf, {"1"});
    window.Journal()->ChartHalf->AddBar(QDateTime::currentDateTime(), 1.5);
    Child<QPushButton>(window.Settings(), "BitBtn1")->setEnabled(false);
    Child<QDateEdit>(window.Settings(), "DatePicker")->setDate(QDate(2020, 1, 1));
    Child<QTimeEdit>(window.Settings(), "TimePicker")->setTime(QTime(1, 2, 3));
    QVERIFY(window.Settings()->DateEdited());
    QVERIFY(window.Settings()->TimeEdited());
    const QString routes = Child<QTreeWidget>(window.Plc(), "ListRoute")->topLevelItem(3)->text(0);

    window.ActionReset->trigger();

    const QList<QTableWidget*> grids = Grids(window);
    for (int i = 0; i < grids.size(); ++i) {
        QStringList texts;
        for (int row = 0; row < grids[i]->rowCount(); ++row)
            for (int column = 0; column < grids[i]->columnCount(); ++column)
                texts << grids[i]->item(row, column)->text();
        QCOMPARE(texts, captions[i]);
    }
    QVERIFY(window.About()->LabelType->text().isEmpty());
    for (QLineEdit* edit : window.About()->findChildren<QLineEdit*>())
        QVERIFY2(edit->text().isEmpty(), qPrintable(edit->objectName()));
    for (QLineEdit* edit :
         {Child<QLineEdit>(readings, "EditPeak"), Child<QLineEdit>(readings, "EditPeak_1"),
          Child<QLineEdit>(readings, "EditTimePeak"), Child<QLineEdit>(readings, "EditTimePeak_1")})
        QVERIFY(edit->text().isEmpty());
    QCOMPARE(window.Journal()->ListDiary->topLevelItemCount(), 0);
    QCOMPARE(window.Journal()->ListHalf->topLevelItemCount(), 0);
    QVERIFY(window.Journal()->ChartHalf->Bars().isEmpty());
    QVERIFY(Child<QPushButton>(window.Settings(), "BitBtn1")->isEnabled());
    QVERIFY(!window.Settings()->DateEdited());
    QVERIFY(!window.Settings()->TimeEdited());
    // The preset route rows are not meter data.
    QCOMPARE(Child<QTreeWidget>(window.Plc(), "ListRoute")->topLevelItemCount(), 4);
    QCOMPARE(Child<QTreeWidget>(window.Plc(), "ListRoute")->topLevelItem(3)->text(0), routes);
}

void TestWindow::meterControls()
{
    MainWindow window{Modes{}};
    const QList<QObject*> dependent = {Child<QPushButton>(window.Readings(), "BtnReadCounter"),
                                       Child<QPushButton>(window.Readings(), "BtnResetDayHour"),
                                       window.Journal()->BtnReadJournalYear,
                                       window.Journal()->BtnReadDiary,
                                       window.Journal()->BtnReadHalf,
                                       Child<QPushButton>(window.Plc(), "BtnWriteAddress"),
                                       Child<QPushButton>(window.Plc(), "BtnWriteRoute"),
                                       Child<QPushButton>(window.Plc(), "ButtonDelRoute"),
                                       window.ActionSetting,
                                       window.ActionWriteSched,
                                       window.ActionReadSched};
    const QList<QObject*> independent = {Child<QPushButton>(window.Readings(), "BtnExport"),
                                         window.ActionConnect, window.ActionNewSched};
    for (bool enabled : {true, false, true}) {
        window.SetMeterControlsEnabled(enabled);
        for (QObject* object : dependent)
            QCOMPARE(Enabled(object), enabled);
        for (QObject* object : independent)
            QVERIFY(Enabled(object));
        QVERIFY(!window.ActionFixDb->isEnabled());
        QVERIFY(!window.ActionFindAddress->isEnabled());
    }
}

void TestWindow::resultIndicator_data()
{
    QTest::addColumn<bool>("success");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("green") << true << QColor(0, 255, 0);
    QTest::newRow("red") << false << QColor(255, 0, 0);
}

void TestWindow::resultIndicator()
{
    QFETCH(bool, success);
    QFETCH(QColor, colour);

    MainWindow window{Modes{}};
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(!window.Shape1->isVisible());
    QSignalSpy resets(window.ActionReset, &QAction::triggered);
    window.About()->EditVersion->setText(QStringLiteral("1.0"));
    window.ShowResult(success);
    QCOMPARE(window.Shape1->Color(), colour);
    QTRY_VERIFY(window.Shape1->isVisible());
    QVERIFY(window.TimerShape->isActive());
    QCOMPARE(resets.count(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(!window.Shape1->isVisible(), 10000);
    QVERIFY(!window.TimerShape->isActive());
    QCOMPARE(resets.count(), 1);
    QVERIFY(window.About()->EditVersion->text().isEmpty());
}

void TestWindow::timers_data()
{
    QTest::addColumn<int>("interval");
    QTest::addColumn<bool>("running");
    QTest::newRow("Timer1") << 50 << false;
    QTest::newRow("TimerOut") << 500 << false;
    QTest::newRow("Timer3") << 500 << true;
    QTest::newRow("TimerStart") << 100 << false;
    QTest::newRow("TimerShape") << 2000 << false;
}

void TestWindow::timers()
{
    QFETCH(int, interval);
    QFETCH(bool, running);

    MainWindow window{Modes{}};
    const QList<QTimer*> timers = window.findChildren<QTimer*>(QTest::currentDataTag());
    QCOMPARE(timers.size(), 1);
    QCOMPARE(timers[0]->interval(), interval);
    QCOMPARE(timers[0]->isActive(), running);
}

void TestWindow::listCaptionsFit_data()
{
    QTest::addColumn<QString>("scope");
    QTest::newRow("ListViewDays") << "FrameShedule";
    for (const char* name : {"ListCel", "ListTransfer", "ListDiary", "ListHalf", "ListRoute"})
        QTest::newRow(name) << "";
}

void TestWindow::listCaptionsFit()
{
    QFETCH(QString, scope);

    MainWindow window{Modes{}};
    auto* list = qobject_cast<QTreeWidget*>(Find(&window, scope, QTest::currentDataTag()));
    QVERIFY(list);
    // The last column stretches to the list's edge; every other one shows its whole caption.
    for (int column = 0; column + 1 < list->columnCount(); ++column)
        QVERIFY2(list->columnWidth(column) >= list->header()->sectionSizeHint(column),
                 qPrintable(list->headerItem()->text(column)));
}

void TestWindow::shortcutNeedsEnabledAction()
{
    MainWindow window{Modes{}};
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy writes(window.ActionSetting, &QAction::triggered);
    QTest::keyClick(&window, Qt::Key_F12);
    QCOMPARE(writes.count(), 0);
    window.SetMeterControlsEnabled(true);
    QTest::keyClick(&window, Qt::Key_F12);
    QCOMPARE(writes.count(), 1);
}

void TestWindow::generalErrorHandler()
{
    MessageCatcher catcher;
    Thrower thrower;
    QEvent event(QEvent::User);
    QVERIFY(!QCoreApplication::sendEvent(&thrower, &event));
    QCOMPARE(catcher.messages.size(), 1);
    QCOMPARE(catcher.messages[0].text, QStringLiteral("Отказ устройства"));
    QCOMPARE(catcher.messages[0].icon, QMessageBox::Critical);
    QCOMPARE(catcher.messages[0].caption, zr::shell::ProgramTitle());

    // A failing timer handler is reported the same way, and the
    // event loop goes on.
    bool later = false;
    QTimer::singleShot(0, [] { throw std::logic_error("Нет данных"); });
    QTimer::singleShot(1, [&] { later = true; });
    QTRY_VERIFY(later);
    QCOMPARE(catcher.messages.size(), 2);
    QCOMPARE(catcher.messages[1].text, QStringLiteral("Нет данных"));
}

void TestWindow::memInfo_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("available");
    QTest::addColumn<QString>("shown");

    QTest::newRow("both") << QByteArray("MemTotal:       16303532 kB\nMemFree:  1000 kB\n"
                                        "MemAvailable:   12000000 kB\n")
                          << qint64(16303532) << qint64(12000000)
                          << QString("Всего физической памяти: %1 КБ\nДоступно "
                                     "физической "
                                     "памяти: %2 КБ")
                                 .arg(QLocale().toString(16303532))
                                 .arg(QLocale().toString(12000000));
    QTest::newRow("no available") << QByteArray("MemTotal: 2048 kB\n") << qint64(2048) << qint64(-1)
                                  << QString("Всего физической памяти: %1 КБ\nДоступно "
                                             "физической памяти: н/д")
                                         .arg(QLocale().toString(2048));
    QTest::newRow("garbage") << QByteArray("MemTotal: lots\n\n:") << qint64(-1) << qint64(-1)
                             << QString("Всего физической памяти: н/д\nДоступно физической "
                                        "памяти: н/д");
}

void TestWindow::memInfo()
{
    QFETCH(QByteArray, text);
    QFETCH(qint64, total);
    QFETCH(qint64, available);
    QFETCH(QString, shown);

    const zr::platform::MemoryFigures figures = zr::platform::ParseMemInfo(text);
    QCOMPARE(figures.totalKb, total);
    QCOMPARE(figures.availableKb, available);
    QCOMPARE(zr::shell::MemoryText(figures), shown);
}

void TestWindow::windowSize()
{
    for (bool production : {false, true}) {
        MainWindow window{Modes{production, production, true}};
        QCOMPARE(window.windowTitle(), QStringLiteral("Программирование ЗуР347"));
        QVERIFY(window.minimumSize() == window.maximumSize());
        QVERIFY(window.width() >= 724);
        QVERIFY(window.height() - window.menuBar()->sizeHint().height() >= 598);
        QVERIFY(window.size().width() >= window.minimumSizeHint().width());
        QVERIFY(window.size().height() >= window.minimumSizeHint().height());
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
        QCOMPARE(window.StatusPanel[0]->width(), 160);
        QCOMPARE(window.StatusPanel[1]->width(), 420);
    }
}

int zr::test::RunWindowTests(int argc, char** argv)
{
    TestWindow test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_window.moc"
