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
    : QObject(parent), m_port(&port), m_timer1(MakeTimer(this, "Timer1", 50)),
      m_timerOut(MakeTimer(this, "TimerOut", 500)),
      m_timerStart(MakeTimer(this, "TimerStart", 100)), m_clock([] { return QTime::currentTime(); })
{
    m_timerOut->setSingleShot(true);
    connect(m_timer1, &QTimer::timeout, this, &MeterLink::Timer1Timer);
    connect(m_timerOut, &QTimer::timeout, this, &MeterLink::TimerOutTimer);
    connect(m_timerStart, &QTimer::timeout, this, &MeterLink::TimerStartTimer);
    connect(m_port, &Port::received, this, &MeterLink::VaComm1RxChar);
    ConnectLoss();
}

bool MeterLink::setPort(Port& port)
{
    if (m_connected)
        return false;
    disconnect(m_port, &Port::received, this, &MeterLink::VaComm1RxChar);
    disconnect(m_port, &Port::lost, this, &MeterLink::PortLost);
    m_port = &port;
    connect(m_port, &Port::received, this, &MeterLink::VaComm1RxChar);
    ConnectLoss();
    return true;
}

// Queued: the port reports from inside its own notification, where it must not be closed.
void MeterLink::ConnectLoss()
{
    connect(m_port, &Port::lost, this, &MeterLink::PortLost, Qt::QueuedConnection);
}

void MeterLink::setAddress(int address)
{
    m_address = qBound(0, address, 255);
}

void MeterLink::setTimeout(int msec)
{
    m_timerOut->setInterval(msec);
}

bool MeterLink::RegisterDecoder(FunctionCode code, Decoder decoder)
{
    const bool added = m_decoders.emplace(code, std::move(decoder)).second;
    Q_ASSERT_X(added, "MeterLink::RegisterDecoder", "a second decoder for one function code");
    return added;
}

// --- Queue ---

void MeterLink::Enqueue(const QByteArray& frameWithoutCrc, Decoder decoder)
{
    m_queue.append({AppendCrc(frameWithoutCrc), std::move(decoder)});
    CommandsChange();
}

QList<QByteArray> MeterLink::queue() const
{
    QList<QByteArray> frames;
    frames.reserve(m_queue.size());
    for (const Request& request : m_queue)
        frames.append(request.frame);
    return frames;
}

void MeterLink::DropHead()
{
    if (m_queue.isEmpty())
        return;
    m_queue.removeFirst();
    CommandsChange();
}

void MeterLink::ClearQueue()
{
    if (m_queue.isEmpty())
        return;
    m_queue.clear();
    emit queueDropped();
    CommandsChange();
}

// Runs after every change of the queue, re-entrantly: a drained queue enqueues the next idle step,
// which comes straight back here to be sent.
void MeterLink::CommandsChange()
{
    if (!m_queue.isEmpty()) {
        if (!m_connected) {
            ClearQueue();
            return;
        }
        const QByteArray& head = m_queue.first().frame;
        const uint8_t code = uint8_t(head[0]);
        m_current = (code == EnterPassword || code == WritePassword) ? InsertPassword(head) : head;
        // Restarting a running send timer would only delay the exchange.
        if (!m_timer1->isActive())
            m_timer1->start();
        return;
    }
    if (!m_connected)
        return;
    if (m_settingsWrite) {
        m_settingsWrite = false;
        emit resultIndicator(true);
        if (m_productionMode)
            emit settingsBatchDrained();
        ResetDisplay();
    }
    if (m_scheduleWrite) {
        m_scheduleWrite = false;
        emit resultIndicator(true);
    }
    emit meterControlsEnabled(true);
    m_idleReading = true;
    const QByteArray request = IdleRequest(m_idleStep, m_tariffText);
    m_idleStep = (m_idleStep + 1) % kIdleSteps;
    Enqueue(request);
}

QByteArray MeterLink::InsertPassword(const QByteArray& head) const
{
    const QString& text = uint8_t(head[0]) == EnterPassword ? m_accessPassword : m_newPassword;
    return AppendCrc(head.left(2) +
                     ScramblePassword(PasswordBytes(text), m_factoryNumber, m_runningTime));
}

void MeterLink::HandleResponse(const QByteArray& buffer)
{
    m_timeouts = 0;
    const Judgement judgement = ClassifyResponse(m_current, buffer);
    if (judgement.kind == Judgement::Valid) {
        const uint8_t code = uint8_t(m_current[0]);
        // The schedule checksum (function 8 with length 4) belongs to the idle cycle.
        emit gaugeSchedVisible(
            (code == ReadSchedule || code == ReadHolidays || code == ReadTransfers) &&
            uint8_t(buffer[1]) != 4);
        m_timerOut->stop();
        emit gaugeJournalVisible(code == ReadYearJournal || code == ReadEventJournal ||
                                 code == ReadHalfHours);
        // The head is still the request answered: decoders never enqueue and nothing else runs
        // in between.
        if (!m_queue.isEmpty() && m_queue.first().decoder) {
            m_queue.first().decoder(buffer);
        } else if (const auto decoder = m_decoders.find(code); decoder != m_decoders.end()) {
            decoder->second(buffer);
        }
        DropHead();
        return;
    }
    if (judgement.kind == Judgement::Error) {
        m_timerOut->stop();
        emit actionSettingEnabled(true);
        emit actionFixDbEnabled(true);
        emit actionFindAddressEnabled(false);
    }
    LogMessage(judgement.message);
    if (!m_queue.isEmpty())
        FailBatch();
}

void MeterLink::FailBatch()
{
    m_timerOut->stop();
    // The message boxes below run their own event loop: no exchange may start for a head that is
    // about to be dropped. Emptying the queue starts the send timer again.
    m_timer1->stop();
    if (m_settingsWrite) {
        m_settingsWrite = false;
        emit resultIndicator(false);
        emit failureMessage(kErrorCaption, QStringLiteral("Во время записи установок произошла "
                                                          "ошибка. Описание смотрите на закладке "
                                                          "Протокол."));
    }
    if (m_scheduleWrite) {
        m_scheduleWrite = false;
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
    if (!m_port->isOpen() || m_timerOut->isActive())
        return;
    m_timer1->stop();
    m_received.clear();
    // A failed address byte is not reported: the time-out ends the exchange.
    m_port->setParity(Parity::Mark);
    m_port->assertRts();
    m_port->write(QByteArray(1, char(m_address)));
    if (hexLog())
        Log(SendAddressLine(m_clock(), uint8_t(m_address)));
    emit statusText(0, QString::number(m_exchangeCount));
    m_timerOut->start();
}

void MeterLink::VaComm1RxChar()
{
    if (!m_port->isOpen())
        return;
    m_addressSearch = false;
    const QByteArray bytes = m_port->readAvailable();
    if (bytes.isEmpty())
        return;
    if (hexLog())
        Log(ReceivedLine(m_clock(), bytes));
    if (m_port->parity() == Parity::Mark) {
        // Handshake: only the echo's first byte counts; the rest of the chunk is dropped.
        if (uint8_t(bytes[0]) != m_address)
            return;
        m_port->setParity(Parity::Space);
        m_port->assertRts();
        m_port->write(m_current);
        if (!m_current.isEmpty())
            emit statusText(1, FunctionName(uint8_t(m_current[0])));
        if (hexLog())
            Log(SendFrameLine(m_clock(), m_current));
        ++m_exchangeCount;
        return;
    }
    m_timeouts = 0;
    m_received += bytes;
    if (ResponseComplete(m_received))
        HandleResponse(m_received);
}

void MeterLink::TimerOutTimer()
{
    m_timerOut->stop();
    if (m_addressSearch) {
        ChangeAddress(m_address == 255 ? 0 : m_address + 1);
        if (!m_queue.isEmpty())
            FailBatch();
        return;
    }
    LogMessage(TimeoutLine(m_clock()));
    if (!m_queue.isEmpty())
        FailBatch();
    emit actionFindAddressEnabled(true);
    if (++m_timeouts > 5) {
        emit actionSettingEnabled(false);
        emit actionFixDbEnabled(false);
        emit meterControlsEnabled(false);
        if (m_productionMode)
            ChangeAddress(0);
        ResetDisplay();
    }
}

// --- Connection ---

bool MeterLink::ActionConnectExecute(const QString& portText)
{
    if (m_connected)
        return true;
    emit statusText(0, QString());
    emit statusText(1, QString());
    if (!m_port->open(portText)) {
        emit failureMessage(kErrorCaption, QStringLiteral("Ошибка открытия порта ") + portText);
        return false;
    }
    m_connected = true;
    m_portText = portText;
    emit connectionChanged(true);
    ResetDisplay();
    m_settingsWrite = false;
    m_scheduleWrite = false;
    // Silence on an earlier connection says nothing about this one: without this, the first
    // time-out after reconnecting would already count as the sixth.
    m_timeouts = 0;
    m_timerStart->start();
    return true;
}

void MeterLink::TimerStartTimer()
{
    m_timerStart->stop();
    m_exchangeCount = 0;
    emit trafficCleared();
    m_idleStep = 0;
    ClearQueue();
    // The session opens with the version read, the idle cycle's first step.
    Enqueue(IdleRequest(0, m_tariffText));
}

bool MeterLink::ActionDisconnectExecute(const QString& portText)
{
    if (!m_connected)
        return true;
    emit statusText(0, QString());
    emit statusText(1, QString());
    if (!m_port->close()) {
        emit failureMessage(kErrorCaption, QStringLiteral("Ошибка закрытия порта ") + portText);
        return false;
    }
    EndConnection();
    return true;
}

void MeterLink::PortLost(const QString& reason)
{
    if (!m_connected || !m_port->isOpen())
        return;
    m_port->close();
    emit statusText(0, QString());
    emit statusText(1, QString());
    EndConnection();
    emit failureMessage(kErrorCaption,
                        QStringLiteral("Связь через порт %1 прервана: %2").arg(m_portText, reason));
}

void MeterLink::EndConnection()
{
    m_timer1->stop();
    m_timerOut->stop();
    m_timerStart->stop();
    // A write batch cut short here neither succeeded nor failed on the meter's word: drop its
    // marks and leave the connected state first, so the emptied queue is not taken for a drained
    // batch (no green indicator, no production record, no idle request left behind).
    m_settingsWrite = false;
    m_scheduleWrite = false;
    m_addressSearch = false;
    m_connected = false;
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
    m_addressSearch = true;
    ChangeAddress(0);
}

// --- Helpers ---

void MeterLink::ResetDisplay()
{
    m_factoryNumber = 0;
    emit displayResetRequested();
}

void MeterLink::ChangeAddress(int address)
{
    m_address = address;
    emit addressChanged(address);
}

void MeterLink::LogMessage(const QString& line)
{
    if (m_trafficLog)
        Log(line);
}

void MeterLink::Log(const QString& line)
{
    emit trafficLine(line);
}

} // namespace zr::link
