// Calibration files, sensor choice and conversion factors at start-up.
#include "shell/machine_startup.h"

#include "evaluation/files.h"
#include "setup/tdm_parameters.h"

namespace quorvex {
namespace {

void Collect(std::vector<QString>& messages, const LoadResult& result) {
    if (result.status == LoadStatus::Refused)
        messages.push_back(QString::fromStdString(result.message));
}

}  // namespace

std::vector<QString> ReadCalibrationFiles(MachineConfig& machine,
                                          const std::filesystem::path& directory) {
    std::vector<QString> messages;
    Collect(messages,
            LoadCalibration(machine.Calibration, ResolveInDirectory(directory, kCalibrationFile)));
    Collect(messages, LoadSupportValues(machine.Support, directory));
    Collect(messages, LoadTdmParameters(machine.Tdm, directory));
    return messages;
}

std::vector<QString> ChooseSensorsAndSetup(MachineConfig& machine, const ParameterSet& p,
                                           const std::filesystem::path& directory,
                                           const SensorChooser& chooseLoadCell,
                                           const SensorChooser& chooseExtensometer,
                                           double travelLimitFactor) {
    std::vector<QString> messages;
    const SelectedSensor loadCell = SelectSensor(SensorKind::LoadCell, machine.LoadCells,
                                                 machine.Calibration, directory, chooseLoadCell);
    Collect(messages, loadCell.File);
    if (loadCell.File.status != LoadStatus::Refused) {
        machine.LoadCellChannel = loadCell.Channel;
        machine.LoadCellCalFactor = loadCell.CalFactor;
    }
    Collect(messages, LoadMachineSetup(machine.Setup, directory, machine.LoadCells.SensorSelected));

    const SelectedSensor extensometer =
        SelectSensor(SensorKind::Extensometer, machine.Extensometers, machine.Calibration,
                     directory, chooseExtensometer);
    Collect(messages, extensometer.File);
    if (extensometer.File.status != LoadStatus::Refused) {
        machine.ExtensometerChannel = extensometer.Channel;
        machine.ExtensometerCalFactor = extensometer.CalFactor;
    }
    machine.Factors = ComputeConversionFactors(machine.Calibration, machine.Setup,
                                               p.ExtensometerIncremental != 0, travelLimitFactor);
    return messages;
}

QStringList FittedCards(const MachineDrivers& drivers, bool daqAnswered, bool relayAnswered,
                        const QString& simulatedWord) {
    QStringList cards;
    auto add = [&cards, &simulatedWord](Driver driver, bool answered, const char* name) {
        if (driver == Driver::Absent || !answered) return;
        QString line = QString::fromLatin1(name);
        if (driver == Driver::Simulated) {
            line += QStringLiteral(" (") + simulatedWord + QLatin1Char(')');
        }
        cards << line;
    };
    add(drivers.Daq, daqAnswered, "ADLINK PCI-9111HR");
    add(drivers.Relay, relayAnswered, "ADLINK PCI-7250");
    add(drivers.Encoder, true, "HEIDENHAIN IK220");
    return cards;
}

}  // namespace quorvex
