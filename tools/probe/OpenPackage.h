// Opens the manager of the options and the package they name.
#pragma once

#include <string>

#include "Arguments.h"
#include "CapeClient.h"

bool OpenPackage(const ProbeOptions &options, ManagerClient &manager, PackageClient &package, std::wstring &error);
