// File choices go through this small interface, so that the commands behind them can be
// driven without a file dialog.
#pragma once

#include <QString>

class QWidget;

namespace quorvex {

class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen path, or an empty text when the operator cancels. Filters are separated by
    // ";;"; `selectedFilter` is the one shown first.
    virtual QString SaveFileName(const QString& title, const QString& directory,
                                 const QString& proposedName, const QString& filter,
                                 const QString& selectedFilter = QString()) = 0;
    virtual QString OpenFileName(const QString& title, const QString& directory,
                                 const QString& filter,
                                 const QString& selectedFilter = QString()) = 0;
};

class QtFileDialogs : public FileDialogs {
public:
    explicit QtFileDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void SetOwner(QWidget* owner) { owner_ = owner; }
    QString SaveFileName(const QString& title, const QString& directory,
                         const QString& proposedName, const QString& filter,
                         const QString& selectedFilter = QString()) override;
    QString OpenFileName(const QString& title, const QString& directory, const QString& filter,
                         const QString& selectedFilter = QString()) override;

private:
    QWidget* owner_;
};

}  // namespace quorvex
