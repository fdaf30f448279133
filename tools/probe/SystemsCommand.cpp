// corvanta-probe systems: every registered CAPE-OPEN 1.0 thermo system and
// why the manager of this bitness lists it or not. The manager's own view is
// judged with the manager's own discovery steps, so the verdicts are what
// the manager does; the stored registrations of both bitnesses, per machine
// and per user, say what that view does not show.
#include "Commands.h"

#include "Corvanta.h"
#include "Names.h"
#include "RegistryViews.h"
#include "Text.h"
#include "ThermoSystemDiscovery.h"

namespace {

struct SystemRow {
    ThermoSystemRecord record;
    bool seenByManager = false;         // in HKEY_CLASSES_ROOT, where discovery looks
    const RegistryLocation *firstFound = nullptr;
    std::vector<int> bitnesses;         // of the locations that register it
    std::wstring registered;            // "64-bit per machine, 32-bit per user"
    std::wstring progId, server, serverFile;
    bool inproc = false;
    std::wstring binary = L"-";
    int binaryBitness = 0;
    std::string verdict;
    std::wstring reason;
};

std::wstring Bits(int bitness)
{
    return std::to_wstring(bitness) + L"-bit";
}

SystemRow *FindRow(std::vector<SystemRow> &rows, const std::wstring &clsid)
{
    for (SystemRow &row : rows)
        if (NamesEqual(row.record.clsid.c_str(), clsid.c_str())) return &row;
    return nullptr;
}

// ProgID, server and the bitness its file declares, from the class key.
void ReadServer(SystemRow &row, HKEY classKey)
{
    row.progId = ReadDefaultValue(classKey, L"ProgID");
    row.server = RegisteredServer(classKey, row.inproc);
    row.serverFile = FindServerFile(row.server);
    if (row.server.empty())
        row.binary = L"-";
    else if (row.serverFile.empty())
        row.binary = L"missing";
    else
        row.binaryBitness = BinaryBitness(row.serverFile, row.binary);
}

std::wstring PackageListText(const std::vector<std::wstring> &packages)
{
    std::wstring text = packages.size() == 1 ? L"package " : L"packages ";
    for (size_t i = 0; i < packages.size(); ++i) text += (i ? L", " : L"") + packages[i];
    return text;
}

// The verdict for a thermo system the manager sees, step by step as discovery goes.
void JudgeVisible(SystemRow &row, const std::vector<ThermoSystemRecord> &managers)
{
    RegistryKey classKey;
    if (classKey.Open(HKEY_CLASSES_ROOT, (L"CLSID\\" + row.record.clsid).c_str(), KEY_READ))
        ReadServer(row, classKey.key);
    if (const ThermoSystemRecord *manager = ExcludingManager(row.record, managers)) {
        row.verdict = "left out";
        row.reason = L"its maker registers the 1.1 property package manager \"" + manager->name + L"\" " +
                     manager->clsid;
        if (NamesEqual(manager->clsid.c_str(), row.record.clsid.c_str())) row.reason += L" (this same class)";
        return;
    }
    if (row.server.empty() || row.serverFile.empty()) {
        row.verdict = "DLL missing";
        row.reason = row.server.empty() ? L"the class names no InprocServer32 or LocalServer32"
                                        : L"no file " + row.server;
        return;
    }
    CLSID clsid;
    std::vector<std::wstring> packages;
    std::wstring failure;
    if (QueryThermoSystemPackages(row.record, clsid, packages, failure)) {
        row.verdict = "listed";
        row.reason = PackageListText(packages);
        return;
    }
    row.verdict = "fails";
    row.reason = failure;
    if (row.inproc && row.binaryBitness && row.binaryBitness != ProcessBitness())
        row.reason += L" (a " + Bits(row.binaryBitness) + L" DLL cannot load into a " + Bits(ProcessBitness()) +
                      L" program)";
}

// The verdict for a thermo system only the stored registrations show.
void JudgeHidden(SystemRow &row)
{
    RegistryKey classKey;
    if (row.firstFound && row.firstFound->OpenClass(row.record.clsid, classKey)) ReadServer(row, classKey.key);
    const int own = ProcessBitness();
    bool ownBitness = false;
    for (int bitness : row.bitnesses) ownBitness = ownBitness || bitness == own;
    if (ownBitness) {
        row.verdict = "not visible";
        row.reason = L"HKEY_CLASSES_ROOT, where the manager looks, does not show this registration "
                     L"(per-user registrations are not merged into it here)";
        return;
    }
    const std::wstring other = Bits(own == 64 ? 32 : 64);
    row.verdict = "other bitness";
    row.reason = L"registered only for " + other + L" programs: a " + other + L" simulator with the " + other +
                 L" Corvanta can use it";
    if (!row.server.empty() && row.serverFile.empty()) row.reason += L"; its DLL is missing";
}

void AddCorvantaRegistrations(const std::vector<RegistryLocation> &locations, Report &report)
{
    wchar_t clsid[40];
    StringFromGUID2(CLSID_PropertyPackageManager, clsid, 40);
    Table &table = report.AddTable("Corvanta registrations", {"registration", "DLL", "DLL bitness", "note"});
    for (const RegistryLocation &location : locations) {
        RegistryKey classKey;
        if (!location.OpenClass(clsid, classKey)) continue;
        SystemRow row;
        ReadServer(row, classKey.key);
        std::wstring note;
        if (row.binaryBitness && row.binaryBitness != location.bitness)
            note = L"a " + Bits(row.binaryBitness) + L" DLL registered for " + Bits(location.bitness) +
                   L" programs: they cannot load it";
        table.AddRow({Cell::Text(location.Describe()), Cell::Text(row.server), Cell::Text(row.binary),
                      Cell::Text(note)});
    }
}

}  // namespace

ExitCode RunSystems(const ProbeOptions &, Report &report, std::wstring &error)
{
    RegistryKey classesRoot;
    if (!classesRoot.Open(HKEY_CLASSES_ROOT, L"CLSID", KEY_ENUMERATE_SUB_KEYS)) {
        error = L"cannot read HKEY_CLASSES_ROOT\\CLSID";
        return ExitFailed;
    }
    RegisteredClasses visible;
    FindRegisteredClasses(classesRoot.key, visible);
    std::vector<SystemRow> rows;
    for (const ThermoSystemRecord &record : visible.thermoSystems10) {
        if (FindRow(rows, record.clsid)) continue;
        SystemRow row;
        row.record = record;
        row.seenByManager = true;
        rows.push_back(std::move(row));
    }
    const std::vector<RegistryLocation> locations = RegistryLocations();
    for (const RegistryLocation &location : locations) {
        RegistryKey clsidKey;
        if (!location.OpenClsid(clsidKey, KEY_ENUMERATE_SUB_KEYS)) continue;
        RegisteredClasses stored;
        FindRegisteredClasses(clsidKey.key, stored);
        for (const ThermoSystemRecord &record : stored.thermoSystems10) {
            SystemRow *row = FindRow(rows, record.clsid);
            if (!row) {
                rows.emplace_back();
                row = &rows.back();
                row->record = record;
                row->firstFound = &location;
            }
            row->bitnesses.push_back(location.bitness);
            row->registered += (row->registered.empty() ? L"" : L", ") + location.Describe();
        }
    }

    const std::string bits = std::to_string(ProcessBitness()) + "-bit";
    Table &table = report.AddTable("CAPE-OPEN 1.0 thermo systems, as the " + bits + " manager sees them",
                                   {"name", "CLSID", "ProgID", "registered", "DLL", "DLL bitness", "verdict",
                                    "reason"});
    for (SystemRow &row : rows) {
        if (row.seenByManager)
            JudgeVisible(row, visible.managers11);
        else
            JudgeHidden(row);
        table.AddRow({Cell::Text(row.record.name), Cell::Text(row.record.clsid), Cell::Text(row.progId),
                      Cell::Text(row.registered), Cell::Text(row.server), Cell::Text(row.binary),
                      Cell::Text(row.verdict), Cell::Text(row.reason)});
    }
    AddCorvantaRegistrations(locations, report);
    return ExitOk;
}
