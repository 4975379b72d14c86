#include "skin/core/portable/packedskin.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <stdexcept>

#include "framework/portable/streams.h"
#include "skin/core/portable/zlibstream.h"

namespace kova::skin {

TacSkinConvertor::~TacSkinConvertor() { ClearSkinConvertor(*this); }

void TacSkinConvertor::SetOwnedArchive(std::unique_ptr<TStream> archive) {
    ownedArchive_ = std::move(archive);
    archive_ = ownedArchive_.get();
}

void TacSkinConvertor::LendArchive(TStream* archive) {
    ownedArchive_.reset();
    archive_ = archive;
}

void TacSkinConvertor::DropArchive() {
    ownedArchive_.reset();
    archive_ = nullptr;
}

void ClearSkinConvertor(TacSkinConvertor& convertor) {
    while (!convertor.Entries.empty()) convertor.Entries.pop_back();
    convertor.SkinIni.reset();
    convertor.DropArchive();
}

std::string UpperAscii(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string UpperExtension(const std::string& name) {
    for (std::size_t i = name.size(); i-- > 0;) {
        const char c = name[i];
        if (c == '\\' || c == ':') return "";
        if (c == '.') return UpperAscii(name.substr(i));
    }
    return "";
}

namespace {

[[noreturn]] void NotPacked() { throw std::runtime_error(kNotPackedSkinMessage); }

std::int64_t Remaining(TStream& s) {
    const std::int64_t size = s.Size();
    const std::int64_t pos = s.Position();
    return size < 0 ? INT64_MAX : size - pos;
}

std::int32_t ReadInt32(TStream& s) {
    std::uint8_t b[4];
    s.ReadBuffer(b, 4);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(b[0]) |
                                     (static_cast<std::uint32_t>(b[1]) << 8) |
                                     (static_cast<std::uint32_t>(b[2]) << 16) |
                                     (static_cast<std::uint32_t>(b[3]) << 24));
}

// Smallest possible entry: name length, one name byte, size, and a zlib
// stream (2-byte header, an empty stored block needs at least 1 byte more,
// 4-byte trailer).
constexpr std::int64_t kMinEntryBytes = 4 + 1 + 4 + 2 + 1 + 4;
// Deflate cannot expand beyond about 1032:1; anything claiming more than that
// from the bytes left is not a real archive.
constexpr std::int64_t kMaxInflateRatio = 1040;

void Unpack(TacSkinConvertor& conv) {
    TStream& a = *conv.ArchiveData();
    a.SetPosition(0);
    char magic[4] = {};
    if (a.Read(magic, 4) != 4 || std::memcmp(magic, "ASzf", 4) != 0) NotPacked();
    const std::int32_t n = ReadInt32(a);
    if (n < 1 || n > Remaining(a) / kMinEntryBytes + 1) NotPacked();
    conv.ImageEntryCount = n - 1;
    int iniCount = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t nameLength = ReadInt32(a);
        if (nameLength < 1 || nameLength > Remaining(a)) NotPacked();
        std::string name(static_cast<std::size_t>(nameLength), '\0');
        a.ReadBuffer(name.data(), name.size());
        const std::int32_t size = ReadInt32(a);
        const std::int64_t left = Remaining(a);
        if (size < 0 || left < 6 || size > (left - 6) * kMaxInflateRatio + 1024) NotPacked();
        TZDecompressionStream z(a);
        auto data = std::make_unique<TMemoryStream>();
        if (size > 0) data->CopyFrom(z, size);
        if (UpperAscii(name) == "OPTIONS.DAT") {
            if (++iniCount > 1) NotPacked();
            conv.SkinIni = std::move(data);
        } else {
            TacImageItem item;
            item.EntryName = std::move(name);
            item.BmpImage = UpperExtension(item.EntryName) == ".BMP";
            item.EntryData = std::move(data);
            conv.Entries.push_back(std::move(item));
        }
        // Read on to the end of the zlib stream: this also steps over an
        // empty entry's stream, which a zero-byte copy never touches, and
        // leaves the archive on the next entry. An entry holding more than
        // its stated size is not a sound archive.
        std::uint8_t probe[1];
        if (z.Read(probe, 1) != 0) NotPacked();
    }
    if (iniCount != 1) NotPacked();
}

}  // namespace

void UnpackSkinData(std::unique_ptr<TacSkinConvertor>& convertor) {
    if (!convertor || !convertor->ArchiveData()) NotPacked();
    try {
        Unpack(*convertor);
    } catch (...) {
        ClearSkinConvertor(*convertor);
        convertor.reset();
        throw;
    }
}

void LoadPackedSkin(const std::string& fileName, std::unique_ptr<TacSkinConvertor>& convertor,
                    bool dropArchive) {
    if (!FileExists(fileName)) return;
    auto bytes = std::make_unique<TMemoryStream>();
    bytes->LoadFromFile(fileName);
    if (convertor)
        ClearSkinConvertor(*convertor);
    else
        convertor = std::make_unique<TacSkinConvertor>();
    convertor->SetOwnedArchive(std::move(bytes));
    UnpackSkinData(convertor);
    if (dropArchive && convertor) convertor->DropArchive();
}

std::vector<std::uint8_t> WritePackedSkin(const std::vector<PackedEntry>& entries, int level) {
    std::vector<std::uint8_t> out = {'A', 'S', 'z', 'f'};
    auto put32 = [&out](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    put32(static_cast<std::uint32_t>(entries.size()));
    for (const PackedEntry& e : entries) {
        put32(static_cast<std::uint32_t>(e.name.size()));
        out.insert(out.end(), e.name.begin(), e.name.end());
        put32(static_cast<std::uint32_t>(e.data.size()));
        uLongf bound = compressBound(static_cast<uLong>(e.data.size()));
        std::vector<std::uint8_t> z(bound);
        if (compress2(z.data(), &bound, e.data.data(), static_cast<uLong>(e.data.size()), level) != Z_OK)
            throw std::runtime_error("compression failed");
        out.insert(out.end(), z.begin(), z.begin() + static_cast<std::ptrdiff_t>(bound));
    }
    return out;
}

bool ReadSkinFolderEntries(const std::string& folder, std::vector<PackedEntry>& entries, std::string& failedFile) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    entries.clear();
    for (const fs::path& p : files) {
        PackedEntry e;
        e.name = p.filename().string();
        try {
            TMemoryStream m;
            m.LoadFromFile(p.string());
            e.data = std::move(m.Bytes());
        } catch (const EStreamError&) {
            failedFile = p.string();
            return false;
        }
        if (UpperAscii(e.name) == "OPTIONS.DAT")
            entries.insert(entries.begin(), std::move(e));
        else
            entries.push_back(std::move(e));
    }
    return true;
}

}  // namespace kova::skin
