// File names as bytes: every byte string comes back exactly, and UTF-8 reads as text.
#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/fault_seed.h"

namespace morv {
namespace {

QString Units(std::initializer_list<char16_t> units) {
  QString text;
  for (const char16_t unit : units) text += QChar(unit);
  return text;
}

TEST(FileNameBytes, UnicodeReadsAsTextAndEveryOtherByteStandsAloneEscaped) {
  const struct {
    std::string bytes;
    QString name;
  } rows[] = {
      {"plain.MVD", QStringLiteral("plain.MVD")},
      {"caf\xC3\xA9", QStringLiteral("caf\u00E9")},
      {"\xF0\x9F\x99\x82", Units({0xD83D, 0xDE42})},  // beyond the BMP: a pair
      {"caf\xE9.MVD", QStringLiteral("caf") + Units({0xDCE9}) + QStringLiteral(".MVD")},
      {"\xC0\xAF", Units({0xDCC0, 0xDCAF})},                          // an overlong '/'
      {"\xED\xA0\x80", Units({0xDCED, 0xDCA0, 0xDC80})},              // a surrogate's own bytes
      {"\xF4\x90\x80\x80", Units({0xDCF4, 0xDC90, 0xDC80, 0xDC80})},  // above U+10FFFF
      {"\xE2\x82", Units({0xDCE2, 0xDC82})},                          // cut short
      {"\xE2\x82\xAC\x80", Units({0x20AC, 0xDC80})},                  // a stray continuation
      {"\xFF", Units({0xDCFF})},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::PrintToString(row.bytes));
    EXPECT_EQ(FileNameFromBytes(row.bytes), row.name);
    EXPECT_EQ(FileNameBytes(row.name), row.bytes);
  }
  // A lone surrogate no name from the system holds is written as Qt writes it.
  EXPECT_EQ(FileNameBytes(Units({0xD800, 'a'})),
            "\xEF\xBF\xBD"
            "a");
}

TEST(FileNameBytes, AnyBytesComeBackExactlyAndUtf8AsQtReadsIt) {
  std::mt19937 random(test::FaultSeed());
  // Bytes above 0x7F are frequent, so that sequences whole, broken and overlong all occur.
  std::uniform_int_distribution<int> byte(0, 255), length(0, 24);
  for (int round = 0; round < 20000; ++round) {
    std::string bytes(static_cast<std::size_t>(length(random)), '\0');
    for (char& c : bytes) c = static_cast<char>(byte(random) | (round % 2 == 0 ? 0x80 : 0));
    const QString name = FileNameFromBytes(bytes);
    ASSERT_EQ(FileNameBytes(name), bytes) << testing::PrintToString(bytes);
    const QString qt = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (qt.toUtf8().toStdString() == bytes) {
      ASSERT_EQ(name, qt) << testing::PrintToString(bytes);
    }
  }
}

}  // namespace
}  // namespace morv
