// A control on a recording container with scripted system dialogs.
#pragma once

#include <gtest/gtest.h>

#include "cmndlg/cmn_dlg.h"
#include "platform/errors.h"
#include "tests/fakes/recording_container.h"
#include "tests/fakes/scripted_dialogs.h"

class CmnDlgTest : public ::testing::Test {
 protected:
  fakes::RecordingContainer container;
  fakes::ScriptedDialogs dialogs;
  cmndlg::CmnDlg dlg{container, dialogs};
};

// The raised error's number, or 0 when nothing was raised.
template <typename F>
int32_t RaisedNumber(F&& action) {
  try {
    action();
  } catch (const platform::RaisedError& error) {
    return error.Number();
  }
  return 0;
}
