// The commands. Each fills the report and returns the exit code; on a
// failure error says what went wrong.
#pragma once

#include <string>

#include "Arguments.h"
#include "Report.h"

enum ExitCode { ExitOk = 0, ExitFailed = 1, ExitBadArguments = 2 };

ExitCode RunList(const ProbeOptions &options, Report &report, std::wstring &error);
ExitCode RunInfo(const ProbeOptions &options, Report &report, std::wstring &error);
ExitCode RunFlash(const ProbeOptions &options, Report &report, std::wstring &error);
ExitCode RunCheck(const ProbeOptions &options, Report &report, std::wstring &error);
ExitCode RunSystems(const ProbeOptions &options, Report &report, std::wstring &error);
ExitCode RunVerify(const ProbeOptions &options, Report &report, std::wstring &error);
