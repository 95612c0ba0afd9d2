// The "&Load" and "&Save" buttons: model files through the file dialogs, and their failures.
#include <QDir>

#include "application_fixture.h"
#include "platform/text_file.h"

namespace morv::test {
namespace {

const QString LoadWarning = QStringLiteral(
    "Only open MVD4 (jointed bézier with mass) files! Morv! 5 V1 and 4 files are not "
    "compatible.");

// A model file as written again after loading: the owner line gains one more trailing space.
std::string WithOwnerSpaceAdded(std::string file, const std::string& owner) {
  const std::string line = "\r\n" + owner + "\r\n";
  const std::size_t at = file.find(line);
  EXPECT_NE(at, std::string::npos);
  if (at != std::string::npos) file.replace(at, line.size(), "\r\n" + owner + " \r\n");
  return file;
}

std::unique_ptr<TMorvObject> Copy(const TMorvObject& model) {
  return std::make_unique<TMorvObject>(model);
}

class LoadSaveTest : public ApplicationTest {
 protected:
  void SetUp() override { Start(); }

  void Load(const std::optional<QString>& answer) {
    prompts.fileAnswers.push_back(answer);
    Form1->BitBtn1->click();
  }

  void Save(const std::optional<QString>& answer) {
    prompts.fileAnswers.push_back(answer);
    Form1->BitBtn2->click();
  }

  ScratchDir scratch;
};

TEST_F(LoadSaveTest, LoadWarnsOnEveryPressBeforeTheDialog) {
  Load(std::nullopt);
  Load(std::nullopt);
  EXPECT_EQ(prompts.messages, (QStringList{LoadWarning, LoadWarning}));
  ASSERT_EQ(prompts.fileDialogs.size(), 2u);
  const FileDialogOptions& dialog = prompts.fileDialogs[0];
  EXPECT_EQ(dialog.title, QStringLiteral("Open MVD (Bézier Type)"));
  EXPECT_EQ(dialog.filter, "Morv! Object Data (MVD4) (*.MVD *.mvd)");
  EXPECT_EQ(dialog.defaultSuffix, "MVD");
  EXPECT_TRUE(dialog.mustExist);
}

TEST_F(LoadSaveTest, CancelledLoadChangesNothing) {
  CurrentModel.ControlCount = 2;
  const auto before = Copy(CurrentModel);
  Form1->Memo1 = {"kept"};
  prompts.saveAnswers = {SaveAnswer::Discard};
  Load(std::nullopt);
  EXPECT_TRUE(CurrentModel == *before);
  EXPECT_EQ(Form1->Memo1, TextLines{"kept"});
  EXPECT_EQ(Form1->Edit1->text(), "MyObject");
  EXPECT_EQ(prompts.messages, QStringList{LoadWarning});
}

TEST_F(LoadSaveTest, LoadReplacesTheModelAndRefreshesTheWindows) {
  Load(DataFile("tetra.MVD"));
  EXPECT_EQ(CurrentModel.Name, "Tetra");
  EXPECT_EQ(CurrentModel.ControlCount, 4);
  EXPECT_EQ(CurrentModel.Controls[2].X, 50);
  EXPECT_EQ(CurrentModel.Patches[1].ControlIndex[8], 1);
  EXPECT_EQ(CurrentModel.Joints[1].Position.Z, 30);
  EXPECT_EQ(CurrentModel.Joints[1].Mass, 5);
  EXPECT_EQ(CurrentModel.Joints[1].ControlRefs[2], 4);
  EXPECT_EQ(Form1->Memo1, ReadTextLines(DataFile("tetra.MVD")));
  EXPECT_EQ(Form1->Edit1->text(), "Tetra");
  EXPECT_EQ(DisplayCaption(), "3D Display - Tetra");
  EXPECT_TRUE(SceneObject == CurrentModel);
  EXPECT_TRUE(Form1->EditAllowed());
  EXPECT_EQ(prompts.messages, QStringList{LoadWarning});
}

TEST_F(LoadSaveTest, LoadingALockedModelBlocksEditingUntilUnlocked) {
  Load(DataFile("vault.MVD"));
  EXPECT_FALSE(Form1->EditAllowed());
  EXPECT_EQ(prompts.messages,
            (QStringList{LoadWarning,
                         "The owner of this object (Zed ) requires you to enter a password to "
                         "edit this model."}));
  EXPECT_EQ(CurrentModel.Controls[1].Y, -8);

  // An unlocked model does not lift the lock; only the password does.
  Load(DataFile("tetra.MVD"));
  EXPECT_EQ(CurrentModel.Name, "Tetra");
  EXPECT_FALSE(Form1->EditAllowed());
}

TEST_F(LoadSaveTest, ABadNumberIsReportedAndChangesNothingVisible) {
  Load(DataFile("tetra.MVD"));
  Form1->Edit1->setText("Renamed");
  const auto before = Copy(CurrentModel);
  const auto snapshot = Copy(SceneObject);
  const QString bad = scratch.Path("bad.MVD");
  WriteBytes(bad, "Broken\r\n \r\n1\r\nOwner \r\n1\r\n0\r\n0\r\n5\r\nabc\r\n7\r\n");
  prompts.messages.clear();

  prompts.saveAnswers = {SaveAnswer::Discard};
  Load(bad);
  EXPECT_EQ(prompts.messages,
            (QStringList{LoadWarning, "Line 9: 'abc' is not a valid integer value."}));
  EXPECT_TRUE(CurrentModel == *before);
  EXPECT_TRUE(SceneObject == *snapshot);
  EXPECT_EQ(Form1->Edit1->text(), "Renamed");
  EXPECT_EQ(DisplayCaption(), "3D Display - Renamed");
  EXPECT_TRUE(Form1->EditAllowed());
}

TEST_F(LoadSaveTest, AMissingFileIsReportedAndChangesNothing) {
  const QString missing = scratch.Path("gone.MVD");
  Form1->Memo1 = {"kept"};
  const auto before = Copy(CurrentModel);
  Load(missing);
  EXPECT_EQ(prompts.messages,
            (QStringList{LoadWarning, "Cannot open file " + missing + ": no such file."}));
  EXPECT_TRUE(CurrentModel == *before);
  EXPECT_EQ(Form1->Memo1, TextLines{"kept"});
}

TEST_F(LoadSaveTest, SaveWritesTheModelAsCrLfLines) {
  Form1->Edit1->setText("Teapot");
  const QString file = scratch.Path("teapot.MVD");
  Save(file);
  EXPECT_EQ(ReadBytes(file), "Teapot\r\n \r\n0\r\n \r\n0\r\n0\r\n0\r\n");
  EXPECT_TRUE(prompts.messages.isEmpty());
  ASSERT_EQ(prompts.fileDialogs.size(), 1u);
  const FileDialogOptions& dialog = prompts.fileDialogs[0];
  EXPECT_EQ(dialog.title, "Save MVD");
  EXPECT_EQ(dialog.filter, "Morv! Object Data (MVD4) (*.MVD *.mvd)");
  EXPECT_EQ(dialog.defaultSuffix, "MVD");
  EXPECT_TRUE(dialog.confirmOverwrite);
  EXPECT_FALSE(dialog.mustExist);
}

TEST_F(LoadSaveTest, SaveAfterLoadWritesTheFileBackWithTheOwnersSpace) {
  Load(DataFile("tetra.MVD"));
  const QString file = scratch.Path("copy.MVD");
  WriteBytes(file, "an older file that is replaced");
  Save(file);
  EXPECT_EQ(ReadBytes(file), WithOwnerSpaceAdded(ReadBytes(DataFile("tetra.MVD")), "Ann "));
}

TEST_F(LoadSaveTest, SaveWorksOnALockedModel) {
  Load(DataFile("vault.MVD"));
  const QString file = scratch.Path("vault copy.MVD");
  Save(file);
  EXPECT_EQ(ReadBytes(file), WithOwnerSpaceAdded(ReadBytes(DataFile("vault.MVD")), "Zed "));
}

TEST_F(LoadSaveTest, AModelTheFileCannotCarryIsRefusedAndTheFileStaysAsItWas) {
  const QString file = scratch.Path("kept.MVD");
  const std::string before = "An older model\r\n \r\n0\r\n \r\n0\r\n0\r\n0\r\n";
  const auto refused = [&](const char* what) {
    WriteBytes(file, before);
    prompts.messages.clear();
    Save(file);
    EXPECT_EQ(prompts.messages.size(), 1) << what;
    EXPECT_EQ(ReadBytes(file), before) << what;
    EXPECT_EQ(QDir(scratch.Path(".")).entryList(QDir::Files), QStringList{"kept.MVD"}) << what;
    return prompts.messages.value(0);
  };

  // Reached without the name edit, which drops line breaks.
  CurrentModel.Name = "Two\nlines";
  EXPECT_EQ(refused("name"),
            "The model name holds a line break or NUL character, which a model file cannot "
            "store; choose another name.");
  CurrentModel.Name = "Fine";
  CurrentModel.Owner = std::string("Ann\0Bob", 7);
  EXPECT_EQ(refused("owner"),
            "The owner holds a line break or NUL character, which a model file cannot store; "
            "choose another owner.");
  CurrentModel.Owner = "Ann";
  // The one password whose scrambled form reads back as no password at all.
  CurrentModel.Password = "\xB0";
  EXPECT_EQ(refused("password"),
            "The password holds a character that a model file cannot store; choose another "
            "password.");

  CurrentModel.Password = "fine";
  Save(file);
  EXPECT_NE(ReadBytes(file), before);
}

TEST_F(LoadSaveTest, CancelledSaveWritesNothing) {
  Save(std::nullopt);
  EXPECT_TRUE(QDir(scratch.Path(".")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
  EXPECT_TRUE(prompts.messages.isEmpty());
}

TEST_F(LoadSaveTest, AFileThatCannotBeCreatedIsReported) {
  const QString file = scratch.Path("no such folder/model.MVD");
  Save(file);
  EXPECT_EQ(prompts.messages, QStringList{"Cannot create file " + file + ": no such folder."});
  EXPECT_FALSE(QFileInfo::exists(file));
}

TEST_F(LoadSaveTest, AFailedSaveLeavesWhatWasThere) {
  // A folder in the way cannot be replaced by the model file.
  const QString folder = scratch.Path("taken.MVD");
  ASSERT_TRUE(QDir().mkdir(folder));
  WriteBytes(folder + "/inside.txt", "still here");
  Save(folder);
  EXPECT_EQ(prompts.messages, QStringList{"Cannot create file " + folder + ": it is a folder."});
  EXPECT_TRUE(QFileInfo(folder).isDir());
  EXPECT_EQ(ReadBytes(folder + "/inside.txt"), "still here");
}

}  // namespace
}  // namespace morv::test
