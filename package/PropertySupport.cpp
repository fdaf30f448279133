// PLACEHOLDER: to be implemented.
#include "PropertyPackage.h"

void CPropertyPackage::LoadPropertySupport()
{
    
}
