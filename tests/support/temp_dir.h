// A fresh directory per test, removed afterwards, for tests that read and write files.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quorvex::testing_support {

class TempDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = std::filesystem::path(::testing::TempDir()) /
              (std::string("quorvex_") + info->test_suite_name() + "_" + info->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    std::filesystem::path dir;
};

}  // namespace quorvex::testing_support
