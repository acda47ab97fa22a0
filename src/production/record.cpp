#include "production/record.h"

#include "production/drift.h"

namespace zr::production
{

namespace
{

const QString kRecordCaption = QStringLiteral("Ошибка записи в БД");

Notice NotRegistered()
{
    return Notice{kRecordCaption, QStringLiteral("Номер прибора не описан в БД. Установите его.")};
}

Notice DbError(const ProductionDb& db)
{
    return Notice{QString(), db.lastError()};
}

// One transaction: operation, set_zur, and set_pk for a meter that received its number.
Notice Record(ProductionDb& db, const Identity& who, const RecordInput& input, bool full,
              int electroId)
{
    int operationId = 0;
    const int number = input.numberField;
    const bool ok =
        db.transaction() &&
        db.QueryOperation(kProgrammingType, electroId, who.plantId, who.personId,
                          DriftSuccess(input.secPerDay)) &&
        db.QueryMaxOper(who.plantId, &operationId) &&
        db.QueryIns(SetZurValues(input, operationId, full)) &&
        (input.numberRead != 0 || db.QueryInsPlm(operationId, input.version, PlmGroup(number),
                                                 PlmAddress(number), number)) &&
        db.commit();
    if (ok)
        return Notice{};
    const Notice failure{QStringLiteral("Ошибка БД"),
                         QStringLiteral("Ошибка записи в БД: ") + db.lastError()};
    db.rollback();
    return failure;
}

} // namespace

int StatusColumn(int timerFlags, int codeA, int codeB, int codeC)
{
    return (timerFlags % 256 + codeA % 256 + (4 * codeB) % 256 + (16 * codeC) % 256) % 256;
}

int PlmGroup(int number)
{
    const int group = (number % 10000) / 100;
    return group == 0 ? 100 : group;
}

int PlmAddress(int number)
{
    const int address = number % 100;
    return address == 0 ? 100 : address;
}

SetZurRow SetZurValues(const RecordInput& in, int operationId, bool full)
{
    SetZurRow row;
    row.operationId = operationId;
    row.version = in.version;
    row.elType = in.elType;
    row.turnOn = in.turnOn;
    row.status = in.status;
    row.ncorrect = in.ncorrect;
    row.checkSum = in.checkSum;
    row.t = in.t;
    row.secPerDay = in.secPerDay;
    if (!full)
        return row;
    row.address = in.address;
    row.baud = in.baud;
    row.indicator = in.indicator;
    row.dateTime = in.dateTime;
    row.summer = in.summer;
    row.pass = in.pass;
    row.countDay = in.countDay;
    row.countHour = in.countHour;
    row.timeInteg = in.timeInteg;
    row.ddmA = in.ddmA;
    row.ddmB = in.ddmB;
    row.ddmC = in.ddmC;
    row.modeTarif = in.modeTarif;
    return row;
}

Proposal ProposeNumber(ProductionDb& db)
{
    Proposal proposal;
    int number = 0;
    if (!db.QueryMaxSql(kMeterTypeId, &number))
        proposal.notice = DbError(db);
    else if (number != 0)
        proposal.number = number;
    return proposal;
}

LastProgrammed LookupLastProgrammed(ProductionDb& db, int number)
{
    LastProgrammed last;
    if (!db.QueryDelta(number, kMeterTypeId, &last.date))
        last.notice = DbError(db);
    return last;
}

Notice AutomaticRecord(ProductionDb& db, const Identity& who, const RecordInput& input)
{
    const int number = input.numberRead != 0 ? input.numberRead : input.numberField;
    int electroId = 0;
    if (!db.QueryCheckNumber(number, kMeterTypeId, &electroId))
        return DbError(db);
    if (electroId == 0)
        return NotRegistered();
    if (input.numberRead == 0) {
        int holders = 0;
        if (!db.QueryDoubleNumber(input.numberField, &holders))
            return DbError(db);
        if (holders != 0)
            return Notice{kRecordCaption,
                          QStringLiteral("Счетчик с таким Plm-номером уже существует. Обратитесь к "
                                         "главному конструктору прибора.")};
    }
    return Record(db, who, input, true, electroId);
}

Notice ManualRecord(ProductionDb& db, const Identity& who, const RecordInput& input)
{
    int electroId = 0;
    if (!db.QueryCheckNumber(input.numberField, kMeterTypeId, &electroId))
        return DbError(db);
    if (electroId == 0)
        return NotRegistered();
    return Record(db, who, input, false, electroId);
}

} // namespace zr::production
