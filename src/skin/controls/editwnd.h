// Adapters of edit-like controls: the refresh rules every framed,
// scrollable control needs (TacBaseWnd), edits, memos and list boxes skinned
// whole - frame from the section's cache, colours from the section, skinned
// scroll bars, focus and hot states (TacEditWnd) - and the client window of
// an MDI form, which shows the form's skinned background (TacMDIWnd).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "skin/controls/scrollwnd.h"

namespace kova::skin {

class TsSkinProviderBase;

class TacBaseWnd : public TacScrollWnd {
    KOVA_CLASS(TacBaseWnd, TacScrollWnd)
public:
    using TacScrollWnd::TacScrollWnd;
    void WndProc(TMessage& m) override;
};

class TacEditWnd : public TacBaseWnd {
    KOVA_CLASS(TacEditWnd, TacBaseWnd)
public:
    // The record's section becomes `section` ("EDIT" when empty).
    TacEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
    // Leaves the window here, where its own restore still runs (the
    // root's destructor would put back only the root's part).
    ~TacEditWnd() override;

    // The client rectangle in window coordinates; Top -1: not computed yet.
    RECT ClientRectInWnd{0, -1, 0, 0};
    TColor EditBgColor = 0;
    TColor SavedFocusColor = 0;
    TColor DialogColor = 0;

    void SaveStdParams() override;
    void RestoreStdParams() override;
    void SetSkinParams() override;
    void WndProc(TMessage& m) override;

private:
    void PaintFrame(HDC dc);
    void PrintTo(TMessage& m);
    bool HandleEditCommand(TMessage& m);
    const RECT& ClientRect();
    // Its own re-entry guard: the scroll adapter's InNcCalcSize says only
    // that a frame computation runs.
    bool inSetSkinParams_ = false;
};

class TacMDIWnd : public TacBaseWnd {
    KOVA_CLASS(TacMDIWnd, TacBaseWnd)
public:
    using TacBaseWnd::TacBaseWnd;
    ~TacMDIWnd() override;

    TCustomForm* MDIForm = nullptr;
    TsCommonData* FormSkinData = nullptr;
    TsSkinProviderBase* FormProvider = nullptr;
    // The last thumb position the bar reported (the scroll step starts
    // from it).
    int LastTrackPos = 0;

    void WndProc(TMessage& m) override;

private:
    void PaintArea(HDC dc);
    void ThumbScroll(TMessage& m);
};

}  // namespace kova::skin
