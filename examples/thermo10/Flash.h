// Phase equilibrium (vapour-liquid) on any ThermoModel: a stability test
// (tangent plane, Michelsen) decides whether z splits; the split is solved by
// successive substitution on the K-values with Rachford-Rice for the vapour
// fraction. Flashes that fix another pair than T and P solve one outer
// variable (T, or P for "TVF") by bisection on TP flashes.
#pragma once

#include <string>
#include <vector>

#include "ThermoModel.h"

struct FlashResult {
    double temperature = 0;
    double pressure = 0;
    double vaporFraction = 0;  // mole fraction of the feed in the vapour
    bool hasVapor = false;
    bool hasLiquid = false;
    std::vector<double> x;  // liquid mole fractions
    std::vector<double> y;  // vapour mole fractions
};

class Flash {
public:
    explicit Flash(const ThermoModel &model) : model(model) {}

    // Each returns false with a reason in error when there is no answer.
    bool TP(double T, double P, const std::vector<double> &z, FlashResult &result, std::wstring &error);
    bool PH(double P, double H, const std::vector<double> &z, FlashResult &result, std::wstring &error);
    bool PS(double P, double S, const std::vector<double> &z, FlashResult &result, std::wstring &error);
    bool PVF(double P, double vaporFraction, const std::vector<double> &z, FlashResult &result,
             std::wstring &error);
    bool TVF(double T, double vaporFraction, const std::vector<double> &z, FlashResult &result,
             std::wstring &error);

    // Molar enthalpy and entropy of the whole of a flash result.
    double Enthalpy(const FlashResult &result);
    double Entropy(const FlashResult &result);

    // Lowest and highest temperature the outer solves search.
    static constexpr double MinTemperature = 40.0;
    static constexpr double MaxTemperature = 1500.0;

private:
    bool StabilityTest(double T, double P, const std::vector<double> &z, std::vector<double> &lnK);
    bool Split(double T, double P, const std::vector<double> &z, std::vector<double> &lnK,
               FlashResult &result);
    void SinglePhase(double T, double P, const std::vector<double> &z, FlashResult &result);
    double RachfordRice(const std::vector<double> &z, const std::vector<double> &lnK);
    // Solves property(T) = target at fixed P, property being H or S.
    bool SolveTemperature(double P, double target, bool entropy, const std::vector<double> &z,
                          FlashResult &result, std::wstring &error);
    // Solves vaporFraction(outer) = target; outer is T (fixedIsPressure) or P.
    bool SolveVaporFraction(double fixed, bool fixedIsPressure, double target, const std::vector<double> &z,
                            FlashResult &result, std::wstring &error);
    double PhaseProperty(double T, double P, const std::vector<double> &x, PhaseKind kind, bool entropy);
    double MixtureProperty(const FlashResult &result, bool entropy);

    const ThermoModel &model;
    PhaseState state, trial;
    std::vector<double> logK, bestLnK, w, lnW, d, x, y;  // kept between calls
};
