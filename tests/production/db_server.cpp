#include "db_server.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

namespace zr::production::test
{

namespace
{

const QString kCheck = QStringLiteral("check");

QSqlDatabase Connect()
{
    QSqlDatabase db = QSqlDatabase::contains(kCheck) ? QSqlDatabase::database(kCheck, false)
                                                     : QSqlDatabase::addDatabase("QODBC", kCheck);
    db.close(); // the server may have been restarted since the last use
    db.setDatabaseName(QStringLiteral("Electrometer"));
    db.open();
    return db;
}

} // namespace

DbServer::DbServer()
{
    dir_.setAutoRemove(true);
}

DbServer::~DbServer()
{
    QSqlDatabase::removeDatabase(kCheck);
    stop();
}

bool DbServer::Run(const QString& action)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral(ZR_SOURCE_DIR "/tools/production-db"),
                 {"--dir", dir_.path(), "--bare", action});
    if (!script.waitForFinished(60000) || script.exitCode() != 0) {
        error_ = QString::fromLocal8Bit(script.readAll());
        return false;
    }
    return true;
}

bool DbServer::start()
{
    if (!dir_.isValid() || !Run(QStringLiteral("start")))
        return false;
    qputenv("ODBCSYSINI", dir_.path().toLocal8Bit());
    qputenv("ODBCINI", (dir_.path() + "/odbc.ini").toLocal8Bit());
    return true;
}

bool DbServer::stop()
{
    return Run(QStringLiteral("stop"));
}

bool DbServer::exec(const QStringList& statements)
{
    QSqlDatabase db = Connect();
    QSqlQuery query(db);
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
            return false;
        }
    }
    return true;
}

QList<QStringList> DbServer::rows(const QString& statement)
{
    QSqlDatabase db = Connect();
    QSqlQuery query(db);
    QList<QStringList> result;
    if (!query.exec(statement)) {
        qWarning("%s: %s", qPrintable(statement), qPrintable(query.lastError().text()));
        return result;
    }
    while (query.next()) {
        QStringList row;
        for (int i = 0; i < query.record().count(); ++i)
            row << (query.isNull(i) ? QStringLiteral("NULL") : query.value(i).toString());
        result << row;
    }
    return result;
}

int DbServer::value(const QString& statement)
{
    const QList<QStringList> result = rows(statement);
    return result.isEmpty() ? -1 : result.first().value(0).toInt();
}

} // namespace zr::production::test
