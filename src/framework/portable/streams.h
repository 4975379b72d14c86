// Byte streams: the abstract stream with explicit little-endian readers and
// writers, a memory stream, and a file stream with share modes (honoured on
// Windows). Window-free.
#pragma once

#include "framework/portable/object.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace kova {

class EStreamError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EReadError : public EStreamError {
public:
    EReadError() : EStreamError("Stream read error") {}
};
class EWriteError : public EStreamError {
public:
    EWriteError() : EStreamError("Stream write error") {}
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    KOVA_CLASS(TStream, TObject)
public:
    // Reads up to count bytes; returns how many came (0 at the end).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;
    virtual std::int64_t Size();
    virtual void SetSize(std::int64_t newSize);

    std::int64_t Position() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t pos) { Seek(pos, soBeginning); }
    std::int64_t Remaining() { return Size() - Position(); }

    // Exactly count bytes or EReadError / EWriteError.
    void ReadBuffer(void* buffer, std::size_t count);
    void WriteBuffer(const void* buffer, std::size_t count);
    // Copies count bytes from source (count 0: all from source's position).
    std::int64_t CopyFrom(TStream& source, std::int64_t count);

    // Little-endian fields; the readers throw EReadError at the end.
    std::uint8_t ReadU8();
    std::uint16_t ReadU16();
    std::uint32_t ReadU32();
    std::int32_t ReadI32() { return static_cast<std::int32_t>(ReadU32()); }
    std::uint64_t ReadU64();
    double ReadDouble();
    void WriteU8(std::uint8_t v) { WriteBuffer(&v, 1); }
    void WriteU16(std::uint16_t v);
    void WriteU32(std::uint32_t v);
    void WriteI32(std::int32_t v) { WriteU32(static_cast<std::uint32_t>(v)); }
    void WriteU64(std::uint64_t v);
    void WriteDouble(double v);
};

class TMemoryStream : public TStream {
    KOVA_CLASS(TMemoryStream, TStream)
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> data) : data_(std::move(data)) {}

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t newSize) override;

    void Clear() { data_.clear(); pos_ = 0; }
    std::uint8_t* Memory() { return data_.data(); }
    const std::vector<std::uint8_t>& Bytes() const { return data_; }
    std::vector<std::uint8_t>& Bytes() { return data_; }
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s);
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName);

private:
    std::vector<std::uint8_t> data_;
    std::size_t pos_ = 0;
};

// Open modes and share modes as bit values that combine: fmOpenRead |
// fmShareDenyWrite. fmCreate makes or truncates the file (read and write).
enum : std::uint32_t {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    fmCreate = 0xFF00,
};

class TFileStream : public TStream {
    KOVA_CLASS(TFileStream, TStream)
public:
    // Throws EFOpenError with the file name when the file cannot be opened.
    TFileStream(const std::string& fileName, std::uint32_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override;
    const std::string& FileName() const { return fileName_; }

private:
    std::FILE* f_ = nullptr;
    std::string fileName_;
    bool lastWasWrite_ = false;
    bool lastWasRead_ = false;
};

bool FileExists(const std::string& fileName);

}  // namespace kova
