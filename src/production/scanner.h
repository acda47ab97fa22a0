#pragma once
// The barcode scanner on its own serial port: 9600 bit/s, 8 data bits, no parity, 1 stop bit,
// no flow control, DTR and RTS inactive. Independent of the meter line.

#include "production/scan_buffer.h"

#include <QObject>
#include <QSerialPort>

namespace zr::production
{

class Scanner : public QObject
{
    Q_OBJECT
public:
    explicit Scanner(QObject* parent = nullptr);

    // ComboScanerChange: closes the port, waits 100 ms and opens the entry chosen, whatever the
    // check box says. Returns the serial layer's error text, empty when opened.
    QString SelectPort(const QString& entry);
    // CheckScanerClick: opens or closes the chosen port; failures are not reported.
    void Enable(bool on);
    // Start-up with the check box checked: opens the port and wakes the scanner with one zero
    // byte; failures are not reported.
    void StartUp();

    bool isOpen() const { return port_.isOpen(); }
    QString portEntry() const { return entry_; }
    void setPortEntry(const QString& entry) { entry_ = entry; }

signals:
    // A complete code that is a decimal number: the new value of SpinEdit_Number.
    void numberScanned(int number);
    // A complete code that is not a number (text without its blanks and control characters).
    void codeRejected(const QByteArray& text);

private:
    bool Open();
    void Received();

    QSerialPort port_;
    QString entry_;
    ScanBuffer buffer_; // survives port changes
};

} // namespace zr::production
