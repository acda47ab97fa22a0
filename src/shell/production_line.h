#pragma once
// The production line's part of the window: identification at each activation, the number
// proposal and the new address that follows the number, the last-programmed lookup and the clock
// drift, the records of programmed meters in the production database, and the barcode scanner.
// Created by the window in production mode only; outside it nothing opens the database or the
// scanner port.
#include "production/drift.h"
#include "production/identification.h"
#include "production/production_db.h"

#include <QDateTime>
#include <QObject>

class QCheckBox;
class QSpinBox;

namespace zr::meter
{
struct ClockInfo;
struct FactoryNumberInfo;
} // namespace zr::meter

namespace zr::production
{
class Scanner;
struct Notice;
struct RecordInput;
} // namespace zr::production

namespace zr::shell
{

class MainWindow;

class ProductionLine : public QObject
{
    Q_OBJECT
public:
    ProductionLine(MainWindow& window, const production::DbOptions& options);
    ~ProductionLine() override;

    // Each activation of the window: workstation, operator and installation, then the clock.
    void Identify();
    // Before a settings write: the computer's clock from the server; false (the error shown) when
    // the server's time could not be read, and then nothing may be queued.
    bool SetClockFromServer();
    // "+": the smallest registered number that has not been programmed yet.
    void BitBtn1Click();
    // After a settings batch that completed without error.
    void RecordAfterSettings();
    // ActionFixDb.
    void ActionFixDbExecute();
    // Display reset: the next meter starts without a number read, lookup or drift.
    void clearData();

    const production::Identity& identity() const { return identity_; }
    production::Scanner* scanner() const { return scanner_; }

signals:
    // Identification refused this workstation, operator or installation: the program must end
    // at once, without saving its settings.
    void stopRequested();

private:
    void FactoryNumberRead(const meter::FactoryNumberInfo& info);
    void ClockRead(const meter::ClockInfo& info);
    void ConnectScanner();
    production::RecordInput CollectInput(bool full) const;
    // Shows a notice; one without a caption is a database error outside a record.
    void Show(const production::Notice& notice);

    MainWindow& window_;
    production::ProductionDb db_;
    production::Identity identity_;
    production::Drift drift_;
    QDateTime lastProgrammed_; // invalid: never programmed, or not looked up
    QString numberText_;       // the factory number text last looked up
    QString identifyError_;    // shown once until the identification succeeds again
    bool identifying_ = false;
    QSpinBox* number_ = nullptr; // SpinEdit_Number
    production::Scanner* scanner_ = nullptr;
};

} // namespace zr::shell
