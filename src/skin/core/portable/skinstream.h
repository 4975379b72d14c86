// Minimal byte streams for the skin engine's readers: an abstract stream
// with the read/seek contract the decompression stream and the PNG reader
// need, and a memory stream. Window-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace kova::skin {

// The stream library's read error: a read that had to deliver a full count
// got fewer bytes.
class EReadError : public std::runtime_error {
public:
    EReadError() : std::runtime_error("Stream read error") {}
};

enum class SeekOrigin { Beginning, Current, End };

class SkinStream {
public:
    virtual ~SkinStream() = default;
    // Reads up to count bytes; returns how many came (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, SeekOrigin origin) = 0;

    std::int64_t Position() { return Seek(0, SeekOrigin::Current); }
    void SetPosition(std::int64_t pos) { Seek(pos, SeekOrigin::Beginning); }
    // Total size; -1 when the stream cannot tell.
    virtual std::int64_t Size();

    // Reads exactly count bytes or throws EReadError.
    void ReadBuffer(void* buffer, std::size_t count);
    // Copies exactly count bytes from source (in blocks of 61,440 bytes,
    // each required in full); count 0 copies nothing.
    std::size_t CopyFrom(SkinStream& source, std::size_t count);
};

class SkinMemoryStream : public SkinStream {
public:
    SkinMemoryStream() = default;
    explicit SkinMemoryStream(std::vector<std::uint8_t> data) : data_(std::move(data)) {}
    SkinMemoryStream(const void* data, std::size_t size);

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }

    const std::vector<std::uint8_t>& Data() const { return data_; }
    std::vector<std::uint8_t>& Data() { return data_; }
    void Clear() { data_.clear(); pos_ = 0; }

private:
    std::vector<std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// A read-only stream over memory owned by somebody else.
class SkinSpanStream : public SkinStream {
public:
    SkinSpanStream(const void* data, std::size_t size)
        : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void*, std::size_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, SeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(size_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// Reads a whole file into memory; false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace kova::skin
