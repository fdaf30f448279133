#include "Arguments.h"

#include <cmath>

#include "Names.h"
#include "Text.h"

namespace {

struct VariableOption {
    const wchar_t *name;
    FlashVariable variable;
};

const VariableOption variableOptions[] = {
    {L"--T", FlashVariable::Temperature}, {L"--P", FlashVariable::Pressure},
    {L"--H", FlashVariable::Enthalpy},    {L"--S", FlashVariable::Entropy},
    {L"--VF", FlashVariable::VaporFraction},
};

bool ParseComposition(const std::wstring &text, ProbeOptions &options, std::wstring &error)
{
    options.composition.clear();
    size_t start = 0;
    double sum = 0.0;
    while (start <= text.size()) {
        size_t comma = text.find(L',', start);
        if (comma == std::wstring::npos) comma = text.size();
        std::wstring item = text.substr(start, comma - start);
        size_t equals = item.rfind(L'=');
        double amount = 0.0;
        if (equals == std::wstring::npos || equals == 0 || !ParseNumber(item.substr(equals + 1), amount)) {
            error = L"--z expects compound=amount pairs separated by commas, got \"" + item + L"\"";
            return false;
        }
        if (amount < 0.0) {
            error = L"--z amounts must not be negative";
            return false;
        }
        std::wstring id = item.substr(0, equals);
        for (const auto &entry : options.composition) {
            if (NamesEqual(entry.first.c_str(), id.c_str())) {
                error = L"--z names compound \"" + id + L"\" twice";
                return false;
            }
        }
        options.composition.emplace_back(id, amount);
        sum += amount;
        start = comma + 1;
    }
    if (sum <= 0.0) {
        error = L"--z amounts must not all be zero";
        return false;
    }
    return true;
}

bool CheckCondition(const FlashCondition &condition, const std::wstring &name, std::wstring &error)
{
    bool valid = true;
    switch (condition.variable) {
    case FlashVariable::Temperature:
    case FlashVariable::Pressure: valid = condition.value > 0.0; break;
    case FlashVariable::VaporFraction: valid = condition.value >= 0.0 && condition.value <= 1.0; break;
    default: break;
    }
    if (!valid)
        error = name + (condition.variable == FlashVariable::VaporFraction ? L" must lie between 0 and 1"
                                                                            : L" must be positive");
    return valid;
}

}  // namespace

bool ParseArguments(int argc, const wchar_t *const *argv, ProbeOptions &options, std::wstring &error)
{
    options = ProbeOptions();
    // Asking for help is never an error, whatever else the line holds.
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i] ? argv[i] : L"";
        if (arg == L"--help" || arg == L"-h" || arg == L"/?") return true;
    }
    std::vector<std::wstring> positional;
    bool compositionGiven = false;
    bool toleranceGiven = false;
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i] ? argv[i] : L"";
        auto value = [&](std::wstring &out) {
            if (i + 1 >= argc) {
                error = arg + L" needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        if (arg == L"--json") {
            options.json = true;
        } else if (arg == L"--manager") {
            if (!value(options.managerProgId)) return false;
            if (options.managerProgId.empty()) {
                error = L"--manager needs a ProgID";
                return false;
            }
        } else if (arg == L"--tol") {
            std::wstring text;
            if (!value(text)) return false;
            if (!ParseNumber(text, options.tolerance) || options.tolerance < 0.0) {
                error = L"--tol expects a relative difference of 0 or more, got \"" + text + L"\"";
                return false;
            }
            toleranceGiven = true;
        } else if (arg == L"--z") {
            std::wstring text;
            if (!value(text) || !ParseComposition(text, options, error)) return false;
            compositionGiven = true;
        } else if (arg.size() > 2 && arg.compare(0, 2, L"--") == 0) {
            const VariableOption *found = nullptr;
            for (const auto &option : variableOptions)
                if (NamesEqual(option.name, arg.c_str())) found = &option;
            if (!found) {
                error = L"unknown option " + arg;
                return false;
            }
            std::wstring text;
            FlashCondition condition{found->variable, 0.0};
            if (!value(text)) return false;
            if (!ParseNumber(text, condition.value)) {
                error = arg + L" expects a number, got \"" + text + L"\"";
                return false;
            }
            for (const auto &given : options.conditions) {
                if (given.variable == condition.variable) {
                    error = arg + L" is given twice";
                    return false;
                }
            }
            if (!CheckCondition(condition, arg, error)) return false;
            options.conditions.push_back(condition);
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty()) {
        error = L"no command given";
        return false;
    }
    const std::wstring &command = positional[0];
    size_t expected = 2;
    if (command == L"list" || command == L"systems") {
        options.command = command == L"list" ? ProbeCommand::List : ProbeCommand::Systems;
        expected = 1;
    } else if (command == L"info") {
        options.command = ProbeCommand::Info;
    } else if (command == L"flash") {
        options.command = ProbeCommand::Flash;
    } else if (command == L"check") {
        options.command = ProbeCommand::Check;
    } else if (command == L"verify") {
        options.command = ProbeCommand::Verify;
    } else if (command == L"help") {
        options.command = ProbeCommand::Help;
        return true;
    } else {
        error = L"unknown command \"" + command + L"\"";
        return false;
    }
    if (positional.size() < expected) {
        error = command + L" needs a package name";
        return false;
    }
    if (positional.size() > expected) {
        error = L"unexpected argument \"" + positional[expected] + L"\"";
        return false;
    }
    if (expected == 2) options.packageName = positional[1];
    bool flash = options.command == ProbeCommand::Flash;
    if (!flash && (!options.conditions.empty() || compositionGiven)) {
        error = L"--T, --P, --H, --S, --VF and --z belong to the flash command";
        return false;
    }
    if (flash && options.conditions.size() != 2) {
        error = L"flash needs exactly two of --T, --P, --H, --S, --VF";
        return false;
    }
    if (toleranceGiven && options.command != ProbeCommand::Verify) {
        error = L"--tol belongs to the verify command";
        return false;
    }
    if (flash && !compositionGiven) {
        error = L"flash needs the composition: --z compound=amount,...";
        return false;
    }
    return true;
}

const char *UsageText()
{
    return "usage: corvanta-probe [--manager PROGID] [--json] COMMAND\n"
           "\n"
           "A CAPE-OPEN 1.1 client: lists and exercises the property packages of a\n"
           "property package manager (default Corvanta.PropertyPackageManager.1).\n"
           "\n"
           "commands:\n"
           "  list                 every package of the manager, one per line\n"
           "  info PACKAGE         compounds, phases, supported properties, constants\n"
           "  flash PACKAGE --z ID=X,... and two of --T K --P Pa --H J/mol --S J/mol/K --VF x\n"
           "                       equilibrium of the mixture, a table per phase\n"
           "  check PACKAGE        calls every listed property and flash type once;\n"
           "                       exit code 1 when any call fails\n"
           "  systems              every registered CAPE-OPEN 1.0 thermo system, both\n"
           "                       bitnesses, per machine and per user, and whether the\n"
           "                       manager of this bitness lists it, or why not\n"
           "  verify PACKAGE [--tol X]  the same calculations directly on the 1.0 package\n"
           "                       and through the manager; exit code 1 when any value\n"
           "                       differs by more than X relative (default 1e-12)\n"
           "\n"
           "options:\n"
           "  --manager PROGID     the 1.1 property package manager to use\n"
           "  --json               print JSON instead of tables\n"
           "  --help               this text\n"
           "\n"
           "exit codes: 0 success, 1 a call failed, 2 bad arguments\n"
           "example: corvanta-probe flash \"Example Thermo//Peng-Robinson\" --T 300 --P 1e6 \\\n"
           "             --z methane=0.5,propane=0.5\n";
}
