// The command-line text: arguments after the program name, quoted where they must be.
#include <gtest/gtest.h>

#include "platform/command_line.h"

namespace {

std::string Line(std::initializer_list<const char*> args) {
  std::vector<const char*> argv(args);
  return platform::BuildCommandLine(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(CommandLine, LeavesOutTheProgramAndJoinsWithBlanks) {
  EXPECT_EQ(Line({"tumbix"}), "");
  EXPECT_EQ(Line({"tumbix", "-a", "b"}), "-a b");
}

TEST(CommandLine, QuotesArgumentsWithBlanksQuotesOrNothing) {
  EXPECT_EQ(Line({"tumbix", "two words", "x"}), "\"two words\" x");
  EXPECT_EQ(Line({"tumbix", ""}), "\"\"");
  EXPECT_EQ(Line({"tumbix", "say \"hi\""}), "\"say \\\"hi\\\"\"");
  EXPECT_EQ(Line({"tumbix", "dir\\ x\\"}), "\"dir\\ x\\\\\"");
  EXPECT_EQ(Line({"tumbix", "C:\\path\\"}), "C:\\path\\");
}
