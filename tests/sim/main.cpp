#include "suites.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    using namespace zr::sim::test;
    int failed = RunMeterTests(argc, argv);
    failed |= RunBusTests(argc, argv);
    failed |= RunSimPortTests(argc, argv);
    failed |= RunWriteBatchTests(argc, argv);
    failed |= RunScheduledTariffTests(argc, argv);
    failed |= RunDemoTests(argc, argv);
#ifdef ZR_SIM_TOOL
    failed |= RunToolTests(argc, argv);
#endif
    return failed;
}
