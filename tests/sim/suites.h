#pragma once
// The test classes of the simulated meter, run one after the other by main.cpp.

#include "link/frame.h"
#include "support/hex.h"

#include <QByteArray>

namespace zr::sim::test
{

int RunMeterTests(int argc, char** argv);
int RunBusTests(int argc, char** argv);
int RunSimPortTests(int argc, char** argv);
int RunToolTests(int argc, char** argv);
int RunWriteBatchTests(int argc, char** argv);
int RunScheduledTariffTests(int argc, char** argv);
int RunDemoTests(int argc, char** argv);

using zr::test::Hex;
// A frame written without its checksum, with the checksum appended.
inline QByteArray Frame(const char* text)
{
    return frame::AppendCrc(Hex(text));
}

} // namespace zr::sim::test
