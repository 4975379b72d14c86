#include "tables/files/datafiles.h"

#include <iostream>
#include <set>
#include <system_error>

#include "framework/portable/safefile.h"
#include "tables/model/engineservices.h"
#include "tables/model/variables.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

std::set<fs::path>& Protected() { return EngineState.ProtectedFiles; }

fs::path Normal(const fs::path& file) {
    std::error_code ec;
    fs::path p = fs::absolute(file, ec);
    return ec ? file.lexically_normal() : p.lexically_normal();
}

bool SameContent(const fs::path& a, const fs::path& b, std::size_t limit) {
    TFileReadResult ra = SafeReadFile(a, limit);
    TFileReadResult rb = SafeReadFile(b, limit);
    return ra.Status == TFileReadStatus::Ok && rb.Status == TFileReadStatus::Ok && ra.Bytes == rb.Bytes;
}

fs::path CopyDamaged(const fs::path& file) {
    constexpr std::size_t kCompareLimit = 64u << 20;
    for (int n = 1; n <= 99; ++n) {
        fs::path copy = file;
        copy += n == 1 ? ".damaged" : ".damaged" + std::to_string(n);
        std::error_code ec;
        if (fs::exists(copy, ec)) {
            if (SameContent(file, copy, kCompareLimit)) return copy;
            continue;
        }
        if (fs::copy_file(file, copy, fs::copy_options::none, ec) && !ec) return copy;
        return fs::path();
    }
    return fs::path();
}

}  // namespace

void ShowUserMessage(const std::string& text) {
    if (EngineServices.UserMessageSink) {
        EngineServices.UserMessageSink(text);
    } else {
        std::cerr << text << '\n';
    }
}

fs::path ReportDamagedFile(const fs::path& file, const std::string& reason) {
    const fs::path copy = CopyDamaged(file);
    std::string text = "The file \"" + file.filename().string() + "\" is damaged (" + reason + ").";
    if (!copy.empty()) {
        text += " A copy of it was kept as \"" + copy.filename().string() + "\".";
    } else {
        Protected().insert(Normal(file));
        text += " No copy of it could be made, so it will not be overwritten.";
    }
    ShowUserMessage(text);
    return copy;
}

bool IsProtectedFile(const fs::path& file) { return Protected().count(Normal(file)) != 0; }

bool WriteDataFile(const fs::path& file, std::span<const uint8_t> bytes) {
    if (IsProtectedFile(file)) {
        ShowUserMessage("The file \"" + file.filename().string() +
                        "\" was damaged and could not be copied; it was not overwritten.");
        return false;
    }
    std::string error;
    if (!SafeReplaceFile(file, bytes, &error)) {
        ShowUserMessage("Could not write the file \"" + file.filename().string() + "\" (" + error + ").");
        return false;
    }
    return true;
}

}  // namespace kova::tables
