// The connection panel of the window.

#include "shell/main_window.h"
#include "support.h"

#include <QSpinBox>
#include <QTest>

using zr::shell::MainWindow;
using zr::shell::Modes;

class TestConnectionPanel : public QObject
{
    Q_OBJECT

private slots:
    void timeoutChangesOnlyByStepping();
};

void TestConnectionPanel::timeoutChangesOnlyByStepping()
{
    MainWindow window{Modes{}};
    QSpinBox* spin = window.Connection()->SpinTimer;
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), 600);
    QTest::keyClicks(spin, QStringLiteral("9"));
    QCOMPARE(spin->value(), 600);
    spin->setValue(10000);
    QTest::keyClick(spin, Qt::Key_Up);
    QCOMPARE(spin->value(), 10000);
}

int zr::test::RunConnectionPanelTests(int argc, char** argv)
{
    TestConnectionPanel test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_connection_panel.moc"
