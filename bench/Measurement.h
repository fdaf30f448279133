// One row of the benchmark: an operation timed directly on a 1.0 package
// and through the bridge, side by side, with what the meters and the
// allocation counter saw.
#pragma once

#include <windows.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "MaterialMeter.h"

struct Operation {
    std::string package;  // "trivial", "Peng-Robinson", "Ideal", "discovery"
    int compounds = 0;    // 0 where it does not apply
    std::string name;
    // One operation each way; direct may be empty where there is no 1.0
    // equivalent. Called many times in a row.
    std::function<HRESULT()> direct, bridged;
    // Runs before the operation's timings and meter readings (not timed).
    std::function<void()> prepare;
    // With a count: that many rounds of one call each (for slow operations).
    int rounds = 0;
    // Switches both sides to metered materials and back; reads the meters.
    std::function<void(bool on)> meter;
    // The readings of both meters since the last time; resets them.
    std::function<void(MeterReading &material10, MeterReading &material11)> takeMeters;
    // The bridge's failure text, for a failed row.
    std::function<std::wstring()> bridgeError;
};

// NaN where a value was not measured.
struct Measurement {
    double direct = NAN, bridged = NAN;        // ns per operation (fastest round)
    double material10 = NAN, material11 = NAN;  // ns inside the materials per operation
    double calls10 = NAN, calls11 = NAN;        // material calls per operation
    double allocationsDirect = NAN, allocationsBridged = NAN;
    double allocations10 = NAN, allocations11 = NAN;  // of these, inside the materials
    std::wstring failure;  // empty when both sides succeeded
};

struct Timing {
    double secondsPerCell = 0.2;  // for all rounds of one side of one row
    int rounds = 5;               // at least
};

// Times every operation, then reads the meters, then counts allocations, in
// three passes over all operations (the allocation counter slows every
// allocation while it is on, so it runs last).
std::vector<Measurement> MeasureAll(std::vector<Operation> &operations, const Timing &timing);
