// The keyboard and mouse hook library, loaded at run time from beside the
// executable. The program runs without it (no hook-library input then).
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "framework/handles.h"
#include "hooklib/hooklib.h"

namespace kova::mainwindow {

class THookLibrary {
public:
    THookLibrary() = default;
    THookLibrary(const THookLibrary&) = delete;
    THookLibrary& operator=(const THookLibrary&) = delete;

    // Loads "mskbrdHook.dll" from the folder; false (and `error` says why)
    // when it is missing or lacks an export.
    bool Load(const std::filesystem::path& folder, std::string& error);
    bool Loaded() const { return static_cast<bool>(module_); }

    // Each does nothing without the library; Start/Stop return false then.
    bool StartHook(HWND target);
    bool StopHook();
    void SetData(int flag);

private:
    TModuleHandle module_;
    hook::StartHookFn start_ = nullptr;
    hook::StopHookFn stop_ = nullptr;
    hook::SetDataFn setData_ = nullptr;
};

}  // namespace kova::mainwindow
