#include "framework/portable/recordfile.h"

namespace kova {

TRecordFileStream::TRecordFileStream(const std::string& fileName, std::size_t recordSize)
    : TFileStream(fileName, fmOpenRead | fmShareDenyWrite), recordSize_(recordSize) {
    if (recordSize_ == 0) throw EStreamError("Record size of \"" + fileName + "\" must not be 0");
    std::int64_t size = Size();
    auto rs = static_cast<std::int64_t>(recordSize_);
    if (size % rs != 0)
        throw EStreamError("File \"" + fileName + "\" is not a whole number of " + std::to_string(recordSize_) +
                           "-byte records (" + std::to_string(size) + " bytes)");
    count_ = size / rs;
}

void TRecordFileStream::ReadRecord(std::int64_t index, void* buffer) {
    if (index < 0 || index >= count_)
        throw EStreamError("Record index " + std::to_string(index) + " out of range (" + std::to_string(count_) +
                           " records in \"" + FileName() + "\")");
    SetPosition(index * static_cast<std::int64_t>(recordSize_));
    ReadBuffer(buffer, recordSize_);
}

std::vector<std::uint8_t> TRecordFileStream::ReadRecord(std::int64_t index) {
    std::vector<std::uint8_t> r(recordSize_);
    ReadRecord(index, r.data());
    return r;
}

}  // namespace kova
