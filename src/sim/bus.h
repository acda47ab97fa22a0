#pragma once
// The simulated meter on the bus: bytes arrive with the parity they were sent with; an address
// byte (MARK) equal to the meter's address is echoed and selects the meter, and the frame bytes
// (SPACE) that follow are collected until the length byte says the frame is complete, then
// answered. Faults can be injected on the way out.

#include "link/port.h"
#include "sim/meter.h"

#include <QByteArray>
#include <QMap>
#include <QSet>
#include <vector>

namespace zr::sim
{

struct Faults {
    QMap<uint8_t, uint8_t> errorFor; // function -> error code answered in its place
    bool noEcho = false;             // the meter does not hear its address
    QSet<uint8_t> silentFor;         // requests of these functions are not answered
    QSet<uint8_t> badChecksumFor;    // responses with their checksum spoilt
    QSet<uint8_t> surplusFor;        // responses followed by one surplus byte
    int pieces = 1;                  // responses split into this many pieces
    int delayMs = 0;                 // before each response
};

// Bytes to put on the line after waiting delayMs (counted from the previous chunk).
struct Chunk {
    QByteArray bytes;
    int delayMs = 0;
};

// Gap between the pieces of a split response, long enough for a reader to see them apart.
constexpr int kPieceGapMs = 5;

class Bus
{
public:
    explicit Bus(Meter& meter) : meter_(meter) {}

    Meter& meter() { return meter_; }
    Faults& faults() { return faults_; }

    // Bytes as they came off the line, with their parity and the speed they were sent at.
    // Bytes sent at another speed than the meter's are not understood and are dropped.
    std::vector<Chunk> receive(const QByteArray& bytes, link::Parity parity, int baud);

private:
    std::vector<Chunk> respond(const QByteArray& request);

    Meter& meter_;
    Faults faults_;
    bool selected_ = false;
    QByteArray frame_;
};

// A serial port set to SPACE parity with parity marking reports a byte that came with the parity
// bit set (MARK) as FF 00 b, and a SPACE byte FF as FF FF. Splits what is read into runs of one
// parity; a marking sequence cut by the end of a read is completed by the next read.
struct Run {
    QByteArray bytes;
    link::Parity parity;
};

class MarkDecoder
{
public:
    std::vector<Run> decode(const QByteArray& bytes);

private:
    QByteArray pending_;
};

} // namespace zr::sim
