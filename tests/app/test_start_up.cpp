// A program that cannot start (here: its windows' resources are missing) says why in an error
// box and ends with a non-zero exit code, instead of ending without a word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  }
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(
      boxes[0].starts_with("16 Pelrith's Tessivane: Pelrith's Tessivane could not start.\r\n"
                           "\r\nThe program's picture resource "))
      << boxes[0];
}

}  // namespace
