// What every data-file reader and writer of the engine shares: the seam
// through which they tell the user something, and the handling of files
// that are damaged or cannot be written.
//
// This code has no window system; the main window connects the seam
// (EngineServices.UserMessageSink) to its message boxes. Without a sink,
// messages go to standard error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace kova::tables {

// How a load went. A missing file gives an empty list or the defaults;
// a damaged one has been reported (and copied) already.
enum class TLoadStatus {
    Missing,
    Loaded,
    Damaged,
};

// ---- messages to the user -------------------------------------------------

void ShowUserMessage(const std::string& text);

// ---- damaged files ------------------------------------------------------------

// A file that exists but could not be read whole is never replaced by what
// the program made of it: the damaged file is first copied beside it
// ("<name>.damaged", or "<name>.damaged2" ... when that name holds other
// bytes). The user is told which file was damaged, why, and where the copy
// is. When no copy can be made, the file is protected: WriteDataFile refuses
// to replace it for the rest of the session.
// Returns the copy's path (empty when none could be made).
std::filesystem::path ReportDamagedFile(const std::filesystem::path& file, const std::string& reason);

// True when the file was damaged and could not be copied (kept in
// EngineState.ProtectedFiles).
bool IsProtectedFile(const std::filesystem::path& file);

// Replaces the file with the bytes (temporary file in the same folder,
// renamed over the old one). On failure the old file stays whole, the user
// is told, and false is returned.
bool WriteDataFile(const std::filesystem::path& file, std::span<const uint8_t> bytes);

// Largest files the readers accept (far above any real file; a larger one
// counts as damaged rather than being read into memory).
constexpr std::size_t MaxPlaceConfigFileSize = 8u << 20;
constexpr std::size_t MaxPokerRoomsFileSize = 16u << 20;
constexpr std::size_t MaxModelsFileSize = 32u << 20;
constexpr std::size_t MaxAssignmentsFileSize = 8u << 20;

}  // namespace kova::tables
