// INI profiles: reading with defaults, case-blind names, writing in place, atomic saves.
#include "platform/ini_file.h"

#include <gtest/gtest.h>
#include <QDir>

#include "support/test_files.h"

namespace morv {
namespace {

using test::ReadBytes;
using test::ScratchDir;
using test::WriteBytes;

TEST(IniFile, ReadsIntegersMatchingSectionsAndKeysWithoutRegardToCase) {
  IniFile ini(QString{});
  ini.SetText(
      "; calibration\n[RANGE]\r\n  maxz = 812 \nMinZ=-4\nBad=12x\nEmpty=\nBig=99999999999\n"
      "[Center]\nCenterX=+7\nnot a key line\n");
  EXPECT_EQ(ini.ReadInteger("range", "MaxZ", 1), 812);
  EXPECT_EQ(ini.ReadInteger("Range", "minz", 1), -4);
  EXPECT_EQ(ini.ReadInteger("center", "CENTERX", 1), 7);
  // Missing sections and keys, and values that are not decimal integers, give the fallback.
  EXPECT_EQ(ini.ReadInteger("Range", "CenterX", 1), 1) << "keys belong to their own section";
  EXPECT_EQ(ini.ReadInteger("Other", "MaxZ", 2), 2);
  EXPECT_EQ(ini.ReadInteger("Range", "Bad", 3), 3);
  EXPECT_EQ(ini.ReadInteger("Range", "Empty", 4), 4);
  EXPECT_EQ(ini.ReadInteger("Range", "Big", 5), 5);
}

TEST(IniFile, WritesKeysInPlaceOrAtTheEndOfTheirSectionAndKeepsEverythingElse) {
  IniFile ini(QString{});
  ini.SetText("; kept\n[range]\nMaxZ=1\n\n[Other]\nx=y\n");
  ini.WriteInteger("Range", "maxz", 900);
  ini.WriteInteger("RANGE", "MinZ", -3);
  ini.WriteInteger("Center", "CenterX", 12);
  ini.WriteInteger("Center", "CenterY", 0);
  EXPECT_EQ(ini.Text(),
            "; kept\r\n[range]\r\nmaxz=900\r\nMinZ=-3\r\n\r\n[Other]\r\nx=y\r\n"
            "[Center]\r\nCenterX=12\r\nCenterY=0\r\n");
}

TEST(IniFile, LoadsAndSavesThroughTheFileSystem) {
  ScratchDir dir;
  const QString path = dir.Path("morv.INI");

  IniFile missing(path);
  EXPECT_FALSE(missing.Load()) << "a missing file is an empty profile, not an error";
  EXPECT_EQ(missing.ReadInteger("Range", "MaxZ", 32000), 32000);

  missing.WriteInteger("Range", "MaxZ", 5);
  ASSERT_FALSE(missing.Save());
  EXPECT_EQ(ReadBytes(path), "[Range]\r\nMaxZ=5\r\n");

  IniFile again(path);
  ASSERT_FALSE(again.Load());
  EXPECT_EQ(again.ReadInteger("range", "maxz", 0), 5);
  EXPECT_EQ(QDir(dir.Path(".")).entryList(QDir::Files), QStringList{"morv.INI"});
}

TEST(IniFile, RefusesFilesItCannotReadAndKeepsTheOldFileWhenASaveFails) {
  ScratchDir dir;
  const QString big = dir.Path("big.INI");
  WriteBytes(big, "[Range]\nMaxZ=1\n" + std::string(IniFile::MaxBytes, ';'));
  IniFile ini(big);
  ini.SetText("[Range]\nMaxZ=7\n");
  const std::optional<QString> error = ini.Load();
  ASSERT_TRUE(error);
  EXPECT_TRUE(error->contains("larger than")) << error->toStdString();
  EXPECT_EQ(ini.ReadInteger("Range", "MaxZ", 0), 7) << "a refused file changes nothing";

  ASSERT_TRUE(QDir(dir.Path(".")).mkdir("folder.INI"));
  EXPECT_TRUE(IniFile(dir.Path("folder.INI")).Load());

  const QString nowhere = dir.Path("no/such/folder/morv.INI");
  IniFile unsaved(nowhere);
  unsaved.WriteInteger("Range", "MaxZ", 2);
  EXPECT_EQ(unsaved.Save(), "Cannot create file " + nowhere + ": no such folder");
}

}  // namespace
}  // namespace morv
