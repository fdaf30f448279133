// The example's two models over chosen compounds, and what every flash
// answer of them must be, shared by the model, flash and validation tests.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "CompoundData.h"
#include "Flash.h"
#include "IdealMixture.h"
#include "PengRobinson.h"

inline std::vector<const CompoundData *> Compounds(const std::vector<const wchar_t *> &ids)
{
    std::vector<const CompoundData *> list;
    for (const wchar_t *id : ids) {
        list.push_back(FindCompound(id));
        EXPECT_NE(nullptr, list.back()) << "unknown compound";
    }
    return list;
}

inline std::unique_ptr<ThermoModel> MakeModel(bool pengRobinson, const std::vector<const wchar_t *> &ids)
{
    if (pengRobinson) return std::make_unique<PengRobinson>(Compounds(ids));
    return std::make_unique<IdealMixture>(Compounds(ids));
}

inline std::string ModelName(const ::testing::TestParamInfo<bool> &info)
{
    return info.param ? "PengRobinson" : "Ideal";
}

inline double VaporFraction(const FlashResult &r)
{
    return (r.hasVapor && r.hasLiquid) ? r.vaporFraction : (r.hasVapor ? 1.0 : 0.0);
}

// One phase holds the feed; two phases are an equilibrium of two different
// phases: material balance and equal fugacities.
inline void ExpectEquilibrium(const ThermoModel &model, const std::vector<double> &z, const FlashResult &r,
                              const std::string &where)
{
    if (!(r.hasVapor && r.hasLiquid)) {
        const std::vector<double> &phase = r.hasVapor ? r.y : r.x;
        for (std::size_t i = 0; i < z.size(); ++i) EXPECT_NEAR(z[i], phase.at(i), 1e-12) << where;
        return;
    }
    PhaseState liquid, vapor;
    model.Evaluate(r.temperature, r.pressure, r.x.data(), PhaseKind::Liquid, 0, liquid);
    model.Evaluate(r.temperature, r.pressure, r.y.data(), PhaseKind::Vapor, 0, vapor);
    double gap = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        EXPECT_NEAR(z[i], r.vaporFraction * r.y[i] + (1 - r.vaporFraction) * r.x[i], 1e-10) << where;
        EXPECT_NEAR(std::log(r.x[i]) + liquid.lnPhi[i], std::log(r.y[i]) + vapor.lnPhi[i], 1e-7) << where;
        gap = std::max(gap, std::fabs(r.x[i] - r.y[i]));
    }
    EXPECT_TRUE(gap > 1e-6 || std::fabs(vapor.volume - liquid.volume) > 1e-4 * liquid.volume)
        << "trivial two-phase answer " << where;
}
