// Opening and creating a results project: a directory of the working directory that holds the
// project's parameter set <name>/<name>.Par.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>

namespace quorvex {

struct ParameterSet;

// The names of all sub-directories of the working directory, sorted without regard to case.
QStringList ListProjectDirectories(const std::filesystem::path& workingDirectory);

// The name with every blank and carriage return removed.
QString CleanProjectName(const QString& typed);

// A name that stays inside the working directory: not empty, no path separator, not "." or "..".
bool IsUsableProjectName(const QString& name);

std::filesystem::path ProjectParameterFile(const std::filesystem::path& workingDirectory,
                                           const QString& name);

struct ProjectResult {
    bool Opened = false;
    bool SettingsFromFile = false;  // the project's parameter file was read
    int RefusalText = 0;            // text number of the message when refused
    QString FileMessage;            // a parameter file that was there but refused, naming it
};

// Opens an existing project: its parameter file is read with the machine fields of the running
// program kept. A missing file leaves the parameter set as it is.
ProjectResult OpenResultsProject(const std::filesystem::path& workingDirectory, const QString& name,
                                 ParameterSet& p);

// Creates a project: refused (text 550) when the project's parameter file exists already or
// its directory cannot be made; a directory without a parameter file is taken over. The
// parameter set is not touched, so that the settings just made for the project stay.
ProjectResult CreateResultsProject(const std::filesystem::path& workingDirectory,
                                   const QString& name);

}  // namespace quorvex
