#include "meter/ui/tab_about.h"

#include "meter/ui/widgets.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>

namespace zr::meter
{

QStringList IndicationItems()
{
    return {QStringLiteral("Суммарное потребление"), QStringLiteral("Потребление на РДЧ"),
            QStringLiteral("Дата"), QStringLiteral("Мощность"),
            QStringLiteral("Автопереключение индикации")};
}

TabAbout::TabAbout(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabAbout"));
    auto* layout = new QGridLayout(this);

    LabelType = new QLabel(this);
    LabelType->setObjectName(QStringLiteral("LabelType"));
    QFont typeFont = LabelType->font();
    typeFont.setBold(true);
    typeFont.setPointSizeF(typeFont.pointSizeF() * 1.6);
    LabelType->setFont(typeFont);
    LabelType->setStyleSheet(QStringLiteral("color: navy"));
    LabelType->setMinimumHeight(QFontMetrics(typeFont).height());
    layout->addWidget(LabelType, 0, 0, 1, 4);

    struct Field {
        QLineEdit*& edit;
        const char* name;
        QString label;
    };
    const Field left[] = {
        {EditVersion, "EditVersion", QStringLiteral("Версия ПО : ")},
        {EditNumber, "EditNumber", QStringLiteral("Заводской номер : ")},
        {EditDate, "EditDate", QStringLiteral("Дата : ")},
        {EditTime, "EditTime", QStringLiteral("Время : ")},
        {EditTest, "EditTest", QStringLiteral("Тест часов : ")},
        {EditSummer, "EditSummer", QStringLiteral("Автопереход на летнее время : ")},
        {EditDay, "EditDay", QStringLiteral("Расчетный день : ")},
        {EditHour, "EditHour", QStringLiteral("Расчетный час : ")},
        {EditWork, "EditWork", QStringLiteral("Время работы : ")},
        {EditNCorrect, "EditNCorrect", QStringLiteral("Счетчик коррекций : ")},
    };
    const Field right[] = {
        {EditIntegra, "EditIntegra",
         QStringLiteral("Время интегрирования пиковой мощности (мин) : ")},
        {EditCheckSum, "EditCheckSum", QStringLiteral("Контрольная сумма тарифного расписания : ")},
        {EditPower, "EditPower", QStringLiteral("Текущая мощность, Вт :")},
        {EditTariff, "EditTariff", QStringLiteral("Текущий тариф : ")},
        {EditValue, "EditValue", QStringLiteral("Показания (тек. тариф) : ")},
        {EditDelta, "EditDelta", QStringLiteral("Уход за сутки (сек.) : ")},
    };
    auto place = [&](const Field& field, int row, int column) -> QLabel* {
        auto* label = new QLabel(field.label, this);
        field.edit = new QLineEdit(this);
        field.edit->setObjectName(QLatin1String(field.name));
        field.edit->setReadOnly(true);
        field.edit->setFocusPolicy(Qt::ClickFocus);
        MakeParentColoured(field.edit);
        label->setBuddy(field.edit);
        layout->addWidget(label, row, column, Qt::AlignRight);
        layout->addWidget(field.edit, row, column + 1);
        fields_.append(field.edit);
        return label;
    };
    int row = 1;
    for (const Field& field : left)
        place(field, row++, 0);
    row = 1;
    for (const Field& field : right) {
        QLabel* label = place(field, row++, 2);
        if (field.edit == EditDelta)
            deltaLabel_ = label;
    }
    SetDeltaVisible(false);

    auto* bottom = new QHBoxLayout;
    auto* indicatorLabel = new QLabel(QStringLiteral("Индикатор :"), this);
    CheckListIndi = new QListWidget(this);
    CheckListIndi->setObjectName(QStringLiteral("CheckListIndi"));
    for (const QString& text : IndicationItems()) {
        auto* item = new QListWidgetItem(text, CheckListIndi);
        item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        item->setCheckState(Qt::Unchecked);
    }
    CheckListIndi->setEnabled(false);
    FitListToContents(CheckListIndi);
    indicatorLabel->setBuddy(CheckListIndi);
    bottom->addWidget(indicatorLabel, 0, Qt::AlignTop);
    bottom->addWidget(CheckListIndi, 0, Qt::AlignTop);
    bottom->addSpacing(12);

    GridDdm = new QTableWidget(this);
    GridDdm->setObjectName(QStringLiteral("GridDdm"));
    SetupGrid(GridDdm, 4, 5);
    SetColumnCaptions(
        GridDdm, 0, 1,
        {QStringLiteral("Фаза A"), QStringLiteral("Фаза B"), QStringLiteral("Фаза C")});
    SetRowCaptions(GridDdm, 0, 1,
                   {QStringLiteral("№ ДДМ"), QStringLiteral("Тарификация"),
                    QStringLiteral("Статус"), QStringLiteral("Последний сеанс")});
    FitGridToContents(GridDdm, 90);
    bottom->addWidget(GridDdm, 1, Qt::AlignTop);
    layout->addLayout(bottom, 11, 0, 1, 4);
    layout->setRowStretch(12, 1);
    layout->setColumnStretch(1, 1);
    layout->setColumnStretch(3, 1);
}

void TabAbout::SetDeltaVisible(bool visible)
{
    deltaLabel_->setVisible(visible);
    EditDelta->setVisible(visible);
}

void TabAbout::ClearData()
{
    LabelType->clear();
    for (QLineEdit* field : fields_)
        field->clear();
    ClearDataCells(GridDdm);
}

} // namespace zr::meter
