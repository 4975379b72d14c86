// skindump SKIN: loads a skin folder (holding "Options.dat") or a packed
// skin file and prints what was loaded, for golden tests and for reviewing
// skins:
//   GLOBAL KEY=value                     the skin-wide GLOBALINFO values
//   [SECTION]                            one block per section, in file order
//   KEY=value                            every per-section key, inheritance resolved
//   MASK SECTION.PROPERTY kind=K rect=L,T,R,B   one line per image entry
//   PATTERN SECTION.PROPERTY size=WxH    one line per large texture
// Entries dropped while loading are reported on stderr. A skin that does
// not load exits 1 with the loader's message.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "skin/core/model/skindump.h"
#include "skin/core/model/skinmodel.h"

using namespace kova::skin;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: skindump SKIN-FOLDER|SKIN.asz\n");
        return 2;
    }
    const std::string path = argv[1];
    TsSkinModel model;
    model.Env.Log = [](const std::string& line) { std::fprintf(stderr, "%s\n", line.c_str()); };
    model.Env.Warn = model.Env.Log;
    try {
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec))
            model.LoadFolder(path);
        else
            model.LoadPackedFile(path);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    std::fputs(DumpSkin(model).c_str(), stdout);
    return 0;
}
