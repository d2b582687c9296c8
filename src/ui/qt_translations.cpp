// Loading Qt's translation of the operator's language.
#include "ui/qt_translations.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <iterator>

namespace quorvex {

QString QtLanguageCode(int languageIndex) {
    static const char* const kCodes[] = {"de", "en", "fr", "nl", "it"};
    if (languageIndex < 0 || languageIndex >= static_cast<int>(std::size(kCodes))) {
        return QStringLiteral("de");
    }
    return QString::fromLatin1(kCodes[languageIndex]);
}

QtTranslations::~QtTranslations() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

bool QtTranslations::Apply(int languageIndex, const QString& directory) {
    if (installed_) {
        QCoreApplication::removeTranslator(&translator_);
        installed_ = false;
    }
    loaded_.clear();
    // Qt's texts are English already; its English file holds no messages.
    if (QtLanguageCode(languageIndex) == QLatin1String("en")) return true;
    const QString from =
        directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory;
    const QString file = QStringLiteral("qtbase_") + QtLanguageCode(languageIndex);
    if (!translator_.load(file, from)) return false;
    installed_ = QCoreApplication::installTranslator(&translator_);
    if (installed_) loaded_ = QDir(from).filePath(file + QStringLiteral(".qm"));
    return installed_;
}

}  // namespace quorvex
