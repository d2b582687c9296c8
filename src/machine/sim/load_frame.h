// The virtual load frame: the crosshead between its limit switches, the specimen clamped
// between crosshead and load cell, and the frame's own compliance in series with it. The
// crosshead travel is the specimen's elongation plus the frame's spring; the specimen flows
// plastically when its force reaches its flow law, unloads elastically, and once broken
// carries nothing.
#pragma once

#include "machine/sim/sim_config.h"
#include "machine/sim/material_model.h"

namespace quorvex {

class LoadFrame {
  public:
    LoadFrame(const SimulationConfig& config, const SpecimenParameters& specimen);

    // Moves the crosshead at the speed (mm/s) for dt seconds. False when a limit switch
    // stopped it.
    bool Move(double velocity, double dt);
    // A new specimen, clamped without load at the present crosshead position.
    void Clamp(const SpecimenParameters& specimen);
    void SetStuck(bool stuck) { stuck_ = stuck; }

    double Position() const { return position_; }            // mm
    double LoadCellForce() const { return sign_ * force_; }  // kN, tension positive
    double SpecimenForce() const { return force_; }          // kN, positive when loaded
    double Plastic() const { return plastic_; }              // mm
    bool Broken() const {
        return specimen_.Present() && plastic_ >= specimen_.SeparationElongation();
    }
    double GaugeElongation() const { return specimen_.GaugeElongation(force_, plastic_); }
    double WidthChange() const { return specimen_.WidthChange(force_, plastic_); }
    const Specimen& ClampedSpecimen() const { return specimen_; }
    // kN per mm of crosshead travel while the specimen is elastic.
    double ElasticStiffness() const;

  private:
    void Solve();

    double frameCompliance_;  // mm/kN
    double lower_, upper_;
    int sign_;
    Specimen specimen_;
    double position_;
    double clampedAt_;
    double plastic_ = 0;
    double force_ = 0;
    bool stuck_ = false;
};

}  // namespace quorvex
