#include "schedule/ui/frame_shedule.h"

#include "meter/ui/widgets.h"

#include <QAction>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QTableWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace zr::schedule
{

namespace
{

// Eight bold radio buttons "1" … "8" named prefix1 … prefix8, the first one on.
QButtonGroup* AddTariffRow(QGroupBox* group, QBoxLayout* layout, QRadioButton* (&buttons)[8],
                           const QString& prefix)
{
    auto* row = new QHBoxLayout;
    auto* exclusive = new QButtonGroup(group);
    for (int i = 0; i < 8; ++i) {
        buttons[i] = new QRadioButton(QString::number(i + 1), group);
        buttons[i]->setObjectName(prefix + QString::number(i + 1));
        QFont font = buttons[i]->font();
        font.setBold(true);
        buttons[i]->setFont(font);
        buttons[i]->setAutoFillBackground(true);
        exclusive->addButton(buttons[i], i + 1);
        row->addWidget(buttons[i]);
    }
    buttons[0]->setChecked(true);
    layout->addLayout(row);
    return exclusive;
}

QToolButton* NewButton(QWidget* parent, const char* name, QStyle::StandardPixmap icon,
                       const QString& hint)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(parent->style()->standardIcon(icon));
    button->setToolTip(hint);
    return button;
}

} // namespace

const std::array<QColor, 8>& DefaultTariffColors()
{
    static const std::array<QColor, 8> colors = {
        QColor(255, 251, 240), QColor(166, 202, 240), QColor(255, 140, 26), QColor(160, 160, 164),
        QColor(255, 255, 0),   QColor(134, 255, 134), QColor(0, 128, 128),  QColor(255, 128, 255),
    };
    return colors;
}

TFrameShedule::TFrameShedule(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FrameShedule"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);

    PanelYear = new QFrame(this);
    PanelYear->setObjectName(QStringLiteral("PanelYear"));
    auto* yearLayout = new QVBoxLayout(PanelYear);
    yearLayout->setContentsMargins(0, 0, 0, 0);
    StringGrid1 = new QTableWidget(PanelYear);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColumnCount(13);
    StringGrid1->setRowCount(9);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setShowGrid(false);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont gridFont = StringGrid1->font();
    gridFont.setBold(true);
    gridFont.setPixelSize(18);
    StringGrid1->setFont(gridFont);
    StringGrid1->setMinimumHeight(9 * 14);
    yearLayout->addWidget(StringGrid1);
    layout->addWidget(PanelYear, 1);

    auto* times = new QHBoxLayout;
    times->addWidget(new QLabel(QStringLiteral("0:00"), this));
    times->addStretch();
    times->addWidget(new QLabel(QStringLiteral("12:00"), this));
    times->addStretch();
    times->addWidget(new QLabel(QStringLiteral("23:59"), this));
    layout->addLayout(times);

    TrackBar1 = new QSlider(Qt::Horizontal, this);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(0, 1439);
    TrackBar1->setPageStep(5);
    TrackBar1->setTickInterval(60);
    TrackBar1->setTickPosition(QSlider::TicksAbove);
    layout->addWidget(TrackBar1);

    auto* dayRow = new QHBoxLayout;
    dayRow->setContentsMargins(6, 0, 6, 0);
    PaintBoxDay = new QWidget(this);
    PaintBoxDay->setObjectName(QStringLiteral("PaintBoxDay"));
    PaintBoxDay->setFixedHeight(24);
    dayRow->addWidget(PaintBoxDay);
    layout->addLayout(dayRow);

    auto* lower = new QHBoxLayout;
    layout->addLayout(lower);
    auto* left = new QVBoxLayout;
    lower->addLayout(left);

    GroupTariff = new QGroupBox(QStringLiteral(" Действующий тариф по расписанию : "), this);
    GroupTariff->setObjectName(QStringLiteral("GroupTariff"));
    auto* tariffLayout = new QHBoxLayout(GroupTariff);
    DateTimeZone = new QTimeEdit(GroupTariff);
    DateTimeZone->setObjectName(QStringLiteral("DateTimeZone"));
    DateTimeZone->setDisplayFormat(QStringLiteral("HH:mm"));
    tariffLayout->addWidget(DateTimeZone);
    TariffButtons = AddTariffRow(GroupTariff, tariffLayout, Tariff, QStringLiteral("Tariff"));
    left->addWidget(GroupTariff);

    GroupLimit = new QGroupBox(QStringLiteral(" Действующий тариф при превышении лимита : "), this);
    GroupLimit->setObjectName(QStringLiteral("GroupLimit"));
    auto* limitLayout = new QHBoxLayout(GroupLimit);
    SpinLimit = new QSpinBox(GroupLimit);
    SpinLimit->setObjectName(QStringLiteral("SpinLimit"));
    SpinLimit->setRange(0, 255);
    limitLayout->addWidget(SpinLimit);
    LimitButtons =
        AddTariffRow(GroupLimit, limitLayout, TariffLimit, QStringLiteral("TariffLimit"));
    left->addWidget(GroupLimit);
    for (int tariff = 1; tariff <= 8; ++tariff)
        SetTariffColor(tariff, DefaultTariffColors()[tariff - 1]);

    ActionEdit = new QAction(style()->standardIcon(QStyle::SP_FileDialogNewFolder),
                             QStringLiteral("Добавить"), this);
    ActionEdit->setObjectName(QStringLiteral("ActionEdit"));
    ActionEdit->setShortcut(Qt::Key_Insert);
    ActionEdit->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ActionDelete =
        new QAction(style()->standardIcon(QStyle::SP_TrashIcon), QStringLiteral("Удалить"), this);
    ActionDelete->setObjectName(QStringLiteral("ActionDelete"));
    ActionDelete->setShortcut(Qt::Key_Delete);
    ActionDelete->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    ActionDelete->setEnabled(false);
    addAction(ActionEdit);
    addAction(ActionDelete);

    auto* buttons = new QHBoxLayout;
    BitBtnRedo =
        NewButton(this, "BitBtnRedo", QStyle::SP_DialogApplyButton, QStringLiteral("Сохранить"));
    BitBtnUndo =
        NewButton(this, "BitBtnUndo", QStyle::SP_DialogCancelButton, QStringLiteral("Отменить"));
    BitBtnRedo->setEnabled(false);
    BitBtnUndo->setEnabled(false);
    BitBtnEdit = NewButton(this, "BitBtnEdit", QStyle::SP_FileDialogNewFolder, QString());
    BitBtnEdit->setDefaultAction(ActionEdit);
    BitBtnDelete = NewButton(this, "BitBtnDelete", QStyle::SP_TrashIcon, QString());
    BitBtnDelete->setDefaultAction(ActionDelete);
    for (QToolButton* button : {BitBtnRedo, BitBtnUndo, BitBtnEdit, BitBtnDelete})
        buttons->addWidget(button);
    buttons->addStretch();
    left->addLayout(buttons);

    PanelList = new QWidget(this);
    PanelList->setObjectName(QStringLiteral("PanelList"));
    auto* listLayout = new QVBoxLayout(PanelList);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->setSpacing(0);
    ListViewDays = new QTreeWidget(PanelList);
    ListViewDays->setObjectName(QStringLiteral("ListViewDays"));
    meter::SetupReportList(ListViewDays,
                           {QStringLiteral("время"), QStringLiteral("тариф"),
                            QStringLiteral("лимит мощности"),
                            QStringLiteral("тариф (превышение лимита)")},
                           true);
    ListViewDays->setSelectionMode(QAbstractItemView::SingleSelection);
    // Zones stay in time order ("HH:mm" sorts as text); the user cannot re-sort them.
    ListViewDays->setSortingEnabled(true);
    ListViewDays->sortByColumn(0, Qt::AscendingOrder);
    ListViewDays->header()->setSectionsClickable(false);
    ListViewDays->header()->setSortIndicatorShown(false);
    // Short texts only: every column as wide as its caption or its widest entry, so all four fit.
    ListViewDays->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    QPalette listPalette = ListViewDays->palette();
    listPalette.setBrush(QPalette::Base, listPalette.toolTipBase());
    ListViewDays->setPalette(listPalette);
    ListViewDays->setContextMenuPolicy(Qt::ActionsContextMenu);
    ListViewDays->addAction(ActionEdit);
    ListViewDays->addAction(ActionDelete);
    listLayout->addWidget(ListViewDays);
    StatusBar1 = new QStatusBar(PanelList);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    for (QLabel*& panel : StatusPanel) {
        panel = new QLabel(StatusBar1);
        panel->setFixedWidth(50);
        StatusBar1->addWidget(panel);
    }
    listLayout->addWidget(StatusBar1);
    lower->addWidget(PanelList, 1);
}

void TFrameShedule::SetTariffColor(int tariff, const QColor& color)
{
    for (QRadioButton* button : {Tariff[tariff - 1], TariffLimit[tariff - 1]}) {
        QPalette palette = button->palette();
        palette.setColor(button->backgroundRole(), color);
        button->setPalette(palette);
    }
    PaintBoxDay->update();
}

QColor TFrameShedule::TariffColor(int tariff) const
{
    const QRadioButton* button = Tariff[tariff - 1];
    return button->palette().color(button->backgroundRole());
}

} // namespace zr::schedule
