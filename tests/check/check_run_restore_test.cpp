// What the run tells the user after each outcome of the restore, with its steps scripted.
#include <gtest/gtest.h>

#include <string>

#include "check/check_run.h"
#include "check/recording_dialogs.h"
#include "check/scripted_steps.h"
#include "support/temp_dir.h"

namespace {

class CheckRunRestoreTest : public ::testing::Test {
 protected:
  CheckRunRestoreTest() : inside_(dir_.path()) {
    dialogRecording() = DialogRecording{};
    writeFile("sh3.exe", std::string(300, '\0'));
  }

  TempDir dir_;
  CurrentDirectory inside_;
};

TEST_F(CheckRunRestoreTest, LostByteIsReportedInsteadOfTheResult) {
  const struct {
    int8_t probed;
    std::string value;
  } cases[] = {{0x2F, "0x2F"}, {static_cast<int8_t>(0xA0), "0xA0"}, {0x3F, "0x3F"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    dialogRecording() = DialogRecording{};
    stepScript() = {c.probed, RestoreOutcome::kLost, "", ""};
    runCheck();
    const auto& calls = dialogRecording().calls;
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1].kind, DialogCall::kMessage);
    EXPECT_EQ(calls[1].style, kStyleError);
    EXPECT_EQ(calls[1].caption, "ERROR / FEHLER");
    EXPECT_EQ(calls[1].text,
              "Das \"4GB-Patch\"-Byte von SH3.EXE konnte nicht wiederhergestellt werden:\n"
              "an Offset 286 (0x11E) muss der Wert " + c.value + " stehen.\n"
              "The \"4GB-Patch\" byte of SH3.EXE could not be restored:\n"
              "offset 286 (0x11E) must hold the value " + c.value + ".");
  }
}

TEST_F(CheckRunRestoreTest, UnopenedExecutableEndsWithoutAnyBox) {
  stepScript() = {0x2F, RestoreOutcome::kNotOpened, "", ""};
  runCheck();
  ASSERT_EQ(dialogRecording().calls.size(), 1u);
  EXPECT_EQ(dialogRecording().calls[0].kind, DialogCall::kInit);
}

TEST_F(CheckRunRestoreTest, RestoredRunReportsTheStatusAndTheFlag) {
  stepScript() = {0x2F, RestoreOutcome::kRestored, "STD   QUIRN Patch possible / m\xF6glich",
                  "FileVersion:\t1.4\nLanguage:   \tGerman (Germany)"};
  runCheck();
  ASSERT_EQ(dialogRecording().calls.size(), 2u);
  EXPECT_EQ(dialogRecording().calls[1].style, kStyleInformation);
  EXPECT_EQ(dialogRecording().calls[1].text,
            "FileVersion:\t1.4\nLanguage:   \tGerman (Germany)"
            "\n\nSH3 Patchversion:      STD   QUIRN Patch possible / m\xF6glich"
            "\n\n4GB-Patch:                  Yes"
            "\n\nGr\xF6\xDF" "e / Size:                300 Bytes");
}

}  // namespace
