#include "Commands.h"

ExitCode RunVerify(const ProbeOptions &, Report &, std::wstring &error)
{
    error = L"not yet";
    return ExitFailed;
}
