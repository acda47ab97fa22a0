#include "schedule/file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace zr::schedule
{

namespace
{

constexpr int kTransferOffset = kHolidayTableSize + 2;
constexpr int kCoefficientOffset = kTransferOffset + kTransferTableSize + 2;
static_assert(kCoefficientOffset + 3 == kFileHeaderSize);

const QByteArray kSeparator("\r\n");

QString FileName(const QString& path)
{
    return QFileInfo(path).fileName();
}

// The transfer table with its entries dated after 2099 zeroed (a zero entry is skipped).
QByteArray WithoutLateTransfers(QByteArray table, QStringList* dropped)
{
    for (int i = 0; i < kMaxTransfers; ++i) {
        const TransferEntry e = UnpackTransfer(table.mid(4 * i, 4));
        if (!e.late)
            continue;
        table.replace(4 * i, 4, QByteArray(4, '\0'));
        dropped->append(TransferRefusalText({i, e.reason}, kTransferOffset + 4 * i));
    }
    return table;
}

} // namespace

QByteArray BuildFileImage(Schedule& schedule)
{
    const QVector<QByteArray> records = schedule.SaveRecords();
    QByteArray image;
    image.reserve(kFileHeaderSize + kFileRecordSize * records.size());
    image += schedule.GetHolidays() + kSeparator;
    image += schedule.GetTransfers() + kSeparator;
    image += char(schedule.coefficient()) + kSeparator;
    for (const QByteArray& r : records)
        image += r + kSeparator;
    return image;
}

bool LoadFileImage(Schedule& schedule, const QByteArray& image, QString* error,
                   QStringList* dropped)
{
    if (image.size() < kFileHeaderSize) {
        *error = QStringLiteral("Файл слишком короткий: %1 байт, а таблицы праздников и переносов "
                                "с коэффициентом лимита занимают %2 байта.")
                     .arg(image.size())
                     .arg(kFileHeaderSize);
        return false;
    }
    QVector<QByteArray> records;
    for (int pos = kFileHeaderSize; pos < image.size(); pos += kFileRecordSize) {
        if (image.size() - pos < kPackedZoneSize) {
            *error = QStringLiteral("Неполная запись зоны № %1 в конце файла (смещение %2): "
                                    "%3 байт вместо %4.")
                         .arg(records.size() + 1)
                         .arg(pos)
                         .arg(image.size() - pos)
                         .arg(kPackedZoneSize);
            return false;
        }
        records.append(image.mid(pos, kPackedZoneSize));
    }

    // Applied to a copy, so that a refusal anywhere leaves every part of the schedule as it was.
    Schedule next = schedule;
    next.SetHolidays(image.left(kHolidayTableSize));
    QStringList late;
    const Refusal transfer = next.SetTransfers(
        WithoutLateTransfers(image.mid(kTransferOffset, kTransferTableSize), &late));
    if (transfer.refused()) {
        *error = TransferRefusalText(transfer, kTransferOffset + 4 * transfer.index);
        return false;
    }
    next.SetCoefficient(uint8_t(image[kCoefficientOffset]));
    const Refusal zone = next.LoadRecords(records);
    if (zone.refused()) {
        *error = ZoneRefusalText(zone, kFileHeaderSize + kFileRecordSize * zone.index);
        return false;
    }
    schedule = std::move(next);
    if (dropped)
        *dropped = late;
    return true;
}

bool LoadScheduleFile(Schedule& schedule, const QString& path, QString* error, QStringList* dropped)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Не удалось открыть файл «%1»: %2")
                     .arg(FileName(path), file.errorString());
        return false;
    }
    if (file.size() > kMaxFileSize) {
        *error = QStringLiteral("Файл «%1» не загружен.\nФайл слишком велик для тарифного "
                                "расписания: %2 байт.")
                     .arg(FileName(path))
                     .arg(file.size());
        return false;
    }
    const QByteArray image = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Не удалось прочитать файл «%1»: %2")
                     .arg(FileName(path), file.errorString());
        return false;
    }
    QString reason;
    if (!LoadFileImage(schedule, image, &reason, dropped)) {
        *error = QStringLiteral("Файл «%1» не загружен.\n%2").arg(FileName(path), reason);
        return false;
    }
    return true;
}

bool WriteFileImage(const QString& path, const QByteArray& image, QString* error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        *error = QStringLiteral("Не удалось сохранить файл «%1»: %2")
                     .arg(FileName(path), file.errorString());
        return false;
    }
    return true;
}

} // namespace zr::schedule
