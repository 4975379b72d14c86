// Helpers of the data-file tests: a scratch folder per test, a capture of
// the messages meant for the user, and byte-level fixture building.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tables/files/datafiles.h"
#include "tables/model/engineservices.h"

namespace kova::tables::test {

namespace fs = std::filesystem;

class ScratchFolder {
public:
    ScratchFolder() {
        static int counter = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = "kova_tables_";
        name += info ? info->name() : "x";
        name += '_';
        name += std::to_string(++counter);
        name += '_';
        name += std::to_string(std::random_device{}());
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        path_ = fs::temp_directory_path() / name;
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& Path() const { return path_; }
    fs::path operator/(const std::string& file) const { return path_ / file; }

private:
    fs::path path_;
};

// Collects what the data layer shows the user while it lives; the engine
// is fresh (no protected files) when it begins and again when it ends.
class MessageCapture {
public:
    MessageCapture() {
        ResetEngine();
        EngineServices.UserMessageSink = [this](const std::string& text) { messages_.push_back(text); };
    }
    ~MessageCapture() { ResetEngine(); }
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;
    const std::vector<std::string>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

private:
    std::vector<std::string> messages_;
};

inline std::vector<uint8_t> ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Builds fixture bytes by hand, independently of the code under test.
class Bytes {
public:
    Bytes& I32(int32_t v) {
        for (int i = 0; i < 4; ++i) b_.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
        return *this;
    }
    Bytes& U8(uint8_t v) {
        b_.push_back(v);
        return *this;
    }
    Bytes& Zeros(std::size_t n) {
        b_.insert(b_.end(), n, 0);
        return *this;
    }
    Bytes& Fill(std::size_t n, uint8_t v) {
        b_.insert(b_.end(), n, v);
        return *this;
    }
    // A length-byte string of capacity cap (cap + 1 bytes), the rest filled.
    Bytes& Short(const std::string& s, std::size_t cap, uint8_t filler = 0) {
        b_.push_back(static_cast<uint8_t>(s.size()));
        b_.insert(b_.end(), s.begin(), s.end());
        b_.insert(b_.end(), cap - s.size(), filler);
        return *this;
    }
    // int32 count + UTF-16LE code units.
    Bytes& Wide(const std::u16string& s) {
        I32(static_cast<int32_t>(s.size()));
        for (char16_t c : s) {
            b_.push_back(static_cast<uint8_t>(c));
            b_.push_back(static_cast<uint8_t>(c >> 8));
        }
        return *this;
    }
    Bytes& Raw(const std::vector<uint8_t>& v) {
        b_.insert(b_.end(), v.begin(), v.end());
        return *this;
    }
    std::size_t Size() const { return b_.size(); }
    const std::vector<uint8_t>& Get() const { return b_; }

private:
    std::vector<uint8_t> b_;
};

// n bytes of a pattern that differs with the seed: stands for bytes the
// engine does not read, so that losing one of them shows.
inline std::vector<uint8_t> Pattern(std::size_t n, int seed) {
    std::vector<uint8_t> b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<uint8_t>(i * 7 + 3 + seed * 13);
    return b;
}

// Byte-for-byte equality that names the first differing offset instead of
// printing two files.
inline ::testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& expected) {
    const std::size_t common = std::min(actual.size(), expected.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (actual[i] != expected[i]) {
            return ::testing::AssertionFailure() << "first difference at byte " << i << ": " << int(actual[i])
                                                 << " instead of " << int(expected[i]);
        }
    }
    if (actual.size() != expected.size()) {
        return ::testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size();
    }
    return ::testing::AssertionSuccess();
}

inline void PokeI32(std::vector<uint8_t>& b, std::size_t at, int32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i));
}

inline void PokeShort(std::vector<uint8_t>& b, std::size_t at, const std::string& s) {
    b[at] = static_cast<uint8_t>(s.size());
    std::memcpy(b.data() + at + 1, s.data(), s.size());
}

inline void PokeF64(std::vector<uint8_t>& b, std::size_t at, double v) {
    uint64_t u;
    std::memcpy(&u, &v, 8);
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<uint8_t>(u >> (8 * i));
}

}  // namespace kova::tables::test
