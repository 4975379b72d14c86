// A read-only stream that inflates a zlib stream (RFC 1950) read from
// another stream. Inflation is zlib's; this wraps buffering, the position
// in the source, end-of-stream hand-back, forward seeking and errors.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "framework/portable/streams.h"

namespace kova::skin {

class EZLibError : public std::runtime_error {
public:
    // Message of its own, ZLibCode 0.
    explicit EZLibError(const std::string& message) : std::runtime_error(message) {}
    // Message from the zlib result code.
    explicit EZLibError(int code) : std::runtime_error(MessageFor(code)), code_(code) {}
    int ZLibCode() const { return code_; }
    static std::string MessageFor(int code);

private:
    int code_ = 0;
};

class EZDecompressionError : public EZLibError {
public:
    using EZLibError::EZLibError;
};

class TCustomZStream : public TStream {
public:
    explicit TCustomZStream(TStream& source);
    ~TCustomZStream() override;
    TCustomZStream(const TCustomZStream&) = delete;
    TCustomZStream& operator=(const TCustomZStream&) = delete;

    std::int64_t SourcePosition() const { return sourcePosition_; }
    std::function<void(TCustomZStream&)> OnBlockRead;

protected:
    struct State;
    static constexpr std::size_t kInBufferSize = 65536;
    TStream& source_;
    std::int64_t sourcePosition_;
    std::unique_ptr<State> z_;
};

class TZDecompressionStream : public TCustomZStream {
public:
    explicit TZDecompressionStream(TStream& source);
    ~TZDecompressionStream() override;

    std::size_t Read(void* buffer, std::size_t count) override;
    // Always raises "Invalid ZStream operation!".
    std::size_t Write(const void* buffer, std::size_t count) override;
    // Forward only (or back to 0); returns the number of bytes inflated so far.
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t Size() override { return -1; }
    std::uint64_t TotalOut() const;
};

}  // namespace kova::skin
