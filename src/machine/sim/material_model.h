// The virtual specimens of the simulated machine. A specimen is an elastic element with a
// flow law in the force over its plastic elongation: elastic up to the yield or proof
// strength, a yield point with its Lüders plateau or continuous yielding, hardening up to Rm
// at the uniform elongation, necking, and fracture at the elongation after fracture. Plastics
// draw after their yield maximum; beams and shear specimens break brittle. The extensometer
// and the transverse gauge read what they would see on such a specimen.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace quorvex {

enum class SpecimenPreset {
    None,                 // nothing clamped: the crosshead moves freely
    YieldPointSteel,      // a structural steel with a pronounced yield point
    Steel,                // a quenched and tempered steel, continuous yielding
    Aluminium,            // a wrought aluminium alloy, flat
    StainlessSteel,       // an austenitic stainless steel, strong hardening
    Plastic,              // a semi-crystalline plastic: yield maximum and long drawing
    CompressionCylinder,  // a cast-iron cylinder, sheared at its compressive strength
    ThreePointBeam,       // a natural-stone bar in three-point bending
    FourPointBeam,        // a concrete beam in four-point bending (loads at thirds)
    ShearSpecimen,        // a short fibre-composite beam (interlaminar shear)
    Chain,                // a round-steel chain
};

enum class SpecimenKind { None, Metal, Plastic, Compression, Bending3, Bending4, Shear, Chain };

// Material and geometry. Stresses in N/mm², elongations in % (plastic, on Lo), lengths in mm.
struct SpecimenParameters {
    SpecimenKind Kind = SpecimenKind::Metal;
    double E = 210000;
    double ReH = 0;              // upper yield strength; 0: continuous yielding
    double ReL = 0;              // lower yield strength, the Lüders plateau
    double LuedersStrain = 0;    // % of the plateau
    double Rp = 0;               // 0.2 % proof strength (continuous yielding)
    double Rm = 0;               // tensile strength (compressive strength, flexural strength)
    double Ag = 0;               // uniform elongation, %
    double A = 0;                // elongation after fracture, %
    double Hardening = 0.4;      // exponent of the hardening curve (small: a sharp knee)
    double FractureRatio = 0.7;  // engineering stress at fracture / Rm (necking)
    double Poisson = 0.3;
    double Anisotropy = 1.0;  // r value: width over thickness strain
    // Plastics: the yield maximum (at Rm) and the drawing.
    double YieldStrain = 0;  // % total strain at the yield maximum
    double DrawStress = 0;   // stress while the neck draws
    double DrawEnd = 0;      // % where the drawn material starts to harden
    double BreakStress = 0;  // stress at break (at A)
    // Brittle and shear specimens: what is left after the first crack.
    double ResidualRatio = 0;  // force after the crack / force at the crack
    double ResidualSpan = 0;   // mm of deflection over which the rest fails

    // Geometry: a round specimen has d; a flat one b and a (thickness); beams have span L,
    // width b and height a; a chain has the wire diameter d and the clamping length Lo.
    double d = 0;
    double b = 0;
    double a = 0;
    double Lo = 50;
    double Lc = 60;
    double Le = 50;
    double Span = 0;  // support distance of beams and shear specimens

    double So() const;  // mm², the loaded cross-section
};

SpecimenParameters PresetParameters(SpecimenPreset preset);
std::optional<SpecimenPreset> PresetByName(std::string_view name);
// Every preset's name, separated by ", ", for a message that lists the choices.
std::string PresetNameList();
std::string PresetName(SpecimenPreset preset);

// Sets one parameter by its key ("E", "ReH", "Rm", "Ag", "d", "Lo", ...); false for an
// unknown key or a value outside its range.
bool SetSpecimenParameter(SpecimenParameters& p, std::string_view key, double value);

// The specimen in the machine: its elastic stiffness, its flow law and what it shows.
// Elongation here is what the crosshead works on: the change of the parallel length (metal,
// plastic, chain), the shortening (compression) or the deflection under the load (beams).
class Specimen {
  public:
    explicit Specimen(const SpecimenParameters& p);

    const SpecimenParameters& Parameters() const { return p_; }
    bool Present() const { return p_.Kind != SpecimenKind::None; }
    // kN per mm of elastic elongation.
    double Stiffness() const { return stiffness_; }
    // The force (kN) at which the specimen flows after the plastic elongation (mm); 0 once
    // broken.
    double FlowForce(double plastic) const;
    // The plastic elongation at which the last ligament parts.
    double SeparationElongation() const { return separation_; }
    // Only pushed (compression, bending, shear): no force without contact.
    bool ContactOnly() const;

    // What the extensometer spans (mm): the change of its gauge length, or the deflection of
    // a beam; the transverse gauge's change of width (negative when it contracts).
    double GaugeElongation(double force, double plastic) const;
    double WidthChange(double force, double plastic) const;

  private:
    double FlowStress(double strain) const;  // engineering, N/mm², below the uniform elongation

    SpecimenParameters p_;
    double so_ = 0;
    double stiffness_ = 0;
    double activeLength_ = 0;  // mm over which the uniform strain acts
    double uniformEnd_ = 0;    // plastic mm at the uniform elongation
    double fracture_ = 0;      // plastic mm at the crack
    double separation_ = 0;    // plastic mm when nothing holds any more
    double initialYield_ = 0;  // N/mm², where continuous flow begins
    double crackForce_ = 0;    // kN at the crack
};

}  // namespace quorvex
