#include "schedule/ui/schedule_editor.h"

#include "meter/ui/widgets.h"
#include "platform/machine_settings.h"
#include "schedule/ui/schedule_message.h"

#include <QAction>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QColorDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QStyle>
#include <QStyledItemDelegate>
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

// Year-table cells are drawn by the editor, which knows the model's flags.
class CellDelegate : public QStyledItemDelegate
{
public:
    using Draw = std::function<void(QPainter&, int, int, const QRect&)>;
    CellDelegate(Draw draw, QObject* parent) : QStyledItemDelegate(parent), draw_(std::move(draw))
    {
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        painter->save();
        draw_(*painter, index.column(), index.row(), option.rect);
        painter->restore();
    }

private:
    Draw draw_;
};

const QColor kFixedGrey(230, 230, 230);
const QColor kPaleYellow(255, 255, 230);
const QColor kMediumGrey(160, 160, 164);
const QColor kYellow(255, 255, 0);
const QColor kSkyBlue(166, 202, 240);
const QColor kDarkGrey(128, 128, 128);

const char* const kDayTypeLabels[kDayTypes] = {"ПН", "ВТ", "СР", "ЧТ", "ПТ", "СБ", "ВС", "ПР"};
const char* const kMonthLabels[kMonths] = {"ЯНВ", "ФЕВ", "МАР", "АПР", "МАЙ", "ИЮН",
                                           "ИЮЛ", "АВГ", "СЕН", "ОКТ", "НОЯ", "ДЕК"};

// Stored colours are 0x00BBGGRR integers, red in the low byte.
uint32_t StoredColor(const QColor& c)
{
    return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16;
}

QColor FromStored(uint32_t value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

void SetButtonColor(QRadioButton* button, const QColor& color)
{
    QPalette palette = button->palette();
    if (palette.color(button->backgroundRole()) == color)
        return;
    palette.setColor(button->backgroundRole(), color);
    button->setPalette(palette);
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

ScheduleEditor::ScheduleEditor(Schedule* schedule, QWidget* parent)
    : QWidget(parent), schedule_(schedule)
{
    setObjectName(QStringLiteral("FrameShedule"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // The year table's circles need rows well above 16 pixels: the controls below stay compact.
    layout->setSpacing(2);

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
    StringGrid1->setFrameShape(QFrame::NoFrame);
    StringGrid1->setSelectionMode(QAbstractItemView::NoSelection);
    StringGrid1->setFocusPolicy(Qt::NoFocus);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
    StringGrid1->verticalHeader()->setMinimumSectionSize(1);
    StringGrid1->setItemDelegate(new CellDelegate(
        [this](QPainter& painter, int column, int row, const QRect& rect) {
            StringGrid1DrawCell(painter, column, row, rect);
        },
        StringGrid1));
    StringGrid1->viewport()->installEventFilter(this);
    PanelYear->installEventFilter(this);
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
    PaintBoxDay->installEventFilter(this);
    dayRow->addWidget(PaintBoxDay);
    layout->addLayout(dayRow);

    auto* lower = new QHBoxLayout;
    layout->addLayout(lower);
    auto* left = new QVBoxLayout;
    lower->addLayout(left);

    GroupTariff = new QGroupBox(QStringLiteral(" Действующий тариф по расписанию : "), this);
    GroupTariff->setObjectName(QStringLiteral("GroupTariff"));
    auto* tariffLayout = new QHBoxLayout(GroupTariff);
    tariffLayout->setContentsMargins(6, 2, 6, 2);
    DateTimeZone = new QTimeEdit(GroupTariff);
    DateTimeZone->setObjectName(QStringLiteral("DateTimeZone"));
    DateTimeZone->setDisplayFormat(QStringLiteral("HH:mm"));
    tariffLayout->addWidget(DateTimeZone);
    TariffButtons = AddTariffRow(GroupTariff, tariffLayout, Tariff, QStringLiteral("Tariff"));
    left->addWidget(GroupTariff);

    GroupLimit = new QGroupBox(QStringLiteral(" Действующий тариф при превышении лимита : "), this);
    GroupLimit->setObjectName(QStringLiteral("GroupLimit"));
    auto* limitLayout = new QHBoxLayout(GroupLimit);
    limitLayout->setContentsMargins(6, 2, 6, 2);
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

    auto* buttons = new QVBoxLayout;
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
    lower->addLayout(buttons);

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
    // The selected zone stays readable while the focus is elsewhere (the year table, a button).
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        listPalette.setColor(QPalette::Inactive, role, listPalette.color(QPalette::Active, role));
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
    // The zone list takes the height of the tariff groups beside it, not its own wish.
    PanelList->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    lower->addWidget(PanelList, 1);

    for (int i = 0; i < 8; ++i) {
        for (QRadioButton* button : {Tariff[i], TariffLimit[i]}) {
            button->setContextMenuPolicy(Qt::CustomContextMenu);
            connect(button, &QWidget::customContextMenuRequested, this,
                    [this, i] { TariffContextPopup(i + 1); });
        }
    }
    connect(TrackBar1, &QSlider::valueChanged, this, &ScheduleEditor::TrackBar1Change);
    connect(DateTimeZone, &QTimeEdit::timeChanged, this, &ScheduleEditor::DateTimeZoneChange);
    connect(TariffButtons, &QButtonGroup::idClicked, this, &ScheduleEditor::TariffClick);
    connect(LimitButtons, &QButtonGroup::idClicked, this, &ScheduleEditor::LimitClick);
    connect(SpinLimit, &QSpinBox::valueChanged, this, &ScheduleEditor::DayChoice);
    connect(ListViewDays, &QTreeWidget::itemSelectionChanged, this,
            &ScheduleEditor::ListViewDaysSelectItem);
    connect(ActionEdit, &QAction::triggered, this, &ScheduleEditor::ActionEditExecute);
    connect(ActionDelete, &QAction::triggered, this, &ScheduleEditor::ActionDeleteExecute);
    connect(BitBtnRedo, &QToolButton::clicked, this, &ScheduleEditor::BitBtnRedoClick);
    connect(BitBtnUndo, &QToolButton::clicked, this, &ScheduleEditor::BitBtnUndoClick);

    LoadRememberedColors();
    ShowSchedule();
}

void ScheduleEditor::ShowSchedule()
{
    GetSheduleDay();
    DayChange();
    ShowState();
}

void ScheduleEditor::SetTariffColor(int tariff, const QColor& color)
{
    SetButtonColor(Tariff[tariff - 1], color);
    SetButtonColor(TariffLimit[tariff - 1], color);
    DayChange();
}

QColor ScheduleEditor::TariffColor(int tariff) const
{
    const QRadioButton* button = Tariff[tariff - 1];
    return button->palette().color(button->backgroundRole());
}

void ScheduleEditor::ChooseColor(int tariff, const QColor& color)
{
    SetTariffColor(tariff, color);
    for (int i = 0; i < 8; ++i)
        remembered_[i] = StoredColor(TariffColor(i + 1));
    // Without the rights to the machine's settings the colours last until the program ends.
    const auto settings = platform::MachineSettings(QString::fromLatin1(kColorSettingsKey));
    if (!settings->isWritable())
        return;
    for (int i = 0; i < 8; ++i)
        settings->setValue(QStringLiteral("Color%1").arg(i + 1), int(remembered_[i]));
    settings->sync();
}

void ScheduleEditor::LoadRememberedColors()
{
    const auto settings = platform::MachineSettings(QString::fromLatin1(kColorSettingsKey));
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("Color%1").arg(i + 1);
        if (settings->contains(name))
            remembered_[i] = settings->value(name).toUInt();
    }
}

void ScheduleEditor::TariffContextPopup(int tariff)
{
    const QColor color = QColorDialog::getColor(TariffColor(tariff), this);
    if (color.isValid())
        ChooseColor(tariff, color);
}

QPoint ScheduleEditor::CellAt(QPoint point) const
{
    const QSize size = StringGrid1->viewport()->size();
    const int w = std::max(1, size.width() / 13);
    const int h = std::max(1, size.height() / 9);
    // Integer division truncates toward zero: a point left of or above the first data cell
    // gives 0 or less, the fixed column or row.
    return {(point.x() - size.width() % 13) / w, (point.y() - size.height() % 9) / h};
}

QRect ScheduleEditor::CellRect(int column, int row) const
{
    return {StringGrid1->columnViewportPosition(column), StringGrid1->rowViewportPosition(row),
            StringGrid1->columnWidth(column), StringGrid1->rowHeight(row)};
}

void ScheduleEditor::PanelYearCanResize()
{
    const QSize size = StringGrid1->viewport()->size();
    const int w = size.width() / 13;
    const int h = size.height() / 9;
    StringGrid1->setColumnWidth(0, w + size.width() % 13);
    for (int c = 1; c <= kMonths; ++c)
        StringGrid1->setColumnWidth(c, w);
    StringGrid1->setRowHeight(0, h + size.height() % 9);
    for (int r = 1; r <= kDayTypes; ++r)
        StringGrid1->setRowHeight(r, h);
}

void ScheduleEditor::StringGrid1DrawCell(QPainter& painter, int column, int row,
                                         const QRect& rect) const
{
    painter.setPen(Qt::NoPen);
    if (column == 0 || row == 0) {
        painter.fillRect(rect, kFixedGrey);
        QString text;
        QColor color = Qt::black;
        if (column == 0 && row >= 1) {
            text = QString::fromUtf8(kDayTypeLabels[row - 1]);
            if (row >= 6)
                color = Qt::red;
        } else if (row == 0 && column >= 1) {
            text = QString::fromUtf8(kMonthLabels[column - 1]);
        }
        painter.setPen(color);
        painter.drawText(rect, Qt::AlignCenter, text);
        return;
    }
    const Cell cell{column, row};
    const CellFlags f = schedule_->flags(cell);
    QColor base = f.empty ? kMediumGrey : kPaleYellow;
    if (f.selected)
        base = cell == schedule_->current() ? kYellow : kSkyBlue;
    if (!f.empty && f.noMidnight) {
        const QPoint tl = rect.topLeft();
        const QPoint tr(rect.right() + 1, rect.top());
        const QPoint bl(rect.left(), rect.bottom() + 1);
        const QPoint br(rect.right() + 1, rect.bottom() + 1);
        painter.setBrush(kMediumGrey);
        painter.drawPolygon(QPolygon({tl, tr, bl}));
        painter.setBrush(base);
        painter.drawPolygon(QPolygon({br, tr, bl}));
    } else {
        painter.fillRect(rect, base);
    }
    if (f.equivalent || f.changed) {
        const int d = std::min(rect.width(), rect.height()) - 16;
        if (d > 0) {
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::black);
            painter.setBrush(f.changed ? QColor(Qt::red) : QColor(Qt::black));
            painter.drawEllipse(QRect(rect.center().x() - d / 2, rect.center().y() - d / 2, d, d));
        }
    }
}

bool ScheduleEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == StringGrid1->viewport()) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            StringGrid1MouseDown(static_cast<QMouseEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            StringGrid1MouseUp(static_cast<QMouseEvent*>(event));
            return true;
        }
        if (event->type() == QEvent::Resize)
            PanelYearCanResize();
    } else if (watched == PanelYear && event->type() == QEvent::Resize) {
        PanelYearCanResize();
    } else if (watched == PaintBoxDay && event->type() == QEvent::Paint) {
        PaintBoxDayPaint();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ScheduleEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    PanelYearCanResize();
}

void ScheduleEditor::StringGrid1MouseDown(QMouseEvent* event)
{
    const QPoint at = CellAt(event->position().toPoint());
    const Cell cell{at.x(), at.y()};
    if (cell.valid())
        pressed_ = cell;
    if (event->button() == Qt::LeftButton) {
        shift_ = event->modifiers() & Qt::ShiftModifier;
        ctrl_ = event->modifiers() & Qt::ControlModifier;
    }
}

void ScheduleEditor::StringGrid1MouseUp(QMouseEvent* event)
{
    const QPoint at = CellAt(event->position().toPoint());
    if (!Cell{at.x(), at.y()}.valid())
        return;
    const Cell current = schedule_->current();
    if (shift_ || ctrl_) {
        if (pressed_ == current)
            schedule_->SelectOnly(pressed_);
        else if (ctrl_)
            schedule_->SetSelected(pressed_, !schedule_->flags(pressed_).selected);
        else
            schedule_->SelectRectangle(current, pressed_);
    } else {
        schedule_->SelectOnly(pressed_);
        schedule_->SetCurrent(pressed_);
    }
    if (schedule_->pending()) {
        StringGrid1->viewport()->update();
        const auto answer = ScheduleMessage(this, QMessageBox::Question, QStringLiteral("Внимание"),
                                            QStringLiteral("Сохранить изменения?"),
                                            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes)
            BitBtnRedoClick();
        else
            BitBtnUndoClick();
    }
    GetSheduleDay();
    DayChange();
    schedule_->EquivalentDays();
    schedule_->EditDays();
    ShowState();
}

void ScheduleEditor::PaintBoxDayPaint()
{
    if (std::any_of(remembered_.begin(), remembered_.end(), [](uint32_t c) { return c != 0; })) {
        for (int i = 0; i < 8; ++i) {
            SetButtonColor(Tariff[i], FromStored(remembered_[i]));
            SetButtonColor(TariffLimit[i], FromStored(remembered_[i]));
        }
    }
    QPainter painter(PaintBoxDay);
    const int width = PaintBoxDay->width();
    const int height = PaintBoxDay->height();
    const int half = height / 2;
    painter.fillRect(0, 0, width, height, kDarkGrey);
    for (int i = 0; i < ListViewDays->topLevelItemCount(); ++i) {
        const Zone zone = RowZone(ListViewDays->topLevelItem(i));
        const int minutes = zone.time.left(2).toInt() * 60 + zone.time.mid(3, 2).toInt();
        const int x = width * minutes / 1439;
        const bool limitButton = zone.limitTariff >= 1 && zone.limitTariff <= kTariffs;
        painter.fillRect(x, 0, width - x, half,
                         limitButton ? TariffColor(zone.limitTariff) : kDarkGrey);
        if (zone.tariff >= 1 && zone.tariff <= kTariffs)
            painter.fillRect(x, half, width - x, height - half, TariffColor(zone.tariff));
    }
}

void ScheduleEditor::DayChange()
{
    PaintBoxDay->update();
}

void ScheduleEditor::ShowState()
{
    StringGrid1->viewport()->update();
    BitBtnRedo->setEnabled(schedule_->pending());
    BitBtnUndo->setEnabled(schedule_->pending());
    StatusPanel[0]->setText(QString::number(schedule_->recordCount()));
}

void ScheduleEditor::SetTime(int minutes)
{
    const QSignalBlocker trackBlock(TrackBar1);
    const QSignalBlocker timeBlock(DateTimeZone);
    TrackBar1->setValue(minutes);
    DateTimeZone->setTime(QTime(minutes / 60, minutes % 60));
}

void ScheduleEditor::TrackBar1Change(int position)
{
    SetTime(position);
    DayChoice();
}

void ScheduleEditor::DateTimeZoneChange()
{
    const QTime time = DateTimeZone->time();
    SetTime(time.hour() * 60 + time.minute());
    DayChoice();
}

QString ScheduleEditor::PickedTime() const
{
    const QTime time = DateTimeZone->time();
    return TimeText(time.hour(), time.minute());
}

int ScheduleEditor::CheckedTariff() const
{
    return std::max(1, TariffButtons->checkedId());
}

int ScheduleEditor::CheckedLimitTariff() const
{
    return LimitButtons->checkedId();
}

QTreeWidgetItem* ScheduleEditor::RowOfTime(const QString& time) const
{
    for (int i = 0; i < ListViewDays->topLevelItemCount(); ++i) {
        if (ListViewDays->topLevelItem(i)->text(0) == time)
            return ListViewDays->topLevelItem(i);
    }
    return nullptr;
}

QTreeWidgetItem* ScheduleEditor::SelectedRow() const
{
    const QList<QTreeWidgetItem*> rows = ListViewDays->selectedItems();
    return rows.isEmpty() ? nullptr : rows.first();
}

void ScheduleEditor::SetRow(QTreeWidgetItem* row, const Zone& zone)
{
    row->setText(0, zone.time);
    row->setText(1, QString::number(zone.tariff));
    row->setText(2, QString::number(zone.limit));
    row->setText(3, QString::number(zone.limitTariff));
}

Zone ScheduleEditor::RowZone(const QTreeWidgetItem* row) const
{
    return {row->text(0), uint8_t(row->text(1).toInt()), uint8_t(row->text(2).toInt()),
            uint8_t(row->text(3).toInt())};
}

void ScheduleEditor::GetSheduleDay()
{
    {
        const QSignalBlocker block(ListViewDays);
        ListViewDays->clear();
        for (const Zone& zone : schedule_->profile(schedule_->current()))
            SetRow(new QTreeWidgetItem(ListViewDays), zone);
    }
    ActionDelete->setEnabled(false);
    if (ListViewDays->topLevelItemCount() > 0)
        ListViewDays->setCurrentItem(ListViewDays->topLevelItem(0));
    DayChoice();
}

void ScheduleEditor::DayChoice()
{
    if (QTreeWidgetItem* row = RowOfTime(PickedTime())) {
        if (!row->isSelected()) {
            ListViewDays->setCurrentItem(row);
            row->setSelected(true);
        }
        return;
    }
    ListViewDays->clearSelection();
    UpdateAddAction(CheckedTariff(), CheckedLimitTariff());
}

void ScheduleEditor::UpdateAddAction(int tariff, int limitTariff)
{
    ActionEdit->setEnabled(LimitRuleHolds(
        {QString(), uint8_t(tariff), uint8_t(SpinLimit->value()), uint8_t(limitTariff)}));
}

void ScheduleEditor::ListViewDaysSelectItem()
{
    QTreeWidgetItem* row = SelectedRow();
    ActionDelete->setEnabled(row != nullptr);
    if (!row)
        return;
    const Zone zone = RowZone(row);
    SetTime(zone.time.left(2).toInt() * 60 + zone.time.mid(3, 2).toInt());
    {
        const QSignalBlocker block(SpinLimit);
        SpinLimit->setValue(zone.limit);
    }
    if (zone.tariff >= 1 && zone.tariff <= kTariffs)
        Tariff[zone.tariff - 1]->setChecked(true);
    if (zone.limitTariff >= 1 && zone.limitTariff <= kTariffs)
        TariffLimit[zone.limitTariff - 1]->setChecked(true);
    ActionEdit->setEnabled(false);
}

void ScheduleEditor::TariffClick(int tariff)
{
    int limitTariff = CheckedLimitTariff();
    if (SpinLimit->value() == 0) {
        // Without a limit the limit tariff follows the tariff.
        TariffLimit[tariff - 1]->setChecked(true);
        limitTariff = tariff;
    }
    const QTreeWidgetItem* row = SelectedRow();
    if (row && RowZone(row) == Zone{row->text(0), uint8_t(tariff), uint8_t(SpinLimit->value()),
                                    uint8_t(limitTariff)})
        ActionEdit->setEnabled(false);
    else
        UpdateAddAction(tariff, limitTariff);
}

void ScheduleEditor::LimitClick(int limitTariff)
{
    const int tariff = CheckedTariff();
    const QTreeWidgetItem* row = SelectedRow();
    if (row && RowZone(row) == Zone{row->text(0), uint8_t(tariff), uint8_t(SpinLimit->value()),
                                    uint8_t(limitTariff)})
        ActionEdit->setEnabled(false);
    else
        UpdateAddAction(tariff, limitTariff);
}

void ScheduleEditor::ActionEditExecute()
{
    ActionEdit->setEnabled(false);
    const Zone zone{PickedTime(), uint8_t(CheckedTariff()), uint8_t(SpinLimit->value()),
                    uint8_t(std::max(1, CheckedLimitTariff()))};
    if (QTreeWidgetItem* row = RowOfTime(zone.time)) {
        SetRow(row, zone);
        schedule_->UpdateTZone(zone);
    } else {
        auto* added = new QTreeWidgetItem;
        SetRow(added, zone);
        ListViewDays->addTopLevelItem(added);
        ListViewDays->setCurrentItem(added);
        schedule_->InsertTZone(zone);
    }
    DayChange();
    ShowState();
}

void ScheduleEditor::ActionDeleteExecute()
{
    QTreeWidgetItem* row = SelectedRow();
    if (!row)
        return;
    schedule_->DeleteTZone(row->text(0));
    {
        // No other row is selected in its place: the zone list keeps no selection.
        const QSignalBlocker block(ListViewDays);
        delete row;
        ListViewDays->clearSelection();
    }
    DayChange();
    ShowState();
    ActionDelete->setEnabled(SelectedRow() != nullptr);
    DayChoice();
}

void ScheduleEditor::BitBtnRedoClick()
{
    schedule_->Commit();
    ShowState();
}

void ScheduleEditor::BitBtnUndoClick()
{
    schedule_->Revert();
    GetSheduleDay();
    DayChange();
    ShowState();
}

} // namespace zr::schedule
