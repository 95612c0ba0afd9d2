// Font names the windows ask for, mapped onto the metric-compatible fonts installed here.
#include "platform/fonts.h"

namespace morv {

void InstallFontSubstitutions() {
  QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
  // The black weight of Arial comes out as the heaviest Liberation Sans there is, its bold.
  QFont::insertSubstitution(QStringLiteral("Arial Black"), QStringLiteral("Liberation Sans"));
}

QFont PixelFont(const QString& family, int pixelHeight, bool italic) {
  QFont font(family);
  font.setPixelSize(pixelHeight);
  font.setItalic(italic);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace morv
