#include "CompoundTable.h"

#include "Names.h"

int CompoundTable::IndexOf(const std::wstring &id) const
{
    for (size_t i = 0; i < ids.size(); ++i)
        if (NamesEqual(ids[i].c_str(), id.c_str())) return static_cast<int>(i);
    return -1;
}
