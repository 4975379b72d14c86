#include "skin/core/portable/skinstream.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace kova::skin {

std::int64_t SkinStream::Size() {
    const std::int64_t pos = Seek(0, SeekOrigin::Current);
    const std::int64_t end = Seek(0, SeekOrigin::End);
    Seek(pos, SeekOrigin::Beginning);
    return end;
}

void SkinStream::ReadBuffer(void* buffer, std::size_t count) {
    if (count != 0 && Read(buffer, count) != count) throw EReadError();
}

std::size_t SkinStream::CopyFrom(SkinStream& source, std::size_t count) {
    constexpr std::size_t kBlock = 61440;
    std::vector<std::uint8_t> block(std::min(count, kBlock));
    std::size_t left = count;
    while (left > 0) {
        const std::size_t n = std::min(left, kBlock);
        source.ReadBuffer(block.data(), n);
        if (Write(block.data(), n) != n) throw std::runtime_error("Stream write error");
        left -= n;
    }
    return count;
}

SkinMemoryStream::SkinMemoryStream(const void* data, std::size_t size)
    : data_(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size) {}

std::size_t SkinMemoryStream::Read(void* buffer, std::size_t count) {
    if (pos_ >= data_.size()) return 0;
    const std::size_t n = std::min(count, data_.size() - pos_);
    std::memcpy(buffer, data_.data() + pos_, n);
    pos_ += n;
    return n;
}

std::size_t SkinMemoryStream::Write(const void* buffer, std::size_t count) {
    if (count == 0) return 0;
    if (pos_ + count > data_.size()) data_.resize(pos_ + count);
    std::memcpy(data_.data() + pos_, buffer, count);
    pos_ += count;
    return count;
}

namespace {
std::size_t SeekIn(std::size_t pos, std::size_t size, std::int64_t offset, SeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current) base = static_cast<std::int64_t>(pos);
    if (origin == SeekOrigin::End) base = static_cast<std::int64_t>(size);
    const std::int64_t target = base + offset;
    return target < 0 ? 0 : static_cast<std::size_t>(target);
}
}  // namespace

std::int64_t SkinMemoryStream::Seek(std::int64_t offset, SeekOrigin origin) {
    pos_ = SeekIn(pos_, data_.size(), offset, origin);
    return static_cast<std::int64_t>(pos_);
}

std::size_t SkinSpanStream::Read(void* buffer, std::size_t count) {
    if (pos_ >= size_) return 0;
    const std::size_t n = std::min(count, size_ - pos_);
    std::memcpy(buffer, data_ + pos_, n);
    pos_ += n;
    return n;
}

std::int64_t SkinSpanStream::Seek(std::int64_t offset, SeekOrigin origin) {
    pos_ = SeekIn(pos_, size_, offset, origin);
    return static_cast<std::int64_t>(pos_);
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    f.seekg(0, std::ios::end);
    const std::streamoff size = f.tellg();
    if (size < 0) return false;
    f.seekg(0, std::ios::beg);
    out.resize(static_cast<std::size_t>(size));
    if (size > 0 && !f.read(reinterpret_cast<char*>(out.data()), size)) return false;
    return true;
}

}  // namespace kova::skin
