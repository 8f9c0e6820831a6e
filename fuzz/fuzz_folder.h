// A scratch folder for one fuzzer process, emptied between inputs so that no input sees what an
// earlier one left behind.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace tidra::fuzz {

// A property every input must keep: a broken one stops the fuzzer there, input saved.
inline void check(bool condition) {
    if (!condition) __builtin_trap();
}

class FuzzFolder {
  public:
    FuzzFolder() {
        // Memory-backed where there is one: the preference store syncs every file it writes.
        std::error_code ec;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", ec)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "tidra-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path_ = pattern;
    }
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    FuzzFolder(const FuzzFolder&) = delete;
    FuzzFolder& operator=(const FuzzFolder&) = delete;

    const std::string& path() const { return path_; }
    // Empties the folder, keeping the folder itself.
    void clear() const {
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
            std::filesystem::remove_all(entry.path(), ec);
    }

  private:
    std::string path_;
};

}  // namespace tidra::fuzz
