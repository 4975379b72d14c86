// skinpack: writes and lists packed skin files.
//   skinpack pack OUT.asz FOLDER     packs "Options.dat" and every other file
//                                     of FOLDER (no subfolders), sorted by name
//   skinpack list IN.asz             lists the entries of an archive
//   skinpack unpack IN.asz FOLDER    writes every entry into FOLDER
#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "framework/portable/streams.h"
#include "skin/core/portable/packedskin.h"

namespace fs = std::filesystem;
using namespace kova::skin;

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: skinpack pack OUT.asz FOLDER\n"
                 "       skinpack list IN.asz\n"
                 "       skinpack unpack IN.asz FOLDER\n");
    return 2;
}

bool WriteFile(const fs::path& path, const std::vector<std::uint8_t>& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(f);
}

int Pack(const std::string& out, const std::string& folder) {
    std::vector<PackedEntry> entries;
    std::string failed;
    if (!ReadSkinFolderEntries(folder, entries, failed)) {
        std::fprintf(stderr, "cannot read %s\n", failed.c_str());
        return 1;
    }
    const bool haveIni = !entries.empty() && UpperAscii(entries.front().name) == "OPTIONS.DAT";
    if (!haveIni) {
        std::fprintf(stderr, "%s holds no Options.dat\n", folder.c_str());
        return 1;
    }
    if (!WriteFile(out, WritePackedSkin(entries))) {
        std::fprintf(stderr, "cannot write %s\n", out.c_str());
        return 1;
    }
    return 0;
}

std::unique_ptr<TacSkinConvertor> Load(const std::string& in) {
    if (!fs::exists(in)) throw std::runtime_error("cannot read " + in);
    std::unique_ptr<TacSkinConvertor> conv;
    LoadPackedSkin(in, conv, true);
    return conv;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    const std::string cmd = argv[1];
    try {
        if (cmd == "pack" && argc == 4) return Pack(argv[2], argv[3]);
        if (cmd == "list" && argc == 3) {
            auto conv = Load(argv[2]);
            std::printf("Options.dat\t%zu\n", conv->SkinIni->Bytes().size());
            for (const auto& e : conv->Entries)
                std::printf("%s\t%zu%s\n", e.EntryName.c_str(), e.EntryData->Bytes().size(), e.BmpImage ? "\tbmp" : "");
            return 0;
        }
        if (cmd == "unpack" && argc == 4) {
            auto conv = Load(argv[2]);
            fs::create_directories(argv[3]);
            bool ok = WriteFile(fs::path(argv[3]) / "Options.dat", conv->SkinIni->Bytes());
            for (const auto& e : conv->Entries) {
                // Entry names come from the archive: keep them inside FOLDER.
                const fs::path name = fs::path(e.EntryName).filename();
                if (name.empty() || name == "." || name == "..") continue;
                ok = WriteFile(fs::path(argv[3]) / name, e.EntryData->Bytes()) && ok;
            }
            return ok ? 0 : 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return Usage();
}
