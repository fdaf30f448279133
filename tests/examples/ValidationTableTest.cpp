// The validation tables of examples/thermo10/README.md: every model value is
// recomputed and must match the table to the digits shown, every deviation as
// printed, and every deviation must stay within the bound its row states.
#include <cctype>
#include <fstream>
#include <sstream>

#include "ExampleModels.h"
#include "Saturation.h"

namespace {

using Row = std::vector<std::string>;

// The rows of the first table after the heading (header and rule skipped).
std::vector<Row> TableAfter(const std::string &heading)
{
    std::ifstream file(EXAMPLE_THERMO_README);
    std::string line;
    std::vector<Row> rows;
    bool inSection = false;
    int seen = 0;
    while (std::getline(file, line)) {
        if (line.rfind("#", 0) == 0) inSection = line.find(heading) != std::string::npos;
        if (!inSection || line.rfind("|", 0) != 0) {
            if (!rows.empty()) break;
            continue;
        }
        if (seen++ < 2) continue;
        Row row;
        std::stringstream cells(line.substr(1));
        std::string cell;
        while (std::getline(cells, cell, '|')) {
            cell.erase(0, cell.find_first_not_of(' '));
            cell.erase(cell.find_last_not_of(' ') + 1);
            row.push_back(cell);
        }
        rows.push_back(row);
    }
    return rows;
}

// Half a unit of the last digit shown, and a little more.
double Shown(const std::string &cell)
{
    std::size_t point = cell.find('.');
    std::size_t digits = 0;
    if (point != std::string::npos)
        while (point + 1 + digits < cell.size() && std::isdigit(static_cast<unsigned char>(cell[point + 1 + digits])))
            ++digits;
    return 0.6 * std::pow(10.0, -static_cast<double>(digits));
}

const CompoundData &Compound(const std::string &name)
{
    const CompoundData *c = Compounds({std::wstring(name.begin(), name.end()).c_str()})[0];
    return c ? *c : KnownCompounds[0];
}

// Checks a model value against its cell, and the deviation from the reference
// against its cell and bound (percent).
void CheckRow(double model, const std::string &modelCell, double reference, const std::string &deviationCell,
              const std::string &boundCell, const std::string &what)
{
    EXPECT_NEAR(std::stod(modelCell), model, Shown(modelCell)) << what;
    double deviation = 100 * (model / reference - 1);
    EXPECT_NEAR(std::stod(deviationCell), deviation, Shown(deviationCell)) << what;
    EXPECT_LE(std::fabs(deviation), std::stod(boundCell)) << what;
}

}  // namespace

TEST(ValidationTable, CriticalPointsAreTheEndsOfTheVapourPressureCurves)
{
    std::vector<Row> rows = TableAfter("Critical points");
    ASSERT_EQ(KnownCompoundCount, rows.size());
    for (const Row &row : rows) {
        ASSERT_GE(row.size(), 11u);
        const CompoundData &c = Compound(row[0]);
        CriticalPoint end = ModelCriticalPoint(c);
        EXPECT_NEAR(c.criticalTemperature, std::stod(row[1]), Shown(row[1])) << row[0];
        EXPECT_NEAR(c.criticalPressure / 1e6, std::stod(row[5]), Shown(row[5])) << row[0];
        CheckRow(end.temperature, row[2], std::stod(row[3]), row[4], row[9], row[0] + " Tc");
        CheckRow(end.pressure / 1e6, row[6], std::stod(row[7]), row[8], row[9], row[0] + " Pc");
        // Below the end the pure compound still has two phases; above it none.
        PengRobinson model({&c});
        Flash flash(model);
        FlashResult r;
        std::wstring error;
        EXPECT_TRUE(flash.TVF(end.temperature - 0.05, 0.5, {1.0}, r, error)) << row[0];
        EXPECT_FALSE(flash.TVF(end.temperature + 0.05, 0.5, {1.0}, r, error)) << row[0];
    }
}

TEST(ValidationTable, VapourPressuresAtTwoTemperaturesPerCompound)
{
    std::vector<Row> rows = TableAfter("Vapour pressures");
    for (const CompoundData &c : KnownCompounds) {
        int count = 0;
        for (const Row &row : rows) count += std::wstring(row[0].begin(), row[0].end()) == c.id ? 1 : 0;
        EXPECT_GE(count, 2) << "rows for one compound";
    }
    for (const Row &row : rows) {
        ASSERT_GE(row.size(), 6u);
        double P = Saturation(Compound(row[0]), std::stod(row[1])).pressure / 1e3;
        CheckRow(P, row[2], std::stod(row[3]), row[4], row[5], row[0] + " at " + row[1]);
    }
}

TEST(ValidationTable, MixtureBubbleAndDewPoints)
{
    std::vector<Row> rows = TableAfter("Mixture bubble and dew points");
    ASSERT_GE(rows.size(), 4u);
    for (const Row &row : rows) {
        ASSERT_GE(row.size(), 7u);
        // "propane 0.5 + n-butane 0.5"
        std::vector<const CompoundData *> compounds;
        std::vector<double> z;
        std::stringstream parts(row[0]);
        std::string part;
        while (std::getline(parts, part, '+')) {
            part.erase(0, part.find_first_not_of(' '));
            std::size_t space = part.find_last_of(' ', part.find_last_not_of(' '));
            compounds.push_back(&Compound(part.substr(0, space)));
            z.push_back(std::stod(part.substr(space + 1)));
        }
        PengRobinson model(compounds);
        Flash flash(model);
        FlashResult r;
        std::wstring error;
        double beta = row[1].rfind("bubble", 0) == 0 ? 0.0 : 1.0;
        bool pressure = row[1].find("pressure") != std::string::npos;  // in kPa at a temperature in K, or the reverse
        ASSERT_TRUE(pressure ? flash.TVF(std::stod(row[2]), beta, z, r, error)
                             : flash.PVF(1e3 * std::stod(row[2]), beta, z, r, error))
            << row[0];
        CheckRow(pressure ? r.pressure / 1e3 : r.temperature, row[3], std::stod(row[4]), row[5], row[6],
                 row[0] + " " + row[1]);
    }
}
