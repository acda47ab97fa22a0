#include "shell/app_settings.h"

#include <QVariant>
#include <algorithm>
#include <optional>
#include <utility>

namespace zr::shell
{

namespace
{

constexpr int kMinTimeout = 200;
constexpr int kMaxTimeout = 10000;
constexpr int kMaxDdmNumber = 16777215;
constexpr int kBaudItems = 4;

const QString kPort = QStringLiteral("Port");
const QString kScanner = QStringLiteral("Scaner");
const QString kBaudRead = QStringLiteral("BaudRate");
const QString kBaudWritten = QStringLiteral("Baudrate");
const QString kTimeout = QStringLiteral("Timeout");
const QString kMaster = QStringLiteral("Master");
const QString kNoUser = QStringLiteral("NoUser");
const QString kDdm[3] = {QStringLiteral("DDMA"), QStringLiteral("DDMB"), QStringLiteral("DDMC")};
const QString kScan = QStringLiteral("Scan");

using production::DbOptions;
const std::pair<QString, QString DbOptions::*> kDbTexts[] = {
    {QStringLiteral("Database/Driver"), &DbOptions::driver},
    {QStringLiteral("Database/Name"), &DbOptions::database},
    {QStringLiteral("Database/Host"), &DbOptions::host},
    {QStringLiteral("Database/User"), &DbOptions::user},
    {QStringLiteral("Database/Password"), &DbOptions::password},
    {QStringLiteral("Database/Options"), &DbOptions::connectOptions},
};
const QString kDbPort = QStringLiteral("Database/Port");
constexpr int kMaxDbPort = 65535;

class Reader
{
public:
    explicit Reader(QSettings& settings) : settings_(settings) {}

    // The integer stored under `name`, or nothing when it is absent or of the wrong type (then
    // reported with the default that stays in force).
    std::optional<qint64> integer(const QString& name, const QString& defaultText)
    {
        const QVariant v = settings_.value(name);
        if (!v.isValid())
            return std::nullopt;
        bool ok = false;
        const qint64 n = isList(v) ? 0 : v.toLongLong(&ok);
        if (!ok) {
            wrongType(name, v, defaultText);
            return std::nullopt;
        }
        return n;
    }

    void clamped(const QString& name, int& field, int lo, int hi)
    {
        if (const auto n = integer(name, QString::number(field)))
            field = int(std::clamp<qint64>(*n, lo, hi));
    }

    void boolean(const QString& name, bool& field)
    {
        const QVariant v = settings_.value(name);
        if (!v.isValid())
            return;
        bool ok = false;
        const qint64 n = isList(v) ? 0 : v.toLongLong(&ok);
        const QString text = v.toString().toLower();
        if (ok)
            field = n != 0;
        else if (!isList(v) && (text == u"true" || text == u"false"))
            field = text == u"true";
        else
            wrongType(name, v, field ? QStringLiteral("1") : QStringLiteral("0"));
    }

    void text(const QString& name, QString& field)
    {
        const QVariant v = settings_.value(name);
        if (!v.isValid())
            return;
        if (isList(v))
            wrongType(name, v, field);
        else
            field = v.toString();
    }

    QStringList problems;

private:
    static bool isList(const QVariant& v) { return v.typeId() == QMetaType::QStringList; }

    void wrongType(const QString& name, const QVariant& v, const QString& defaultText)
    {
        const QString shown =
            isList(v) ? v.toStringList().join(QStringLiteral(", ")) : v.toString();
        problems.append(QStringLiteral("Значение «%1» в настройках программы имеет неверный тип "
                                       "(«%2»); используется значение по умолчанию «%3».")
                            .arg(name, shown, defaultText));
    }

    QSettings& settings_;
};

} // namespace

std::unique_ptr<QSettings> UserSettings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       kSettingsOrganisation, kSettingsApplication);
}

LoadedSettings LoadAppSettings(QSettings& settings, bool windowsPortRules)
{
    AppSettings v;
    Reader r(settings);
    if (windowsPortRules) {
        for (auto [name, field] : {std::pair{kPort, &v.meterPort}, {kScanner, &v.scannerPort}}) {
            if (const auto n = r.integer(name, *field))
                *field = QString::number(*n);
        }
    } else {
        r.text(kPort, v.meterPort);
        r.text(kScanner, v.scannerPort);
    }
    // The registry compares value names without regard to case; a settings file does not, so the
    // name this program writes is looked up first.
    const QString baudName = settings.contains(kBaudWritten) ? kBaudWritten : kBaudRead;
    if (const auto n = r.integer(baudName, QString::number(v.baudIndex)))
        v.baudIndex = *n >= 0 && *n < kBaudItems ? int(*n) : -1;
    r.clamped(kTimeout, v.timeoutMs, kMinTimeout, kMaxTimeout);
    v.master = settings.contains(kMaster);
    v.noUser = settings.contains(kNoUser);
    for (int i = 0; i < 3; ++i)
        r.clamped(kDdm[i], v.ddmNumbers[i], 0, kMaxDdmNumber);
    r.boolean(kScan, v.scanner);
    for (const auto& [name, field] : kDbTexts)
        r.text(name, v.database.*field);
    r.clamped(kDbPort, v.database.port, 0, kMaxDbPort);
    return {v, r.problems};
}

void SaveAppSettings(QSettings& settings, const AppSettings& values, bool productionMode,
                     bool windowsPortRules)
{
    for (auto [name, port] : {std::pair{kPort, values.meterPort}, {kScanner, values.scannerPort}}) {
        if (windowsPortRules) {
            if (const int n = port.toInt())
                settings.setValue(name, n);
        } else if (!port.isEmpty()) {
            settings.setValue(name, port);
        }
    }
    settings.setValue(kBaudWritten, values.baudIndex);
    settings.setValue(kTimeout, values.timeoutMs);
    if (productionMode) {
        for (int i = 0; i < 3; ++i) {
            if (values.ddmNumbers[i] > 0)
                settings.setValue(kDdm[i], values.ddmNumbers[i]);
        }
    }
    // A DWORD 0 or 1, as the registry holds booleans.
    settings.setValue(kScan, values.scanner ? 1 : 0);
    // A site on the defaults keeps no "Database" group, and no password is ever written unless an
    // administrator stored one.
    const DbOptions defaults;
    for (const auto& [name, field] : kDbTexts) {
        if (values.database.*field != defaults.*field)
            settings.setValue(name, values.database.*field);
    }
    if (values.database.port != defaults.port)
        settings.setValue(kDbPort, values.database.port);
    settings.sync();
}

} // namespace zr::shell
