// The table of verify: each quantity once computed directly on the 1.0
// package and once through the 1.1 manager, side by side with their
// relative difference. A difference above the tolerance, or a calculation
// that fails on one side only, counts against the package.
#pragma once

#include <string>
#include <vector>

#include "Report.h"

// |a - b| / max(|a|, |b|): 0 when both are equal (NaN equals NaN, an
// infinity itself), 1 and more for values of opposite sign.
double RelativeDifference(double a, double b);

class Comparison {
public:
    Comparison(Table &table, double tolerance) : table_(table), tolerance_(tolerance) {}

    // Lists of numbers; elements names them (compound ids, pairs), empty for
    // a scalar. The row shows the element that differs most; detail says
    // what was applied to the direct values.
    void Numbers(const std::wstring &quantity, const std::vector<std::wstring> &elements,
                 const std::vector<double> &direct, const std::vector<double> &bridged,
                 const std::wstring &detail = std::wstring());
    void Texts(const std::wstring &quantity, const std::vector<std::wstring> &elements,
               const std::vector<std::wstring> &direct, const std::vector<std::wstring> &bridged);
    // Records a quantity that failed on one side or both and returns false;
    // true, recording nothing, when both sides succeeded. Both failing is
    // agreement: the package refuses the calculation, with or without bridge.
    bool Outcome(const std::wstring &quantity, bool directOk, const std::wstring &directFailure, bool bridgedOk,
                 const std::wstring &bridgedFailure);

    // A quantity not compared, with the reason; counts neither way.
    void Skip(const std::wstring &quantity, const std::wstring &reason);

    int Compared() const { return compared_; }
    int Differences() const { return differences_; }
    double LargestDifference() const { return largest_; }
    const std::wstring &LargestQuantity() const { return largestQuantity_; }

private:
    void Add(const std::wstring &quantity, const std::wstring &element, Cell direct, Cell bridged, Cell difference,
             bool same, const std::string &result, const std::wstring &detail = std::wstring());

    Table &table_;
    double tolerance_;
    int compared_ = 0;
    int differences_ = 0;
    double largest_ = 0.0;
    std::wstring largestQuantity_;
};
