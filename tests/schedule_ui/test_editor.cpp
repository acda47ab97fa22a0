#include "schedule/ui/schedule_editor.h"
#include "schedule/ui/schedule_message.h"

#include <QAction>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimeEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace zr::schedule;

namespace
{

const QColor kMediumGrey(160, 160, 164);
const QColor kPaleYellow(255, 255, 230);
const QColor kDarkGrey(128, 128, 128);

AList Rec(const char* time, int tariff, int limit, int limitTariff, uint8_t days, uint16_t months)
{
    return {Zone{QString::fromLatin1(time), uint8_t(tariff), uint8_t(limit), uint8_t(limitTariff)},
            days, months};
}

void Load(Schedule& s, const QVector<AList>& records)
{
    QVector<QByteArray> packed;
    for (const AList& r : records)
        packed.append(PackZone(r));
    QVERIFY(!s.LoadRecords(packed).refused());
}

// The editor shown at a fixed size, found by object names as the window finds it.
struct Fixture {
    Schedule model;
    ScheduleEditor editor{&model};
    QTableWidget* grid = editor.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
    QTreeWidget* list = editor.findChild<QTreeWidget*>(QStringLiteral("ListViewDays"));
    QWidget* bar = editor.findChild<QWidget*>(QStringLiteral("PaintBoxDay"));
    QSpinBox* limit = editor.findChild<QSpinBox*>(QStringLiteral("SpinLimit"));
    QToolButton* redo = editor.findChild<QToolButton*>(QStringLiteral("BitBtnRedo"));
    QToolButton* undo = editor.findChild<QToolButton*>(QStringLiteral("BitBtnUndo"));
    QAction* add = editor.findChild<QAction*>(QStringLiteral("ActionEdit"));
    QAction* del = editor.findChild<QAction*>(QStringLiteral("ActionDelete"));
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::No;
    ScheduleMessageHandler previous;

    explicit Fixture(const QVector<AList>& records = {})
    {
        Load(model, records);
        editor.ShowSchedule();
        editor.resize(900, 650);
        editor.show();
        previous =
            SetScheduleMessageHandler([this](QWidget*, QMessageBox::Icon, const QString& caption,
                                             const QString& text, QMessageBox::StandardButtons) {
                questions << caption + QLatin1Char('|') + text;
                return answer;
            });
    }
    ~Fixture() { SetScheduleMessageHandler(previous); }

    QPoint Centre(int month, int dayType) const { return editor.CellRect(month, dayType).center(); }
    void Click(int month, int dayType, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, Centre(month, dayType));
    }
    QImage Grid() const { return grid->viewport()->grab().toImage(); }
    QImage Bar() const { return bar->grab().toImage(); }
    QRadioButton* Button(const char* prefix, int n) const
    {
        return editor.findChild<QRadioButton*>(QLatin1String(prefix) + QString::number(n));
    }
    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* r = list->topLevelItem(i);
            rows << QStringList{r->text(0), r->text(1), r->text(2), r->text(3)}.join(' ');
        }
        return rows;
    }
};

} // namespace

class TestEditor : public QObject
{
    Q_OBJECT
private slots:
    // The table's cells follow the panel's size: column 0 and row 0 take the remainders.
    void cellGeometry()
    {
        Fixture f;
        const QSize size = f.grid->viewport()->size();
        QCOMPARE(f.grid->columnWidth(0), size.width() / 13 + size.width() % 13);
        QCOMPARE(f.grid->columnWidth(5), size.width() / 13);
        QCOMPARE(f.grid->rowHeight(0), size.height() / 9 + size.height() % 9);
        QCOMPARE(f.grid->rowHeight(8), size.height() / 9);
        QCOMPARE(f.editor.CellAt(f.Centre(12, 8)), QPoint(12, 8));
        QVERIFY(f.editor.CellAt({size.width() % 13 - 1, 300}).x() <= 0);
        f.editor.resize(700, 500);
        QCOMPARE(f.grid->columnWidth(3), f.grid->viewport()->width() / 13);
    }

    void plainClickOnEmptyCell()
    {
        Fixture f({Rec("00:00", 2, 0, 2, 0x01, 0x001)});
        f.Click(3, 2);
        QCOMPARE(f.model.current(), (Cell{3, 2}));
        QVERIFY(f.model.flags({3, 2}).selected);
        QVERIFY(!f.model.flags({1, 1}).selected);
        QVERIFY(f.Rows().isEmpty());
        QVERIFY(f.add->isEnabled());
        QVERIFY(!f.del->isEnabled());
        const QImage bar = f.Bar();
        for (int x : {0, bar.width() / 2, bar.width() - 1})
            for (int y : {1, bar.height() - 2})
                QCOMPARE(bar.pixelColor(x, y), kDarkGrey);
        QVERIFY(f.questions.isEmpty());
        QVERIFY(!f.redo->isEnabled());
    }

    // Shift-click spans the rectangle between the current cell and the clicked one; the cells
    // that differ receive the current cell's profile at once and show red dots.
    void shiftClickRectangle()
    {
        Fixture f({Rec("00:00", 2, 0, 2, 0x01, 0x001)});
        f.Click(4, 5, Qt::ShiftModifier);
        QCOMPARE(f.model.current(), (Cell{1, 1}));
        int selected = 0;
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 8; ++d)
                selected += f.model.flags({m, d}).selected;
        QCOMPARE(selected, 20);
        QVERIFY(f.model.flags({4, 5}).changed);
        QCOMPARE(f.model.profile({4, 5}), f.model.profile({1, 1}));
        QVERIFY(f.redo->isEnabled());
        QVERIFY(f.undo->isEnabled());
        QVERIFY(f.questions.isEmpty());
        const QImage grid = f.Grid();
        QCOMPARE(grid.pixelColor(f.Centre(4, 5)), QColor(Qt::red));
        QCOMPARE(grid.pixelColor(f.Centre(1, 1)), QColor(Qt::black));
        // Outside the rectangle: an empty cell, equivalent to nothing, no dot.
        QCOMPARE(grid.pixelColor(f.Centre(6, 6)), kMediumGrey);
    }

    void ctrlClickTogglesOneCell()
    {
        Fixture f({Rec("00:00", 2, 0, 2, 0x01, 0x001)});
        f.Click(5, 5, Qt::ControlModifier);
        QVERIFY(f.model.flags({5, 5}).selected);
        QVERIFY(f.model.flags({1, 1}).selected);
        QVERIFY(!f.model.flags({4, 5}).selected);
        QCOMPARE(f.model.current(), (Cell{1, 1}));
    }

    void questionOnNextPlainClick_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Yes keeps the copies") << int(QMessageBox::Yes);
        QTest::newRow("No drops them") << int(QMessageBox::No);
    }
    void questionOnNextPlainClick()
    {
        QFETCH(int, answer);
        Fixture f({Rec("00:00", 2, 0, 2, 0x01, 0x001)});
        f.Click(4, 5, Qt::ShiftModifier);
        f.answer = QMessageBox::StandardButton(answer);
        f.Click(6, 3);
        QCOMPARE(f.questions, QStringList{"Внимание|Сохранить изменения?"});
        QCOMPARE(f.model.current(), (Cell{6, 3}));
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 8; ++d)
                QCOMPARE(f.model.flags({m, d}).selected, m == 6 && d == 3);
        QCOMPARE(f.model.flags({4, 5}).empty, answer == QMessageBox::No);
        QVERIFY(!f.model.pending());
        QVERIFY(!f.redo->isEnabled());
        QVERIFY(!f.undo->isEnabled());
    }

    // A release in the fixed row or column does nothing, also after a press in a data cell.
    void releaseOutsideDataCells()
    {
        Fixture f;
        QTest::mousePress(f.grid->viewport(), Qt::LeftButton, {}, f.Centre(5, 5));
        QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, {}, f.Centre(0, 5));
        QTest::mousePress(f.grid->viewport(), Qt::LeftButton, {}, f.Centre(5, 5));
        QTest::mouseRelease(f.grid->viewport(), Qt::LeftButton, {}, f.Centre(5, 0));
        QCOMPARE(f.model.current(), (Cell{1, 1}));
        QVERIFY(!f.model.flags({5, 5}).selected);
        QVERIFY(f.model.flags({1, 1}).selected);
    }

    void addRule_data()
    {
        QTest::addColumn<int>("limit");
        QTest::addColumn<int>("limitButton");
        QTest::addColumn<int>("expectedLimitButton");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("limit 0: limit tariff follows") << 0 << 2 << 5 << true;
        QTest::newRow("limit 3, same limit tariff") << 3 << 5 << 5 << false;
        QTest::newRow("limit 3, other limit tariff") << 3 << 2 << 2 << true;
    }
    void addRule()
    {
        QFETCH(int, limit);
        QFETCH(int, limitButton);
        QFETCH(int, expectedLimitButton);
        QFETCH(bool, enabled);
        Fixture f;
        f.limit->setValue(limit);
        QTest::mouseClick(f.Button("TariffLimit", limitButton), Qt::LeftButton);
        QTest::mouseClick(f.Button("Tariff", 5), Qt::LeftButton);
        QVERIFY(f.Button("TariffLimit", expectedLimitButton)->isChecked());
        QCOMPARE(f.add->isEnabled(), enabled);
    }

    // Adding, changing and deleting zones, with the time picker and the track in step.
    void zoneEdits()
    {
        Fixture f;
        auto* track = f.editor.findChild<QSlider*>(QStringLiteral("TrackBar1"));
        auto* picker = f.editor.findChild<QTimeEdit*>(QStringLiteral("DateTimeZone"));
        f.add->trigger();
        track->setValue(7 * 60 + 30);
        QCOMPARE(picker->time(), QTime(7, 30));
        QTest::mouseClick(f.Button("Tariff", 3), Qt::LeftButton);
        f.add->trigger();
        QCOMPARE(f.Rows(), (QStringList{"00:00 1 0 1", "07:30 3 0 3"}));
        QCOMPARE(f.model.profile({1, 1}).size(), 2);
        QVERIFY(f.redo->isEnabled());
        auto* status = f.editor.findChild<QStatusBar*>(QStringLiteral("StatusBar1"));
        QCOMPARE(status->findChild<QLabel*>()->text(), QString::number(f.model.recordCount()));

        // Going back to a listed time selects its row and loads its values.
        picker->setTime(QTime(0, 0));
        QCOMPARE(track->value(), 0);
        QVERIFY(f.list->topLevelItem(0)->isSelected());
        QVERIFY(f.Button("Tariff", 1)->isChecked());
        QVERIFY(!f.add->isEnabled());
        QVERIFY(f.del->isEnabled());
        f.limit->setValue(4);
        QVERIFY(!f.add->isEnabled());
        QTest::mouseClick(f.Button("TariffLimit", 6), Qt::LeftButton);
        QVERIFY(f.add->isEnabled());
        f.add->trigger();
        QCOMPARE(f.Rows(), (QStringList{"00:00 1 4 6", "07:30 3 0 3"}));

        f.del->trigger();
        QCOMPARE(f.Rows(), QStringList{"07:30 3 0 3"});
        QCOMPARE(f.model.profile({1, 1}).size(), 1);
        QVERIFY(!f.del->isEnabled());
        f.redo->click();
        QVERIFY(!f.model.pending());
        QVERIFY(!f.undo->isEnabled());
    }

    // A profile without a zone at midnight: upper-left half grey, lower-right its base colour.
    void noMidnightHalfGrey()
    {
        Fixture f({Rec("00:00", 1, 0, 1, 0x01, 0x001), Rec("06:00", 2, 0, 2, 0x04, 0x002)});
        QVERIFY(f.model.flags({2, 3}).noMidnight);
        const QImage grid = f.Grid();
        const QRect cell = f.editor.CellRect(2, 3);
        QCOMPARE(grid.pixelColor(cell.topLeft() + QPoint(2, 2)), kMediumGrey);
        QCOMPARE(grid.pixelColor(cell.bottomRight() - QPoint(2, 2)), kPaleYellow);
        const QRect full = f.editor.CellRect(1, 2);
        QCOMPARE(grid.pixelColor(full.topLeft() + QPoint(2, 2)), kMediumGrey);
        QCOMPARE(f.model.flags({1, 2}).empty, true);
    }

    // Zones at 00:00 (tariff 1) and 07:00 (tariff 2) meet at width × 420 div 1439.
    void dayBarBoundary()
    {
        Fixture f({Rec("00:00", 1, 0, 1, 0x01, 0x001), Rec("07:00", 2, 0, 2, 0x01, 0x001)});
        const QImage bar = f.Bar();
        const int x = bar.width() * 420 / 1439;
        for (int y : {1, bar.height() - 2}) {
            QCOMPARE(bar.pixelColor(x - 1, y), f.editor.TariffColor(1));
            QCOMPARE(bar.pixelColor(x, y), f.editor.TariffColor(2));
            QCOMPARE(bar.pixelColor(bar.width() - 1, y), f.editor.TariffColor(2));
        }
    }

    // A chosen colour reaches both buttons and the bar, is stored as 0x00BBGGRR and is taken
    // by the next editor when its bar is painted.
    void chosenColourRemembered()
    {
        const QColor chosen(10, 20, 30);
        {
            Fixture f({Rec("00:00", 3, 0, 3, 0x01, 0x001)});
            f.editor.ChooseColor(3, chosen);
            QCOMPARE(f.editor.TariffColor(3), chosen);
            QCOMPARE(f.Bar().pixelColor(5, 5), chosen);
        }
        QSettings stored(QSettings::IniFormat, QSettings::UserScope, "Quenvoll", "Schedule");
        QCOMPARE(stored.value("Color3").toUInt(), 0x1E140Au);
        QCOMPARE(stored.value("Color1").toUInt(), 0xF0FBFFu);
        Fixture next;
        QVERIFY(next.editor.TariffColor(3) != chosen);
        next.Bar();
        QCOMPARE(next.editor.TariffColor(3), chosen);
        // The buttons fill their background with their own role, the button colour.
        const QRadioButton* limit3 = next.Button("TariffLimit", 3);
        QCOMPARE(limit3->palette().color(limit3->backgroundRole()), chosen);
        stored.clear();
    }
};

QObject* NewEditorTest()
{
    return new TestEditor;
}

#include "test_editor.moc"
