#pragma once
// The event journal: up to 1600 records, read one by one (function 19), listed by record number.

#include "meter/device_info.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace zr::meter
{

constexpr int kEventRecords = 1600;

// Function 19 for the record indexes 0 to 1599, in increasing order.
QList<QByteArray> EventJournalBatch();

// ListDiary's columns.
enum EventColumn {
    EventColumnNumber, // "Запись №", the item's caption
    EventColumnTime,
    EventColumnStatus,
    EventColumnTariff,
    EventColumnReading,
    EventColumnRunning,
};

struct EventRecord : DecodeResult {
    int index = 0;        // the echoed record index: GaugeJournal's position
    bool present = false; // false: an empty record, no item is added
    uint16_t number = 0;
    QDateTime time;
    uint8_t tariff = 0; // 0 = single-tariff
    double reading = 0.0;
    uint8_t status = 0;
    uint32_t runningSeconds = 0;
    QStringList columns; // the item's texts in EventColumn order, when present
};
EventRecord DecodeEventRecord(const QByteArray& frame, const QLocale& locale = QLocale());

// The list's sort key of a caption: its integer, or -999 when it is not one.
int EventSortKey(const QString& caption);

// The hint over the "Статус" column: the decoded status, one condition per line; empty when
// the column's text is not a status byte.
QString StatusHint(const QString& statusText);

// Where an item with sort key `key` goes in a list of `count` items whose keys, read by
// keyAt(i), ascend: after every item whose key is not greater, so items of equal keys stay in
// the order they arrived. A binary search: at most ceil(log2(count + 1)) calls of keyAt.
template <typename KeyAt> int SortedInsertPosition(int count, int key, KeyAt keyAt)
{
    int lo = 0;
    int hi = count;
    while (lo < hi) {
        const int mid = lo + (hi - lo) / 2;
        if (keyAt(mid) <= key)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace zr::meter
