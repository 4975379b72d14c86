#include "framework/portable/streams.h"

#include <algorithm>
#include <cstring>
#include <sys/stat.h>
#if defined(_WIN32)
#include <share.h>
#endif

namespace kova {

std::int64_t TStream::Size() {
    std::int64_t pos = Seek(0, soCurrent);
    std::int64_t end = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return end;
}

void TStream::SetSize(std::int64_t) { throw EStreamError("Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, std::size_t count) {
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        std::size_t n = Read(p, count);
        if (n == 0) throw EReadError();
        p += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
    if (count && Write(buffer, count) != count) throw EWriteError();
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count <= 0) count = source.Size() - source.Position();
    std::int64_t left = count;
    std::vector<std::uint8_t> buf(static_cast<std::size_t>(std::min<std::int64_t>(left, 61440)));
    while (left > 0) {
        std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(buf.size())));
        source.ReadBuffer(buf.data(), n);
        WriteBuffer(buf.data(), n);
        left -= static_cast<std::int64_t>(n);
    }
    return count;
}

std::uint8_t TStream::ReadU8() {
    std::uint8_t b;
    ReadBuffer(&b, 1);
    return b;
}
std::uint16_t TStream::ReadU16() {
    std::uint8_t b[2];
    ReadBuffer(b, 2);
    return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
std::uint32_t TStream::ReadU32() {
    std::uint8_t b[4];
    ReadBuffer(b, 4);
    return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
           (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}
std::uint64_t TStream::ReadU64() {
    std::uint64_t lo = ReadU32();
    std::uint64_t hi = ReadU32();
    return lo | (hi << 32);
}
double TStream::ReadDouble() {
    std::uint64_t u = ReadU64();
    double d;
    std::memcpy(&d, &u, 8);
    return d;
}
void TStream::WriteU16(std::uint16_t v) {
    std::uint8_t b[2] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)};
    WriteBuffer(b, 2);
}
void TStream::WriteU32(std::uint32_t v) {
    std::uint8_t b[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                         static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    WriteBuffer(b, 4);
}
void TStream::WriteU64(std::uint64_t v) {
    WriteU32(static_cast<std::uint32_t>(v));
    WriteU32(static_cast<std::uint32_t>(v >> 32));
}
void TStream::WriteDouble(double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, 8);
    WriteU64(u);
}

// --- memory ---------------------------------------------------------------

std::size_t TMemoryStream::Read(void* buffer, std::size_t count) {
    if (pos_ >= data_.size()) return 0;
    std::size_t n = std::min(count, data_.size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    if (pos_ + count > data_.size()) data_.resize(pos_ + count);
    std::memcpy(data_.data() + pos_, buffer, count);
    pos_ += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == soBeginning ? 0 : origin == soCurrent ? static_cast<std::int64_t>(pos_) : Size();
    std::int64_t p = base + offset;
    if (p < 0) p = 0;  // before the start: stay at 0
    pos_ = static_cast<std::size_t>(p);
    return p;
}

void TMemoryStream::SetSize(std::int64_t newSize) {
    if (newSize < 0) newSize = 0;
    data_.resize(static_cast<std::size_t>(newSize));
    if (pos_ > data_.size()) pos_ = data_.size();
}

void TMemoryStream::LoadFromStream(TStream& s) {
    s.SetPosition(0);
    std::int64_t n = s.Size();
    data_.assign(static_cast<std::size_t>(n), 0);
    if (n) s.ReadBuffer(data_.data(), data_.size());
    pos_ = 0;
}

void TMemoryStream::SaveToStream(TStream& s) { s.WriteBuffer(data_.data(), data_.size()); }

void TMemoryStream::LoadFromFile(const std::string& fileName) {
    TFileStream f(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(f);
}

void TMemoryStream::SaveToFile(const std::string& fileName) {
    TFileStream f(fileName, fmCreate);
    SaveToStream(f);
}

// --- file -----------------------------------------------------------------

TFileStream::TFileStream(const std::string& fileName, std::uint32_t mode) : fileName_(fileName) {
    const char* how = "rb";
    if (mode == fmCreate || (mode & 0xFF00) == fmCreate)
        how = "w+b";
    else if ((mode & 3) == fmOpenWrite || (mode & 3) == fmOpenReadWrite)
        how = "r+b";
#if defined(_WIN32)
    int share = _SH_DENYNO;
    switch (mode & 0xF0) {
        case fmShareExclusive: share = _SH_DENYRW; break;
        case fmShareDenyWrite: share = _SH_DENYWR; break;
        case fmShareDenyRead: share = _SH_DENYRD; break;
        default: share = mode == fmCreate ? _SH_DENYWR : _SH_DENYNO; break;
    }
    f_ = _fsopen(fileName.c_str(), how, share);
#else
    f_ = std::fopen(fileName.c_str(), how);
#endif
    if (!f_) {
        if (mode == fmCreate) throw EFOpenError("Cannot create file \"" + fileName + "\"");
        throw EFOpenError("Cannot open file \"" + fileName + "\"");
    }
}

TFileStream::~TFileStream() {
    if (f_) std::fclose(f_);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count) {
    if (lastWasWrite_) std::fflush(f_);
    lastWasWrite_ = false;
    lastWasRead_ = true;
    return std::fread(buffer, 1, count, f_);
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count) {
    // C streams need a positioning call between a read and a write.
    if (lastWasRead_) Seek(0, soCurrent);
    lastWasRead_ = false;
    lastWasWrite_ = true;
    return std::fwrite(buffer, 1, count, f_);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
    lastWasRead_ = lastWasWrite_ = false;
#if defined(_WIN32)
    if (_fseeki64(f_, offset, whence) != 0) return _ftelli64(f_);
    return _ftelli64(f_);
#else
    if (fseeko(f_, offset, whence) != 0) return ftello(f_);
    return ftello(f_);
#endif
}

std::int64_t TFileStream::Size() {
    std::fflush(f_);
    return TStream::Size();
}

bool FileExists(const std::string& fileName) {
#if defined(_WIN32)
    struct _stat64 st;
    return _stat64(fileName.c_str(), &st) == 0 && (st.st_mode & _S_IFDIR) == 0;
#else
    struct stat st;
    return ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode);
#endif
}

}  // namespace kova
