#include <QCoreApplication>
#include <QtTest>

QObject* NewPackedTest();
QObject* NewModelTest();
QObject* NewFileTest();
QObject* NewRandomEditTest();
QObject* NewTransferTest();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (QObject* (*make)() :
         {NewPackedTest, NewModelTest, NewFileTest, NewRandomEditTest, NewTransferTest}) {
        QScopedPointer<QObject> test(make());
        failed += QTest::qExec(test.data(), argc, argv);
    }
    return failed;
}
