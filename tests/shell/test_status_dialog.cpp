// The status dialog: the decoded status byte, and its opening from the menu.

#include "meter/ui/status_dialog.h"
#include "shell/main_window.h"
#include "support.h"
#include "support/child.h"

#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

using zr::shell::MainWindow;
using zr::shell::Modes;
using zr::test::Child;

class TestStatusDialog : public QObject
{
    Q_OBJECT

private slots:
    void statusDialogDecodes_data();
    void statusDialogDecodes();
    void statusMenuOpensDialog();
};

void TestStatusDialog::statusDialogDecodes_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("text");
    QTest::newRow("nothing") << 0 << "";
    QTest::newRow("timer") << 64 << "Дата и время таймера не установлены.";
    QTest::newRow("phases") << 0x39
                            << "Фаза A: потребление ДДМ > ББ.\nФаза B: потребление ДДМ "
                               "< ББ.\n"
                               "Отсутствует фаза C.";
    QTest::newRow("power off") << 255 << "Выключение питания";
}

void TestStatusDialog::statusDialogDecodes()
{
    QFETCH(int, status);
    QFETCH(QString, text);

    zr::meter::StatusDialog form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Расшифровка статуса"));
    QCOMPARE(Child<QSpinBox>(&form, "SpinEdit1")->minimum(), 0);
    QCOMPARE(Child<QSpinBox>(&form, "SpinEdit1")->maximum(), 255);
    QCOMPARE(Child<QSpinBox>(&form, "SpinEdit1")->value(), 0);
    QVERIFY(Child<QPlainTextEdit>(&form, "Memo1")->toPlainText().isEmpty());
    Child<QSpinBox>(&form, "SpinEdit1")->setValue(status);
    QCOMPARE(Child<QPlainTextEdit>(&form, "Memo1")->toPlainText(), text);
    QCOMPARE(form.Text(), text);
    // Every change replaces the lines, none accumulate.
    Child<QSpinBox>(&form, "SpinEdit1")->setValue(status == 0 ? 64 : 0);
    Child<QSpinBox>(&form, "SpinEdit1")->setValue(status);
    QCOMPARE(form.Text(), text);
}

void TestStatusDialog::statusMenuOpensDialog()
{
    MainWindow window{Modes{}};
    Child<QSpinBox>(window.StatusForm(), "SpinEdit1")->setValue(64);
    bool modal = false;
    QTimer::singleShot(0, &window, [&] {
        modal = window.StatusForm()->isVisible() && window.StatusForm()->isModal();
        window.StatusForm()->reject();
    });
    window.NStatus->trigger();
    QVERIFY(modal);
    QCOMPARE(window.StatusForm()->Text(), QStringLiteral("Дата и время таймера не установлены."));
}

int zr::test::RunStatusDialogTests(int argc, char** argv)
{
    TestStatusDialog test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_status_dialog.moc"
