// Long random sequences of editor actions, checked after every step against a plain reference:
// a 12 x 8 array of day profiles updated the obvious way.

#include "support.h"

#include "schedule/file.h"

#include <array>

using namespace zr::schedule;
using namespace zr::schedule::test;

namespace
{

// splitmix64: the same sequence on every platform and library.
class Random
{
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    int below(int n)
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return int((z ^ (z >> 31)) % uint64_t(n));
    }

private:
    uint64_t state_;
};

struct Step {
    enum Kind { Click, ShiftClick, CtrlClick, Insert, Update, Delete, Commit, Revert, SaveLoad };
    Kind kind;
    Cell cell;   // clicks
    Zone zone;   // zone edits; Delete uses its time
    bool answer; // clicks with pending changes: Yes commits, No reverts
};

QString Describe(const Step& s)
{
    static const char* const names[] = {"click",  "shift-click", "ctrl-click",
                                        "insert", "update",      "delete",
                                        "commit", "revert",      "save and load"};
    QString text = QString::fromLatin1(names[s.kind]);
    if (s.kind <= Step::CtrlClick)
        text += QStringLiteral(" (%1, %2), answer %3")
                    .arg(s.cell.month)
                    .arg(s.cell.dayType)
                    .arg(s.answer ? "Yes" : "No");
    else if (s.kind == Step::Delete)
        text += ' ' + s.zone.time;
    else if (s.kind <= Step::Update)
        text += QStringLiteral(" %1 t%2 l%3 lt%4")
                    .arg(s.zone.time)
                    .arg(s.zone.tariff)
                    .arg(s.zone.limit)
                    .arg(s.zone.limitTariff);
    return text;
}

Step RandomStep(Random& r)
{
    static const char* const times[] = {"00:00", "06:00", "07:30", "12:00", "23:59"};
    Step s{};
    const int pick = r.below(100);
    s.kind = pick < 12   ? Step::Click
             : pick < 27 ? Step::ShiftClick
             : pick < 37 ? Step::CtrlClick
             : pick < 60 ? Step::Insert
             : pick < 72 ? Step::Update
             : pick < 84 ? Step::Delete
             : pick < 90 ? Step::Commit
             : pick < 96 ? Step::Revert
                         : Step::SaveLoad;
    // Mostly a corner of the table, so that edits overlap; sometimes anywhere.
    const bool corner = r.below(4) != 0;
    s.cell = {1 + r.below(corner ? 4 : kMonths), 1 + r.below(corner ? 3 : kDayTypes)};
    const int tariff = 1 + r.below(3);
    const int limit = r.below(3) == 0 ? 5 : 0;
    s.zone = {QString::fromLatin1(times[r.below(5)]), uint8_t(tariff), uint8_t(limit),
              uint8_t(limit ? tariff % 3 + 1 : tariff)};
    s.answer = r.below(2) != 0;
    return s;
}

using Profiles = std::array<QVector<Zone>, kMonths * kDayTypes>;
int Index(Cell c)
{
    return (c.month - 1) * kDayTypes + c.dayType - 1;
}

// The reference: what each cell's profile is meant to be, and the editor state around it.
struct Reference {
    Profiles working, committed;
    std::array<bool, kMonths * kDayTypes> selected{};
    Cell current;
    bool pending = false;

    Reference() { selected[0] = true; }

    void selectOnly(Cell c)
    {
        selected.fill(false);
        selected[Index(c)] = true;
    }
    // Every selected cell takes the current cell's profile.
    void spread()
    {
        for (int i = 0; i < int(working.size()); ++i)
            if (selected[i] && working[i] != working[Index(current)]) {
                working[i] = working[Index(current)];
                pending = true;
            }
    }
    void setZone(const QString& time, const Zone* zone)
    {
        QVector<Zone>& p = working[Index(current)];
        p.erase(std::remove_if(p.begin(), p.end(), [&](const Zone& z) { return z.time == time; }),
                p.end());
        if (zone)
            p.append(*zone);
        std::sort(p.begin(), p.end());
        pending = true;
        spread();
    }
    void commit()
    {
        committed = working;
        pending = false;
    }
    void revert()
    {
        working = committed;
        selectOnly(current);
        pending = false;
    }
};

// What the editor does on a mouse release in a data cell (after the press in the same cell).
void Click(Schedule& s, Reference& ref, const Step& step)
{
    const Cell p = step.cell;
    const Cell c = s.current();
    if (step.kind == Step::Click || p == c) {
        s.SelectOnly(p);
        ref.selectOnly(p);
        if (step.kind == Step::Click) {
            s.SetCurrent(p);
            ref.current = p;
        }
    } else if (step.kind == Step::CtrlClick) {
        const bool on = !s.flags(p).selected;
        s.SetSelected(p, on);
        ref.selected[Index(p)] = on;
    } else {
        s.SelectRectangle(c, p);
        for (int m = 1; m <= kMonths; ++m)
            for (int d = 1; d <= kDayTypes; ++d)
                ref.selected[Index({m, d})] =
                    m >= std::min(c.month, p.month) && m <= std::max(c.month, p.month) &&
                    d >= std::min(c.dayType, p.dayType) && d <= std::max(c.dayType, p.dayType);
    }
    if (s.pending()) {
        if (step.answer) {
            s.Commit();
            ref.commit();
        } else {
            s.Revert();
            ref.revert();
        }
    }
    s.EquivalentDays();
    s.EditDays();
    ref.spread();
}

void Apply(Schedule& s, Reference& ref, const Step& step)
{
    switch (step.kind) {
    case Step::Click:
    case Step::ShiftClick:
    case Step::CtrlClick:
        Click(s, ref, step);
        break;
    case Step::Insert:
    case Step::Update:
        if (step.kind == Step::Insert ? s.InsertTZone(step.zone) : s.UpdateTZone(step.zone))
            ref.setZone(step.zone.time, &step.zone);
        break;
    case Step::Delete:
        if (s.DeleteTZone(step.zone.time))
            ref.setZone(step.zone.time, nullptr);
        break;
    case Step::Commit:
        s.Commit();
        ref.commit();
        break;
    case Step::Revert:
        s.Revert();
        ref.revert();
        break;
    case Step::SaveLoad: {
        const QByteArray image = BuildFileImage(s);
        ref.commit();
        QString error;
        if (!LoadFileImage(s, image, &error))
            qFatal("a saved schedule did not load: %s", qPrintable(error));
        ref.selectOnly(ref.current);
        break;
    }
    }
}

QString ProfileText(const QVector<Zone>& p)
{
    QStringList zones;
    for (const Zone& z : p)
        zones << QStringLiteral("%1/%2/%3/%4")
                     .arg(z.time)
                     .arg(z.tariff)
                     .arg(z.limit)
                     .arg(z.limitTariff);
    return '[' + zones.join(' ') + ']';
}

// Empty when the model agrees with the reference and keeps its invariants.
QString Check(const Schedule& s, const Reference& ref)
{
    for (int m = 1; m <= kMonths; ++m)
        for (int d = 1; d <= kDayTypes; ++d) {
            const Cell c{m, d};
            const QString where = QStringLiteral("cell (%1, %2): ").arg(m).arg(d);
            const QVector<Zone> p = s.profile(c);
            if (p != ref.working[Index(c)])
                return where + "profile " + ProfileText(p) + ", expected " +
                       ProfileText(ref.working[Index(c)]);
            if (ProfileOf(s.committed(), c) != ref.committed[Index(c)])
                return where + "committed profile " + ProfileText(ProfileOf(s.committed(), c)) +
                       ", expected " + ProfileText(ref.committed[Index(c)]);
            for (int i = 1; i < p.size(); ++i)
                if (p[i].time == p[i - 1].time)
                    return where + "two zones at " + p[i].time;
            const CellFlags f = s.flags(c);
            const bool midnight = !p.isEmpty() && p.first().time == QLatin1String("00:00");
            if (f.empty != p.isEmpty() || f.noMidnight == midnight)
                return where + "empty or no-midnight flag wrong";
            if (f.selected != ref.selected[Index(c)])
                return where + "selection differs";
        }
    if (s.current() != ref.current)
        return "current cell differs";
    if (s.pending() != ref.pending)
        return QStringLiteral("pending is %1").arg(s.pending());
    for (const QVector<AList>* list : {&s.working(), &s.committed()})
        for (int a = 0; a < list->size(); ++a) {
            const AList& ra = list->at(a);
            if (ra.days == 0 || ra.months == 0 || (ra.months & 0xF000))
                return QStringLiteral("record %1 has an empty or foreign set").arg(a);
            for (int b = a + 1; b < list->size(); ++b) {
                const AList& rb = list->at(b);
                if (ra.zone == rb.zone && (ra.days == rb.days || ra.months == rb.months))
                    return QStringLiteral("records %1 and %2 of one zone share a set")
                        .arg(a)
                        .arg(b);
            }
        }
    return {};
}

// Runs the steps on a fresh schedule; the first disagreement, with the step that showed it.
QString Run(const QVector<Step>& steps, int* failedAt = nullptr)
{
    Schedule s;
    Reference ref;
    for (int i = 0; i < steps.size(); ++i) {
        Apply(s, ref, steps[i]);
        const QString problem = Check(s, ref);
        if (!problem.isEmpty()) {
            if (failedAt)
                *failedAt = i;
            return problem;
        }
    }
    return {};
}

// Drops steps one at a time while the run still fails, until no single step can go.
QVector<Step> Shrink(QVector<Step> steps)
{
    for (bool shrunk = true; shrunk;) {
        shrunk = false;
        for (int i = 0; i < steps.size(); ++i) {
            QVector<Step> fewer = steps;
            fewer.removeAt(i);
            if (!Run(fewer).isEmpty()) {
                steps = fewer;
                shrunk = true;
                --i;
            }
        }
    }
    return steps;
}

} // namespace

class TestRandomEdits : public QObject
{
    Q_OBJECT
private slots:
    void sequences_data()
    {
        QTest::addColumn<quint64>("seed");
        for (quint64 seed = 1; seed <= 60; ++seed)
            QTest::addRow("seed %llu", static_cast<unsigned long long>(seed)) << seed;
    }
    void sequences()
    {
        QFETCH(quint64, seed);
        Random r(seed);
        QVector<Step> steps;
        for (int i = 0; i < 150; ++i)
            steps.append(RandomStep(r));
        int failedAt = -1;
        const QString problem = Run(steps, &failedAt);
        if (problem.isEmpty())
            return;
        const QVector<Step> shortest = Shrink(steps.mid(0, failedAt + 1));
        QString report = QStringLiteral("seed %1, step %2: %3\nshortest sequence (%4 steps):")
                             .arg(seed)
                             .arg(failedAt + 1)
                             .arg(problem)
                             .arg(shortest.size());
        for (const Step& step : shortest)
            report += "\n  " + Describe(step);
        report += "\n  -> " + Run(shortest);
        QFAIL(qPrintable(report));
    }
};

QObject* NewRandomEditTest()
{
    return new TestRandomEdits;
}

#include "test_random_edits.moc"
