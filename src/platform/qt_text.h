// Model texts (8-bit, ISO 8859-1) to and from Qt strings.
#pragma once

#include <QString>
#include <string>

namespace morv {

inline QString FromModelText(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Characters a model file cannot hold become '?'.
inline std::string ToModelText(const QString& text) { return text.toLatin1().toStdString(); }

}  // namespace morv
