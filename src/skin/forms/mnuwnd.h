// The adapter of a skinned popup menu's window (class "#32768"): the
// window shows the menu's rendered picture in its frame and background,
// answers the skin command message as a skinned window, and lets go of the
// menu cache when it closes.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/controls/scrollwnd.h"

namespace kova::skin {

class TacMnuWnd : public TacScrollWnd {
    KOVA_CLASS(TacMnuWnd, TacScrollWnd)
public:
    TacMnuWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    void WndProc(TMessage& m) override;

    bool PaintedOnce = false;
    int Shown = 0;
    bool Destroyed = false;
    // Inside WndProc (the adapter is then never freed).
    bool Running() const { return running_ > 0; }

private:
    void Handle(TMessage& m);
    void Destroying(TMessage& m);
    void PrepareCache();
    void PaintFrame(HDC dc);
    int running_ = 0;
    bool handlingShow_ = false;
};

// The adapters made for popup-menu windows.
std::vector<std::unique_ptr<TacMnuWnd>>& MenuWndAdapters();
// A popup-menu window just created gets its adapter (section "MAINMENU");
// nothing when the window answers sub-code 7 already or popups are plain.
TacMnuWnd* AttachMenuWindowAdapter(HWND wnd, TsSkinManager* manager);
// Frees every adapter of the list and empties it; one whose message is
// being handled is kept aside and freed at the next call.
void FreeMenuWndAdapters();
// Adapters alive, in the list or kept aside (tests, the count check).
int MenuWndAdapterCount();

}  // namespace kova::skin
