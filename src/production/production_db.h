#pragma once
// The connection to the production database and its twelve statements. The connection opens on
// the first statement and stays open; after a failed statement it is reopened on the next one,
// so a server that went away and came back is reached again.
//
// A selecting statement reads the first row's field; an empty result or a NULL reads as 0 (an
// invalid date-time for date-time fields). Every statement returns false on a database error,
// whose text lastError() then gives.

#include "production/db_options.h"

#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

class QSqlQuery;

namespace zr::production
{

// The meter kind this program records (electrometer.type_id).
constexpr int kMeterTypeId = 37;
// operation.type_id and plant.type_id of programming.
constexpr int kProgrammingType = 3;

// The parameters of QueryIns; an empty value is stored as NULL.
struct SetZurRow {
    int operationId = 0;
    std::optional<QString> version, elType, baud, turnOn, pass;
    std::optional<int> address, status, checkSum, countDay, countHour, ncorrect, indicator,
        timeInteg, ddmA, ddmB, ddmC, modeTarif;
    std::optional<QDateTime> dateTime;
    std::optional<bool> summer;
    std::optional<double> t, secPerDay;
};

class ProductionDb
{
public:
    explicit ProductionDb(const DbOptions& options = {});
    ~ProductionDb();
    ProductionDb(const ProductionDb&) = delete;
    ProductionDb& operator=(const ProductionDb&) = delete;

    QString lastError() const { return error_; }

    bool QueryComputer(const QString& name, int* computerId);
    bool QueryPerson(const QString& login, int* personId);
    bool QueryPlant(int computerId, int* plantId);
    bool QueryTime(QDateTime* now);
    bool QueryCheckNumber(int number, int typeId, int* electroId);
    bool QueryMaxSql(int typeId, int* number);
    bool QueryDelta(int number, int typeId, QDateTime* lastProgrammed);
    bool QueryDoubleNumber(int number, int* count);
    bool QueryOperation(int typeId, int electroId, int plantId, int personId, bool success);
    bool QueryMaxOper(int plantId, int* operationId);
    bool QueryIns(const SetZurRow& row);
    bool QueryInsPlm(int operationId, const QString& version, int plmGroup, int plmAddress,
                     int plmNumber);

    bool transaction();
    bool commit();
    void rollback();

private:
    using Bindings = QList<QPair<QString, QVariant>>;
    bool Open();
    bool Exec(QSqlQuery& query, const QString& statement, const Bindings& bindings);
    bool Select(const QString& statement, const Bindings& bindings, const QString& field,
                QVariant* value);
    bool Fail(const QString& error);

    QString connection_;
    QString error_;
    bool reopen_ = false;
};

} // namespace zr::production
