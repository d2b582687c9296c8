// The logo of the report's page head: which pictures the reports can draw, and what a named
// logo file is on this system.
#pragma once

#include <QString>
#include <string>

namespace quorvex {

enum class LogoCheck {
    NoneNamed,    // no logo: the title lines start at the left
    Drawable,     // read and drawn into the page head
    Missing,      // the file is not there: the logo is left out, as a missing logo always was
    NotDrawable,  // there but not a picture this system reads (EMF, WMF, a damaged file)
};

LogoCheck CheckLogo(const std::string& file);

// The pictures the logo chooser offers: PNG, JPEG and BMP, in either case.
QString LogoFileFilter(const QString& caption);

}  // namespace quorvex
