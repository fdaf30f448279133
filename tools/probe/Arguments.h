// The probe's command line: one command, its package, and the options.
#pragma once

#include <string>
#include <utility>
#include <vector>

enum class ProbeCommand { Help, List, Info, Flash, Check, Systems, Verify };

// The flash conditions a user can fix; H and S are molar.
enum class FlashVariable { Temperature, Pressure, Enthalpy, Entropy, VaporFraction };

struct FlashCondition {
    FlashVariable variable;
    double value;
};

struct ProbeOptions {
    ProbeCommand command = ProbeCommand::Help;
    std::wstring managerProgId = L"Corvanta.PropertyPackageManager.1";
    std::wstring packageName;
    bool json = false;
    // flash only: exactly two conditions, in the order given, and the
    // overall composition as given (normalised by the flash).
    std::vector<FlashCondition> conditions;
    std::vector<std::pair<std::wstring, double>> composition;
    // verify only: the largest relative difference that counts as equal.
    double tolerance = 1e-12;
};

// Fills options from argv[1..argc-1]; on false, error says what is wrong.
bool ParseArguments(int argc, const wchar_t *const *argv, ProbeOptions &options, std::wstring &error);

const char *UsageText();
