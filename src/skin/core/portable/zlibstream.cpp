#include "skin/core/portable/zlibstream.h"

#include <zlib.h>

#include <array>
#include <cstring>

namespace kova::skin {

namespace {
const char* const kInvalidOperation = "Invalid ZStream operation!";

int Check(int code) {
    if (code < 0) throw EZDecompressionError(code);
    return code;
}
}  // namespace

std::string EZLibError::MessageFor(int code) {
    static const char* const kMessages[10] = {
        "need dictionary", "stream end", "ok", "file error", "stream error",
        "data error", "insufficient memory", "buffer error", "incompatible version", ""};
    const int index = 2 - code;
    if (index < 0 || index > 9) return "";
    return kMessages[index];
}

struct TCustomZStream::State {
    z_stream rec{};
    std::array<Bytef, kInBufferSize> in{};
    bool initialised = false;
};

TCustomZStream::TCustomZStream(TStream& source)
    : source_(source), sourcePosition_(source.Position()), z_(std::make_unique<State>()) {}

TCustomZStream::~TCustomZStream() = default;

TZDecompressionStream::TZDecompressionStream(TStream& source) : TCustomZStream(source) {
    z_->rec.next_in = z_->in.data();
    z_->rec.avail_in = 0;
    Check(inflateInit(&z_->rec));
    z_->initialised = true;
}

TZDecompressionStream::~TZDecompressionStream() {
    if (z_->initialised) inflateEnd(&z_->rec);
}

std::uint64_t TZDecompressionStream::TotalOut() const { return z_->rec.total_out; }

std::size_t TZDecompressionStream::Read(void* buffer, std::size_t count) {
    z_stream& zs = z_->rec;
    // zlib counts in uInt; a single read larger than that is split.
    std::size_t delivered = 0;
    auto* out = static_cast<Bytef*>(buffer);
    if (source_.Position() != sourcePosition_) source_.SetPosition(sourcePosition_);
    int result = Z_OK;
    while (delivered < count && result != Z_STREAM_END) {
        const std::size_t want = std::min<std::size_t>(count - delivered, 0x40000000u);
        zs.next_out = out + delivered;
        zs.avail_out = static_cast<uInt>(want);
        while (zs.avail_out > 0 && result != Z_STREAM_END) {
            if (zs.avail_in == 0) {
                const std::size_t got = source_.Read(z_->in.data(), kInBufferSize);
                if (got == 0) return delivered + (want - zs.avail_out);
                zs.avail_in = static_cast<uInt>(got);
                zs.next_in = z_->in.data();
                sourcePosition_ = source_.Position();
                if (OnBlockRead) OnBlockRead(*this);
            }
            result = Check(inflate(&zs, Z_NO_FLUSH));
            // A well-formed stream never asks for a dictionary in a skin; treat
            // it as a stop rather than spinning on it.
            if (result == Z_NEED_DICT) {
                delivered += want - zs.avail_out;
                return delivered;
            }
        }
        delivered += want - zs.avail_out;
    }
    if (result == Z_STREAM_END && zs.avail_in > 0) {
        // Hand the bytes behind the zlib stream back to the source.
        sourcePosition_ = source_.Seek(-static_cast<std::int64_t>(zs.avail_in), soCurrent);
        zs.avail_in = 0;
    }
    return delivered;
}

std::size_t TZDecompressionStream::Write(const void*, std::size_t) {
    throw EZDecompressionError(std::string(kInvalidOperation));
}

std::int64_t TZDecompressionStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    z_stream& zs = z_->rec;
    auto discard = [this](std::int64_t distance) {
        std::array<std::uint8_t, 8192> block;
        while (distance > 0) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::int64_t>(distance, 8192));
            ReadBuffer(block.data(), n);
            distance -= static_cast<std::int64_t>(n);
        }
    };
    if (offset == 0 && origin == soBeginning) {
        Check(inflateReset(&zs));
        zs.next_in = z_->in.data();
        zs.avail_in = 0;
        source_.SetPosition(0);
        sourcePosition_ = 0;
    } else if ((offset >= 0 && origin == soCurrent) ||
               (origin == soBeginning &&
                offset > static_cast<std::int64_t>(zs.total_out))) {
        discard(origin == soCurrent ? offset
                                              : offset - static_cast<std::int64_t>(zs.total_out));
    } else if (offset == 0 && origin == soEnd) {
        std::array<std::uint8_t, 8192> block;
        while (Read(block.data(), block.size()) != 0) {
        }
    } else {
        throw EZDecompressionError(std::string(kInvalidOperation));
    }
    return static_cast<std::int64_t>(zs.total_out);
}

}  // namespace kova::skin
