// File choices through the standard file dialogs.
#include "ui/file_dialogs.h"

#include <QDir>
#include <QFileDialog>

namespace quorvex {

QString QtFileDialogs::SaveFileName(const QString& title, const QString& directory,
                                    const QString& proposedName, const QString& filter,
                                    const QString& selectedFilter) {
    QString selected = selectedFilter;
    return QFileDialog::getSaveFileName(owner_, title, QDir(directory).filePath(proposedName),
                                        filter, selected.isEmpty() ? nullptr : &selected);
}

QString QtFileDialogs::OpenFileName(const QString& title, const QString& directory,
                                    const QString& filter, const QString& selectedFilter) {
    QString selected = selectedFilter;
    return QFileDialog::getOpenFileName(owner_, title, directory, filter,
                                        selected.isEmpty() ? nullptr : &selected);
}

}  // namespace quorvex
