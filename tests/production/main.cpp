#include <QCoreApplication>
#include <QtTest>

QObject* NewDriftTest();
QObject* NewScannerTest();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (QObject* (*make)() : {NewDriftTest, NewScannerTest}) {
        QScopedPointer<QObject> test(make());
        failed += QTest::qExec(test.data(), argc, argv);
    }
    return failed;
}
