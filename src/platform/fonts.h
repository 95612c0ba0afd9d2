// Font names the windows ask for, mapped onto the metric-compatible fonts installed here.
#pragma once

#include <QFont>

namespace morv {

// Maps "Arial", "Arial Black", "Times New Roman" and "MS Sans Serif" onto the Liberation fonts.
void InstallFontSubstitutions();

// A font by family, pixel height and italic flag, with hinting that keeps pixel layouts stable.
QFont PixelFont(const QString& family, int pixelHeight, bool italic = false);

}  // namespace morv
