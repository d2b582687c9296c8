// The results-definition forms of every test type without widgets: what opening changes, the
// checks of OK in their order with their messages, and what OK stores.
#include "definitions/results_definition_form.h"

#include <gtest/gtest.h>

namespace quorvex {
namespace {

ResultDefinition& Slot(ParameterSet& p, int slot) {
    return p.Results[static_cast<std::size_t>(slot - 1)];
}

// A set whose limits all pass: every slot 1..21 with limits 1 ... 100 and 1 decimal.
ParameterSet PassingSet(int testType) {
    ParameterSet p;
    p.TestType = testType;
    for (int slot = 1; slot <= 27; ++slot) {
        Slot(p, slot).LimitMin = 1;
        Slot(p, slot).LimitMax = 100;
        Slot(p, slot).Decimals = 1;
    }
    return p;
}

struct Opened {
    ParameterSet Set;
    DefinitionForm Form;
};

Opened Open(DefinitionKind kind, ParameterSet p) {
    ApplyOpeningChanges(LayoutOf(kind), p);
    DefinitionForm form = OpenDefinitionForm(LayoutOf(kind), p);
    return {p, form};
}

int RowOf(DefinitionKind kind, int slot) {
    const auto& rows = LayoutOf(kind).Rows;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].Slot == slot) return static_cast<int>(i);
    }
    return -1;
}

TEST(ResultsDefinitionForm, EachTestTypeHasItsDialog) {
    const DefinitionKind kinds[] = {DefinitionKind::Tensile,
                                    DefinitionKind::Tensile,
                                    DefinitionKind::Tensile,
                                    DefinitionKind::Shear,
                                    DefinitionKind::Chain,
                                    DefinitionKind::Universal,
                                    DefinitionKind::Plastics,
                                    DefinitionKind::FlexuralModulus,
                                    DefinitionKind::FlexuralStrength,
                                    DefinitionKind::Compression};
    for (int type = 0; type < 10; ++type) EXPECT_EQ(DefinitionKindOfTestType(type), kinds[type]);
    EXPECT_EQ(LayoutOf(DefinitionKind::Tensile).Rows.size(), 21u);
    EXPECT_EQ(LayoutOf(DefinitionKind::Chain).Rows.size(), 8u);
    EXPECT_EQ(LayoutOf(DefinitionKind::Universal).Rows.size(), 19u);
    EXPECT_EQ(LayoutOf(DefinitionKind::Compression).Rows.back().Name, "E-Modul");
}

// What opening changes at once, per dialog: the unit system, the decimals written, the slots
// evaluated and the slots whose flags are cleared.
TEST(ResultsDefinitionForm, OpeningChangesTable) {
    struct Case {
        DefinitionKind Kind;
        int UnitSystemAfter;  // opened from psi (2)
        std::vector<int> Evaluated;
        int ClearedFrom, ClearedTo;
    };
    const Case cases[] = {
        {DefinitionKind::Tensile, 2, {}, 0, -1},
        {DefinitionKind::Shear, 1, {1}, 7, 21},
        {DefinitionKind::FlexuralStrength, 1, {1}, 7, 21},
        {DefinitionKind::Chain, 1, {1, 2, 3}, 9, 21},
        {DefinitionKind::Universal, 1, {}, 20, 21},
        {DefinitionKind::Plastics, 1, {1, 2, 3, 4}, 20, 21},
        {DefinitionKind::FlexuralModulus, 1, {1, 2, 3, 4}, 8, 21},
        {DefinitionKind::Compression, 1, {1, 2, 3}, 12, 21},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Kind));
        ParameterSet p;
        p.UnitSystem = 2;
        for (auto& r : p.Results) r = {0, 1, 1, 3, 4, 3, 1};
        ApplyOpeningChanges(LayoutOf(c.Kind), p);
        EXPECT_EQ(p.UnitSystem, c.UnitSystemAfter);
        for (int slot = 1; slot <= 30; ++slot) {
            const ResultDefinition& r = Slot(p, slot);
            const bool cleared = slot >= c.ClearedFrom && slot <= c.ClearedTo;
            const bool evaluated =
                std::find(c.Evaluated.begin(), c.Evaluated.end(), slot) != c.Evaluated.end();
            EXPECT_EQ(r.Evaluate, evaluated ? 1 : 0) << slot;
            EXPECT_EQ(r.LimitActive, cleared ? 0 : 1) << slot;
            EXPECT_EQ(r.PrintInReport, cleared ? 0 : 1) << slot;
            EXPECT_EQ(r.PrintInList, cleared ? 0 : 1) << slot;
            EXPECT_EQ(r.LimitMin, 3) << slot;  // limits are never touched
        }
    }
    // The decimals written on opening.
    ParameterSet chain;
    ApplyOpeningChanges(LayoutOf(DefinitionKind::Chain), chain);
    const int fixed[] = {1, 1, 0, 1, 1, 0, 1, 1};
    for (int slot = 1; slot <= 8; ++slot) EXPECT_EQ(Slot(chain, slot).Decimals, fixed[slot - 1]);
    ParameterSet tensile;
    for (auto& r : tensile.Results) r.Decimals = 3;
    ApplyOpeningChanges(LayoutOf(DefinitionKind::Tensile), tensile);
    for (int slot = 1; slot <= 21; ++slot) {
        const bool zero = (slot >= 6 && slot <= 11) || slot == 19;
        EXPECT_EQ(Slot(tensile, slot).Decimals, zero ? 0 : 3) << slot;
    }
}

TEST(ResultsDefinitionForm, OpeningShowsLimitsWithTheirDecimalsAndTicksLockedRows) {
    ParameterSet p = PassingSet(0);
    Slot(p, 1).LimitMin = 0.05f;
    Slot(p, 1).Decimals = 2;
    Slot(p, 3).Evaluate = 0;
    Slot(p, 11) = {1, 1, 1, 5, 6, 0, 1};
    const Opened o = Open(DefinitionKind::Tensile, p);
    EXPECT_EQ(o.Form.Rows[0].Min, "0.05");
    EXPECT_EQ(o.Form.Rows[0].Max, "100.00");
    EXPECT_TRUE(o.Form.Rows[2].Evaluate);  // d cannot be switched off
    EXPECT_EQ(o.Form.Rows[5].Min, "1");    // ReH without decimals
    // Rr cannot be switched on: its boxes show cleared and its fields a dash.
    const RowForm& rr = o.Form.Rows[10];
    EXPECT_FALSE(rr.Evaluate || rr.LimitActive || rr.Print || rr.Statistics);
    EXPECT_EQ(rr.Min, "  -");
    EXPECT_EQ(o.Form.Options.at("Rp"), "0.10");
    EXPECT_EQ(o.Form.Options.at("FixedModulus"), "210000");
    EXPECT_EQ(o.Form.Options.at("Ratio"), "0");      // RatioKind 1
    EXPECT_EQ(o.Form.Options.at("Standard"), "-1");  // opens without a selection
}

struct CheckCase {
    const char* Name;
    DefinitionKind Kind;
    void (*Edit)(DefinitionForm&);
    int Field;  // -1: passes
    int TextNumber;
    const char* RangeText;
};

int Opt(DefinitionKind kind, const char* key) {
    return OptionField(OptionIndex(LayoutOf(kind), key));
}

TEST(ResultsDefinitionForm, ChecksOfOkInTheirOrder) {
    using K = DefinitionKind;
    const int z = RowOf(K::Tensile, 18);
    const CheckCase cases[] = {
        {"tensile unchanged", K::Tensile, [](DefinitionForm&) {}, -1, 0, ""},
        {"proof strain 0.0099 passes", K::Tensile,
         [](DefinitionForm& f) { f.Options["Rp"] = "0.0099"; }, -1, 0, ""},
        {"proof strain 0.0098", K::Tensile, [](DefinitionForm& f) { f.Options["Rp"] = "0.0098"; },
         Opt(K::Tensile, "Rp"), 181, " 0.01 ... 5.0 !"},
        {"second proof strain 5.1", K::Tensile, [](DefinitionForm& f) { f.Options["Rt"] = "5.1"; },
         Opt(K::Tensile, "Rt"), 181, " 0.01 ... 5.0 !"},
        {"Delta-R 1", K::Tensile, [](DefinitionForm& f) { f.Options["DeltaR"] = "1"; },
         Opt(K::Tensile, "DeltaR"), 181, " 2.0 ... 50000.0 !"},
        {"Delta-R 2 and E 80000000 pass", K::Tensile,
         [](DefinitionForm& f) {
             f.Options["DeltaR"] = "2";
             f.Options["FixedModulus"] = "80000000";
         },
         -1, 0, ""},
        {"Delta-R 50000 passes", K::Tensile,
         [](DefinitionForm& f) { f.Options["DeltaR"] = "50000"; }, -1, 0, ""},
        {"E 4999", K::Tensile, [](DefinitionForm& f) { f.Options["FixedModulus"] = "4999"; },
         Opt(K::Tensile, "FixedModulus"), 181, " 5000.0 ... 80000000.0 !"},
        // The limits of a result that is switched off are not used: 0 passes, no number does not.
        {"Z min 0 while Z is off passes", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[17].Evaluate = false;
             f.Rows[17].Min = "0";
         },
         -1, 0, ""},
        {"Z min 0 while Z is on: no lower bound", K::Tensile,
         [](DefinitionForm& f) { f.Rows[17].Min = "0"; }, -1, 0, ""},
        {"Z max 0 while Z is on", K::Tensile, [](DefinitionForm& f) { f.Rows[17].Max = "0"; },
         MaxField(z), 181, " > 0 !"},
        {"Z max 0 while Z is off", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[17].Evaluate = false;
             f.Rows[17].Max = "0";
         },
         -1, 0, ""},
        {"Z min without a number while Z is off", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[17].Evaluate = false;
             f.Rows[17].Min = "x";
         },
         MinField(z), 181, " >= 0 !"},
        {"So is evaluated whatever its box shows", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[4].Evaluate = false;
             f.Rows[4].Max = "0";
         },
         MaxField(4), 181, " > 0 !"},
        {"options come before the limits", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[0].Min = "0";
             f.Options["FixedModulus"] = "x";
         },
         Opt(K::Tensile, "FixedModulus"), 181, " 5000.0 ... 80000000.0 !"},
        {"every min before the first max", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[0].Max = "0";
             f.Rows[18].Min = "-1";
         },
         MinField(18), 181, " >= 0 !"},
        {"Rr, r and n are not checked", K::Tensile,
         [](DefinitionForm& f) {
             f.Rows[10].Min = "x";
             f.Rows[19].Min = "0";
             f.Rows[20].Max = "";
         },
         -1, 0, ""},
        {"shear max of Fmax", K::Shear, [](DefinitionForm& f) { f.Rows[4].Max = "0"; }, MaxField(4),
         181, " > 0 !"},
        {"chain min of a switched-off row", K::Chain,
         [](DefinitionForm& f) {
             f.Rows[7].Evaluate = false;
             f.Rows[7].Min = "-1";
         },
         MinField(7), 181, " >= 0 !"},
        {"universal travel after the mins", K::Universal,
         [](DefinitionForm& f) {
             f.Options["F1Travel"] = "-1";
             f.Rows[0].Max = "0";
         },
         Opt(K::Universal, "F1Travel"), 181, " >= 0 !"},
        {"universal mins before the travel", K::Universal,
         [](DefinitionForm& f) {
             f.Options["F2Travel"] = "-1";
             f.Rows[18].Min = "-1";
         },
         MinField(18), 181, " >= 0 !"},
        {"universal force after the maxes", K::Universal,
         [](DefinitionForm& f) {
             f.Options["S2Force"] = "-1";
             f.Rows[18].Max = "0";
         },
         MaxField(18), 181, " > 0 !"},
        {"universal force", K::Universal, [](DefinitionForm& f) { f.Options["S1Force"] = ""; },
         Opt(K::Universal, "S1Force"), 181, " >= 0 !"},
        {"universal point 0: not determined", K::Universal,
         [](DefinitionForm& f) { f.Options["S1Force"] = "0"; }, -1, 0, ""},
        {"plastics strain point", K::Plastics,
         [](DefinitionForm& f) { f.Options["SigPoint3"] = "-2"; }, Opt(K::Plastics, "SigPoint3"),
         181, " >= 0 !"},
        {"plastics unchecked inputs", K::Plastics,
         [](DefinitionForm& f) { f.Options["DeltaSigY"] = "x"; }, -1, 0, ""},
        {"flexural modulus max", K::FlexuralModulus,
         [](DefinitionForm& f) { f.Rows[6].Max = "abc"; }, MaxField(6), 181, " >= 0 !"},
        {"compression min of E-Modul when it is on", K::Compression,
         [](DefinitionForm& f) {
             f.Rows[10].Evaluate = true;
             f.Rows[10].Max = "0";
         },
         MaxField(10), 181, " > 0 !"},
    };
    for (const CheckCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Opened o = Open(c.Kind, PassingSet(0));
        c.Edit(o.Form);
        const CheckResult failure = CheckDefinitionForm(LayoutOf(c.Kind), o.Form);
        if (c.Field < 0) {
            EXPECT_FALSE(failure.has_value());
            continue;
        }
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->Field, c.Field);
        EXPECT_EQ(failure->TextNumber, c.TextNumber);
        EXPECT_EQ(failure->RangeText, c.RangeText);
        const int page =
            DecodeField(c.Field).What == FieldRef::Option ? kPageOptions : kPageEvaluation;
        EXPECT_EQ(PageOfField(LayoutOf(c.Kind), c.Field),
                  c.Kind == K::Compression ? kPageEvaluation : page);
    }
}

// Every dialog accepts what it shows on opening: the defaults of a new set, and a set that
// the tensile dialog confirmed before the project changed its test type (Rr's 0 ... 0 left in
// slot 11, which compression shows as "E-Modul").
TEST(ResultsDefinitionForm, EveryDialogAcceptsItsOwnDefaults) {
    for (int type = 0; type < 10; ++type) {
        SCOPED_TRACE(type);
        const DefinitionKind kind = DefinitionKindOfTestType(type);
        ParameterSet fresh;
        fresh.TestType = type;
        Opened o = Open(kind, fresh);
        EXPECT_FALSE(CheckDefinitionForm(LayoutOf(kind), o.Form).has_value());

        ParameterSet inherited;
        Opened tensile = Open(DefinitionKind::Tensile, inherited);
        ASSERT_FALSE(CheckDefinitionForm(LayoutOf(DefinitionKind::Tensile), tensile.Form));
        StoreDefinitionForm(LayoutOf(DefinitionKind::Tensile), tensile.Form, tensile.Set);
        ASSERT_EQ(Slot(tensile.Set, 11).LimitMax, 0);
        tensile.Set.TestType = type;
        Opened again = Open(kind, tensile.Set);
        EXPECT_FALSE(CheckDefinitionForm(LayoutOf(kind), again.Form).has_value());
        // Confirming stores what was shown: the limits of the switched-off row stay 0.
        StoreDefinitionForm(LayoutOf(kind), again.Form, again.Set);
        EXPECT_EQ(Slot(again.Set, 11).LimitMin, 0);
    }
}

TEST(ResultsDefinitionForm, TensileOkStoresRowsRemarkFootnoteAndOptions) {
    const DefinitionKind k = DefinitionKind::Tensile;
    Opened o = Open(k, PassingSet(0));
    o.Form.Rows[4].Evaluate = false;  // So is evaluated whatever its box shows
    o.Form.Rows[9] = {10, false, false, false, false, "400", "600", 0};  // Rm off
    o.Form.Rows[10].Min = "  -";
    o.Form.Rows[19].Min = "x";  // r: no number keeps the stored limit
    o.Form.Rows[12] = {13, true, true, true, true, "2", "50", 0};
    o.Form.Remark = true;
    o.Form.Footnote = true;
    o.Form.Options["Ratio"] = "3";
    o.Form.Options["Dimension"] = "2";
    o.Form.Options["SecondProof"] = "1";
    o.Form.Options["Rp"] = "0.5";
    o.Form.Options["ModulusMethod"] = "1";
    o.Form.Options["ModulusF1"] = "15";
    ASSERT_FALSE(CheckDefinitionForm(LayoutOf(k), o.Form));
    ParameterSet& p = o.Set;
    StoreDefinitionForm(LayoutOf(k), o.Form, p);
    EXPECT_EQ(Slot(p, 5).Evaluate, 1);
    EXPECT_EQ(Slot(p, 10).Evaluate, 0);
    EXPECT_EQ(Slot(p, 10).LimitMin, 400);
    EXPECT_EQ(Slot(p, 11).LimitMin, 0);  // Rr's fields always give 0
    EXPECT_EQ(Slot(p, 11).LimitMax, 0);
    EXPECT_EQ(Slot(p, 20).LimitMin, 1);
    EXPECT_EQ(Slot(p, 13).LimitActive, 1);
    EXPECT_EQ(Slot(p, 13).PrintInList, 1);
    EXPECT_EQ(Slot(p, 22).PrintInReport, 1);
    EXPECT_EQ(Slot(p, 30).PrintInReport, 1);
    EXPECT_EQ(p.PrintFootnote, 1);
    EXPECT_EQ(p.RatioKind, 4);
    EXPECT_EQ(p.UnitSystem, 2);
    EXPECT_EQ(p.SecondProofIsRt, 1);
    EXPECT_FLOAT_EQ(p.ProofStrain, 0.5f);
    EXPECT_EQ(p.ModulusMethod, 1);
    EXPECT_EQ(p.ModulusF1Percent, 15);
}

TEST(ResultsDefinitionForm, TypeSpecificStores) {
    {  // universal: the Swx input fills both limits of slot 27; Swx and So are always on
        Opened o = Open(DefinitionKind::Universal, PassingSet(5));
        o.Form.Options["Swx"] = "12.5";
        o.Form.Options["F1Travel"] = "3";
        o.Form.Options["S1Force"] = "800";
        o.Form.Rows[13].Evaluate = false;
        StoreDefinitionForm(LayoutOf(DefinitionKind::Universal), o.Form, o.Set);
        EXPECT_FLOAT_EQ(Slot(o.Set, 27).LimitMin, 12.5f);
        EXPECT_FLOAT_EQ(Slot(o.Set, 27).LimitMax, 12.5f);
        EXPECT_FLOAT_EQ(Slot(o.Set, 25).LimitMin, 3);
        EXPECT_FLOAT_EQ(Slot(o.Set, 25).LimitMax, 800);
        EXPECT_EQ(Slot(o.Set, 14).Evaluate, 1);
        EXPECT_EQ(Slot(o.Set, 16).Evaluate, 1);
    }
    {  // plastics: a strain point of 2.6 is stored as 3; decimals from the spin fields
        Opened o = Open(DefinitionKind::Plastics, PassingSet(6));
        o.Form.Options["SigPoint1"] = "2.6";
        o.Form.Rows[5].Decimals = 4;
        o.Form.Options["StrainFromTravel"] = "1";
        StoreDefinitionForm(LayoutOf(DefinitionKind::Plastics), o.Form, o.Set);
        EXPECT_EQ(o.Set.SigStrainPoint[0], 3);
        EXPECT_EQ(Slot(o.Set, 6).Decimals, 4);
        EXPECT_EQ(o.Set.StrainFromTravel, 1);
    }
    {  // flexural modulus: the remark lives in slot 30, slot 22 stays as it was
        ParameterSet p = PassingSet(7);
        Slot(p, 22).PrintInReport = 1;
        Slot(p, 30).PrintInReport = 0;
        Opened o = Open(DefinitionKind::FlexuralModulus, p);
        EXPECT_FALSE(o.Form.Remark);
        o.Form.Remark = true;
        o.Form.Footnote = false;
        StoreDefinitionForm(LayoutOf(DefinitionKind::FlexuralModulus), o.Form, o.Set);
        EXPECT_EQ(Slot(o.Set, 30).PrintInReport, 1);
        EXPECT_EQ(Slot(o.Set, 22).PrintInReport, 1);
        o.Form.Remark = false;
        StoreDefinitionForm(LayoutOf(DefinitionKind::FlexuralModulus), o.Form, o.Set);
        EXPECT_EQ(Slot(o.Set, 30).PrintInReport, 0);
        EXPECT_EQ(Slot(o.Set, 22).PrintInReport, 1);
    }
    {  // compression: options converted without a check keep the value when no number
        ParameterSet p = PassingSet(9);
        p.ForceOffset = 1.5;
        Opened o = Open(DefinitionKind::Compression, p);
        EXPECT_EQ(o.Form.Options.at("ForceOffset"), "1.5");
        EXPECT_EQ(o.Form.Options.at("CompressionLimit2"), "0.002");
        o.Form.Options["ForceOffset"] = "-";
        o.Form.Options["dX3"] = "0.25";
        o.Form.Options["StiffnessCorrection"] = "1";
        o.Form.Remark = false;
        o.Form.Footnote = true;
        StoreDefinitionForm(LayoutOf(DefinitionKind::Compression), o.Form, o.Set);
        EXPECT_EQ(o.Set.ForceOffset, 1.5);
        EXPECT_DOUBLE_EQ(o.Set.ThirdProofStrain, 0.25);
        EXPECT_EQ(o.Set.StiffnessCorrection, 1);
        EXPECT_EQ(Slot(o.Set, 22).PrintInReport, 0);
        EXPECT_EQ(o.Set.PrintFootnote, 1);
        EXPECT_EQ(Slot(o.Set, 30).PrintInReport, 0);  // the footnote box writes no slot here
    }
    {  // bending: item 0 "3-Punkt" is FlexuralThreePoint 1
        Opened o = Open(DefinitionKind::FlexuralStrength, PassingSet(8));
        o.Form.Options["Bending"] = "0";
        StoreDefinitionForm(LayoutOf(DefinitionKind::FlexuralStrength), o.Form, o.Set);
        EXPECT_EQ(o.Set.FlexuralThreePoint, 1);
        o.Form.Options["Bending"] = "1";
        StoreDefinitionForm(LayoutOf(DefinitionKind::FlexuralStrength), o.Form, o.Set);
        EXPECT_EQ(o.Set.FlexuralThreePoint, 0);
    }
}

TEST(ResultsDefinitionForm, BoxDependencyAndTensileLabels) {
    RowForm row{10, true, true, true, true, "1", "2", 0};
    row.Evaluate = false;
    ApplyBoxDependency(row);
    EXPECT_FALSE(row.LimitActive || row.Print || row.Statistics);
    row.Evaluate = true;  // switching it on again brings nothing back
    ApplyBoxDependency(row);
    EXPECT_FALSE(row.LimitActive || row.Print || row.Statistics);

    const DefinitionLayout& l = LayoutOf(DefinitionKind::Tensile);
    DefinitionForm f = OpenDefinitionForm(l, PassingSet(0));
    auto name = [&](int slot) { return RowName(l, l.Rows[static_cast<std::size_t>(slot - 1)], f); };
    auto unit = [&](int slot) { return RowUnit(l, l.Rows[static_cast<std::size_t>(slot - 1)], f); };
    EXPECT_EQ(name(8), "Rp1");
    EXPECT_EQ(name(9), "Rp2");
    EXPECT_EQ(name(12), "Rm/Rp");
    EXPECT_EQ(unit(10), "N/mm²");
    EXPECT_EQ(OptionCaption(l.Options[0], f), "Rp1 :");
    f.Options["SecondProof"] = "1";
    f.Options["Ratio"] = "7";
    f.Options["Dimension"] = "2";
    f.AcAsAl = true;
    EXPECT_EQ(name(8), "Rp");
    EXPECT_EQ(name(9), "Rt");
    EXPECT_EQ(name(12), "ReL/Rm");
    EXPECT_EQ(unit(19), "Psi");
    EXPECT_EQ(name(16), "Al");
    EXPECT_EQ(unit(16), "mm");
    EXPECT_EQ(OptionCaption(l.Options[1], f), "Rt :");
}

}  // namespace
}  // namespace quorvex
