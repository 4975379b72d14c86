#include "tables/model/enginelog.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "tables/model/engineservices.h"

namespace kova::tables {

void EngineLog(const std::string& line) {
    if (EngineServices.LogSink) {
        EngineServices.LogSink(line);
    } else {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void EngineLogF(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string line;
    if (length > 0) {
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        line.assign(buffer.data(), static_cast<size_t>(length));
    }
    va_end(args);
    EngineLog(line);
}

}  // namespace kova::tables
