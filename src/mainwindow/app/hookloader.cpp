#include "mainwindow/app/hookloader.h"

#include <utility>

namespace kova::mainwindow {

bool THookLibrary::Load(const std::filesystem::path& folder, std::string& error) {
    if (module_) return true;
    TModuleHandle m((folder / hook::kLibraryName).string().c_str());
    if (!m) {
        error = std::string(hook::kLibraryName) + " not found; keyboard and mouse hotkeys are off";
        return false;
    }
    const auto start = m.Proc<hook::StartHookFn>("StartHook");
    const auto stop = m.Proc<hook::StopHookFn>("StopHook");
    const auto setData = m.Proc<hook::SetDataFn>("SetData");
    if (!start || !stop || !setData) {
        error = std::string(hook::kLibraryName) + " lacks StartHook, StopHook or SetData; keyboard and mouse hotkeys are off";
        return false;  // the library goes with m
    }
    start_ = start;
    stop_ = stop;
    setData_ = setData;
    module_ = std::move(m);
    return true;
}

bool THookLibrary::StartHook(HWND target) { return start_ && start_(target); }
bool THookLibrary::StopHook() { return stop_ && stop_(); }
void THookLibrary::SetData(int flag) {
    if (setData_) setData_(flag);
}

}  // namespace kova::mainwindow
