#include "shell/application.h"
#include "support.h"

int main(int argc, char** argv)
{
    zr::shell::Application app(argc, argv);
    using namespace zr::test;
    int failed = RunWindowTests(argc, argv);
    failed |= RunSettingsPageTests(argc, argv);
    failed |= RunConnectionPanelTests(argc, argv);
    failed |= RunJournalPageTests(argc, argv);
    failed |= RunSchedulePageTests(argc, argv);
    failed |= RunStatusDialogTests(argc, argv);
    failed |= RunWiringTests(argc, argv);
#ifdef ZR_SIM_TOOL
    failed |= RunEndToEndTests(argc, argv);
#endif
    return failed;
}
