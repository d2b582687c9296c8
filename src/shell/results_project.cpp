// Results project directories and their parameter files.
#include "shell/results_project.h"

#include <QDir>

#include "evaluation/files.h"
#include "evaluation/parameter_file.h"
#include "ui/stored_texts.h"

namespace quorvex {

QStringList ListProjectDirectories(const std::filesystem::path& workingDirectory) {
    QDir directory(QString::fromStdString(workingDirectory.string()));
    QStringList names =
        directory.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    return names;
}

QString CleanProjectName(const QString& typed) {
    QString name = typed;
    name.remove(u' ');
    name.remove(u'\r');
    return name;
}

bool IsUsableProjectName(const QString& name) {
    return !name.isEmpty() && name != QStringLiteral(".") && name != QStringLiteral("..") &&
           !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u'\n') &&
           !name.contains(QChar(0));
}

std::filesystem::path ProjectParameterFile(const std::filesystem::path& workingDirectory,
                                           const QString& name) {
    const std::filesystem::path directory =
        ResolveInDirectory(workingDirectory, name.toStdString());
    return ResolveInDirectory(directory, name.toStdString() + ".Par");
}

ProjectResult OpenResultsProject(const std::filesystem::path& workingDirectory, const QString& name,
                                 ParameterSet& p) {
    ProjectResult result;
    if (!IsUsableProjectName(name)) return result;
    const LoadResult load = LoadParameterSet(p, ProjectParameterFile(workingDirectory, name), true);
    if (load.status == LoadStatus::Refused) {
        result.FileMessage = QString::fromStdString(load.message);
    }
    result.Opened = true;
    result.SettingsFromFile = load.Loaded();
    return result;
}

ProjectResult CreateResultsProject(const std::filesystem::path& workingDirectory,
                                   const QString& name) {
    ProjectResult result;
    result.RefusalText = text::kProjectCannotBeCreated;
    if (!IsUsableProjectName(name)) return result;
    std::error_code error;
    if (std::filesystem::exists(ProjectParameterFile(workingDirectory, name), error)) {
        return result;
    }
    const std::filesystem::path directory =
        ResolveInDirectory(workingDirectory, name.toStdString());
    if (!std::filesystem::is_directory(directory, error)) {
        std::filesystem::create_directory(directory, error);
        if (error || !std::filesystem::is_directory(directory, error)) return result;
    }
    result.RefusalText = 0;
    result.Opened = true;
    return result;
}

}  // namespace quorvex
