// Qt's own texts (the Yes/No/OK/Cancel buttons of message boxes, file and print dialogs, the
// context menus of inputs) in the operator's language, from Qt's translation files.
#pragma once

#include <QString>
#include <QTranslator>

namespace quorvex {

// The Qt language code of a language index of the text table: de, en, fr, nl, it; any other
// index gives German, as the text table does.
QString QtLanguageCode(int languageIndex);

// Installs Qt's translation of one language into the application and removes it again when
// another language is chosen or the owner goes.
class QtTranslations {
  public:
    QtTranslations() = default;
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;
    ~QtTranslations();

    // Loads qtbase_<code>.qm from directory (empty: Qt's translations directory). False when
    // the file is missing or unreadable: Qt's texts then stay English.
    bool Apply(int languageIndex, const QString& directory = {});
    // The file in use, empty when none (English needs none).
    QString LoadedFile() const { return loaded_; }

  private:
    QTranslator translator_;
    bool installed_ = false;
    QString loaded_;
};

}  // namespace quorvex
