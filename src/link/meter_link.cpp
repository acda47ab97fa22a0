#include "link/meter_link.h"

#include "link/frame.h"
#include "link/idle_poll.h"
#include "link/password.h"
#include "link/port_name.h"
#include "link/traffic_log.h"

namespace zr::link
{

using frame::AppendCrc;
using frame::ClassifyResponse;
using frame::FunctionName;
using frame::Judgement;
using frame::ResponseComplete;

namespace
{

const QString kErrorCaption = QStringLiteral("Ошибка");

QTimer* MakeTimer(QObject* parent, const char* name, int msec)
{
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(msec);
    return timer;
}

} // namespace

MeterLink::MeterLink(Port& port, QObject* parent)
    : QObject(parent), port_(&port), timer1_(MakeTimer(this, "Timer1", 50)),
      timerOut_(MakeTimer(this, "TimerOut", 500)), timerStart_(MakeTimer(this, "TimerStart", 100)),
      clock_([] { return QTime::currentTime(); })
{
    timerOut_->setSingleShot(true);
    connect(timer1_, &QTimer::timeout, this, &MeterLink::Timer1Timer);
    connect(timerOut_, &QTimer::timeout, this, &MeterLink::TimerOutTimer);
    connect(timerStart_, &QTimer::timeout, this, &MeterLink::TimerStartTimer);
    connect(port_, &Port::received, this, &MeterLink::VaComm1RxChar);
    ConnectLoss();
}

bool MeterLink::setPort(Port& port)
{
    if (connected_)
        return false;
    disconnect(port_, &Port::received, this, &MeterLink::VaComm1RxChar);
    disconnect(port_, &Port::lost, this, &MeterLink::PortLost);
    port_ = &port;
    connect(port_, &Port::received, this, &MeterLink::VaComm1RxChar);
    ConnectLoss();
    return true;
}

// Queued: the port reports from inside its own notification, where it must not be closed.
void MeterLink::ConnectLoss()
{
    connect(port_, &Port::lost, this, &MeterLink::PortLost, Qt::QueuedConnection);
}

void MeterLink::setAddress(int address)
{
    address_ = qBound(0, address, 255);
}

void MeterLink::setTimeout(int msec)
{
    timerOut_->setInterval(msec);
}

bool MeterLink::RegisterDecoder(FunctionCode code, Decoder decoder)
{
    const bool added = decoders_.emplace(code, std::move(decoder)).second;
    Q_ASSERT_X(added, "MeterLink::RegisterDecoder", "a second decoder for one function code");
    return added;
}

// --- Queue ---

void MeterLink::Enqueue(const QByteArray& frameWithoutCrc, Decoder decoder)
{
    queue_.append({AppendCrc(frameWithoutCrc), std::move(decoder)});
    CommandsChange();
}

QList<QByteArray> MeterLink::queue() const
{
    QList<QByteArray> frames;
    frames.reserve(queue_.size());
    for (const Request& request : queue_)
        frames.append(request.frame);
    return frames;
}

void MeterLink::DropHead()
{
    if (queue_.isEmpty())
        return;
    queue_.removeFirst();
    CommandsChange();
}

void MeterLink::ClearQueue()
{
    if (queue_.isEmpty())
        return;
    queue_.clear();
    emit queueDropped();
    CommandsChange();
}

// Runs after every change of the queue, re-entrantly: a drained queue enqueues the next idle step,
// which comes straight back here to be sent.
void MeterLink::CommandsChange()
{
    if (!queue_.isEmpty()) {
        if (!connected_) {
            ClearQueue();
            return;
        }
        const QByteArray& head = queue_.first().frame;
        const uint8_t code = uint8_t(head[0]);
        current_ = (code == EnterPassword || code == WritePassword) ? InsertPassword(head) : head;
        // Restarting a running send timer would only delay the exchange.
        if (!timer1_->isActive())
            timer1_->start();
        return;
    }
    if (!connected_)
        return;
    if (settingsWrite_) {
        settingsWrite_ = false;
        emit resultIndicator(true);
        if (productionMode_)
            emit settingsBatchDrained();
        ResetDisplay();
    }
    if (scheduleWrite_) {
        scheduleWrite_ = false;
        emit resultIndicator(true);
    }
    emit meterControlsEnabled(true);
    idleReading_ = true;
    const QByteArray request = IdleRequest(idleStep_, tariffText_);
    idleStep_ = (idleStep_ + 1) % kIdleSteps;
    Enqueue(request);
}

QByteArray MeterLink::InsertPassword(const QByteArray& head) const
{
    const QString& text = uint8_t(head[0]) == EnterPassword ? accessPassword_ : newPassword_;
    return AppendCrc(head.left(2) +
                     ScramblePassword(PasswordBytes(text), factoryNumber_, runningTime_));
}

void MeterLink::HandleResponse(const QByteArray& buffer)
{
    timeouts_ = 0;
    const Judgement judgement = ClassifyResponse(current_, buffer);
    if (judgement.kind == Judgement::Valid) {
        const uint8_t code = uint8_t(current_[0]);
        // The schedule checksum (function 8 with length 4) belongs to the idle cycle.
        emit gaugeSchedVisible(
            (code == ReadSchedule || code == ReadHolidays || code == ReadTransfers) &&
            uint8_t(buffer[1]) != 4);
        timerOut_->stop();
        emit gaugeJournalVisible(code == ReadYearJournal || code == ReadEventJournal ||
                                 code == ReadHalfHours);
        // The head is still the request answered: decoders never enqueue and nothing else runs
        // in between.
        if (!queue_.isEmpty() && queue_.first().decoder) {
            queue_.first().decoder(buffer);
        } else if (const auto decoder = decoders_.find(code); decoder != decoders_.end()) {
            decoder->second(buffer);
        }
        DropHead();
        return;
    }
    if (judgement.kind == Judgement::Error) {
        timerOut_->stop();
        emit actionSettingEnabled(true);
        emit actionFixDbEnabled(true);
        emit actionFindAddressEnabled(false);
    }
    LogMessage(judgement.message);
    if (!queue_.isEmpty())
        FailBatch();
}

void MeterLink::FailBatch()
{
    timerOut_->stop();
    // The message boxes below run their own event loop: no exchange may start for a head that is
    // about to be dropped. Emptying the queue starts the send timer again.
    timer1_->stop();
    if (settingsWrite_) {
        settingsWrite_ = false;
        emit resultIndicator(false);
        emit failureMessage(kErrorCaption, QStringLiteral("Во время записи установок произошла "
                                                          "ошибка. Описание смотрите на закладке "
                                                          "Протокол."));
    }
    if (scheduleWrite_) {
        scheduleWrite_ = false;
        emit resultIndicator(false);
        emit failureMessage(kErrorCaption,
                            QStringLiteral("Во время записи тарифного расписания произошла "
                                           "ошибка. Описание смотрите на закладке Протокол."));
    }
    ClearQueue();
}

// --- Exchange ---

void MeterLink::Timer1Timer()
{
    emit sendTick();
    if (!port_->isOpen() || timerOut_->isActive())
        return;
    timer1_->stop();
    received_.clear();
    // A failed address byte is not reported: the time-out ends the exchange.
    port_->setParity(Parity::Mark);
    port_->assertRts();
    port_->write(QByteArray(1, char(address_)));
    if (hexLog())
        Log(SendAddressLine(clock_(), uint8_t(address_)));
    emit statusText(0, QString::number(exchangeCount_));
    timerOut_->start();
}

void MeterLink::VaComm1RxChar()
{
    if (!port_->isOpen())
        return;
    addressSearch_ = false;
    const QByteArray bytes = port_->readAvailable();
    if (bytes.isEmpty())
        return;
    if (hexLog())
        Log(ReceivedLine(clock_(), bytes));
    if (port_->parity() == Parity::Mark) {
        // Handshake: only the echo's first byte counts; the rest of the chunk is dropped.
        if (uint8_t(bytes[0]) != address_)
            return;
        port_->setParity(Parity::Space);
        port_->assertRts();
        port_->write(current_);
        if (!current_.isEmpty())
            emit statusText(1, FunctionName(uint8_t(current_[0])));
        if (hexLog())
            Log(SendFrameLine(clock_(), current_));
        ++exchangeCount_;
        return;
    }
    timeouts_ = 0;
    received_ += bytes;
    if (ResponseComplete(received_))
        HandleResponse(received_);
}

void MeterLink::TimerOutTimer()
{
    timerOut_->stop();
    if (addressSearch_) {
        ChangeAddress(address_ == 255 ? 0 : address_ + 1);
        if (!queue_.isEmpty())
            FailBatch();
        return;
    }
    LogMessage(TimeoutLine(clock_()));
    if (!queue_.isEmpty())
        FailBatch();
    emit actionFindAddressEnabled(true);
    if (++timeouts_ > 5) {
        emit actionSettingEnabled(false);
        emit actionFixDbEnabled(false);
        emit meterControlsEnabled(false);
        if (productionMode_)
            ChangeAddress(0);
        ResetDisplay();
    }
}

// --- Connection ---

bool MeterLink::ActionConnectExecute(const QString& portText)
{
    if (connected_)
        return true;
    emit statusText(0, QString());
    emit statusText(1, QString());
    if (!port_->open(portText)) {
        emit failureMessage(kErrorCaption, QStringLiteral("Ошибка открытия порта ") + portText);
        return false;
    }
    connected_ = true;
    portText_ = portText;
    emit connectionChanged(true);
    ResetDisplay();
    settingsWrite_ = false;
    scheduleWrite_ = false;
    // Silence on an earlier connection says nothing about this one: without this, the first
    // time-out after reconnecting would already count as the sixth.
    timeouts_ = 0;
    timerStart_->start();
    return true;
}

void MeterLink::TimerStartTimer()
{
    timerStart_->stop();
    exchangeCount_ = 0;
    emit trafficCleared();
    idleStep_ = 0;
    ClearQueue();
    // The session opens with the version read, the idle cycle's first step.
    Enqueue(IdleRequest(0, tariffText_));
}

bool MeterLink::ActionDisconnectExecute(const QString& portText)
{
    if (!connected_)
        return true;
    emit statusText(0, QString());
    emit statusText(1, QString());
    if (!port_->close()) {
        emit failureMessage(kErrorCaption, QStringLiteral("Ошибка закрытия порта ") + portText);
        return false;
    }
    EndConnection();
    return true;
}

void MeterLink::PortLost(const QString& reason)
{
    if (!connected_ || !port_->isOpen())
        return;
    port_->close();
    emit statusText(0, QString());
    emit statusText(1, QString());
    EndConnection();
    emit failureMessage(kErrorCaption,
                        QStringLiteral("Связь через порт %1 прервана: %2").arg(portText_, reason));
}

void MeterLink::EndConnection()
{
    timer1_->stop();
    timerOut_->stop();
    timerStart_->stop();
    // A write batch cut short here neither succeeded nor failed on the meter's word: drop its
    // marks and leave the connected state first, so the emptied queue is not taken for a drained
    // batch (no green indicator, no production record, no idle request left behind).
    settingsWrite_ = false;
    scheduleWrite_ = false;
    addressSearch_ = false;
    connected_ = false;
    ClearQueue();
    emit meterControlsEnabled(false);
    emit actionSettingEnabled(false);
    emit actionFixDbEnabled(false);
    emit connectionChanged(false);
    emit actionFindAddressEnabled(false);
    emit gaugeJournalVisible(false);
}

void MeterLink::ActionFindAddressExecute()
{
    addressSearch_ = true;
    ChangeAddress(0);
}

// --- Helpers ---

void MeterLink::ResetDisplay()
{
    factoryNumber_ = 0;
    emit displayResetRequested();
}

void MeterLink::ChangeAddress(int address)
{
    address_ = address;
    emit addressChanged(address);
}

void MeterLink::LogMessage(const QString& line)
{
    if (trafficLog_)
        Log(line);
}

void MeterLink::Log(const QString& line)
{
    emit trafficLine(line);
}

} // namespace zr::link
