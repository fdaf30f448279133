// The discovery rows: the manager's package list built over 1, 10 and 100
// registered thermo systems, and over one with 10 registrations whose class
// cannot be created. The thermo systems are the example's, registered again
// under new class identifiers that COM treats as the example's (TreatAs), in
// the benchmark's own Wine prefix.
#pragma once

#include <string>
#include <vector>

#include "Measurement.h"

class DiscoveryRows {
public:
    DiscoveryRows();
    // Removes every registration the rows made.
    ~DiscoveryRows();
    // False, with the reason, when the example thermo system is not registered.
    bool Add(std::vector<Operation> &rows, std::wstring &reason);
};
