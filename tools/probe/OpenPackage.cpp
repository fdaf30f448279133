#include "OpenPackage.h"

bool OpenPackage(const ProbeOptions &options, ManagerClient &manager, PackageClient &package, std::wstring &error)
{
    ComPtr<IDispatch> object;
    if (!manager.Open(options.managerProgId, error) || !manager.GetPackage(options.packageName, object, error))
        return false;
    if (!package.Open(object, error)) {
        error = L"package \"" + options.packageName + L"\": " + error;
        return false;
    }
    return true;
}
