// The calculation rows: a 1.0 package (the trivial scripted one, or the
// example's Peng-Robinson or Ideal package) called directly on an in-memory
// 1.0 material object, and the same package through the bridge on an
// in-memory 1.1 material holding the same state.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Measurement.h"

enum class BenchPackage { Trivial, PengRobinson, Ideal };

struct CalculationSetup;

// Keeps the packages and materials of the rows it adds alive.
class CalculationRows {
public:
    CalculationRows();
    ~CalculationRows();
    // Adds the rows of one package at one number of compounds (2, 6 or 9),
    // all or only those named. The 1.1 material answers all six compound
    // lists, as a simulator's material does.
    void Add(BenchPackage package, int compounds, std::vector<Operation> &rows,
             const std::vector<std::string> &only = {});
    // Adds a row whose material lists its compounds in another order on
    // every call (which leaves the material's values out of step with its
    // compounds: for the trivial package only).
    void AddReordered(BenchPackage package, int compounds, std::vector<Operation> &rows);
    // Differences between what the bridge wrote and what the 1.0 package
    // wrote directly, after the rows ran (empty when identical to the bit).
    std::vector<std::wstring> Differences() const;

private:
    CalculationSetup &Setup(BenchPackage package, int compounds);
    std::vector<std::unique_ptr<CalculationSetup>> setups_;
};

const char *PackageName(BenchPackage package);
