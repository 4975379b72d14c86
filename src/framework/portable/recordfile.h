// A read-only stream over a file of fixed-size records: whole records are
// read by index. The file's size must be a whole number of records, so a
// truncated or foreign file is refused when it is opened instead of being
// read as shifted garbage. Window-free.
#pragma once

#include "framework/portable/streams.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kova {

class TRecordFileStream : public TFileStream {
    KOVA_CLASS(TRecordFileStream, TFileStream)
public:
    // Opens the file for reading (others may read too). EFOpenError when it
    // cannot be opened; EStreamError when recordSize is 0 or the size is
    // not a multiple of it.
    TRecordFileStream(const std::string& fileName, std::size_t recordSize);

    std::size_t RecordSize() const { return recordSize_; }
    std::int64_t RecordCount() const { return count_; }
    // Reads record `index` into buffer (RecordSize bytes); EStreamError when
    // index is outside 0..RecordCount-1, EReadError when the file shrank.
    void ReadRecord(std::int64_t index, void* buffer);
    std::vector<std::uint8_t> ReadRecord(std::int64_t index);

    std::size_t Write(const void*, std::size_t) override {
        throw EStreamError("Record file streams are read-only");
    }

private:
    std::size_t recordSize_;
    std::int64_t count_ = 0;
};

}  // namespace kova
