#pragma once
// The simulated meter behind the port interface, in the same process: for tests of the link and
// of the data features, and for the demonstration mode. What is written goes to the meter with
// the parity and speed set at that moment; its answers arrive later, from the event loop, each
// piece announced by received().

#include "link/port.h"
#include "sim/bus.h"

#include <QTimer>
#include <deque>
#include <memory>

namespace zr::sim
{

class SimPort : public link::Port
{
    Q_OBJECT
public:
    // The meter stays the caller's and must outlive the port.
    explicit SimPort(Meter& meter, QObject* parent = nullptr);
    // The port keeps the meter.
    explicit SimPort(std::unique_ptr<Meter> meter, QObject* parent = nullptr);
    ~SimPort() override;

    Meter& meter() { return bus_.meter(); }
    Faults& faults() { return bus_.faults(); }
    int baudRate() const { return baud_; }

    bool open(const QString& name) override;
    bool close() override;
    bool isOpen() const override { return open_; }
    bool setBaudRate(int baud) override;
    bool setParity(link::Parity parity) override;
    link::Parity parity() const override { return parity_; }
    bool assertRts() override { return open_; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAvailable() override;

private:
    void deliver();
    void scheduleNext();

    std::unique_ptr<Meter> owned_;
    Bus bus_;
    bool open_ = false;
    int baud_ = 4800;
    link::Parity parity_ = link::Parity::Space;
    QByteArray received_;
    std::deque<Chunk> pending_;
    QTimer timer_;
};

} // namespace zr::sim
