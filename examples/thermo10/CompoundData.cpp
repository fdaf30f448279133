#include "CompoundData.h"

#include "Names.h"

// Constants from B. E. Poling, J. M. Prausnitz, J. P. O'Connell, "The Properties
// of Gases and Liquids", 5th ed., McGraw-Hill 2001, Appendix A: Tc, Pc (bar,
// converted to Pa), acentric factor, molecular weight, normal boiling point
// (CO2: sublimation point), and the ideal-gas Cp/R polynomial coefficients of
// section A.C (a1..a4 with the table's powers of ten applied).
const CompoundData KnownCompounds[KnownCompoundCount] = {
    {L"methane", L"Methane", L"CH4", L"74-82-8", 16.043, 111.66, 190.56, 45.99e5, 0.011,
     {4.568, -8.975e-3, 3.631e-5, -3.407e-8, 1.091e-11}},
    {L"ethane", L"Ethane", L"C2H6", L"74-84-0", 30.070, 184.55, 305.32, 48.72e5, 0.099,
     {4.178, -4.427e-3, 5.660e-5, -6.651e-8, 2.487e-11}},
    {L"propane", L"Propane", L"C3H8", L"74-98-6", 44.097, 231.02, 369.83, 42.48e5, 0.152,
     {3.847, 5.131e-3, 6.011e-5, -7.893e-8, 3.079e-11}},
    {L"n-butane", L"n-Butane", L"C4H10", L"106-97-8", 58.123, 272.66, 425.12, 37.96e5, 0.200,
     {5.547, 5.536e-3, 8.057e-5, -10.571e-8, 4.134e-11}},
    {L"n-pentane", L"n-Pentane", L"C5H12", L"109-66-0", 72.150, 309.22, 469.70, 33.70e5, 0.252,
     {7.554, -0.368e-3, 11.846e-5, -14.939e-8, 5.753e-11}},
    {L"n-hexane", L"n-Hexane", L"C6H14", L"110-54-3", 86.177, 341.88, 507.60, 30.25e5, 0.300,
     {8.831, -0.166e-3, 14.302e-5, -18.314e-8, 7.124e-11}},
    {L"nitrogen", L"Nitrogen", L"N2", L"7727-37-9", 28.014, 77.35, 126.20, 33.98e5, 0.037,
     {3.539, -0.261e-3, 0.007e-5, 0.157e-8, -0.099e-11}},
    {L"carbon dioxide", L"Carbon dioxide", L"CO2", L"124-38-9", 44.010, 194.67, 304.12, 73.74e5, 0.225,
     {3.259, 1.356e-3, 1.502e-5, -2.374e-8, 1.056e-11}},
    {L"water", L"Water", L"H2O", L"7732-18-5", 18.015, 373.15, 647.14, 220.64e5, 0.344,
     {4.395, -4.186e-3, 1.405e-5, -1.564e-8, 0.632e-11}},
};

const CompoundData *FindCompound(const wchar_t *id)
{
    if (!id) return nullptr;
    for (const CompoundData &compound : KnownCompounds)
        if (NamesEqual(compound.id, id)) return &compound;
    return nullptr;
}
