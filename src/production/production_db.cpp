#include "production/production_db.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

namespace zr::production
{

namespace
{

QString Lines(std::initializer_list<const char*> lines)
{
    QStringList text;
    for (const char* line : lines)
        text << QString::fromUtf8(line);
    return text.join(QLatin1Char('\n'));
}

const QString kComputer = Lines({"SELECT * FROM computer", "WHERE name = :name"});
const QString kPerson =
    Lines({"SELECT * FROM operator", "WHERE login = :login", "AND operating = 1"});
const QString kPlant =
    Lines({"SELECT * FROM plant", "WHERE type_id = 3", "AND computer_id = :computer_id"});
const QString kTime = Lines({"SELECT getdate()"});
const QString kCheckNumber =
    Lines({"SELECT * FROM electrometer", "WHERE number = :number ", "AND type_id = :type_id"});
const QString kMaxSql =
    Lines({"SELECT MIN(number) FROM electrometer", "WHERE type_id = :type_id",
           "AND NOT electro_id IN (SELECT electro_id FROM operation", "  WHERE type_id = 3)"});
const QString kDelta = Lines({"SELECT MAX(date_time) FROM set_zur",
                              "WHERE operation_id IN (SELECT operation_id FROM operation",
                              "  WHERE electro_id = (SELECT electro_id FROM electrometer",
                              "     WHERE number = :number AND type_id = :type_id))"});
const QString kDoubleNumber = Lines({"SELECT COUNT(*) FROM set_pk", "WHERE plm_number = :number"});
const QString kOperation =
    Lines({"INSERT INTO operation(type_id,electro_id,plant_id,person_id,success)",
           "VALUES(:type_id,:electro_id,:plant_id,:person_id,:success)"});
const QString kMaxOper =
    Lines({"SELECT MAX(operation_id) FROM operation", "WHERE plant_id = :plant_id"});
const QString kIns =
    Lines({"INSERT INTO set_zur(operation_id,version,el_type,address,baud,turn_on,",
           "  status,date_time,summer,check_sum,pass,t,count_day,count_hour,ncorrect,",
           "  indicator,time_integ,ddm_a,ddm_b,ddm_c,mode_tarif,secperday)",
           "VALUES(:operation_id,:version,:el_type,:address,:baud,:turn_on,:status,",
           "  :date_time,:summer,:check_sum,:pass,:t,:count_day,:count_hour,:ncorrect,",
           "  :indicator,:time_integ,:ddm_a,:ddm_b,:ddm_c,:mode_tarif,:secperday)"});
const QString kInsPlm =
    Lines({"INSERT INTO set_pk(operation_id,version,plm_group,plm_address,", "  plm_number)",
           "VALUES(:operation_id,:version,:plm_group,:plm_address,:plm_number)"});

// A value of the column's type, or a NULL of that type.
template <typename T> QVariant Typed(const std::optional<T>& value)
{
    return value ? QVariant::fromValue(*value) : QVariant(QMetaType::fromType<T>());
}

int IntOf(const QVariant& value)
{
    return value.isNull() ? 0 : value.toInt();
}

} // namespace

ProductionDb::ProductionDb(const DbOptions& options)
{
    static QAtomicInt serial;
    connection_ = QStringLiteral("production-%1").arg(serial.fetchAndAddRelaxed(1));
    QSqlDatabase db = QSqlDatabase::addDatabase(options.driver, connection_);
    db.setDatabaseName(options.database);
    if (!options.host.isEmpty())
        db.setHostName(options.host);
    if (options.port > 0)
        db.setPort(options.port);
    if (!options.user.isEmpty())
        db.setUserName(options.user);
    if (!options.password.isEmpty())
        db.setPassword(options.password);
    db.setConnectOptions(options.connectOptions);
}

ProductionDb::~ProductionDb()
{
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

bool ProductionDb::Fail(const QString& error)
{
    error_ = error;
    reopen_ = true;
    return false;
}

bool ProductionDb::Open()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.isValid())
        return Fail(QStringLiteral("Драйвер базы данных недоступен: ") + db.lastError().text());
    if (reopen_)
        db.close(); // the failure may have been a lost connection
    reopen_ = false;
    if (!db.isOpen() && !db.open())
        return Fail(db.lastError().text());
    return true;
}

bool ProductionDb::Exec(QSqlQuery& query, const QString& statement, const Bindings& bindings)
{
    query.setForwardOnly(true);
    if (!query.prepare(statement))
        return Fail(query.lastError().text());
    for (const auto& [name, value] : bindings)
        query.bindValue(QLatin1Char(':') + name, value);
    if (!query.exec())
        return Fail(query.lastError().text());
    return true;
}

bool ProductionDb::Select(const QString& statement, const Bindings& bindings, const QString& field,
                          QVariant* value)
{
    *value = QVariant();
    if (!Open())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    if (!Exec(query, statement, bindings))
        return false;
    if (query.next())
        *value = field.isEmpty() ? query.value(0) : query.value(field);
    return true;
}

bool ProductionDb::QueryComputer(const QString& name, int* computerId)
{
    QVariant v;
    const bool ok = Select(kComputer, {{"name", name}}, QStringLiteral("computer_id"), &v);
    *computerId = IntOf(v);
    return ok;
}

bool ProductionDb::QueryPerson(const QString& login, int* personId)
{
    QVariant v;
    const bool ok = Select(kPerson, {{"login", login}}, QStringLiteral("person_id"), &v);
    *personId = IntOf(v);
    return ok;
}

bool ProductionDb::QueryPlant(int computerId, int* plantId)
{
    QVariant v;
    const bool ok = Select(kPlant, {{"computer_id", computerId}}, QStringLiteral("plant_id"), &v);
    *plantId = IntOf(v);
    return ok;
}

bool ProductionDb::QueryTime(QDateTime* now)
{
    QVariant v;
    const bool ok = Select(kTime, {}, QString(), &v);
    *now = v.isNull() ? QDateTime() : v.toDateTime();
    return ok;
}

bool ProductionDb::QueryCheckNumber(int number, int typeId, int* electroId)
{
    QVariant v;
    const bool ok = Select(kCheckNumber, {{"number", number}, {"type_id", typeId}},
                           QStringLiteral("electro_id"), &v);
    *electroId = IntOf(v);
    return ok;
}

bool ProductionDb::QueryMaxSql(int typeId, int* number)
{
    QVariant v;
    const bool ok = Select(kMaxSql, {{"type_id", typeId}}, QString(), &v);
    *number = IntOf(v);
    return ok;
}

bool ProductionDb::QueryDelta(int number, int typeId, QDateTime* lastProgrammed)
{
    QVariant v;
    const bool ok = Select(kDelta, {{"number", number}, {"type_id", typeId}}, QString(), &v);
    *lastProgrammed = v.isNull() ? QDateTime() : v.toDateTime();
    return ok;
}

bool ProductionDb::QueryDoubleNumber(int number, int* count)
{
    QVariant v;
    const bool ok = Select(kDoubleNumber, {{"number", number}}, QString(), &v);
    *count = IntOf(v);
    return ok;
}

bool ProductionDb::QueryOperation(int typeId, int electroId, int plantId, int personId,
                                  bool success)
{
    if (!Open())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    return Exec(query, kOperation,
                {{"type_id", typeId},
                 {"electro_id", electroId},
                 {"plant_id", plantId},
                 {"person_id", personId},
                 {"success", success}});
}

bool ProductionDb::QueryMaxOper(int plantId, int* operationId)
{
    QVariant v;
    const bool ok = Select(kMaxOper, {{"plant_id", plantId}}, QString(), &v);
    *operationId = IntOf(v);
    return ok;
}

bool ProductionDb::QueryIns(const SetZurRow& row)
{
    if (!Open())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    return Exec(query, kIns,
                {{"operation_id", row.operationId},
                 {"version", Typed(row.version)},
                 {"el_type", Typed(row.elType)},
                 {"address", Typed(row.address)},
                 {"baud", Typed(row.baud)},
                 {"turn_on", Typed(row.turnOn)},
                 {"status", Typed(row.status)},
                 {"date_time", Typed(row.dateTime)},
                 {"summer", Typed(row.summer)},
                 {"check_sum", Typed(row.checkSum)},
                 {"pass", Typed(row.pass)},
                 {"t", Typed(row.t)},
                 {"count_day", Typed(row.countDay)},
                 {"count_hour", Typed(row.countHour)},
                 {"ncorrect", Typed(row.ncorrect)},
                 {"indicator", Typed(row.indicator)},
                 {"time_integ", Typed(row.timeInteg)},
                 {"ddm_a", Typed(row.ddmA)},
                 {"ddm_b", Typed(row.ddmB)},
                 {"ddm_c", Typed(row.ddmC)},
                 {"mode_tarif", Typed(row.modeTarif)},
                 {"secperday", Typed(row.secPerDay)}});
}

bool ProductionDb::QueryInsPlm(int operationId, const QString& version, int plmGroup,
                               int plmAddress, int plmNumber)
{
    if (!Open())
        return false;
    QSqlQuery query(QSqlDatabase::database(connection_, false));
    return Exec(query, kInsPlm,
                {{"operation_id", operationId},
                 {"version", version},
                 {"plm_group", plmGroup},
                 {"plm_address", plmAddress},
                 {"plm_number", plmNumber}});
}

bool ProductionDb::transaction()
{
    if (!Open())
        return false;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    return db.transaction() || Fail(db.lastError().text());
}

bool ProductionDb::commit()
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    return db.commit() || Fail(db.lastError().text());
}

void ProductionDb::rollback()
{
    QSqlDatabase::database(connection_, false).rollback();
}

} // namespace zr::production
