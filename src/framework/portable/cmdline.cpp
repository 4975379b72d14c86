#include "framework/portable/cmdline.h"

namespace kova {

namespace {
bool Blank(wchar_t c) { return c == L' ' || c == L'\t'; }
}  // namespace

std::vector<std::wstring> SplitCommandLine(std::wstring_view line) {
    std::vector<std::wstring> args;
    std::size_t i = 0;
    const std::size_t n = line.size();
    if (n == 0) return args;

    // The program's name.
    std::wstring name;
    if (line[0] == L'"') {
        for (i = 1; i < n && line[i] != L'"'; ++i) name += line[i];
        if (i < n) ++i;  // the closing quote
    } else {
        for (; i < n && !Blank(line[i]); ++i) name += line[i];
    }
    args.push_back(std::move(name));

    for (;;) {
        while (i < n && Blank(line[i])) ++i;
        if (i >= n) break;
        std::wstring arg;
        bool quoted = false;
        while (i < n && (quoted || !Blank(line[i]))) {
            if (line[i] == L'\\') {
                std::size_t slashes = 0;
                while (i < n && line[i] == L'\\') {
                    ++slashes;
                    ++i;
                }
                if (i < n && line[i] == L'"') {
                    arg.append(slashes / 2, L'\\');
                    if (slashes % 2) {
                        arg += L'"';
                        ++i;
                    }
                    // An even count leaves the quote to the branch below.
                } else {
                    arg.append(slashes, L'\\');
                }
            } else if (line[i] == L'"') {
                if (quoted && i + 1 < n && line[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += line[i++];
            }
        }
        args.push_back(std::move(arg));
    }
    return args;
}

}  // namespace kova
