#include "report/report_logo.h"

#include <QFileInfo>
#include <QImageReader>

namespace quorvex {

LogoCheck CheckLogo(const std::string& file) {
    const QString name = QString::fromStdString(file).trimmed();
    if (name.isEmpty()) return LogoCheck::NoneNamed;
    if (!QFileInfo(name).isFile()) return LogoCheck::Missing;
    // Qt reads no Windows metafiles; the reader also refuses a damaged picture.
    QImageReader reader(name);
    return reader.canRead() ? LogoCheck::Drawable : LogoCheck::NotDrawable;
}

QString LogoFileFilter(const QString& caption) {
    return caption +
           QStringLiteral(" (*.png *.jpg *.jpeg *.bmp *.PNG *.JPG *.JPEG *.BMP)");
}

}  // namespace quorvex
