// Streams over Win32 resources.
#pragma once

#include "framework/portable/streams.h"

#include <windows.h>

namespace kova {

// Reads a resource of the module (RCDATA by default) as a memory stream;
// EStreamError when it is missing.
class TResourceStream : public TMemoryStream {
    KOVA_CLASS(TResourceStream, TMemoryStream)
public:
    TResourceStream(HINSTANCE instance, const std::string& name, LPCSTR type = MAKEINTRESOURCEA(10));
    std::size_t Write(const void*, std::size_t) override { throw EStreamError("Resource streams are read-only"); }
};

}  // namespace kova
