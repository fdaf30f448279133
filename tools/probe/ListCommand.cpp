#include "Commands.h"

#include "CapeClient.h"
#include "Text.h"

ExitCode RunList(const ProbeOptions &options, Report &report, std::wstring &error)
{
    ManagerClient manager;
    std::vector<std::wstring> names;
    if (!manager.Open(options.managerProgId, error) || !manager.ListPackages(names, error)) return ExitFailed;
    Table &table = report.AddTable("Packages of " + ToUtf8(options.managerProgId), {"package"});
    table.bare = true;  // one name a line, for people and shell loops alike
    for (const std::wstring &name : names) table.AddRow({Cell::Text(name)});
    return ExitOk;
}
