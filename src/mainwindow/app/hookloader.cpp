#include "mainwindow/app/hookloader.h"

namespace kova::mainwindow {

THookLibrary::~THookLibrary() {
    if (module_) FreeLibrary(module_);
}

bool THookLibrary::Load(const std::filesystem::path& folder, std::string& error) {
    if (module_) return true;
    const std::string path = (folder / hook::kLibraryName).string();
    HMODULE m = LoadLibraryA(path.c_str());
    if (!m) {
        error = std::string(hook::kLibraryName) + " not found; keyboard and mouse hotkeys are off";
        return false;
    }
    start_ = hook::LoadExport<hook::StartHookFn>(m, "StartHook");
    stop_ = hook::LoadExport<hook::StopHookFn>(m, "StopHook");
    setData_ = hook::LoadExport<hook::SetDataFn>(m, "SetData");
    if (!start_ || !stop_ || !setData_) {
        FreeLibrary(m);
        start_ = nullptr;
        stop_ = nullptr;
        setData_ = nullptr;
        error = std::string(hook::kLibraryName) + " lacks StartHook, StopHook or SetData; keyboard and mouse hotkeys are off";
        return false;
    }
    module_ = m;
    return true;
}

bool THookLibrary::StartHook(HWND target) { return start_ && start_(target); }
bool THookLibrary::StopHook() { return stop_ && stop_(); }
void THookLibrary::SetData(int flag) {
    if (setData_) setData_(flag);
}

}  // namespace kova::mainwindow
