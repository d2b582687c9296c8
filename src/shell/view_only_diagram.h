// A live diagram that draws nothing but keeps the view and its rule of the extensometer
// removal: for the headless test and for a window without a drawing area.
#pragma once

#include "evaluation/parameter_set.h"
#include "shell/run_diagram.h"

namespace quorvex {

class ViewOnlyDiagram : public RunDiagram {
  public:
    explicit ViewOnlyDiagram(const ParameterSet& parameters) : parameters_(parameters) {}
    // The view of the start setting: force/extensometer for setting 1, and for "Autoselekt"
    // (2) when the result set is evaluated on the extensometer; force/travel otherwise.
    void PrepareForTest() override;
    // In the force/extensometer view the extensometer comes off beyond the removal
    // deformation or its range, and the view becomes force/travel.
    bool AddLivePoint(const LivePoint& point, double removalDeformationMm) override;
    int View() const override { return view_; }
    void ShowEvaluatedCurve(int view) override { view_ = view; }

  private:
    const ParameterSet& parameters_;
    int view_ = kViewForceTravel;
};

}  // namespace quorvex
