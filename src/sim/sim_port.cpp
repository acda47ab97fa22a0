#include "sim/sim_port.h"

namespace zr::sim
{

SimPort::SimPort(Meter& meter, QObject* parent) : link::Port(parent), bus_(meter)
{
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &SimPort::deliver);
}

SimPort::SimPort(std::unique_ptr<Meter> meter, QObject* parent) : SimPort(*meter, parent)
{
    owned_ = std::move(meter);
}

SimPort::~SimPort() = default;

bool SimPort::open(const QString&)
{
    if (open_)
        return false;
    open_ = true;
    return true;
}

// Answers still on their way are lost with the line.
bool SimPort::close()
{
    open_ = false;
    timer_.stop();
    pending_.clear();
    received_.clear();
    return true;
}

bool SimPort::setBaudRate(int baud)
{
    baud_ = baud;
    return true;
}

bool SimPort::setParity(link::Parity parity)
{
    parity_ = parity;
    return true;
}

bool SimPort::write(const QByteArray& bytes)
{
    if (!open_)
        return false;
    for (Chunk& chunk : bus_.receive(bytes, parity_, baud_))
        pending_.push_back(std::move(chunk));
    scheduleNext();
    return true;
}

QByteArray SimPort::readAvailable()
{
    QByteArray bytes;
    bytes.swap(received_);
    return bytes;
}

void SimPort::deliver()
{
    if (pending_.empty())
        return;
    received_ += pending_.front().bytes;
    pending_.pop_front();
    emit received();
    scheduleNext();
}

// One chunk per timer event, so that every piece gets a notification of its own.
void SimPort::scheduleNext()
{
    if (!pending_.empty() && !timer_.isActive())
        timer_.start(pending_.front().delayMs);
}

} // namespace zr::sim
