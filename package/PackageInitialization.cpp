// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

bool CPropertyPackage::EnsureInitialized(const wchar_t *interfaceName, const wchar_t *scope)
{
    return false;
}

bool CPropertyPackage::LoadFromPackage()
{
    return false;
}
