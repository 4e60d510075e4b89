#pragma once

// What the fuzz targets share: a check that stops the run with its reason,
// and a scratch folder for the files they feed to the readers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "tests/support/Levels.h"

// libFuzzer's entry point, unless the regression test names each harness's own.
#ifndef AQUENDO_FUZZ_ENTRY
#define AQUENDO_FUZZ_ENTRY LLVMFuzzerTestOneInput
#endif

namespace fuzz {

// Stops the run when a property does not hold; libFuzzer keeps the input.
// The regression test replays with AQUENDO_FUZZ_THROWS and is told the reason
// instead, so that a broken check fails the case of its input.
inline void Require(bool holds, const char* target, const char* what) {
    if (holds) return;
#ifdef AQUENDO_FUZZ_THROWS
    throw std::runtime_error(std::string(target) + " fuzz: " + what);
#else
    std::fprintf(stderr, "%s fuzz: %s\n", target, what);
    std::abort();
#endif
}

// A folder of its own per process and target, on a memory file system where
// there is one; gone when the process ends.
class Scratch : public testlevels::TempFolder {
public:
    explicit Scratch(const char* name) : TempFolder(Base(), std::string("aquendo-fuzz-") + name + "-") {}

    const std::filesystem::path& folder() const { return path(); }

private:
    static std::filesystem::path Base() {
        std::error_code ec;
        return std::filesystem::is_directory("/dev/shm", ec) ? "/dev/shm"
                                                             : std::filesystem::temp_directory_path();
    }
};

inline void WriteFile(const std::filesystem::path& path, const std::uint8_t* data, std::size_t size) {
    // Someone may have cleared the temporary folders meanwhile: a long run goes on.
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    Require(file != nullptr, "scratch", "cannot write the scratch file");
    if (size > 0)
        Require(std::fwrite(data, 1, size, file) == size, "scratch", "short write of the scratch file");
    std::fclose(file);
}

}  // namespace fuzz
