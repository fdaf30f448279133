// The common face of the two property models: properties of one phase of a
// mixture at given temperature, pressure and mole fractions.
#pragma once

#include <cstddef>
#include <vector>

#include "CompoundData.h"

enum class PhaseKind {
    Vapor,   // the vapour-like state (largest volume root)
    Liquid,  // the liquid-like state (smallest volume root)
    Stable,  // whichever state has the lower Gibbs energy
};

// What Evaluate must fill beyond volume and the fugacity coefficients.
enum PhaseRequest : unsigned {
    RequestCaloric = 1,      // enthalpy, entropy, heat capacities
    RequestDerivatives = 2,  // lnPhi derivatives in T, P and mole numbers
};

struct PhaseState {
    double temperature = 0;  // K, as evaluated
    double Z = 0;            // compressibility factor
    double volume = 0;       // m3/mol
    double enthalpy = 0;     // J/mol
    double entropy = 0;      // J/(mol K)
    double heatCapacityCp = 0;
    double heatCapacityCv = 0;
    bool vaporLike = false;  // the state a client would call "Vapor"
    std::vector<double> lnPhi;
    std::vector<double> lnPhiDT;  // 1/K, at constant P and composition
    std::vector<double> lnPhiDP;  // 1/Pa
    std::vector<double> lnPhiDn;  // n x n, row i: d lnPhi_i / d n_j at one mole in total
};

class ThermoModel {
public:
    virtual ~ThermoModel() = default;
    // x: mole fractions summing to 1; out keeps its vectors' capacity between calls.
    virtual void Evaluate(double T, double P, const double *x, PhaseKind kind, unsigned request,
                          PhaseState &out) const = 0;
    std::size_t Size() const { return compounds.size(); }
    const CompoundData &Compound(std::size_t i) const { return *compounds[i]; }

protected:
    explicit ThermoModel(std::vector<const CompoundData *> list) : compounds(std::move(list)) {}
    // Ideal-gas parts at T and P: mixture H, S (with mixing) and Cp.
    void AddIdealGasParts(double T, double P, const double *x, PhaseState &out) const;

    std::vector<const CompoundData *> compounds;
};
