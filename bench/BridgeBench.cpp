// corvanta-bench: what users feel of the bridge. Each row runs one operation
// directly on a CAPE-OPEN 1.0 package (a 1.0 client with an in-memory 1.0
// material object) and the same operation through the bridge (a 1.1 client
// with an in-memory 1.1 material holding the same state), side by side in
// one run; meters between the packages and the materials count the calls
// and the time spent inside the materials, so that what remains is the
// bridge's own time. Prints a table, the targets and the same rows as CSV.
//
//   corvanta-bench [--discovery] [--seconds S] [--only TEXT] [--csv FILE]
//
// --only keeps the rows whose "package compounds operation" contains TEXT.
// --discovery adds the discovery rows, which register classes: use it in a
// prefix of the benchmark's own (tools/bench.sh does).
#include <windows.h>
#include <objbase.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "Calculations.h"
#include "Discovery.h"
#include "Measurement.h"

namespace {

struct Row {
    const Operation *op;
    Measurement m;
    // The bridge's own time: the bridged time less the 1.0 package's own
    // work (the direct time less its material's) and the 1.1 material's.
    double Own() const
    {
        if (std::isnan(m.material11)) return m.bridged - m.direct;  // discovery
        return m.bridged - (m.direct - m.material10) - m.material11;
    }
    // The bridge's own allocations, counted the same way.
    double OwnAllocations() const
    {
        return (m.allocationsBridged - m.allocations11) - (m.allocationsDirect - m.allocations10);
    }
};

std::string Micro(double ns)
{
    if (std::isnan(ns)) return "-";
    char text[32];
    const double us = ns / 1000.0;
    const double size = std::fabs(us);
    std::snprintf(text, sizeof text, size < 10 ? "%.2f" : size < 1000 ? "%.1f" : "%.0f", us);
    return text;
}

std::string Number(double value, const char *format)
{
    if (std::isnan(value)) return "-";
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Narrow(const std::wstring &text)
{
    std::string result;
    for (wchar_t c : text) result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

void PrintTable(const std::vector<Row> &rows)
{
    std::printf("%-14s %2s %-36s %9s %9s %6s %9s %9s %5s %9s %13s\n", "package", "n", "operation", "direct",
                "bridged", "ratio", "in 1.1", "own", "own%", "calls", "allocations");
    std::printf("%-14s %2s %-36s %9s %9s %6s %9s %9s %5s %9s %13s\n", "", "", "", "us", "us", "", "us", "us", "",
                "1.0/1.1", "dir/brid/own");
    std::string last;
    for (const Row &row : rows) {
        const Operation &op = *row.op;
        const std::string group = op.package + std::to_string(op.compounds);
        if (!last.empty() && group != last) std::printf("\n");
        last = group;
        const std::string n = op.compounds ? std::to_string(op.compounds) : "";
        if (!row.m.failure.empty()) {
            std::printf("%-14s %2s %-36s failed: %s\n", op.package.c_str(), n.c_str(), op.name.c_str(),
                        Narrow(row.m.failure).c_str());
            continue;
        }
        const double own = row.Own();
        const std::string ratio = Number(row.m.bridged / row.m.direct, "%.2f");
        const std::string share = Number(100 * own / row.m.bridged, "%.0f");
        const std::string calls = Number(row.m.calls10, "%.0f") + "/" + Number(row.m.calls11, "%.0f");
        const std::string allocs = Number(row.m.allocationsDirect, "%.0f") + "/" +
                                   Number(row.m.allocationsBridged, "%.0f") + "/" +
                                   Number(row.OwnAllocations(), "%.0f");
        std::printf("%-14s %2s %-36s %9s %9s %6s %9s %9s %5s %9s %13s\n", op.package.c_str(), n.c_str(),
                    op.name.c_str(), Micro(row.m.direct).c_str(), Micro(row.m.bridged).c_str(), ratio.c_str(),
                    Micro(row.m.material11).c_str(), Micro(own).c_str(), share.c_str(),
                    std::isnan(row.m.calls11) ? "-" : calls.c_str(),
                    std::isnan(row.m.allocationsBridged) ? "-" : allocs.c_str());
    }
}

std::string Csv(const std::vector<Row> &rows)
{
    std::string csv = "package,compounds,operation,direct_us,bridged_us,ratio,material10_us,material11_us,"
                      "bridge_own_us,material10_calls,material11_calls,allocations_direct,allocations_bridged,"
                      "allocations_material10,allocations_material11,allocations_own\n";
    auto us = [](double ns) { return std::isnan(ns) ? std::string() : Number(ns / 1000.0, "%.3f"); };
    auto plain = [](double v) { return std::isnan(v) ? std::string() : Number(v, "%.2f"); };
    for (const Row &row : rows) {
        const Operation &op = *row.op;
        const Measurement &m = row.m;
        csv += op.package + "," + (op.compounds ? std::to_string(op.compounds) : "") + ",\"" + op.name + "\",";
        if (!m.failure.empty()) {
            csv += ",,,,,,,,,,,,\n";
            continue;
        }
        csv += us(m.direct) + "," + us(m.bridged) + "," +
               plain(m.bridged / m.direct) + "," + us(m.material10) +
               "," + us(m.material11) + "," + us(row.Own()) + "," + plain(m.calls10) + "," + plain(m.calls11) + "," +
               plain(m.allocationsDirect) + "," + plain(m.allocationsBridged) + "," + plain(m.allocations10) + "," +
               plain(m.allocations11) + "," + plain(row.OwnAllocations()) + "\n";
    }
    return csv;
}

const Row *Find(const std::vector<Row> &rows, const char *package, int compounds, const char *name)
{
    for (const Row &row : rows)
        if (row.op->package == package && row.op->compounds == compounds && row.op->name == name &&
            row.m.failure.empty())
            return &row;
    return nullptr;
}

// The targets of the bridge's own work, at 6 compounds on Peng-Robinson.
void PrintTargets(const std::vector<Row> &rows)
{
    std::printf("\nTargets (Peng-Robinson, 6 compounds unless said otherwise):\n");
    auto line = [](const char *what, const std::string &value, bool met) {
        std::printf("  %-58s %-22s %s\n", what, value.c_str(), met ? "met" : "NOT met");
    };
    for (const char *name : {"enthalpy (Vapor)", "lnPhi, flags 1"}) {
        if (const Row *found = Find(rows, "Peng-Robinson", 6, name)) {
            const double own = found->Own();
            line((std::string("own time of ") + name + " <= 0.5 us").c_str(), Micro(own) + " us", own <= 500);
        }
    }
    if (const Row *row = Find(rows, "Peng-Robinson", 6, "TP flash, one phase")) {
        const double share = row->Own() / row->m.bridged;
        line("own time of TP flash, one phase <= 5%", Number(100 * share, "%.1f") + "%", share <= 0.05);
    }
    int over = 0, checked = 0;
    std::string worst;
    for (const Row &row : rows) {
        if (row.op->package != "Peng-Robinson" || row.op->compounds != 6 || std::isnan(row.m.calls10)) continue;
        ++checked;
        if (row.m.calls11 > row.m.calls10 + 1) {
            ++over;
            worst += (worst.empty() ? "" : ", ") + row.op->name;
        }
    }
    line("1.1 material calls <= 1.0 material calls + 1",
         std::to_string(checked - over) + " of " + std::to_string(checked) + " rows", over == 0);
    if (!worst.empty()) std::printf("    over: %s\n", worst.c_str());
    for (const char *name : {"enthalpy (Vapor)", "lnPhi, flags 1"}) {
        const Row *two = Find(rows, "Peng-Robinson", 2, name);
        const Row *nine = Find(rows, "Peng-Robinson", 9, name);
        if (!two || !nine) continue;
        const double growth = (nine->Own() - two->Own()) / 7.0;
        line((std::string("own time per compound, ") + name + " < 0.1 us").c_str(),
             Micro(growth) + " us (2 to 9)", growth < 100);
    }
    if (const Row *row = Find(rows, "discovery", 0, "1 + 10 uncreatable")) {
        const double extra = row->m.bridged - (Find(rows, "discovery", 0, "1 thermo system")
                                                   ? Find(rows, "discovery", 0, "1 thermo system")->m.bridged
                                                   : 0.0);
        line("discovery with 10 uncreatable registrations < 100 ms", Number(row->m.bridged / 1e6, "%.1f") + " ms",
             row->m.bridged < 100e6);
        std::printf("    of which the 10 uncreatable: %s ms\n", Number(extra / 1e6, "%.1f").c_str());
    }
}

}  // namespace

int main(int argc, char **argv)
{
    Timing timing;
    bool discovery = false;
    const char *csvPath = nullptr;
    std::string only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--discovery") == 0) {
            discovery = true;
        } else if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            timing.secondsPerCell = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--only") == 0 && i + 1 < argc) {
            only = argv[++i];
        } else if (std::strcmp(argv[i], "--csv") == 0 && i + 1 < argc) {
            csvPath = argv[++i];
        } else {
            std::fprintf(stderr, "usage: corvanta-bench [--discovery] [--seconds S] [--only TEXT] [--csv FILE]\n");
            return 2;
        }
    }
    if (!(timing.secondsPerCell > 0)) timing.secondsPerCell = 0.2;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    int status = 0;
    {
        CalculationRows calculations;
        DiscoveryRows discoveries;
        std::vector<Operation> operations;
        for (BenchPackage package : {BenchPackage::Trivial, BenchPackage::PengRobinson, BenchPackage::Ideal}) {
            for (int compounds : {2, 6, 9}) calculations.Add(package, compounds, operations);
            if (package == BenchPackage::Trivial) calculations.AddReordered(package, 6, operations);
        }
        std::wstring reason;
        if (discovery && !discoveries.Add(operations, reason))
            std::printf("discovery rows left out: %s\n", Narrow(reason).c_str());
        if (!only.empty()) {
            std::vector<Operation> kept;
            for (Operation &op : operations) {
                const std::string title = op.package + " " + std::to_string(op.compounds) + " " + op.name;
                if (title.find(only) != std::string::npos) kept.push_back(std::move(op));
            }
            operations.swap(kept);
        }

        std::vector<Measurement> measured = MeasureAll(operations, timing);
        std::vector<Row> rows;
        for (size_t i = 0; i < operations.size(); ++i) {
            rows.push_back({&operations[i], measured[i]});
            if (!measured[i].failure.empty()) status = 1;
        }

        std::printf("Corvanta bridge cost: each operation directly on the 1.0 package and through the bridge, "
                    "fastest of many short rounds (times per operation)\n\n");
        PrintTable(rows);
        PrintTargets(rows);
        const std::vector<std::wstring> differences = calculations.Differences();
        std::printf("\nResults through the bridge identical to the direct ones: %s\n",
                    differences.empty() ? "yes" : "NO");
        for (const std::wstring &difference : differences) std::printf("  differs: %s\n", Narrow(difference).c_str());
        if (!differences.empty()) status = 1;

        const std::string csv = Csv(rows);
        std::printf("\nCSV:\n%s", csv.c_str());
        if (csvPath) {
            if (FILE *file = std::fopen(csvPath, "w")) {
                std::fputs(csv.c_str(), file);
                std::fclose(file);
            } else {
                std::fprintf(stderr, "cannot write %s\n", csvPath);
                status = 1;
            }
        }
    }
    CoUninitialize();
    return status;
}
