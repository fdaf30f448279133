// The models' numbers: the saturation solver's consistency, analytic
// derivatives against finite differences, and the thermodynamic identities
// that tie fugacities, enthalpy, entropy and volume together. Measured
// values are checked against the README's tables (ValidationTableTest).
#include "ExampleModels.h"
#include "IdealGas.h"
#include "Names.h"
#include "Saturation.h"

TEST(PengRobinsonSaturation, VaporPressureRisesToTheCriticalPointAndBoilingPointsInvertIt)
{
    for (const CompoundData &c : KnownCompounds) {
        double previous = 0;
        for (double Tr : {0.03, 0.05, 0.2, 0.5, 0.9, 0.979, 0.981, 0.999, 1.0, 1.5}) {
            SaturationPoint s = Saturation(c, Tr * c.criticalTemperature);
            EXPECT_TRUE(std::isfinite(s.pressure) && s.pressure > previous) << c.id << " at Tr " << Tr;
            EXPECT_TRUE(std::isfinite(s.dLnPressureDT) && s.dLnPressureDT > 0) << c.id << " at Tr " << Tr;
            previous = s.pressure;
        }
        CriticalPoint critical = ModelCriticalPoint(c);
        EXPECT_NEAR(critical.pressure, Saturation(c, critical.temperature).pressure, 1e-9 * critical.pressure);
        if (NamesEqual(c.id, L"carbon dioxide")) continue;  // sublimes at 1 atm
        double Tb = 0;
        ASSERT_TRUE(BoilingTemperature(c, 101325, Tb)) << c.id;
        EXPECT_NEAR(c.normalBoilingPoint, Tb, 0.006 * c.normalBoilingPoint) << c.id;
        EXPECT_NEAR(101325, Saturation(c, Tb).pressure, 1e-6 * 101325) << c.id;
    }
}

TEST(PengRobinsonSaturation, MixtureModelAgreesWithPureSolveAtSaturation)
{
    // The pure-compound solver and the mixture model are separate codes; at the
    // solved pressure the mixture model's phases have equal fugacities. The
    // Clapeyron slope is checked as the ideal liquid's lnPhi derivative in T.
    for (const wchar_t *id : {L"propane", L"water", L"nitrogen"}) {
        const CompoundData &c = *FindCompound(id);
        PengRobinson model(Compounds({id}));
        double T = 0.7 * c.criticalTemperature;
        SaturationPoint s = Saturation(c, T);
        double x = 1;
        PhaseState liquid, vapor;
        model.Evaluate(T, s.pressure, &x, PhaseKind::Liquid, RequestCaloric, liquid);
        model.Evaluate(T, s.pressure, &x, PhaseKind::Vapor, RequestCaloric, vapor);
        EXPECT_NEAR(liquid.lnPhi[0], vapor.lnPhi[0], 1e-9) << id;
        EXPECT_GT(vapor.Z, 5 * liquid.Z) << id;
        EXPECT_NEAR(vapor.enthalpy - liquid.enthalpy, s.heatOfVaporization, 1e-6 * s.heatOfVaporization)
            << id;
    }
}

// Both models: the analytic lnPhi derivatives match finite differences; H,
// S, Cp and G = H - TS are one consistent set, and the residual Gibbs energy
// equals RT sum x ln(phi).
class ModelDerivatives : public ::testing::TestWithParam<bool> {};

TEST_P(ModelDerivatives, LnPhiAndCaloricPropertiesMatchFiniteDifferences)
{
    auto model = MakeModel(GetParam(), {L"methane", L"ethane", L"n-butane", L"carbon dioxide", L"water"});
    std::vector<double> x{0.3, 0.2, 0.25, 0.15, 0.1};
    PhaseState state, plus, minus;
    struct Condition {
        double T, P;
        PhaseKind kind;
    };
    for (Condition c : {Condition{250, 30e5, PhaseKind::Liquid}, Condition{400, 10e5, PhaseKind::Vapor},
                        Condition{300, 200e5, PhaseKind::Stable}}) {
        model->Evaluate(c.T, c.P, x.data(), c.kind, RequestDerivatives, state);
        const std::size_t n = x.size();
        for (bool dT : {true, false}) {  // temperature, then pressure
            const double hT = dT ? 1e-4 * c.T : 0, hP = dT ? 0 : 1e-5 * c.P;
            model->Evaluate(c.T + hT, c.P + hP, x.data(), c.kind, 0, plus);
            model->Evaluate(c.T - hT, c.P - hP, x.data(), c.kind, 0, minus);
            const std::vector<double> &analytic = dT ? state.lnPhiDT : state.lnPhiDP;
            for (std::size_t i = 0; i < n; ++i)
                EXPECT_NEAR(analytic[i], (plus.lnPhi[i] - minus.lnPhi[i]) / (2 * (hT + hP)),
                            (dT ? 1e-9 : 1e-13) + 1e-6 * std::fabs(analytic[i]))
                    << (dT ? "dT " : "dP ") << i << " at " << c.T;
        }
        // Mole numbers: one mole in total, compound j changed by +-h.
        const double h = 1e-6;
        std::vector<double> moles(n);
        for (std::size_t j = 0; j < n; ++j) {
            for (int sign : {1, -1}) {
                moles = x;
                moles[j] += sign * h;
                double total = 1 + sign * h;
                for (double &m : moles) m /= total;
                model->Evaluate(c.T, c.P, moles.data(), c.kind, 0, sign > 0 ? plus : minus);
            }
            for (std::size_t i = 0; i < n; ++i)
                EXPECT_NEAR(state.lnPhiDn[i * n + j], (plus.lnPhi[i] - minus.lnPhi[i]) / (2 * h), 1e-5)
                    << "dn " << i << "," << j << " at " << c.T;
        }
    }
    for (PhaseKind kind : {PhaseKind::Liquid, PhaseKind::Vapor}) {
        double T = kind == PhaseKind::Liquid ? 220 : 420, P = 40e5;
        model->Evaluate(T, P, x.data(), kind, RequestCaloric, state);
        auto gibbs = [](const PhaseState &s) { return s.enthalpy - s.temperature * s.entropy; };
        double hT = 1e-3;
        model->Evaluate(T + hT, P, x.data(), kind, RequestCaloric, plus);
        model->Evaluate(T - hT, P, x.data(), kind, RequestCaloric, minus);
        EXPECT_NEAR(state.heatCapacityCp, (plus.enthalpy - minus.enthalpy) / (2 * hT),
                    1e-4 * state.heatCapacityCp);
        EXPECT_NEAR(-state.entropy, (gibbs(plus) - gibbs(minus)) / (2 * hT),
                    1e-4 * (1 + std::fabs(state.entropy)));
        EXPECT_LE(state.heatCapacityCv, state.heatCapacityCp);
        if (GetParam()) {  // the ideal liquid is incompressible: its G ignores V dP
            double hP = 10;
            model->Evaluate(T, P + hP, x.data(), kind, RequestCaloric, plus);
            model->Evaluate(T, P - hP, x.data(), kind, RequestCaloric, minus);
            EXPECT_NEAR(state.volume, (gibbs(plus) - gibbs(minus)) / (2 * hP), 1e-5 * state.volume);
        }
        double ideal = 0, lnPhiSum = 0;
        for (std::size_t i = 0; i < x.size(); ++i) {
            const CompoundData &c = model->Compound(i);
            ideal +=
                x[i] * (IdealGasEnthalpy(c, T) - T * (IdealGasEntropy(c, T) - GasConstant * std::log(x[i])));
            ideal += x[i] * GasConstant * T * std::log(P / ReferencePressure);
            lnPhiSum += x[i] * state.lnPhi[i];
        }
        EXPECT_NEAR(gibbs(state) - ideal, GasConstant * T * lnPhiSum, 1e-6 * std::fabs(ideal) + 1e-6);
    }
}

INSTANTIATE_TEST_SUITE_P(Models, ModelDerivatives, ::testing::Values(true, false), ModelName);

// The caloric identities above hold for any Cp; its values and the reference state.
TEST(IdealGas, HeatCapacityMatchesTablesAndEnthalpyIsZeroAtTheReference)
{
    for (const CompoundData &c : KnownCompounds) EXPECT_DOUBLE_EQ(0, IdealGasEnthalpy(c, ReferenceTemperature));
    // NIST-JANAF at 298.15 K: methane 35.69, water 33.58 J/(mol K).
    EXPECT_NEAR(35.69, IdealGasHeatCapacity(*FindCompound(L"methane"), 298.15), 0.4);
    EXPECT_NEAR(33.58, IdealGasHeatCapacity(*FindCompound(L"water"), 298.15), 0.4);
}
