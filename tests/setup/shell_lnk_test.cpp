#include <gtest/gtest.h>

#include "platform/errors.h"
#include "setup/mdl_shell_lnk.h"
#include "setup/wide_text.h"
#include "tests/fakes/fake_setup.h"
#include "tests/fakes/fake_shell.h"

using fakes::CallLog;

namespace {

struct Shortcut {
  fakes::ShellLinkScript script;
  fakes::RecordingShellLinks factory{script};
  fakes::Latin1CodePage codePage;

  void Create(const std::string& link, const std::string& target, const std::string& folder,
              const std::string& args, const std::string& icon, int32_t index, int32_t show,
              const std::string& description) {
    mdlShellLnk::CreateShortcut({factory, codePage}, link, target, folder, args, icon, index, show,
                                description);
  }
};

}  // namespace

TEST(CreateShortcut, EmptyOptionalValuesAreNotSetButTheTargetAlwaysIs) {
  Shortcut s;
  s.Create("x.lnk", "", "", "", "", 7, 1, "");
  EXPECT_EQ(s.script.calls,
            (CallLog{"CoCreateInstance ShellLink", "QueryInterface IPersistFile", "SetPath", "SetShowCmd 1",
                     "Resolve 0,5", "Save forget", "Release IPersistFile", "Release IShellLinkA"}));
}

TEST(CreateShortcut, EachOptionalCallDependsOnItsOwnValueOnly) {
  const std::vector<std::pair<int, std::string>> single = {{0, "SetWorkingDirectory w"},
                                                           {1, "SetArguments a"},
                                                           {2, "SetIconLocation i,0"},
                                                           {3, "SetDescription d"}};
  for (const auto& [which, call] : single) {
    Shortcut s;
    s.Create("x.lnk", "t", which == 0 ? "w" : "", which == 1 ? "a" : "", which == 2 ? "i" : "", 0, 5,
             which == 3 ? "d" : "");
    ASSERT_EQ(s.script.calls.size(), 9u) << call;
    EXPECT_EQ(s.script.calls[3], call);
  }
}

TEST(CreateShortcut, AFailingCallStopsTheRestAndRaisesItsHresult) {
  const CallLog all = {"CoCreateInstance", "QueryInterface",
                       "SetPath",          "SetWorkingDirectory",
                       "SetArguments",     "SetDescription",
                       "SetIconLocation",  "SetShowCmd",
                       "Resolve",          "Save"};
  for (std::size_t k = 0; k < all.size(); ++k) {
    Shortcut s;
    s.script.failAt = all[k];
    s.script.failure = static_cast<int32_t>(0x80070005u + k);
    try {
      s.Create("C:\\P\\Tarvex.lnk", "t", "w", "a", "i", 0, 5, "d");
      FAIL() << all[k] << " did not raise";
    } catch (const platform::RaisedError& error) {
      EXPECT_EQ(error.Number(), static_cast<int32_t>(0x80070005u + k));
    }
    // Calls up to the failing one, then only the releases of what was obtained.
    ASSERT_GE(s.script.calls.size(), k + 1) << all[k];
    EXPECT_EQ(s.script.calls[k].substr(0, all[k].size()), all[k]);
    CallLog releases(s.script.calls.begin() + static_cast<std::ptrdiff_t>(k) + 1, s.script.calls.end());
    CallLog expected;
    if (k >= 2) expected.push_back("Release IPersistFile");
    if (k >= 1) expected.push_back("Release IShellLinkA");
    EXPECT_EQ(releases, expected) << all[k];
    EXPECT_EQ(s.script.savedPath.empty(), k < 9);
  }
}

TEST(CreateShortcut, PositiveHresultsAreSuccess) {
  Shortcut s;
  s.script.failAt = "Resolve";
  s.script.failure = 1;  // S_FALSE
  EXPECT_NO_THROW(s.Create("x.lnk", "t", "", "", "", 0, 5, ""));
  EXPECT_EQ(s.script.savedPath, u"x.lnk");
}

TEST(WideFromUtf8, DecodesAllLengthsAndReplacesMalformedBytes) {
  EXPECT_EQ(mdlShellLnk::WideFromUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), u"a\u00E9\u20AC\U0001F600");
  EXPECT_EQ(mdlShellLnk::WideFromUtf8("\xFF"
                                      "a"),
            u"\uFFFDa");
  EXPECT_EQ(mdlShellLnk::WideFromUtf8("\xC3"), u"\uFFFD");
  EXPECT_EQ(mdlShellLnk::WideFromUtf8("\xC0\xAF"), u"\uFFFD");      // overlong "/"
  EXPECT_EQ(mdlShellLnk::WideFromUtf8("\xED\xA0\x80"), u"\uFFFD");  // a surrogate
  EXPECT_EQ(mdlShellLnk::WideFromUtf8(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}
