#include <QApplication>
#include <QTemporaryDir>
#include <QtTest>

QObject* NewEditorTest();
QObject* NewFilesTest();
QObject* NewHolidaysTest();

int main(int argc, char** argv)
{
    // The remembered tariff colours go to a settings folder of this run, not the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    int failed = 0;
    for (QObject* (*make)() : {NewEditorTest, NewFilesTest, NewHolidaysTest}) {
        QScopedPointer<QObject> test(make());
        failed += QTest::qExec(test.data(), argc, argv);
    }
    return failed;
}
