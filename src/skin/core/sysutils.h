// The utility routines of the skinning units that ask the system.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace kova::skin {

// Set at start-up: a 32-bit process on 64-bit Windows without desktop
// composition (glow effects are refused then).
extern bool WowWithoutDwm;
// Resolves the kernel functions and sets WowWithoutDwm; runs once.
void InitSkinUtilities();

int GetCaptionFontHeight();
HFONT CreateCaptionFont();
bool GetMinimizeAnimation();
BOOL SetMinimizeAnimation(bool on);
bool IsWindowsXPOrLater();
bool DebuggerPresent();
bool IsWow64();
int ErrorMessageBox(const std::string& msg);
std::string AppFolder();
// The shell's icon for an existing file (nullptr when missing or empty);
// the caller destroys it.
HICON GetFileIcon(const std::string& fileName, UINT flags);

}  // namespace kova::skin
