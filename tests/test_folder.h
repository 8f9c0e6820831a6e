// Every test works in a folder of its own, emptied first, so tests can run side by side.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace tidra::testing {

// "<temporary folder>/<prefix>-<suite>-<test>", empty and existing.
inline std::filesystem::path freshTestFolder(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) /
                                (prefix + "-" + info->test_suite_name() + "-" + info->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

}  // namespace tidra::testing
