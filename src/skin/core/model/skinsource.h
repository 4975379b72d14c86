// Where a skin is read from: a skin folder (its "Options.dat" and picture
// files) or an archive (a packed skin file or a stored skin's data, already
// unpacked). A load asks the source for the description text and for
// pictures by the names the text gives. Window-free.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "skin/core/portable/packedskin.h"

namespace kova::skin {

// A skin that cannot be read at all (no description, no file).
class ESkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TSkinSource {
public:
    virtual ~TSkinSource() = default;
    // The description text; nullopt when the source has none.
    virtual std::optional<std::string> OptionsText() const = 0;
    // A picture file named in the description; false when there is none.
    virtual bool ReadPicture(const std::string& name, std::vector<std::uint8_t>& out) const = 0;
    // The pictures come from an archive (packed file or stored skin).
    virtual bool Packed() const = 0;
};

// A skin folder. Names without ":" (and not absolute) are relative to the
// folder; names are matched without regard to case, as on Windows.
class TFolderSkinSource : public TSkinSource {
public:
    explicit TFolderSkinSource(std::string folder) : folder_(std::move(folder)) {}
    std::optional<std::string> OptionsText() const override;
    bool ReadPicture(const std::string& name, std::vector<std::uint8_t>& out) const override;
    bool Packed() const override { return false; }

private:
    std::string folder_;
};

// An unpacked archive; entries are found by their upper-cased names.
class TArchiveSkinSource : public TSkinSource {
public:
    explicit TArchiveSkinSource(std::unique_ptr<TacSkinConvertor> archive) : archive_(std::move(archive)) {}
    std::optional<std::string> OptionsText() const override;
    bool ReadPicture(const std::string& name, std::vector<std::uint8_t>& out) const override;
    bool Packed() const override { return true; }

private:
    std::unique_ptr<TacSkinConvertor> archive_;
};

// Unpacks the bytes of a packed skin; throws "Loaded data is not a packed
// skin file" (or the stream's read error) on bad data.
std::unique_ptr<TArchiveSkinSource> ArchiveSourceFromBytes(std::vector<std::uint8_t> bytes);

// File access for the folder source, with Windows paths made usable on the
// build host: backslashes become the native separator.
std::string NativePath(const std::string& path);
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out);
// The existing file or folder whose name equals `name` ignoring ASCII case;
// the exact name wins. Empty when there is none.
std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name);

}  // namespace kova::skin
