#pragma once
// Recorders in place of the message box and the shell for as long as a guard lives: it puts back
// the handler that was there when it ends, also when a failed ASSERT leaves the test early, so
// that no later test runs with an earlier test's recorder.
#include "platform/modHyperlink.h"
#include "platform/window/MsgBox.h"
#include "platform/window/ShutdownReason.h"

namespace test_support {

template <typename Handler, Handler (*Set)(Handler)>
class HandlerGuard {
 public:
  explicit HandlerGuard(Handler handler) : previous_(Set(handler)) {}
  ~HandlerGuard() { Set(previous_); }
  HandlerGuard(const HandlerGuard&) = delete;
  HandlerGuard& operator=(const HandlerGuard&) = delete;

 private:
  Handler previous_;
};

using MsgBoxGuard = HandlerGuard<MsgBoxHandler, &SetMsgBoxHandler>;
using ShellExecuteGuard = HandlerGuard<ShellExecuteHandler, &SetShellExecuteHandler>;
using ShutdownReasonGuard = HandlerGuard<ShutdownReasonObserver, &SetShutdownReasonObserver>;

}  // namespace test_support
