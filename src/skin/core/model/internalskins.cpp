#include "skin/core/model/internalskins.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace kova::skin {

// Generated from the packed files by the build (internalskins_data.cpp).
struct TInternalSkinBytes {
    const char* name;
    const std::uint8_t* data;
    std::size_t size;
};
extern const TInternalSkinBytes kInternalSkinBytes[];
extern const std::size_t kInternalSkinCount;

const std::vector<std::uint8_t>& InternalSkinData(const char* name) {
    static std::vector<std::vector<std::uint8_t>> copies(kInternalSkinCount);
    for (std::size_t i = 0; i < kInternalSkinCount; ++i)
        if (std::strcmp(kInternalSkinBytes[i].name, name) == 0) {
            if (copies[i].empty())
                copies[i].assign(kInternalSkinBytes[i].data, kInternalSkinBytes[i].data + kInternalSkinBytes[i].size);
            return copies[i];
        }
    throw std::out_of_range(std::string("no built-in skin ") + name);
}

void AddInternalSkins(TsStoredSkins& skins) {
    for (std::size_t i = 0; i < kInternalSkinCount; ++i) {
        TsStoredSkin s;
        s.Name = std::string(kInternalSkinBytes[i].name) + " (internal)";
        s.Shadow1Color = 0;  // black
        s.Shadow1Offset = 0;
        s.Shadow1Transparency = 0;
        s.Version = 7.6;
        s.Author = "KOVA";
        s.Data = InternalSkinData(kInternalSkinBytes[i].name);
        skins.Add(std::move(s));
    }
}

}  // namespace kova::skin
