// The start-up steps of the machine's configuration: the calibration files, the choice of
// load cell and extensometer with the machine setup of the chosen cell, the conversion
// factors, and the controller settings that follow from them.
#pragma once

#include <QStringList>

#include <QString>
#include <filesystem>
#include <vector>

#include "evaluation/parameter_set.h"
#include "machine/controller_link.h"
#include "machine/machine.h"
#include "setup/machine_config.h"

namespace quorvex {

// "Quorvex.kal", "Stuetzwerte.kal" and "TdmParameter.set" over the defaults. Returns the
// messages of files that were there but refused (each names its file).
std::vector<QString> ReadCalibrationFiles(MachineConfig& machine,
                                          const std::filesystem::path& directory);

// The load cell (the operator chooses when several are usable), the machine setup of the
// chosen cell, the extensometer, then the conversion factors. Returns refused-file messages.
std::vector<QString> ChooseSensorsAndSetup(MachineConfig& machine, const ParameterSet& p,
                                           const std::filesystem::path& directory,
                                           const SensorChooser& chooseLoadCell,
                                           const SensorChooser& chooseExtensometer,
                                           double travelLimitFactor);

// The cards of this machine for the information box: the data-acquisition card when it
// answered, the relay card when it answered, the encoder card when one is configured; a card
// of the simulated machine says so.
QStringList FittedCards(const MachineDrivers& drivers, bool daqAnswered, bool relayAnswered,
                        const QString& simulatedWord);

}  // namespace quorvex
