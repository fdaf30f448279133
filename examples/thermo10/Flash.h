// Phase equilibrium (vapour-liquid) on any ThermoModel.
//
// TP flash: the feed is tested with Michelsen's tangent plane (TangentPlane.h);
// a stable feed is one phase, named by the model's rule (PhaseState::vaporLike).
// An unstable feed is split, starting from the stationary point the test found:
// successive substitution on the K-values with Rachford-Rice, then Newton steps
// that lower the Gibbs energy in the vapour mole numbers. Both phases of the
// split are tested again; a split whose phases are not stable would need a
// third phase, which this package does not model, and fails. A split whose
// phases have the same composition and density is the trivial solution and is
// never returned. In a split the less dense phase is the vapour.
//
// Flashes that fix another pair than T and P solve one outer variable on TP
// flashes: T at fixed P for "PH" and "PS" (by bisection: H and S rise with T),
// T at fixed P for "PVF" and P at fixed T for "TVF" (scan of the whole range for
// two-phase intervals, then bisection inside them).
#pragma once

#include <string>
#include <vector>

#include "TangentPlane.h"
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
    explicit Flash(const ThermoModel &model) : model(model), tangent(model) {}

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

    // The ranges the outer solves search.
    static constexpr double MinTemperature = 40.0;
    static constexpr double MaxTemperature = 1500.0;
    static constexpr double MinPressure = 1e-2;
    static constexpr double MaxPressure = 1e9;

private:
    // Flash.cpp: the TP flash.
    enum class SplitOutcome { Done, Trivial, LiquidLiquid, Failed };
    SplitOutcome Split(double T, double P, const std::vector<double> &z, const std::vector<double> &trial,
                       FlashResult &result);
    bool MinimizeGibbs(double T, double P, const std::vector<double> &z);
    void SinglePhase(double T, double P, const std::vector<double> &z, FlashResult &result);
    double RachfordRice(const std::vector<double> &z, const std::vector<double> &lnK);
    double MixtureProperty(const FlashResult &result, bool entropy);

    // FlashSpecifications.cpp: the outer solves.
    bool SolveTemperature(double P, double target, bool entropy, const std::vector<double> &z,
                          FlashResult &result, std::wstring &error);
    bool SolveVaporFraction(double fixed, bool fixedIsPressure, double target, const std::vector<double> &z,
                            FlashResult &result, std::wstring &error);
    bool BoilingPoint(double T, double P, const std::vector<double> &z);
    bool PolishVaporFraction(double fixed, bool fixedIsPressure, double beta, const std::vector<double> &z,
                             FlashResult &answer);

    const ThermoModel &model;
    TangentPlane tangent;
    PhaseState liquid, vapor, state;
    FlashResult candidate;
    // Kept between calls: K-values, phase compositions, vapour mole numbers, Newton work.
    std::vector<double> wilson, lnK, x, y, v, l, trialV, trialL, gradient, hessian, step;
};
