// Whole-file reading with a size limit and crash-safe file replacement.
//
// Settings and data files live beside the program and are edited for years:
// a crash or a full disk in the middle of a save must never leave a half
// written file behind. Writers therefore write a temporary file in the same
// folder and rename it over the old one; readers refuse files that are
// larger than the caller expects, so garbage never turns into an unbounded
// allocation.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace kova {

enum class TFileReadStatus {
    Ok,        // Bytes holds the whole file (or the requested prefix)
    Missing,   // no such file
    TooLarge,  // the file is larger than the limit; Bytes is empty
    Error,     // the file exists but could not be read; Error says why
};

struct TFileReadResult {
    TFileReadStatus Status = TFileReadStatus::Missing;
    std::vector<uint8_t> Bytes;
    std::string Error;
};

// Reads the whole file when it holds at most maxBytes bytes.
TFileReadResult SafeReadFile(const std::filesystem::path& file, std::size_t maxBytes);

// Reads at most the first maxBytes bytes of the file (a shorter file gives
// all of it).
TFileReadResult SafeReadFilePrefix(const std::filesystem::path& file, std::size_t maxBytes);

// Writes the bytes to "<file>.tmp" in the same folder, then renames that
// over the file. On failure the old file is untouched, the temporary file is
// removed, false is returned and *error (when given) says why.
bool SafeReplaceFile(const std::filesystem::path& file, std::span<const uint8_t> bytes,
                     std::string* error = nullptr);

}  // namespace kova
