// Packed skin files ("ASzf" archives): one zlib stream per entry, the skin's
// ini text in the "Options.dat" entry and every other entry a named image.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/portable/streams.h"

namespace kova::skin {

struct TacImageItem {
    std::string EntryName;   // exactly as stored
    bool BmpImage = false;   // extension ".BMP", any case
    std::unique_ptr<TMemoryStream> EntryData;  // inflated content, position at its end
};
using TacImageItems = std::vector<TacImageItem>;

class TacSkinConvertor {
public:
    TacSkinConvertor() = default;
    ~TacSkinConvertor();
    TacSkinConvertor(const TacSkinConvertor&) = delete;
    TacSkinConvertor& operator=(const TacSkinConvertor&) = delete;

    std::int32_t ImageEntryCount = 0;
    TacImageItems Entries;
    std::unique_ptr<TMemoryStream> SkinIni;

    // The packed bytes being read: owned (set by LoadPackedSkin) or lent
    // (a stored skin's data, which the caller keeps alive).
    TStream* ArchiveData() const { return archive_; }
    void SetOwnedArchive(std::unique_ptr<TStream> archive);
    void LendArchive(TStream* archive);
    void DropArchive();

    friend void ClearSkinConvertor(TacSkinConvertor& convertor);

private:
    std::unique_ptr<TStream> ownedArchive_;
    TStream* archive_ = nullptr;
};

// Message of every failure that is the archive's own fault.
inline constexpr const char* kNotPackedSkinMessage = "Loaded data is not a packed skin file";

// Reads the file into a (new or cleared) convertor and unpacks it; does
// nothing when the file does not exist. On a failure the convertor is
// released (reference reset) and the exception propagates.
void LoadPackedSkin(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                    bool dropArchive);
// Parses convertor->ArchiveData(). On any failure the convertor is released
// and the caller's reference reset, so no half-read archive is ever used.
void UnpackSkinData(std::unique_ptr<TacSkinConvertor>& convertor);
void ClearSkinConvertor(TacSkinConvertor& convertor);

// The entry's extension (from the last "." not followed by "\" or ":"),
// upper-cased, e.g. ".BMP"; empty when there is none.
std::string UpperExtension(const std::string& name);
std::string UpperAscii(std::string s);

// Writing, for the packer tool and test fixtures.
struct PackedEntry {
    std::string name;
    std::vector<std::uint8_t> data;
};
std::vector<std::uint8_t> WritePackedSkin(const std::vector<PackedEntry>& entries, int level = 9);
// The files of a skin folder as entries, sorted by name with "Options.dat"
// first, since readers look for the ini text early. False, with the path
// in failedFile, when a file cannot be read.
bool ReadSkinFolderEntries(const std::string& folder, std::vector<PackedEntry>& entries, std::string& failedFile);

}  // namespace kova::skin
