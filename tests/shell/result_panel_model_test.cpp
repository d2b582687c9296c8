// The result panels' fields, labels and fill: formats, empty zeros and the limit colouring.
#include "shell/result_panel_model.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

namespace quorvex {
namespace {

const FieldDisplay& Shown(const std::vector<FieldDisplay>& shown, const PanelLayout& layout,
                          const std::string& name) {
    const int index = FieldIndex(layout, name);
    EXPECT_GE(index, 0) << name;
    return shown.at(static_cast<std::size_t>(index < 0 ? 0 : index));
}

TEST(ResultPanelModel, TensileFillFormatsAndColoursOnlyTheFieldOutside) {
    auto state = std::make_unique<TestState>();
    ParameterSet& p = state->Parameters;
    p.Results[9].LimitActive = 1;  // Rm, slot 10
    p.Results[9].LimitMin = 100;
    p.Results[9].LimitMax = 499;
    p.Results[9].Decimals = 0;
    p.Results[13].Decimals = 1;  // Ag
    ResultsRecord& r = state->Current();
    r.Rm = 500;
    r.ReH = 350.4f;
    r.Ag = 12.34f;
    r.So = 78.54f;
    r.Z = 0;
    r.GaugeAtAg = 56.25f;
    const PanelLayout layout = BuildPanelLayout(p);
    const auto shown = FillPanel(layout, *state, 3);
    EXPECT_EQ(Shown(shown, layout, "Rm").Text, "     500");
    EXPECT_TRUE(Shown(shown, layout, "Rm").Red);
    EXPECT_EQ(Shown(shown, layout, "ReH").Text, "     350");
    EXPECT_FALSE(Shown(shown, layout, "ReH").Red);
    EXPECT_EQ(Shown(shown, layout, "Ag").Text, "    12.3");
    EXPECT_EQ(Shown(shown, layout, "Z").Text, "");           // 0 is not shown
    EXPECT_EQ(Shown(shown, layout, "Fm").Text, "  39.270");  // 500 x 78.54 N in kN
    EXPECT_EQ(Shown(shown, layout, "lg").Text, " 56.3");

    p.Results[9].LimitMax = 500;  // on the limit is inside
    EXPECT_FALSE(Shown(FillPanel(layout, *state, 3), layout, "Rm").Red);

    // psi shows the stress converted and tests it against limits in psi.
    p.UnitSystem = 2;
    p.Results[9].LimitMax = 72000;
    const PanelLayout psi = BuildPanelLayout(p);
    const auto inPsi = FillPanel(psi, *state, 3);
    EXPECT_EQ(Shown(inPsi, psi, "Rm").Text, "   72519");
    EXPECT_TRUE(Shown(inPsi, psi, "Rm").Red);
}

// Right after a test the record has no So yet (it gets it in the series): the forces of the
// second tab are taken on the specimen's.
TEST(ResultPanelModel, ForcesBeforeTheSeriesEntryUseTheSpecimensSo) {
    auto state = std::make_unique<TestState>();
    state->Parameters.EffectiveSo = 78.54f;
    ResultsRecord& r = state->Current();
    r.Rm = 500;
    r.Rp = 400;
    r.So = 0;
    const PanelLayout layout = BuildPanelLayout(state->Parameters);
    const auto shown = FillPanel(layout, *state, 3);
    EXPECT_EQ(Shown(shown, layout, "Fm").Text, "  39.270");
    EXPECT_EQ(Shown(shown, layout, "Fp").Text, "  31.416");
}

TEST(ResultPanelModel, LabelsFollowTheParameterSet) {
    ParameterSet p;
    p.ProofStrain = 0.1f;
    p.SecondProofStrain = 0.5f;
    p.SecondProofIsRt = 1;
    p.RatioKind = 7;
    p.UnitSystem = 1;
    p.TestType = 2;
    const PanelLayout layout = BuildPanelLayout(p);
    auto field = [&](const char* name) {
        return layout.Fields.at(static_cast<std::size_t>(FieldIndex(layout, name)));
    };
    EXPECT_EQ(field("Rp").Caption, "Rp 0.10");
    EXPECT_EQ(field("Rt").Caption, "Rt 0.50");
    EXPECT_EQ(field("Ft").Caption, "Ft 0.50");
    EXPECT_EQ(field("Ratio").Caption, "ReH/Rm");
    EXPECT_EQ(field("Rm").Unit, "MPa");
    EXPECT_EQ(field("Ac").Caption, "Al");
    EXPECT_EQ(field("Ac").Unit, "mm");
    EXPECT_EQ(field("Ft").Tab, 1);

    p.TestType = 6;
    p.Results[7].Evaluate = 0;  // Sig-1 (element 7) off
    p.Results[8].Evaluate = 1;  // Sig-2 on
    p.SigStrainPoint = {1, 2.6, 3, 4, 5};
    const PanelLayout plastics = BuildPanelLayout(p);
    EXPECT_EQ(plastics.Group, ResultGroup::Plastics);
    EXPECT_EQ(plastics.Fields.at(static_cast<std::size_t>(FieldIndex(plastics, "Sig-2"))).Caption,
              "Sig-3");
    EXPECT_EQ(plastics.Fields.at(static_cast<std::size_t>(FieldIndex(plastics, "Sig-1"))).Caption,
              "Sig-");
}

TEST(ResultPanelModel, OtherTypesShowTheirElementsWithTheirDecimals) {
    auto state = std::make_unique<TestState>();
    ParameterSet& p = state->Parameters;
    p.TestType = 3;
    // The decimals of the results definition count, not a copy left by another type.
    p.Results[4].Decimals = 0;
    p.Results[5].Decimals = 1;
    state->ResultDecimals[4] = 3;
    state->ResultDecimals[5] = 3;
    state->Current().Results[4] = 3000;
    state->Current().Results[5] = 112.5f;
    p.Results[5].LimitActive = 1;
    p.Results[5].LimitMin = 120;
    p.Results[5].LimitMax = 200;
    const PanelLayout layout = BuildPanelLayout(p);
    EXPECT_EQ(layout.Group, ResultGroup::Shear);
    const auto shown = FillPanel(layout, *state, 2);
    EXPECT_EQ(Shown(shown, layout, "Fmax").Text, "    3000");
    EXPECT_EQ(Shown(shown, layout, "Tau").Text, "   112.5");
    EXPECT_TRUE(Shown(shown, layout, "Tau").Red);
    EXPECT_FALSE(Shown(shown, layout, "Fmax").Red);

    // The universal, plastics and flexural-modulus panels follow their definitions as well.
    const std::tuple<int, const char*, int> others[] = {
        {5, "Fmax", 0}, {6, "Sig-M", 5}, {7, "Ef", 3}};
    for (const auto& [type, name, element] : others) {
        p.TestType = type;
        for (auto& slot : p.Results) slot.Decimals = 0;
        p.Results[static_cast<std::size_t>(element)].Decimals = 2;
        state->Current().Results.fill(0);
        state->Current().Results[static_cast<std::size_t>(element)] = 1234.5678f;
        const PanelLayout other = BuildPanelLayout(p);
        EXPECT_EQ(Shown(FillPanel(other, *state, 2), other, name).Text, " 1234.57") << type;
    }
}

TEST(ResultPanelModel, TheSpeedUnitFollowsTheStressUnit) {
    EXPECT_EQ(StressRateUnit(0), "N/mm²/s");
    EXPECT_EQ(StressRateUnit(1), "MPa/s");
}

// Every field with a result slot, in every test type, turns red exactly when its value lies
// outside its active limits; a value on a limit is inside, and switched-off monitoring never
// colours.
TEST(ResultPanelModel, EveryTypeColoursEveryMonitoredField) {
    using V = TensileValue;
    const std::pair<V, float ResultsRecord::*> tensile[] = {{V::E, &ResultsRecord::E},
                                                            {V::Rm, &ResultsRecord::Rm},
                                                            {V::ReL, &ResultsRecord::ReL},
                                                            {V::ReH, &ResultsRecord::ReH},
                                                            {V::Rp, &ResultsRecord::Rp},
                                                            {V::Rt, &ResultsRecord::Rp2},
                                                            {V::Ae, &ResultsRecord::Ae},
                                                            {V::Ag, &ResultsRecord::Ag},
                                                            {V::Z, &ResultsRecord::Z},
                                                            {V::Rr, &ResultsRecord::Rr},
                                                            {V::Ratio, &ResultsRecord::RatioR1R2},
                                                            {V::Ac, &ResultsRecord::Ac},
                                                            {V::At, &ResultsRecord::At},
                                                            {V::Agt, &ResultsRecord::Agt},
                                                            {V::r, &ResultsRecord::r},
                                                            {V::n, &ResultsRecord::n}};
    struct Limits {
        std::uint8_t Active;
        float Max;
        bool Red;
    };
    const Limits cases[] = {{1, 49, true}, {1, 50, false}, {0, 49, false}};
    for (int type = 0; type < 10; ++type) {
        for (const Limits& c : cases) {
            auto state = std::make_unique<TestState>();
            ParameterSet& p = state->Parameters;
            p.TestType = type;
            p.UnitSystem = 1;
            for (auto& slot : p.Results) slot = {1, c.Active, 1, 10, c.Max, 1, 1};
            for (auto& decimals : state->ResultDecimals) decimals = 1;
            ResultsRecord& record = state->Current();
            record.Results.fill(50);
            for (const auto& [value, member] : tensile) record.*member = 50;
            const PanelLayout layout = BuildPanelLayout(p);
            const auto shown = FillPanel(layout, *state, 2);
            int monitored = 0;
            for (std::size_t i = 0; i < layout.Fields.size(); ++i) {
                if (layout.Fields[i].Slot == 0) continue;
                ++monitored;
                EXPECT_EQ(shown[i].Red, c.Red) << "type " << type << " " << layout.Fields[i].Name;
            }
            EXPECT_GE(monitored, 2) << type;
        }
    }
}

}  // namespace
}  // namespace quorvex
