#include <cstring>
#include <string>

#include "tests/cmndlg/fixture.h"

using namespace cmndlg;
using namespace std::string_literals;

namespace {

std::string Nuls(size_t count) {
  return std::string(count, '\0');
}

}  // namespace

class FileDialogTest : public CmnDlgTest {
 protected:
  void SetUp() override {
    dlg.InitProperties();
    dlg.setFilter("Project Files (*.vbp)|*.vbp");
    container.log.clear();
  }
};

TEST_F(FileDialogTest, ShowOpenFillsEveryFieldOfTheRequest) {
  dlg.ShowOpen();
  ASSERT_EQ(dialogs.opens.size(), 1u);
  const fakes::FileRequest& seen = dialogs.opens[0];
  const platform::OPENFILENAMEA& r = seen.record;
  EXPECT_EQ(r.lStructSize, sizeof(platform::OPENFILENAMEA));
  EXPECT_EQ(r.hwndOwner, container.hwnd);
  EXPECT_EQ(r.hInstance, container.instance);
  EXPECT_EQ(seen.filter, "Project Files (*.vbp)\0*.vbp\0\0"s);
  EXPECT_EQ(seen.customFilter, Nuls(1024));
  EXPECT_EQ(r.nMaxCustFilter, 1024u);
  EXPECT_EQ(r.nFilterIndex, 0u);
  EXPECT_EQ(seen.file, Nuls(260));
  EXPECT_EQ(r.nMaxFile, 260u);
  EXPECT_EQ(seen.fileTitle, Nuls(260));
  EXPECT_EQ(r.nMaxFileTitle, 260u);
  EXPECT_EQ(seen.initialDir, "");
  EXPECT_EQ(seen.title, "Open");
  EXPECT_EQ(r.Flags, 0u);
  EXPECT_EQ(r.nFileOffset, 0);
  EXPECT_EQ(r.nFileExtension, 0);
  EXPECT_EQ(seen.defaultExt, "");
  EXPECT_EQ(r.lCustData, 0);
  EXPECT_EQ(r.lpfnHook, nullptr);
  EXPECT_EQ(r.lpTemplateName, nullptr);
  EXPECT_EQ(container.log, (std::vector<std::string>{"ParentHwnd"}));
  EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"GetOpenFileNameA"}));
}

TEST_F(FileDialogTest, ShowSaveDiffersOnlyInItsCallAndTitle) {
  dlg.setFlags(0x2 | 0x800);
  dlg.setFilterIndex(3);
  dlg.setFileName("C:\\Old.vbp");
  dlg.setInitDir("C:\\Work");
  dlg.setDefaultExt("vbp");
  dlg.ShowOpen();
  dlg.ShowSave();
  ASSERT_EQ(dialogs.saves.size(), 1u);
  const fakes::FileRequest& open = dialogs.opens[0];
  const fakes::FileRequest& save = dialogs.saves[0];
  EXPECT_EQ(save.title, "Save As");
  EXPECT_EQ(save.record.Flags, 0x802u);  // no bit of its own, no overwrite prompt
  EXPECT_EQ(open.record.Flags, 0x802u);
  EXPECT_EQ(save.record.nFilterIndex, 3u);
  EXPECT_EQ(save.file, "C:\\Old.vbp"s + Nuls(250));
  EXPECT_EQ(save.initialDir, "C:\\Work");
  EXPECT_EQ(save.defaultExt, "vbp");
  EXPECT_EQ(save.filter, open.filter);
  EXPECT_EQ(save.file, open.file);
  EXPECT_EQ(dialogs.calls, (std::vector<std::string>{"GetOpenFileNameA", "GetSaveFileNameA"}));
}

TEST_F(FileDialogTest, ADialogTitleReplacesTheDefaultInBoth) {
  dlg.setDialogTitle("Pack to");
  dlg.ShowOpen();
  dlg.ShowSave();
  EXPECT_EQ(dialogs.opens[0].title, "Pack to");
  EXPECT_EQ(dialogs.saves[0].title, "Pack to");
}

TEST_F(FileDialogTest, AnEmptyFilterIsTwoNulsAndATrailingBarGivesThree) {
  dlg.setFilter("");
  dlg.ShowOpen();
  EXPECT_EQ(dialogs.opens[0].filter, "\0\0"s);
  EXPECT_NE(dialogs.opens[0].record.lpstrFilter, nullptr);

  // The capture stops at the first NUL pair, so watch the whole buffer from inside the call.
  dlg.setFilter("A|*.a|");
  std::string whole;
  dialogs.answerOpen = [&](platform::OPENFILENAMEA& r) {
    whole.assign(r.lpstrFilter, std::strlen("A|*.a|") + 2);
    return 0;
  };
  dlg.ShowOpen();
  EXPECT_EQ(whole, "A\0*.a\0\0\0"s);
}

TEST_F(FileDialogTest, EveryBarBecomesANul) {
  dlg.setFilter("Text|*.txt;*.log|All||*.*");
  dlg.ShowOpen();
  EXPECT_EQ(dialogs.opens[0].filter, "Text\0*.txt;*.log\0All\0\0"s);
}

TEST_F(FileDialogTest, AFileNameOf259CharactersFillsTheBufferUpToOneNul) {
  const std::string name(259, 'n');
  dlg.setFileName(name);
  dlg.setMaxFileSize(10);
  dlg.ShowOpen();
  EXPECT_EQ(dialogs.opens[0].file, name + '\0');
  EXPECT_EQ(dialogs.opens[0].record.nMaxFile, 260u);
}

TEST_F(FileDialogTest, AFileNameOf260CharactersRaisesError5BeforeAnyDialog) {
  dialogs.answerOpen = fakes::ChooseFile("C:\\Old.vbp", 1);
  dlg.ShowOpen();
  dlg.ShowColor();  // cancelled: LastError 32755
  ASSERT_EQ(dlg.LastError(), kCancelError);
  dialogs.calls.clear();
  for (size_t length : {260u, 1000u}) {
    dlg.setFileName(std::string(length, 'n'));
    container.log.clear();
    EXPECT_EQ(RaisedNumber([&] { dlg.ShowSave(); }), kInvalidArgument);
    EXPECT_EQ(dlg.LastError(), 0);
    EXPECT_EQ(dlg.FileName(), std::string(length, 'n'));
    EXPECT_EQ(dlg.FileTitle(), "Old.vbp");
    EXPECT_EQ(dlg.FilterIndex(), 1);
    EXPECT_EQ(container.log, (std::vector<std::string>{"ParentHwnd"}));  // read before the buffer is built
  }
  EXPECT_TRUE(dialogs.calls.empty());
}

TEST_F(FileDialogTest, AConfirmedFileIsStoredWithoutAnnouncement) {
  dlg.setFlags(0x800);
  dlg.setFilterIndex(1);
  container.log.clear();
  dialogs.answerOpen = fakes::ChooseFile("C:\\Work\\App.vbp", 2, 0x1);  // read-only box ticked
  dlg.ShowOpen();
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_EQ(dlg.FileName(), "C:\\Work\\App.vbp");
  EXPECT_EQ(dlg.FileTitle(), "App.vbp");
  EXPECT_EQ(dlg.FilterIndex(), 2);
  EXPECT_EQ(dlg.flags(), 0x801);
  EXPECT_TRUE(container.Announced().empty());

  // Both dialogs share the control: Save As opens with the file Open returned.
  dlg.ShowSave();
  EXPECT_EQ(dialogs.saves[0].file, "C:\\Work\\App.vbp"s + Nuls(245));
}

TEST_F(FileDialogTest, CancelKeepsEveryPropertyAndALaterSuccessResetsLastError) {
  dialogs.answerOpen = fakes::ChooseFile("C:\\A.vbp", 1, 0x1);
  dlg.ShowOpen();
  dialogs.answerOpen = [](platform::OPENFILENAMEA& r) {
    std::memcpy(r.lpstrFile, "C:\\B.vbp", 9);  // the system may have written before failing
    r.nFilterIndex = 9;
    r.Flags = 0xFFFF;
    return 0;
  };
  dlg.ShowOpen();
  EXPECT_EQ(dlg.LastError(), kCancelError);
  EXPECT_EQ(dlg.FileName(), "C:\\A.vbp");
  EXPECT_EQ(dlg.FileTitle(), "A.vbp");
  EXPECT_EQ(dlg.FilterIndex(), 1);
  EXPECT_EQ(dlg.flags(), 1);

  dialogs.answerSave = fakes::ChooseFile("C:\\C.vbp", 1);
  dlg.ShowSave();
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_EQ(dlg.FileName(), "C:\\C.vbp");
}

TEST_F(FileDialogTest, AMultipleSelectionGivesTheTextBeforeTheFirstNul) {
  dlg.setFlags(0x200 | 0x80000);
  dialogs.answerOpen = [](platform::OPENFILENAMEA& r) {
    const std::string list = "C:\\Work\0A.frm\0B.frm\0\0"s;
    std::memcpy(r.lpstrFile, list.data(), list.size());
    return 1;
  };
  dlg.ShowOpen();
  EXPECT_EQ(dlg.FileName(), "C:\\Work");
  EXPECT_EQ(dlg.FileTitle(), "");

  dialogs.answerOpen = fakes::ChooseFile("C:\\" + std::string(300, 'x'), 1);  // does not fit
  dlg.ShowOpen();
  EXPECT_EQ(dlg.LastError(), kCancelError);
  EXPECT_EQ(dlg.FileName(), "C:\\Work");
}

TEST_F(FileDialogTest, AnOwnerWindowThatCannotBeReadIsRaisedWithNothingChanged) {
  dialogs.answerOpen = fakes::ChooseFile("C:\\A.vbp", 1);
  dlg.ShowOpen();
  dlg.ShowColor();
  container.failParentHwnd = true;
  EXPECT_EQ(RaisedNumber([&] { dlg.ShowOpen(); }), fakes::kContainerFailure);
  EXPECT_EQ(dlg.LastError(), 0);
  EXPECT_EQ(dlg.FileName(), "C:\\A.vbp");
  EXPECT_EQ(dialogs.opens.size(), 1u);
}

TEST_F(FileDialogTest, TheOwnerIsReadAtEachCallAndWidensSignExtended) {
  container.hwnd = -2;
  dlg.ShowOpen();
  container.hwnd = 0x7FFF0000;
  dlg.ShowSave();
  EXPECT_EQ(dialogs.opens[0].record.hwndOwner, platform::Handle{-2});
  EXPECT_EQ(dialogs.saves[0].record.hwndOwner, platform::Handle{0x7FFF0000});
}

TEST_F(FileDialogTest, BytesAboveSevenBitsAndQuotesCrossUnchanged) {
  dlg.setDialogTitle(
      "\xC4"
      "ffnen \"x\"");
  dlg.setInitDir("C:\\Dokumente\xFC");
  dlg.ShowOpen();
  EXPECT_EQ(dialogs.opens[0].title,
            "\xC4"
            "ffnen \"x\"");
  EXPECT_EQ(dialogs.opens[0].initialDir, "C:\\Dokumente\xFC");
}
