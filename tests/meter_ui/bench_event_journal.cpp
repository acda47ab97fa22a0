// Benchmark, not a test: the full event journal read from zr347-sim over a pseudo-terminal.
// Reports the total time against the floor of one send-timer period per record, the longest
// stall of the event loop during the read, and the time each list insertion takes.

#include "meter/event_journal.h"
#include "sim_line.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    zr::test::SimLine line;
    if (!line.start()) {
        std::fprintf(stderr, "the simulator did not start or answer\n");
        return 1;
    }
    const int period = line.link.findChild<QTimer*>(QStringLiteral("Timer1"))->interval();

    // A 1 ms ticker: the longest gap between its ticks is the longest stall of the event loop.
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestStall = 0;
    qint64 longestStallAt = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - lastTick > longestStall) {
            longestStall = now - lastTick;
            longestStallAt = now;
        }
        lastTick = now;
    });

    // The insertions themselves, from the list model's point of view.
    QTreeWidget* list = line.journal.ListDiary;
    qint64 insertStarted = 0;
    qint64 insertTotal = 0;
    qint64 insertLongest = 0;
    int inserted = 0;
    QObject::connect(list->model(), &QAbstractItemModel::rowsAboutToBeInserted,
                     [&] { insertStarted = clock.nsecsElapsed(); });
    QObject::connect(list->model(), &QAbstractItemModel::rowsInserted, [&] {
        const qint64 spent = clock.nsecsElapsed() - insertStarted;
        insertTotal += spent;
        insertLongest = std::max(insertLongest, spent);
        ++inserted;
    });

    clock.start();
    ticker.start();
    line.journal.BtnReadDiary->click();
    if (!line.drained(zr::link::ReadEventJournal, 1200000)) {
        std::fprintf(stderr, "the read did not finish\n");
        return 1;
    }
    const qint64 total = clock.elapsed();
    ticker.stop();

    // The binary search over the finished list, once per record, as the page does.
    QElapsedTimer search;
    search.start();
    volatile int sink = 0; // keeps the searches from being optimised away
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        sink = sink + zr::meter::SortedInsertPosition(
                          list->topLevelItemCount(),
                          zr::meter::EventSortKey(list->topLevelItem(i)->text(0)), [list](int k) {
                              return zr::meter::EventSortKey(list->topLevelItem(k)->text(0));
                          });

    const qint64 floor = qint64(zr::meter::kEventRecords) * period;
    std::printf("event journal: %d requests, %d items listed\n", zr::meter::kEventRecords,
                list->topLevelItemCount());
    std::printf("total time: %.1f s; floor %d x %d ms = %.1f s; ratio %.2f\n", total / 1000.0,
                zr::meter::kEventRecords, period, floor / 1000.0, double(total) / floor);
    std::printf("longest event-loop stall: %.2f ms, ending %.1f s into the read\n",
                longestStall / 1e6, longestStallAt / 1e9);
    std::printf("list insertion: %d items, mean %.1f us, longest %.1f us\n", inserted,
                inserted ? insertTotal / 1e3 / inserted : 0.0, insertLongest / 1e3);
    std::printf("search for the place: mean %.2f us\n",
                search.nsecsElapsed() / 1e3 / std::max(1, list->topLevelItemCount()));
    return 0;
}
