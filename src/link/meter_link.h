#pragma once
// The meter link: command queue and its pump, the exchange with its address handshake and single
// time-out, the idle poll cycle, the password insertion and the connection's life. Everything runs
// on the UI thread, driven by the port's notifications and the timers Timer1, TimerOut and
// TimerStart; nothing here waits. The window owns the port and the widgets; the link talks to it
// through setters and signals only.

#include "link/function_code.h"
#include "link/port.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTime>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <map>

namespace zr::link
{

class MeterLink : public QObject
{
    Q_OBJECT
public:
    using Decoder = std::function<void(const QByteArray& response)>;
    using Clock = std::function<QTime()>;

    explicit MeterLink(Port& port, QObject* parent = nullptr);

    // The line used from the next connect on (the window offers real ports and the demo meter
    // side by side). Refused while connected: the exchange in progress belongs to the old line.
    bool setPort(Port& port);
    Port& port() const { return *port_; }

    // --- Inputs from the window ---
    void setAddress(int address); // SpinAddr, 0-255
    int address() const { return address_; }
    void setTimeout(int msec);                        // SpinTimer
    void setTrafficLog(bool on) { trafficLog_ = on; } // CheckBox_Terminal
    void setMasterMode(bool on) { masterMode_ = on; }
    void setProductionMode(bool on) { productionMode_ = on; }
    void setAccessPassword(const QString& text) { accessPassword_ = text; } // LabeledPass2
    void setNewPassword(const QString& text) { newPassword_ = text; }       // LabeledPass1
    void setCurrentTariffText(const QString& text) { tariffText_ = text; }  // EditTariff
    // Set by the decoders of functions 1 and 17; the display reset sets the number back to 0.
    void setFactoryNumber(uint32_t number) { factoryNumber_ = number & 0xFFFFFF; }
    uint32_t factoryNumber() const { return factoryNumber_; }
    void setRunningTime(uint32_t seconds) { runningTime_ = seconds; }
    uint32_t runningTime() const { return runningTime_; }
    // Write actions set their mark before they enqueue their batch.
    void setSettingsWriteMark() { settingsWrite_ = true; }
    void setScheduleWriteMark() { scheduleWrite_ = true; }
    bool settingsWriteMark() const { return settingsWrite_; }
    bool scheduleWriteMark() const { return scheduleWrite_; }
    // Set whenever the queue drains; the readings page clears it when the user asks for readings.
    bool idleReading() const { return idleReading_; }
    void clearIdleReading() { idleReading_ = false; }
    // A line of its own in the traffic log, when the log is on: failure messages, and the
    // decoders' word on responses too short for their layout.
    void LogMessage(const QString& line);
    // Tests pin the time written into the traffic log.
    void setClock(Clock clock) { clock_ = std::move(clock); }

    // A valid response goes to the decoder that came with its request or, without one, to the
    // decoder registered for its code; after that the link drops the head itself. Decoders never
    // enqueue. Codes without a decoder only drop the head. One decoder per code: a second one
    // for a taken code is refused (an assertion in debug builds), so a collision shows at once.
    bool RegisterDecoder(FunctionCode code, Decoder decoder);

    // --- The queue ---
    // `decoder`, when given, decodes this request's answer in place of the code's table entry:
    // a feature that owns a batch decodes its own answers.
    void Enqueue(const QByteArray& frameWithoutCrc, Decoder decoder = {});
    void DropHead();
    // The queued frames, head first, with their CRC.
    QList<QByteArray> queue() const;
    QByteArray currentRequest() const { return current_; }
    bool connected() const { return connected_; }
    bool addressSearch() const { return addressSearch_; }
    int exchangeCount() const { return exchangeCount_; }
    int consecutiveTimeouts() const { return timeouts_; }
    unsigned idleStep() const { return idleStep_; }

    // --- Commands ---
    // portText: the ComboPort text. Failures show their message box and leave the state as it was.
    bool ActionConnectExecute(const QString& portText);
    bool ActionDisconnectExecute(const QString& portText);
    void ActionFindAddressExecute();

    // --- Handlers, public so tests can drive them without waiting ---
    void Timer1Timer();
    void VaComm1RxChar();
    void TimerOutTimer();
    void TimerStartTimer();
    // The port reported its line unusable: the connection ends as on ActionDisconnect, then the
    // user learns which port failed and why.
    void PortLost(const QString& reason);

signals:
    void trafficLine(const QString& line);
    void trafficCleared();
    void statusText(int panel, const QString& text);
    void meterControlsEnabled(bool on);
    void actionSettingEnabled(bool on);
    void actionFixDbEnabled(bool on);
    void actionFindAddressEnabled(bool on);
    // The window switches ActionConnect/ActionDisconnect, ComboPort, ComboBaud and their menus.
    void connectionChanged(bool connected);
    // Run ResetMeterData; the link has already forgotten the factory number.
    void displayResetRequested();
    void resultIndicator(bool success);
    // Task-modal message box with the error icon; shown before the queue is emptied.
    void failureMessage(const QString& caption, const QString& text);
    void gaugeSchedVisible(bool visible);
    void gaugeJournalVisible(bool visible);
    // The rest of a batch was dropped (a failed request, a lost connection): a feature that
    // collects a batch's answers takes what it has.
    void queueDropped();
    // Production mode only: a settings batch has drained; record the programmed meter.
    void settingsBatchDrained();
    // The search stepped the address, or the sixth time-out in production mode reset it.
    void addressChanged(int address);
    // Each tick of the send timer: the window moves the grid selections out of sight.
    void sendTick();

private:
    void ClearQueue();
    void EndConnection();
    void ConnectLoss();
    void CommandsChange();
    void HandleResponse(const QByteArray& buffer);
    void FailBatch();
    QByteArray InsertPassword(const QByteArray& head) const;
    void ResetDisplay();
    void ChangeAddress(int address);
    void Log(const QString& line);
    bool hexLog() const { return trafficLog_ && masterMode_; }

    Port* port_;
    QTimer* timer1_;
    QTimer* timerOut_;
    QTimer* timerStart_;
    Clock clock_;
    std::map<uint8_t, Decoder> decoders_;

    struct Request {
        QByteArray frame; // with CRC
        Decoder decoder;
    };
    QList<Request> queue_;
    QByteArray current_;
    QByteArray received_;

    QString portText_; // as given to ActionConnectExecute, for the loss message
    int address_ = 0;
    bool trafficLog_ = false;
    bool masterMode_ = false;
    bool productionMode_ = false;
    QString accessPassword_;
    QString newPassword_;
    QString tariffText_;
    uint32_t factoryNumber_ = 0;
    uint32_t runningTime_ = 0;

    bool connected_ = false;
    bool addressSearch_ = false;
    bool settingsWrite_ = false;
    bool scheduleWrite_ = false;
    bool idleReading_ = false;
    unsigned idleStep_ = 0;
    int exchangeCount_ = 0;
    int timeouts_ = 0;
};

} // namespace zr::link
