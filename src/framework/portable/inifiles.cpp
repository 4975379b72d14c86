#include "framework/portable/inifiles.h"

#include <charconv>
#include <cmath>
#include <span>

#include "framework/portable/safefile.h"

namespace kova {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

char FoldAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

// ---- conversions -----------------------------------------------------------

bool IniTextToInt(std::string_view text, int32_t* out) {
    std::string_view s = Trim(text);
    bool negative = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    int base = 10;
    if (!s.empty() && s.front() == '$') {
        base = 16;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    if (s.empty()) return false;
    uint64_t magnitude = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), magnitude, base);
    if (ec != std::errc() || ptr != s.data() + s.size()) return false;
    int64_t value;
    if (base == 16) {
        // Hexadecimal text names a 32-bit pattern: $FFFFFFFF is -1.
        if (magnitude > 0xFFFFFFFFull) return false;
        value = static_cast<int32_t>(static_cast<uint32_t>(magnitude));
        if (negative) value = -value;
    } else {
        if (magnitude > 0x80000000ull) return false;
        value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
    }
    if (value < INT32_MIN || value > INT32_MAX) return false;
    *out = static_cast<int32_t>(value);
    return true;
}

bool IniTextToFloat(std::string_view text, double* out) {
    std::string_view s = Trim(text);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    double value = 0;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), value, std::chars_format::general);
    if (ec != std::errc() || ptr != s.data() + s.size()) return false;
    if (!std::isfinite(value)) return false;
    *out = value;
    return true;
}

std::string IniFloatToText(double value) {
    char buf[64];
    auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, value);
    if (ec != std::errc()) return "0";
    return std::string(buf, ptr);
}

// ---- TCustomIniFile --------------------------------------------------------

int32_t TCustomIniFile::ReadInteger(std::string_view section, std::string_view ident, int32_t defaultValue) const {
    int32_t value = defaultValue;
    if (!IniTextToInt(ReadString(section, ident, ""), &value)) return defaultValue;
    return value;
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view ident, int32_t value) {
    WriteString(section, ident, std::to_string(value));
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view ident, double defaultValue) const {
    double value = defaultValue;
    if (!IniTextToFloat(ReadString(section, ident, ""), &value)) return defaultValue;
    return value;
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view ident, double value) {
    WriteString(section, ident, IniFloatToText(value));
}

// ---- TMemIniFile -----------------------------------------------------------

TMemIniFile::TMemIniFile() : TCustomIniFile(std::string()) {}

TMemIniFile::TMemIniFile(std::string fileName, bool caseSensitive)
    : TCustomIniFile(std::move(fileName)), caseSensitive_(caseSensitive) {
    if (FileName().empty()) return;
    TFileReadResult r = SafeReadFile(std::filesystem::path(FileName()), MaxFileSize);
    switch (r.Status) {
    case TFileReadStatus::Ok:
        loadStatus_ = TIniLoadStatus::Loaded;
        SetText(std::string_view(reinterpret_cast<const char*>(r.Bytes.data()), r.Bytes.size()));
        break;
    case TFileReadStatus::Missing:
        loadStatus_ = TIniLoadStatus::NoFile;
        break;
    case TFileReadStatus::TooLarge:
        loadStatus_ = TIniLoadStatus::TooLarge;
        loadError_ = r.Error;
        break;
    case TFileReadStatus::Error:
        loadStatus_ = TIniLoadStatus::Error;
        loadError_ = r.Error;
        break;
    }
}

bool TMemIniFile::SameName(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    if (caseSensitive_) return a == b;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

const TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) const {
    for (const Section& s : sections_) {
        if (SameName(s.name, name)) return &s;
    }
    return nullptr;
}

TMemIniFile::Section* TMemIniFile::FindSection(std::string_view name) {
    for (Section& s : sections_) {
        if (SameName(s.name, name)) return &s;
    }
    return nullptr;
}

const TMemIniFile::Line* TMemIniFile::FindKey(const Section& s, std::string_view ident) const {
    for (const Line& l : s.lines) {
        if (l.isKey && SameName(l.key, ident)) return &l;
    }
    return nullptr;
}

void TMemIniFile::Clear() {
    preamble_.clear();
    sections_.clear();
}

void TMemIniFile::SetText(std::string_view text) {
    Clear();
    std::vector<Line>* target = &preamble_;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
        std::string_view raw = text.substr(pos, end - pos);
        // One line break: CR LF, LF or CR.
        if (end < text.size()) {
            end += (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1;
        }
        pos = end;

        std::string_view line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            std::size_t close = line.find(']');
            if (close != std::string_view::npos) {
                sections_.push_back(Section{std::string(Trim(line.substr(1, close - 1))), {}});
                target = &sections_.back().lines;
                continue;
            }
        }
        Line l;
        std::size_t eq = line.find('=');
        if (!line.empty() && line.front() != ';' && eq != std::string_view::npos && eq > 0) {
            l.isKey = true;
            l.key = std::string(Trim(line.substr(0, eq)));
            l.value = std::string(Trim(line.substr(eq + 1)));
        } else {
            l.raw = std::string(raw);
        }
        target->push_back(std::move(l));
    }
}

std::string TMemIniFile::GetText() const {
    std::string out;
    auto emit = [&out](const std::vector<Line>& lines) {
        for (const Line& l : lines) {
            if (l.isKey) {
                out += l.key;
                out += '=';
                out += l.value;
            } else {
                out += l.raw;
            }
            out += "\r\n";
        }
    };
    emit(preamble_);
    for (const Section& s : sections_) {
        out += '[';
        out += s.name;
        out += "]\r\n";
        emit(s.lines);
    }
    return out;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view ident,
                                    std::string_view defaultValue) const {
    if (const Section* s = FindSection(section)) {
        if (const Line* l = FindKey(*s, ident)) return l->value;
    }
    return std::string(defaultValue);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
    Section* s = FindSection(section);
    if (!s) {
        // Keep sections apart by a blank line, as hand-edited files are.
        std::vector<Line>& before = sections_.empty() ? preamble_ : sections_.back().lines;
        if (!before.empty() && !(before.back().isKey == false && Trim(before.back().raw).empty())) {
            before.push_back(Line{});
        }
        sections_.push_back(Section{std::string(section), {}});
        s = &sections_.back();
    }
    for (Line& l : s->lines) {
        if (l.isKey && SameName(l.key, ident)) {
            l.value = std::string(value);
            return;
        }
    }
    // New keys go after the section's last key, before trailing blank lines.
    std::size_t at = s->lines.size();
    while (at > 0 && !s->lines[at - 1].isKey && Trim(s->lines[at - 1].raw).empty()) --at;
    Line l;
    l.isKey = true;
    l.key = std::string(ident);
    l.value = std::string(value);
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(l));
}

bool TMemIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TMemIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    const Section* s = FindSection(section);
    return s && FindKey(*s, ident);
}

std::vector<std::string> TMemIniFile::ReadSection(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = FindSection(section)) {
        for (const Line& l : s->lines) {
            if (l.isKey) keys.push_back(l.key);
        }
    }
    return keys;
}

std::vector<std::string> TMemIniFile::ReadSections() const {
    std::vector<std::string> names;
    for (const Section& s : sections_) names.push_back(s.name);
    return names;
}

void TMemIniFile::EraseSection(std::string_view section) {
    for (auto it = sections_.begin(); it != sections_.end();) {
        it = SameName(it->name, section) ? sections_.erase(it) : it + 1;
    }
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view ident) {
    if (Section* s = FindSection(section)) {
        for (auto it = s->lines.begin(); it != s->lines.end(); ++it) {
            if (it->isKey && SameName(it->key, ident)) {
                s->lines.erase(it);
                return;
            }
        }
    }
}

bool TMemIniFile::UpdateFile() {
    writeError_.clear();
    if (FileName().empty()) {
        writeError_ = "no file name";
        return false;
    }
    // What is in memory is not what the file holds: replacing it would lose
    // the user's file.
    if (loadStatus_ == TIniLoadStatus::TooLarge || loadStatus_ == TIniLoadStatus::Error) {
        writeError_ = "the file could not be read, so it is not overwritten";
        return false;
    }
    const std::string text = GetText();
    return SafeReplaceFile(std::filesystem::path(FileName()),
                           std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(text.data()), text.size()),
                           &writeError_);
}

// ---- TIniFile --------------------------------------------------------------

void TIniFile::Flush() {
    if (!UpdateFile()) {
        throw EIniFileException("Unable to write to \"" + FileName() + "\": " + WriteError());
    }
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value) {
    TMemIniFile::WriteString(section, ident, value);
    Flush();
}

void TIniFile::EraseSection(std::string_view section) {
    TMemIniFile::EraseSection(section);
    Flush();
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident) {
    TMemIniFile::DeleteKey(section, ident);
    Flush();
}

}  // namespace kova
