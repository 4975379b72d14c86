// skinsheet SKIN OUT.png: paints every section of a skin in each of its
// states into one labelled sheet, for review, and prints the checksum of
// its pixels (the golden tests keep those of the built-in skins). SKIN is
// a skin folder, a packed skin file, or the name of a built-in skin
// ("Linen" or "Linen (internal)").
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "skin/core/model/internalskins.h"
#include "skin/core/model/pictures.h"
#include "skin/core/model/skinmodel.h"
#include "skin/core/paint/portable/skinsheet.h"

using namespace kova::skin;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinsheet SKIN-FOLDER|SKIN.asz|BUILT-IN-NAME OUT.png\n");
        return 2;
    }
    std::string skin = argv[1];
    const std::string out = argv[2];
    TsSkinModel model;
    model.Env.Log = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    model.Env.Warn = model.Env.Log;
    try {
        std::error_code ec;
        if (std::filesystem::is_directory(skin, ec)) {
            model.LoadFolder(skin);
        } else if (std::filesystem::is_regular_file(skin, ec)) {
            model.LoadPackedFile(skin);
        } else {
            const std::string suffix = " (internal)";
            if (skin.size() > suffix.size() && skin.compare(skin.size() - suffix.size(), suffix.size(), suffix) == 0)
                skin.resize(skin.size() - suffix.size());
            model.LoadStoredData(InternalSkinData(skin.c_str()));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[1], e.what());
        return 1;
    }
    const Bitmap32 sheet = RenderSkinSheet(model);
    const auto png = EncodePngRgba(sheet);
    std::ofstream f(out, std::ios::binary);
    f.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    f.close();
    if (!f) {
        std::fprintf(stderr, "%s: cannot write\n", out.c_str());
        return 1;
    }
    std::printf("%s %dx%d\n", PixelChecksum(sheet).c_str(), sheet.Width(), sheet.Height());
    return 0;
}
