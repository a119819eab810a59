#include <gtest/gtest.h>

#include "platform/errors.h"
#include "setup/mdl_shell_lnk.h"
#include "setup/wide_text.h"
#include "tests/fakes/fake_setup.h"

using fakes::CallLog;

const fakes::PassThroughCodePage kCodePage;

// Only a string of length zero is left unset; the target is set even then.
TEST(CreateShortcut, SetsEachOptionalValueOnlyWhenItIsGiven) {
  fakes::RecordingShellLinks none, all;
  mdlShellLnk::CreateShortcut({none, kCodePage}, "C:\\Men\xC3\xBC\\x.lnk", "", "", "", "", 7, 5, "");
  EXPECT_EQ(none.calls,
            (CallLog{"CoCreateInstance ShellLink", "QueryInterface IPersistFile", "SetPath ", "SetShowCmd 5",
                     "Resolve 0,5", "Save forget", "Release IPersistFile", "Release IShellLinkA"}));
  EXPECT_EQ(none.savedPath, u"C:\\Men\u00FC\\x.lnk") << "saved by its wide name";
  mdlShellLnk::CreateShortcut({all, kCodePage}, "x.lnk", "t", "w", " ", "i", 7, 5, "d");
  EXPECT_EQ(CallLog(all.calls.begin() + 2, all.calls.begin() + 7),
            (CallLog{"SetPath t", "SetWorkingDirectory w", "SetArguments  ", "SetDescription d",
                     "SetIconLocation i,7"}));
  // Each optional call depends on its own value only.
  const std::string calls[] = {"SetWorkingDirectory v", "SetArguments v", "SetIconLocation v,7",
                               "SetDescription v"};
  for (int which = 0; which < 4; ++which) {
    fakes::RecordingShellLinks one;
    const auto v = [&](int i) { return std::string(i == which ? "v" : ""); };
    mdlShellLnk::CreateShortcut({one, kCodePage}, "x.lnk", "t", v(0), v(1), v(2), 7, 5, v(3));
    EXPECT_EQ(CallLog(one.calls.begin() + 3, one.calls.end() - 5), CallLog{calls[which]});
  }
}

// Each call of a full run fails in turn: the calls after it are not made, only what was obtained is released.
TEST(CreateShortcut, AFailingCallStopsTheRestAndRaisesItsHresult) {
  fakes::RecordingShellLinks full;
  mdlShellLnk::CreateShortcut({full, kCodePage}, "C:\\P\\Tarvex.lnk", "t", "w", "a", "i", 0, 5, "d");
  ASSERT_EQ(full.calls.size(), 12u);
  for (std::size_t k = 0; k < 10; ++k) {
    fakes::RecordingShellLinks links;
    links.failAt = full.calls[k].substr(0, full.calls[k].find(' '));
    links.failure = static_cast<int32_t>(0x80070005u + k);
    try {
      mdlShellLnk::CreateShortcut({links, kCodePage}, "C:\\P\\Tarvex.lnk", "t", "w", "a", "i", 0, 5, "d");
      ADD_FAILURE() << links.failAt << " did not raise";
    } catch (const platform::RaisedError& error) {
      EXPECT_EQ(error.Number(), links.failure);
    }
    CallLog expected(full.calls.begin(), full.calls.begin() + static_cast<std::ptrdiff_t>(k) + 1);
    if (k >= 2) expected.push_back("Release IPersistFile");
    if (k >= 1) expected.push_back("Release IShellLinkA");
    EXPECT_EQ(links.calls, expected);
  }
  fakes::RecordingShellLinks positive;  // S_FALSE and the like are success
  positive.failAt = "Resolve";
  positive.failure = 1;
  EXPECT_NO_THROW(mdlShellLnk::CreateShortcut({positive, kCodePage}, "x.lnk", "t", "", "", "", 0, 5, ""));
  EXPECT_EQ(positive.savedPath, u"x.lnk");
}

TEST(WideFromUtf8, DecodesAllLengthsAndReplacesMalformedBytes) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", u"a\u00E9\u20AC\U0001F600"},
      {"\xFF\x61", u"\uFFFDa"},
      {"\xC3", u"\uFFFD"},
      {"\xC0\xAF", u"\uFFFD"},      // overlong "/"
      {"\xED\xA0\x80", u"\uFFFD"},  // a surrogate
      {std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& [utf8, wide] : cases) EXPECT_EQ(mdlShellLnk::WideFromUtf8(utf8), wide) << utf8;
}
