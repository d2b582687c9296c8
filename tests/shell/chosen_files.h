// File dialogs answered by the test: the name to return, and the titles and filters asked.
#pragma once

#include <QStringList>

#include "ui/file_dialogs.h"

namespace quorvex::testing {

class ChosenFiles : public FileDialogs {
  public:
    QString SaveFileName(const QString& title, const QString&, const QString&,
                         const QString& filter, const QString&) override {
        titles.push_back(title);
        filters.push_back(filter);
        return save;
    }
    QString OpenFileName(const QString& title, const QString&, const QString& filter,
                         const QString&) override {
        titles.push_back(title);
        filters.push_back(filter);
        return open;
    }
    QString save, open;
    QStringList titles, filters;
};

}  // namespace quorvex::testing
