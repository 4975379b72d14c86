#include "skin/core/model/skinsource.h"

#include <filesystem>
#include <system_error>

#include "framework/portable/streams.h"

namespace kova::skin {

namespace fs = std::filesystem;

std::string NativePath(const std::string& path) {
#if defined(_WIN32)
    return path;
#else
    std::string s = path;
    for (char& c : s)
        if (c == '\\') c = '/';
    return s;
#endif
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& out) {
    std::error_code ec;
    if (!fs::is_regular_file(NativePath(path), ec)) return false;
    try {
        TMemoryStream m;
        m.LoadFromFile(NativePath(path));
        out = std::move(m.Bytes());
        return true;
    } catch (const EStreamError&) {
        return false;
    }
}

std::string FindEntryIgnoringCase(const std::string& folder, const std::string& name) {
    std::error_code ec;
    const fs::path dir(NativePath(folder));
    if (fs::exists(dir / name, ec)) return name;
    const std::string wanted = UpperAscii(name);
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string n = it->path().filename().string();
        if (UpperAscii(n) == wanted) return n;
    }
    return "";
}

std::optional<std::string> TFolderSkinSource::OptionsText() const {
    std::vector<std::uint8_t> bytes;
    const std::string name = FindEntryIgnoringCase(folder_, "Options.dat");
    if (name.empty() || !ReadFileBytes(folder_ + name, bytes)) return std::nullopt;
    return std::string(bytes.begin(), bytes.end());
}

bool TFolderSkinSource::ReadPicture(const std::string& name, std::vector<std::uint8_t>& out) const {
    if (name.empty()) return false;
    const bool absolute = name.find(':') != std::string::npos || name[0] == '/' || name[0] == '\\';
    if (absolute) return ReadFileBytes(name, out);
    // A name may hold subfolders; only its last part is matched loosely.
    const std::string native = NativePath(name);
    const std::size_t slash = native.find_last_of('/');
    const std::string sub = slash == std::string::npos ? "" : native.substr(0, slash + 1);
    const std::string leaf = slash == std::string::npos ? native : native.substr(slash + 1);
    const std::string found = FindEntryIgnoringCase(folder_ + sub, leaf);
    return !found.empty() && ReadFileBytes(folder_ + sub + found, out);
}

std::optional<std::string> TArchiveSkinSource::OptionsText() const {
    if (!archive_ || !archive_->SkinIni) return std::nullopt;
    const auto& b = archive_->SkinIni->Bytes();
    return std::string(b.begin(), b.end());
}

bool TArchiveSkinSource::ReadPicture(const std::string& name, std::vector<std::uint8_t>& out) const {
    if (!archive_) return false;
    const std::string wanted = UpperAscii(name);
    for (const TacImageItem& e : archive_->Entries)
        if (UpperAscii(e.EntryName) == wanted) {
            out = e.EntryData->Bytes();
            return true;
        }
    return false;
}

std::unique_ptr<TArchiveSkinSource> ArchiveSourceFromBytes(std::vector<std::uint8_t> bytes) {
    auto conv = std::make_unique<TacSkinConvertor>();
    conv->SetOwnedArchive(std::make_unique<TMemoryStream>(std::move(bytes)));
    UnpackSkinData(conv);
    conv->DropArchive();
    return std::make_unique<TArchiveSkinSource>(std::move(conv));
}

}  // namespace kova::skin
