// The program's start-up time beside a bare Win32 window's, in one run:
// starts kova.exe and startbench-bare.exe in turn, the same way, and times
// each from CreateProcess until its main window is visible. kova.exe starts
// from a scratch folder holding the run command's demo data files (written
// by demo-config.exe), as a user's copy starts with its config. One
// warm-up start of each comes first and is not counted (Wine's first start
// in a session loads its own libraries). The same kova.exe is started a
// second time in the same turns with "/noskin" (its skin switched off), so
// that what the skin costs at start comes side by side from one run.
//
// With --before, a second kova.exe (an older build, say) is started in the
// same turns from a scratch folder of its own, so that a change's figures
// come side by side from one run under one load.
//
//   tools/testenv/wine-run build/win64/bin/startbench.exe [--runs N] [--before KOVA.EXE]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "common/benchtiming.h"

namespace fs = std::filesystem;
using kova::bench::Median;
using kova::bench::NowMs;

namespace {

struct Program {
    const char* name;
    std::string exe;
    std::string args;    // after the program's name on its command line
    std::string folder;  // its working folder
    const char* windowClass;
    std::vector<double> ms;
};

struct Search {
    DWORD process;
    const char* windowClass;
    bool found;
};

BOOL CALLBACK FindStep(HWND w, LPARAM p) {
    auto* s = reinterpret_cast<Search*>(p);
    DWORD process = 0;
    GetWindowThreadProcessId(w, &process);
    if (process != s->process || !IsWindowVisible(w)) return TRUE;
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (std::strcmp(cls, s->windowClass) != 0) return TRUE;
    s->found = true;
    return FALSE;
}

bool RunAndWait(const std::string& command, const std::string& folder) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = command;
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return false;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code == 0;
}

// Milliseconds from the start until the program's window is visible; a
// negative value when it failed to start or showed none within 30 s.
double TimeStart(const Program& p) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "\"" + p.exe + "\"" + p.args;
    const double start = NowMs();
    if (!CreateProcessA(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, p.folder.c_str(), &si, &pi)) return -1;
    Search s{pi.dwProcessId, p.windowClass, false};
    double shown = -1;
    while (NowMs() - start < 30000) {
        EnumWindows(FindStep, reinterpret_cast<LPARAM>(&s));
        if (s.found) {
            shown = NowMs() - start;
            break;
        }
        if (WaitForSingleObject(pi.hProcess, 1) == WAIT_OBJECT_0) break;  // ended without a window
    }
    TerminateProcess(pi.hProcess, 0);
    WaitForSingleObject(pi.hProcess, 10000);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    Sleep(200);  // the display server has dropped the window before the next start
    return shown;
}

// A scratch folder holding a copy of `exe`, the hook library beside it and
// the demo's data files; empty on failure (said on stderr).
fs::path MakeScratch(const fs::path& bin, const fs::path& exe, const std::string& tag) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const fs::path scratch =
        fs::path(temp) / ("kova-startbench-" + std::to_string(GetCurrentProcessId()) + "-" + tag);
    std::error_code ec;
    fs::remove_all(scratch, ec);
    fs::create_directories(scratch, ec);
    const std::pair<fs::path, fs::path> files[] = {{exe, "kova.exe"}, {exe.parent_path() / "mskbrdHook.dll", "mskbrdHook.dll"}};
    for (const auto& [from, to] : files) {
        fs::copy_file(from, scratch / to, fs::copy_options::overwrite_existing, ec);
        if (ec) {
            std::fprintf(stderr, "startbench: cannot copy %s: %s\n", from.string().c_str(), ec.message().c_str());
            return {};
        }
    }
    if (!RunAndWait("\"" + (bin / "demo-config.exe").string() + "\" .", scratch.string())) {
        std::fprintf(stderr, "startbench: demo-config.exe could not write the demo's data files\n");
        return {};
    }
    return scratch;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 5;
    std::string before;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--before") == 0 && i + 1 < argc) {
            before = argv[++i];
        } else {
            std::fprintf(stderr, "usage: startbench [--runs N] [--before KOVA.EXE]\n");
            return 2;
        }
    }
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const fs::path bin = fs::path(self).parent_path();
    std::vector<fs::path> scratches;
    std::vector<Program> programs = {
        {"bare window", (bin / "startbench-bare.exe").string(), "", bin.string(), "KovaBareWindow", {}},
    };
    const auto add = [&](const char* name, const fs::path& exe, const std::string& args, const std::string& tag) {
        const fs::path scratch = MakeScratch(bin, exe, tag);
        if (scratch.empty()) return false;
        scratches.push_back(scratch);
        programs.push_back({name, (scratch / "kova.exe").string(), args, scratch.string(), "TKOVAForm1", {}});
        return true;
    };
    if (!before.empty() && !add("before", fs::absolute(before), "", "before")) return 1;
    if (!add("kova.exe", bin / "kova.exe", "", "now")) return 1;
    // The same build with its skin switched off: what the skin costs.
    if (!add("/noskin", bin / "kova.exe", " /noskin", "noskin")) return 1;
    int failures = 0;
    for (int run = 0; run <= runs; ++run) {
        // Each run starts with another program: a start right after another
        // program's end is slower (Wine is still tidying up after it), and
        // a fixed order would give that cost to the same column each time.
        for (size_t k = 0; k < programs.size(); ++k) {
            Program& p = programs[(k + static_cast<size_t>(run)) % programs.size()];
            const double ms = TimeStart(p);
            if (ms < 0) {
                std::fprintf(stderr, "startbench: %s showed no window\n", p.name);
                ++failures;
            } else if (run > 0) {
                p.ms.push_back(ms);
            }
        }
    }
    std::error_code ec;
    for (const fs::path& scratch : scratches) fs::remove_all(scratch, ec);
    if (failures) return 1;

    std::printf("start until the main window is visible, ms (%d runs each, in turn, each run led by the next program, after a warm-up start)\n", runs);
    std::printf("%-6s", "run");
    for (const Program& p : programs) std::printf(" %12s", p.name);
    std::printf("\n");
    for (int i = 0; i < runs; ++i) {
        std::printf("%-6d", i + 1);
        for (const Program& p : programs) std::printf(" %12.0f", p.ms[static_cast<size_t>(i)]);
        std::printf("\n");
    }
    std::printf("%-6s", "median");
    for (const Program& p : programs) std::printf(" %12.0f", Median(p.ms));
    std::printf("\n");
    const double bare = Median(programs[0].ms);
    for (size_t i = 1; i < programs.size(); ++i)
        std::printf("%s is up %.0f ms after a bare window\n", programs[i].name, Median(programs[i].ms) - bare);
    // The last two columns: this build skinned and with the skin off.
    const size_t skinned = programs.size() - 2, unskinned = programs.size() - 1;
    std::printf("kova.exe skinned is up %.0f ms after kova.exe /noskin\n",
                Median(programs[skinned].ms) - Median(programs[unskinned].ms));
    return 0;
}
