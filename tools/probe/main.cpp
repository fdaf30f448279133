// corvanta-probe: a CAPE-OPEN 1.1 client for the console.
#include <windows.h>
#include <objbase.h>
#include <fcntl.h>
#include <io.h>
#include <cstdio>

#include "Arguments.h"
#include "Commands.h"
#include "Text.h"

namespace {

const char *const usageHint = "(corvanta-probe --help shows the usage)\n";

void Write(FILE *stream, const std::string &text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream);
}

ExitCode Run(const ProbeOptions &options, Report &report, std::wstring &error)
{
    switch (options.command) {
    case ProbeCommand::List: return RunList(options, report, error);
    case ProbeCommand::Info: return RunInfo(options, report, error);
    case ProbeCommand::Flash: return RunFlash(options, report, error);
    case ProbeCommand::Check: return RunCheck(options, report, error);
    case ProbeCommand::Systems: return RunSystems(options, report, error);
    case ProbeCommand::Verify: return RunVerify(options, report, error);
    default: return ExitOk;
    }
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    // Plain "\n" line ends: the output is read by people and scripts alike.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    try {
        ProbeOptions options;
        std::wstring error;
        if (!ParseArguments(argc, argv, options, error)) {
            Write(stderr, "corvanta-probe: " + ToUtf8(error) + "\n" + usageHint);
            return ExitBadArguments;
        }
        if (options.command == ProbeCommand::Help) {
            Write(stdout, UsageText());
            return ExitOk;
        }
        if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
            Write(stderr, "corvanta-probe: COM could not be initialised\n");
            return ExitFailed;
        }
        ExitCode code;
        {
            Report report;
            code = Run(options, report, error);
            Write(stdout, options.json ? RenderJson(report) : RenderText(report));
        }
        CoUninitialize();
        if (code != ExitOk) Write(stderr, "corvanta-probe: " + ToUtf8(error) + "\n");
        if (code == ExitBadArguments) Write(stderr, usageHint);
        return code;
    } catch (...) {
        Write(stderr, "corvanta-probe: out of memory or internal error\n");
        return ExitFailed;
    }
}
