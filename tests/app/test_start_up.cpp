// A program that cannot start (here: its windows' resources are missing) says why in an error
// box and ends with a non-zero exit code, instead of ending without a word. A failure in an event
// afterwards carries the same title, the program's caption.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/window/WindowError.h"
#include "tests/support/HandlerGuard.h"
#include "ui/modStartUp.h"

namespace {

std::vector<std::string> boxes;

TEST(StartUp, FailureToStartIsShownAndEndsTheRunWithAnError) {
  {
    const test_support::MsgBoxGuard recorder(
        [](const std::string& prompt, unsigned style, const std::string& title) {
          boxes.push_back(std::to_string(style) + " " + title + ": " + prompt);
          return 1;
        });
    EXPECT_EQ(RunTessivane(L"\"C:\\Games\\AoM\""), 1);
    ReportEventError(std::make_exception_ptr(std::runtime_error("an event failed")));
  }
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1], "16 Pelrith's Tessivane: an event failed");
  EXPECT_TRUE(
      boxes[0].starts_with("16 Pelrith's Tessivane: Pelrith's Tessivane could not start.\r\n"
                           "\r\nThe program's picture resource "))
      << boxes[0];
}

}  // namespace
