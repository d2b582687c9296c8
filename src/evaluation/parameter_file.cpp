// Parameter files: save, load with repairs, load into an open project, delete.
#include "parameter_file.h"

#include <cmath>
#include <map>
#include <system_error>

#include "tensile_evaluation.h"
#include "test_types.h"
#include "text_functions.h"

namespace quorvex {
namespace {

// A float that flows into results must be a finite, normal number (or 0): a non-finite or
// denormal one is treated like an out-of-range value and takes the field's default. The
// first pass collects the defaults by offset, the second repairs the record read.
class NumberRepair : public FieldGroups {
  public:
    void Byte(std::size_t, const char*, std::uint8_t&) {}
    void Int32(std::size_t, const char*, std::int32_t&) {}
    void String(std::size_t, const char*, std::string&, std::size_t) {}
    void StageText(std::size_t, SpeedStage&) {}
    void Float(std::size_t offset, const char*, float& value) { Visit(offset, value); }
    void Double(std::size_t offset, const char*, double& value) { Visit(offset, value); }

    bool collecting = true;

  private:
    template <class T>
    void Visit(std::size_t offset, T& value) {
        if (collecting) {
            defaults_[offset] = static_cast<double>(value);
        } else if (!std::isfinite(value) || std::fpclassify(value) == FP_SUBNORMAL) {
            value = static_cast<T>(defaults_[offset]);
        }
    }
    std::map<std::size_t, double> defaults_;
};

void RepairNumbers(ParameterSet& read) {
    NumberRepair repair;
    ParameterSet defaults = DefaultParameterSet();
    MapFields(repair, defaults);
    repair.collecting = false;
    MapFields(repair, read);
}

LoadResult ReadParameterImage(const std::filesystem::path& path, ParameterSet& read) {
    ByteImage image;
    LoadResult result = ReadRecordFile(ResolvePath(path), ParameterSet::kImageSize, image);
    if (!result.Loaded()) return result;
    ParameterSet parsed = ParameterSetFromImage(image);
    // No repair is defined for the test type: every command and window refuses the file.
    if (!IsValidTestType(parsed.TestType)) {
        return {LoadStatus::Refused, "The parameter set \"" + path.string() +
                                         "\" names test type " + std::to_string(parsed.TestType) +
                                         ", which is none of 0 ... 9, and was not loaded."};
    }
    RepairNumbers(parsed);
    read = std::move(parsed);
    return result;
}

}  // namespace

bool SaveParameterSet(const ParameterSet& p, const std::filesystem::path& path) {
    return WriteFileAtomic(ResolvePath(path), ParameterSetImage(p));
}

void RepairWorkingLimits(ParameterSet& p) {
    if (p.FmaxLimitPercent < 6 || p.FmaxLimitPercent > 100) p.FmaxLimitPercent = 100;
    if (p.ModulusF1Percent == 0) p.ModulusF1Percent = 10;
    if (p.ModulusF2Percent == 0) p.ModulusF2Percent = 30;
    if (p.ModulusMethod < 0 || p.ModulusMethod > kRobustModulusMethod) p.ModulusMethod = 0;
    if (p.EnergyAxisEnd == 0.0) p.EnergyAxisEnd = 1.0;
}

void RepairWorkingValues(ParameterSet& p, std::int32_t maxControlDeviation) {
    // The strains of Sig-1..Sig-5 are whole percent; ties round to even as the stored
    // values always did.
    for (double& strain : p.SigStrainPoint) {
        strain = std::isfinite(strain) ? std::nearbyint(strain) : 0.0;
    }
    if (p.SpringStage < 0 || p.SpringStage > 10) p.SpringStage = 1;
    if (p.ControlDeviation < 1 || p.ControlDeviation > maxControlDeviation) p.ControlDeviation = 1;
    if (p.TestSpace < 1) p.TestSpace = 1;
    if (p.TestSpace > 2) p.TestSpace = 2;
}

void RepairAsLoaded(ParameterSet& p) {
    RepairNumbers(p);
    if (p.MicrometerPort == 0) p.MicrometerPort = 16;
    RepairWorkingLimits(p);
    RepairWorkingValues(p, 50);
}

std::string ProjectTestTypeRefusal(const std::filesystem::path& projectParameterFile,
                                   const std::string& projectName, std::int32_t testType) {
    ParameterSet project;
    if (!ReadParameterImage(projectParameterFile, project).Loaded()) return {};
    if (project.TestType == testType) return {};
    auto named = [](std::int32_t type) {
        return std::to_string(type) + " (" + TestTypeGermanName(type) + ")";
    };
    return "The results project \"" + projectName + "\" holds tests of type " +
           named(project.TestType) + "; a test of type " + named(testType) +
           " is not stored in it.";
}

LoadResult LoadParameterSet(ParameterSet& p, const std::filesystem::path& path,
                            bool keepMachineFields) {
    ParameterSet read;
    LoadResult result = ReadParameterImage(path, read);
    if (!result.Loaded()) return result;

    if (read.MicrometerPort == 0) read.MicrometerPort = 16;
    if (keepMachineFields) {
        read.CaliperPort = p.CaliperPort;
        read.ControllerPort = p.ControllerPort;
        read.MicrometerPort = p.MicrometerPort;
        read.Language = p.Language;
    }
    RepairWorkingLimits(read);
    RepairWorkingValues(read, 50);
    p = std::move(read);
    return result;
}

LoadResult LoadParameterSetIntoProject(ParameterSet& p, const std::filesystem::path& path) {
    ParameterSet read;
    LoadResult result = ReadParameterImage(path, read);
    if (!result.Loaded()) return result;

    p.SpecimenShape = read.SpecimenShape;
    p.Round = read.Round;
    p.Flat = read.Flat;
    p.Tube = read.Tube;
    p.Mass = read.Mass;
    p.TubeSegment = read.TubeSegment;
    p.GaugeKind = read.GaugeKind;
    p.EffectiveSo = read.EffectiveSo;
    p.EffectiveLo = read.EffectiveLo;
    p.EffectiveLc = read.EffectiveLc;
    p.GaugeLengthLe = read.GaugeLengthLe;
    p.SpecimenNo = read.SpecimenNo;
    p.SpecimenId = read.SpecimenId;
    p.PreloadUnit = read.PreloadUnit;
    p.PreloadValue = read.PreloadValue;
    p.FixedModulus = read.FixedModulus;
    p.UseFixedModulus = read.UseFixedModulus;
    p.BreakDropPercent = read.BreakDropPercent;
    p.RminInTest = read.RminInTest;
    p.ExtensometerLimitMm = read.ExtensometerLimitMm;
    for (int i = 0; i < kBinaryStages; ++i) p.Stages[i] = read.Stages[i];
    p.StartPosition = read.StartPosition;
    p.HysteresisPercent = read.HysteresisPercent;
    p.HysteresisActive = read.HysteresisActive;
    p.GripPressurePercent = read.GripPressurePercent;
    p.ExtensometerIncremental = read.ExtensometerIncremental;
    p.StrainByTdm = read.StrainByTdm;
    p.StartDiagram = read.StartDiagram;
    p.PreloadTolerancePercent = read.PreloadTolerancePercent;
    p.SequenceTimeoutSec = read.SequenceTimeoutSec;
    // The eleven bytes 2419-2429, the reserved 2420 among them.
    p.StatLimits = read.StatLimits;
    p.Carried[2420] = read.Carried[2420];
    p.PrintFootnote = read.PrintFootnote;
    p.StressAreaFlag = read.StressAreaFlag;
    p.AutoSequence = read.AutoSequence;
    p.AutoPreload = read.AutoPreload;
    p.AutoCloseArms = read.AutoCloseArms;
    p.AutoOpenArms = read.AutoOpenArms;
    p.AutoOpenGrips = read.AutoOpenGrips;
    p.AutoMoveTdmLe = read.AutoMoveTdmLe;
    p.AutoReturnStart = read.AutoReturnStart;
    for (std::size_t i = 0; i < p.Results.size(); ++i) {
        p.Results[i].LimitMin = read.Results[i].LimitMin;
        p.Results[i].LimitMax = read.Results[i].LimitMax;
    }
    p.FmaxLimitPercent = read.FmaxLimitPercent;
    p.ModulusF1Percent = read.ModulusF1Percent;
    p.ModulusF2Percent = read.ModulusF2Percent;
    p.ModulusMethod = read.ModulusMethod;
    p.EnergyAxisEnd = read.EnergyAxisEnd;
    RepairWorkingLimits(p);
    RepairWorkingValues(p, 10);
    return result;
}

bool DeleteParameterFile(const std::filesystem::path& path) {
    const std::filesystem::path resolved = ResolvePath(path);
    if (!OpenRegularFile(resolved, OpenFor::Reading).Status.Loaded()) return false;
    std::error_code error;
    return std::filesystem::remove(resolved, error);
}

std::filesystem::path ParameterSaveName(const std::filesystem::path& chosen,
                                        std::int32_t testType) {
    const std::string stem = CutAtFirstPoint(chosen.filename().string());
    return chosen.parent_path() / (stem + ParameterFileExtensionLower(testType));
}

}  // namespace quorvex
