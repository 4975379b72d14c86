#include "framework/filestreams.h"

namespace kova {

TResourceStream::TResourceStream(HINSTANCE instance, const std::string& name, LPCSTR type) {
    HRSRC res = FindResourceA(instance, name.c_str(), type);
    if (!res) throw EStreamError("Resource " + name + " not found");
    HGLOBAL g = LoadResource(instance, res);
    DWORD size = SizeofResource(instance, res);
    const auto* data = g ? static_cast<const std::uint8_t*>(LockResource(g)) : nullptr;
    if (!data) throw EStreamError("Resource " + name + " not found");
    Bytes().assign(data, data + size);
}

}  // namespace kova
