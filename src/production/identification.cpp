#include "production/identification.h"

#include "platform/system_clock.h"

namespace zr::production
{

namespace
{

const QString kStopped = QStringLiteral("Приложение остановлено");

Notice Stop(const QString& text)
{
    return Notice{kStopped, text, true};
}

Notice DbError(const ProductionDb& db)
{
    return Notice{QString(), db.lastError(), false};
}

} // namespace

QString LoginForLookup(const QString& login)
{
    return login.size() > 31 ? QString() : login;
}

Identification Identify(ProductionDb& db, const QString& computerName, const QString& login)
{
    Identification result;
    Identity& id = result.identity;
    if (!db.QueryComputer(computerName, &id.computerId)) {
        result.notice = DbError(db);
        return result;
    }
    if (id.computerId == 0) {
        result.notice = Stop(QStringLiteral("Компьютер \"%1\" не описан в БД.").arg(computerName));
        return result;
    }
    const QString name = LoginForLookup(login);
    if (!db.QueryPerson(name, &id.personId)) {
        result.notice = DbError(db);
        return result;
    }
    if (id.personId == 0) {
        result.notice = Stop(QStringLiteral("Пользователь \"%1\" не описан в БД.").arg(name));
        return result;
    }
    if (!db.QueryPlant(id.computerId, &id.plantId)) {
        result.notice = DbError(db);
        return result;
    }
    if (id.plantId == 0) {
        result.notice = Stop(QStringLiteral("Установка не описана в БД."));
        return result;
    }
    result.notice = SetClockFromServer(db);
    return result;
}

Notice SetClockFromServer(ProductionDb& db)
{
    QDateTime now;
    if (!db.QueryTime(&now))
        return DbError(db);
    if (now.isValid())
        platform::SetLocalClock(now); // a refusal of the system is not examined
    return Notice{};
}

} // namespace zr::production
