#include <gtest/gtest.h>

#include "platform/errors.h"
#include "setup/mdl_shell_lnk.h"
#include "setup/wide_text.h"
#include "tests/fakes/fake_setup.h"

using fakes::CallLog;

namespace {

void Create(fakes::RecordingShellLinks& links, const std::string& link, const std::string& target,
            const std::string& folder, const std::string& args, const std::string& icon,
            const std::string& name) {
  mdlShellLnk::CreateShortcut({links, fakes::PassThroughCodePage()}, link, target, folder, args, icon, 7, 5,
                              name);
}

}  // namespace

// Only a string of length zero is left unset; the target is set even then.
TEST(CreateShortcut, SetsEachOptionalValueOnlyWhenItIsGiven) {
  fakes::RecordingShellLinks none, all;
  Create(none, "C:\\Men\xC3\xBC\\x.lnk", "", "", "", "", "");
  EXPECT_EQ(none.calls,
            (CallLog{"CoCreateInstance ShellLink", "QueryInterface IPersistFile", "SetPath ", "SetShowCmd 5",
                     "Resolve 0,5", "Save forget", "Release IPersistFile", "Release IShellLinkA"}));
  EXPECT_EQ(none.savedPath, u"C:\\Men\u00FC\\x.lnk") << "saved by its wide name";
  Create(all, "x.lnk", "t", "w", " ", "i", "d");
  EXPECT_EQ(CallLog(all.calls.begin() + 2, all.calls.begin() + 7),
            (CallLog{"SetPath t", "SetWorkingDirectory w", "SetArguments  ", "SetDescription d",
                     "SetIconLocation i,7"}));
}

TEST(CreateShortcut, AFailingCallStopsTheRestAndRaisesItsHresult) {
  const CallLog all = {"CoCreateInstance", "QueryInterface",
                       "SetPath",          "SetWorkingDirectory",
                       "SetArguments",     "SetDescription",
                       "SetIconLocation",  "SetShowCmd",
                       "Resolve",          "Save"};
  for (std::size_t k = 0; k < all.size(); ++k) {
    fakes::RecordingShellLinks links;
    links.failAt = all[k];
    links.failure = static_cast<int32_t>(0x80070005u + k);
    try {
      Create(links, "C:\\P\\Tarvex.lnk", "t", "w", "a", "i", "d");
      ADD_FAILURE() << all[k] << " did not raise";
    } catch (const platform::RaisedError& error) {
      EXPECT_EQ(error.Number(), links.failure);
    }
    // Calls up to the failing one, then only the releases of what was obtained.
    CallLog expected(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(k) + 1);
    expected.resize(k + 1 + std::min<std::size_t>(k, 2), "Release");
    for (std::string& call : links.calls) call.erase(call.find(' '));
    EXPECT_EQ(links.calls, expected);
  }
  fakes::RecordingShellLinks positive;  // S_FALSE and the like are success
  positive.failAt = "Resolve";
  positive.failure = 1;
  EXPECT_NO_THROW(Create(positive, "x.lnk", "t", "", "", "", ""));
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
