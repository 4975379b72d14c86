#include "framework/portable/safefile.h"

#include <algorithm>
#include <fstream>
#include <system_error>

namespace kova {

namespace fs = std::filesystem;

namespace {

TFileReadResult ReadLimited(const fs::path& file, std::size_t maxBytes, bool prefixOnly) {
    TFileReadResult result;
    std::error_code ec;
    const fs::file_status st = fs::status(file, ec);
    if (ec || !fs::exists(st)) {
        result.Status = TFileReadStatus::Missing;
        return result;
    }
    if (!fs::is_regular_file(st)) {
        result.Status = TFileReadStatus::Error;
        result.Error = "not a regular file";
        return result;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        result.Status = TFileReadStatus::Error;
        result.Error = "cannot be opened";
        return result;
    }
    // Read one byte past the limit so that a file that grew after a size
    // check is still recognised as too large.
    std::vector<uint8_t> bytes;
    const std::size_t chunk = 64 * 1024;
    while (in) {
        const std::size_t have = bytes.size();
        const std::size_t want = std::min<std::size_t>(chunk, maxBytes + 1 - have);
        if (want == 0) break;
        bytes.resize(have + want);
        in.read(reinterpret_cast<char*>(bytes.data() + have), static_cast<std::streamsize>(want));
        bytes.resize(have + static_cast<std::size_t>(in.gcount()));
        if (bytes.size() > maxBytes) break;
    }
    if (in.bad()) {
        result.Status = TFileReadStatus::Error;
        result.Error = "read error";
        return result;
    }
    if (bytes.size() > maxBytes) {
        if (prefixOnly) {
            bytes.resize(maxBytes);
        } else {
            result.Status = TFileReadStatus::TooLarge;
            result.Error = "larger than " + std::to_string(maxBytes) + " bytes";
            return result;
        }
    }
    result.Status = TFileReadStatus::Ok;
    result.Bytes = std::move(bytes);
    return result;
}

}  // namespace

TFileReadResult SafeReadFile(const fs::path& file, std::size_t maxBytes) {
    return ReadLimited(file, maxBytes, false);
}

TFileReadResult SafeReadFilePrefix(const fs::path& file, std::size_t maxBytes) {
    return ReadLimited(file, maxBytes, true);
}

bool SafeReplaceFile(const fs::path& file, std::span<const uint8_t> bytes, std::string* error) {
    fs::path temp = file;
    temp += ".tmp";
    auto fail = [&](const std::string& why) {
        std::error_code ignored;
        fs::remove(temp, ignored);
        if (error) *error = why;
        return false;
    };
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return fail("cannot create " + temp.filename().string());
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) return fail("write error");
        out.close();
        if (!out) return fail("write error");
    }
    std::error_code ec;
    fs::rename(temp, file, ec);
    if (ec) return fail("cannot replace the file: " + ec.message());
    return true;
}

}  // namespace kova
