#include "Measurement.h"

#include <algorithm>
#include <cmath>

#include "Allocations.h"
#include "Clock.h"

namespace {

// Seconds per call of body over count calls; -1 on a failure.
double Batch(const std::function<HRESULT()> &body, long long count)
{
    const double start = Seconds();
    for (long long i = 0; i < count; ++i)
        if (FAILED(body())) return -1.0;
    return (Seconds() - start) / static_cast<double>(count);
}

// Short rounds, many of them, alternating both sides: on a busy machine the
// fastest round is the one no other process interrupted.
constexpr double secondsPerRound = 0.002;

// Calls per round, and rounds, so that one side takes about the given time.
void Plan(const std::function<HRESULT()> &body, const Timing &timing, long long &calls, int &rounds)
{
    const double once = Batch(body, 1);
    if (once < 0) {
        calls = 0;
        return;
    }
    calls = std::max(1LL, static_cast<long long>(secondsPerRound / std::max(once, 1e-9)));
    const double perRound = once * static_cast<double>(calls);
    rounds = std::clamp(static_cast<int>(timing.secondsPerCell / perRound), timing.rounds, 500);
}

void Time(Operation &op, Measurement &m, const Timing &timing)
{
    if (op.prepare) op.prepare();
    // Warm-up, which also finds a side that fails.
    if (op.direct && FAILED(op.direct())) m.failure = L"the direct call failed";
    if (FAILED(op.bridged())) m.failure = L"through the bridge: " + (op.bridgeError ? op.bridgeError() : L"");
    if (!m.failure.empty()) return;
    long long directCalls = 0, bridgedCalls = 0;
    int directRounds = 0, bridgedRounds = 0;
    if (op.rounds > 0) {
        directCalls = bridgedCalls = 1;
        directRounds = bridgedRounds = op.rounds;
    } else {
        if (op.direct) Plan(op.direct, timing, directCalls, directRounds);
        Plan(op.bridged, timing, bridgedCalls, bridgedRounds);
    }
    if ((op.direct && directCalls == 0) || bridgedCalls == 0) {
        m.failure = L"a repeated call failed";
        return;
    }
    for (int round = 0; round < std::max(directRounds, bridgedRounds); ++round) {
        if (op.direct && round < directRounds) {
            const double t = Batch(op.direct, directCalls) * 1e9;
            if (t >= 0 && !(t >= m.direct)) m.direct = t;
        }
        if (round < bridgedRounds) {
            const double t = Batch(op.bridged, bridgedCalls) * 1e9;
            if (t >= 0 && !(t >= m.bridged)) m.bridged = t;
        }
    }
}

void ReadMeters(Operation &op, Measurement &m)
{
    if (!m.failure.empty() || !op.meter) return;
    if (op.prepare) op.prepare();
    op.meter(true);
    MeterReading direct, bridged, ignored;
    // The first bridged call after a new material sets up anew: not counted.
    op.bridged();
    op.takeMeters(ignored, ignored);
    // Like the timings, the pass least disturbed by other processes counts.
    constexpr int passes = 9, count = 20;
    const double ns = NanosecondsPerTick();
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < count && op.direct; ++i) op.direct();
        op.takeMeters(direct, ignored);
        for (int i = 0; i < count; ++i) op.bridged();
        op.takeMeters(ignored, bridged);
        if (op.direct) {
            m.calls10 = static_cast<double>(direct.calls) / count;
            m.material10 = std::fmin(m.material10, static_cast<double>(direct.ticks) * ns / count);
        }
        m.calls11 = static_cast<double>(bridged.calls) / count;
        m.material11 = std::fmin(m.material11, static_cast<double>(bridged.ticks) * ns / count);
    }
    op.meter(false);
}

// Allocations per call of body, all and inside the material of the side.
void CountAllocations(Operation &op, bool direct, double &all, double &inMaterial)
{
    const std::function<HRESULT()> &body = direct ? op.direct : op.bridged;
    constexpr int count = 20;
    MeterReading r10, r11;
    body();
    op.takeMeters(r10, r11);
    const long long before = AllocationCount();
    for (int i = 0; i < count; ++i) body();
    all = static_cast<double>(AllocationCount() - before) / count;
    op.takeMeters(r10, r11);
    inMaterial = static_cast<double>((direct ? r10 : r11).allocations) / count;
}

}  // namespace

std::vector<Measurement> MeasureAll(std::vector<Operation> &operations, const Timing &timing)
{
    std::vector<Measurement> results(operations.size());
    for (size_t i = 0; i < operations.size(); ++i) Time(operations[i], results[i], timing);
    for (size_t i = 0; i < operations.size(); ++i) ReadMeters(operations[i], results[i]);
    StartCountingAllocations();
    for (size_t i = 0; i < operations.size(); ++i) {
        Operation &op = operations[i];
        Measurement &m = results[i];
        if (!m.failure.empty() || !op.meter) continue;  // discovery rows: not counted
        if (op.prepare) op.prepare();
        op.meter(true);
        if (op.direct) CountAllocations(op, true, m.allocationsDirect, m.allocations10);
        CountAllocations(op, false, m.allocationsBridged, m.allocations11);
        op.meter(false);
    }
    return results;
}
