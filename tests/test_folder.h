// Every test works in a folder of its own, so tests (and checkouts) can run side by side.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#ifndef TIDRA_TEST_TMPDIR
#define TIDRA_TEST_TMPDIR "test-tmp"
#endif

namespace tidra::testing {

namespace detail {
// Removes the folders a test made when the test ends, passed or failed.
class FolderSweeper : public ::testing::EmptyTestEventListener {
  public:
    static FolderSweeper& installed() {
        static FolderSweeper* sweeper = [] {
            auto* s = new FolderSweeper;
            ::testing::UnitTest::GetInstance()->listeners().Append(s);
            return s;
        }();
        return *sweeper;
    }
    void add(const std::filesystem::path& dir) { dirs_.push_back(dir); }
    void OnTestEnd(const ::testing::TestInfo&) override {
        std::error_code ec;
        for (const auto& dir : dirs_) std::filesystem::remove_all(dir, ec);
        dirs_.clear();
    }

  private:
    std::vector<std::filesystem::path> dirs_;
};
}  // namespace detail

// "<build tree's temporary folder>/<prefix>-<suite>-<test>-XXXXXX": new, empty, and removed when
// the test ends.
inline std::filesystem::path freshTestFolder(const std::string& prefix) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::filesystem::path base = TIDRA_TEST_TMPDIR;
    std::filesystem::create_directories(base);
    std::string name = prefix + "-" + info->test_suite_name() + "-" + info->name();
    for (char& c : name)
        if (c == '/') c = '_';
    std::string pattern = (base / (name + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data())) ADD_FAILURE() << "cannot make a folder at " << pattern;
    detail::FolderSweeper::installed().add(pattern);
    return pattern;
}

}  // namespace tidra::testing
