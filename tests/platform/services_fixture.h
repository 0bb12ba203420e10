// Shared set-up of the desktop-service tests: a fresh temporary folder that holds the registry
// file and any files a test makes, the desktop hidden (so no dialog or box can appear), and
// every service record forgotten before and after each test.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/testing/services.h"
#include "scratch_folder.h"

class ServicesTest : public ::testing::Test {
 protected:
  ScratchFolder scratch{"kv_services"};
  std::string folder = scratch.Path();

  void SetUp() override {
    platform::testing::ResetServices();
    platform::testing::HideDesktop(true);
    platform::testing::SetRegistryFile(folder + "/config/kelvo-core/registry");
  }

  void TearDown() override { platform::testing::ResetServices(); }

  static std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  static void WriteText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
};
