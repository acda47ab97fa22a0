#include <QCoreApplication>
#include <QtTest>

QObject* NewPackedTest();
QObject* NewModelTest();
QObject* NewFileTest();
QObject* NewRandomEditTest();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    int failed = 0;
    for (QObject* (*make)() : {NewPackedTest, NewModelTest, NewFileTest, NewRandomEditTest}) {
        QScopedPointer<QObject> test(make());
        failed += QTest::qExec(test.data(), argc, argv);
    }
    return failed;
}
