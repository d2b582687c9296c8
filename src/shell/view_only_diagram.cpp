// The view rules of the live diagram without the drawing.
#include "shell/view_only_diagram.h"

#include "shell/test_run.h"

namespace quorvex {

void ViewOnlyDiagram::PrepareForTest() {
    const int setting = parameters_.StartDiagram;
    const bool extensometer =
        setting == 1 || (setting == 2 && UsesExtensometerResults(parameters_.TestType));
    view_ = extensometer ? kViewForceExtensometer : kViewForceTravel;
}

bool ViewOnlyDiagram::AddLivePoint(const LivePoint& point, double removalDeformationMm) {
    if (view_ != kViewForceExtensometer) return false;
    if (point.ExtensometerDeformationMm > removalDeformationMm || point.ExtensometerOverRange) {
        view_ = kViewForceTravel;
        return true;
    }
    return false;
}

}  // namespace quorvex
