// Stand-ins for the desktop's helper programs (zenity, xdg-open) and for programs started through
// the shell: small shell scripts that write down what they were given, so tests see the paths
// and options exactly as they reached Linux.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

namespace kvtest {

// An executable shell script at path (its folder made) that writes each argument on a line of
// its own, then the working folder, into record, and then runs the rest of the body. The
// record appears whole or not at all.
inline void WriteRecordingScript(const std::string& path, const std::string& record,
                                 const std::string& rest = "") {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary)
      << "#!/bin/sh\n"
      << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << record << ".part'\n"
      << "pwd -P >> '" << record << ".part'\n"
      << "mv '" << record << ".part' '" << record << "'\n"
      << rest;
  ASSERT_EQ(chmod(path.c_str(), 0755), 0);
}

// The text of a file that a program running on its own writes, waiting up to five seconds for
// it; "" when it never came.
inline std::string WaitForFile(const std::string& path) {
  for (int i = 0; i < 500 && !std::filesystem::exists(path); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace kvtest
