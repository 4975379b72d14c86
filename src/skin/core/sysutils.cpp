#include "skin/core/sysutils.h"

#include <shellapi.h>

#include "framework/forms.h"
#include "skin/core/msgbox.h"
#include "skin/core/portable/utils.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"

namespace kova::skin {

bool WowWithoutDwm = false;

namespace {
bool CaptionFont(LOGFONTA& font) {
    NONCLIENTMETRICSA m{};
    // The record size of the oldest systems: newer fields are not needed.
    m.cbSize = 340;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, m.cbSize, &m, 0)) return false;
    font = m.lfCaptionFont;
    return true;
}
}  // namespace

void InitSkinUtilities() {
    static bool done = false;
    if (done) return;
    done = true;
    SystemEntries();
    WowWithoutDwm = IsWow64() && !DwmCompositionEnabled();
}

int GetCaptionFontHeight() {
    LOGFONTA f;
    return CaptionFont(f) ? f.lfHeight : 0;
}

HFONT CreateCaptionFont() {
    LOGFONTA f;
    return CaptionFont(f) ? CreateFontIndirectA(&f) : nullptr;
}

bool GetMinimizeAnimation() {
    ANIMATIONINFO info{};
    info.cbSize = 8;
    if (!SystemParametersInfoA(SPI_GETANIMATION, info.cbSize, &info, 0)) return false;
    return info.iMinAnimate != 0;
}

BOOL SetMinimizeAnimation(bool on) {
    ANIMATIONINFO info{};
    info.cbSize = 8;
    info.iMinAnimate = on ? -1 : 0;
    return SystemParametersInfoA(SPI_SETANIMATION, info.cbSize, &info, 0);
}

bool IsWindowsXPOrLater() {
    OSVERSIONINFOA v{};
    v.dwOSVersionInfoSize = sizeof v;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExA(&v)) return false;
#pragma GCC diagnostic pop
    return v.dwMajorVersion > 5 || (v.dwMajorVersion == 5 && v.dwMinorVersion >= 1);
}

bool DebuggerPresent() {
    auto f = SystemEntries().IsDebuggerPresent;
    return f ? f() != FALSE : true;
}

bool IsWow64() {
    auto f = SystemEntries().IsWow64Process;
    BOOL wow = FALSE;
    if (!f || !f(GetCurrentProcess(), &wow)) return false;
    return wow != FALSE;
}

int ErrorMessageBox(const std::string& msg) { return ShowMsgBox(msg, mtError, mbOK, 0); }

void WaitWithMessages(std::uint32_t ms) {
    const DWORD start = GetTickCount();
    do {
        Application()->ProcessMessages();
        if (GetTickCount() - start < ms) Sleep(1);
    } while (GetTickCount() - start < ms);
}

std::string AppFolder() {
    char path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string s(path, n);
    const std::size_t slash = s.find_last_of("\\/");
    return AddTrailingBackslash(slash == std::string::npos ? std::string() : s.substr(0, slash));
}

HICON GetFileIcon(const std::string& fileName, UINT flags) {
    if (GetFileAttributesA(fileName.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
    SHFILEINFOA info{};
    if (!SHGetFileInfoA(fileName.c_str(), 0, &info, sizeof info, flags | SHGFI_ICON)) return nullptr;
    return info.hIcon;
}

}  // namespace kova::skin
