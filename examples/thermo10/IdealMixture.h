// The ideal model: ideal-gas vapour and ideal-solution liquid (Raoult's law),
// with the vapour pressures of Saturation.h. The liquid is
// incompressible, with the Rackett volume (Yamada-Gunn form).
//
// Phase naming: the stable state is the liquid where its Gibbs energy is the
// lower, but only below the highest critical temperature (the end of the
// vapour-pressure curve) of the compounds present: above it nothing can
// condense, and a single phase is "Vapor" at any pressure. Raoult's law
// itself still uses the extrapolated vapour pressures of supercritical
// compounds dissolved in a liquid.
#pragma once

#include "Saturation.h"
#include "ThermoModel.h"

class IdealMixture : public ThermoModel {
public:
    explicit IdealMixture(std::vector<const CompoundData *> list);
    void Evaluate(double T, double P, const double *x, PhaseKind kind, unsigned request,
                  PhaseState &out) const override;

private:
    // Saturation of every compound at T, kept while T does not change.
    const std::vector<SaturationPoint> &SaturationAt(double T) const;
    double LiquidVolume(std::size_t i, double T) const;

    std::vector<double> criticalTemperature;  // of the model, per compound
    mutable double cachedT = -1;
    mutable std::vector<SaturationPoint> cached;
};
