// A test state of one test type with a hand-made curve, shared by the tests of the
// evaluations of the test types 3-9.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "curve_builder.h"
#include "evaluation/evaluate_test.h"
#include "evaluation/test_types.h"

namespace quorvex::testing {

class EvaluationFixture : public ::testing::Test {
  protected:
    void SetUp() override { state = std::make_unique<TestState>(); }

    ParameterSet& P() { return state->Parameters; }
    ResultsRecord& R() { return state->Current(); }
    TestMarks& Marks() { return state->Marks; }
    float Element(int i) { return R().Results[static_cast<std::size_t>(i)]; }
    ResultDefinition& Slot(int slot) { return P().Results[static_cast<std::size_t>(slot - 1)]; }
    void SetSlots(std::initializer_list<int> slots, bool on) {
        for (int slot : slots) Slot(slot).Evaluate = on;
    }
    void UseTestType(TestType type) { P().TestType = static_cast<std::int32_t>(type); }
    // A flat specimen as the specimen dialogs of the types 3, 4 and 8 leave it.
    void FlatSpecimen(float a, float b, float Lo, float Lc) {
        P().SpecimenShape = static_cast<std::uint8_t>(SpecimenShape::Flat);
        P().Flat.a = a;
        P().Flat.b = b;
        P().Flat.Lo = P().EffectiveLo = Lo;
        P().Flat.Lc = P().EffectiveLc = Lc;
        P().EffectiveSo = 1.0f;
    }
    void Evaluate(bool keepModulus = false) { EvaluateTest(*state, keepModulus); }

    std::unique_ptr<TestState> state;
};

}  // namespace quorvex::testing
