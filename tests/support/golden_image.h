// Compares a picture with a committed golden image; on a mismatch it writes the actual picture and
// a difference image beside the test output, and says where.
#pragma once

#include <gtest/gtest.h>
#include <QImage>
#include <QString>

namespace morv::test {

// The golden file is a path below the test data folder (see TestDataPath).
::testing::AssertionResult MatchesGolden(const QImage& actual, const QString& goldenName);

}  // namespace morv::test
