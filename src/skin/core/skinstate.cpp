#include "skin/core/skinstate.h"

namespace kova::skin {

TSkinState SkinState;

TsSkinManager*& DefaultManager = SkinState.Manager;
std::uint8_t& SkinChanging = SkinState.SkinChanging;
bool& SkinShuttingDown = SkinState.ShuttingDown;
bool& SkinEdited = SkinState.SkinEdited;
bool& TaskbarPreviews = SkinState.TaskbarPreviews;
std::int32_t& FormAnimating = SkinState.FormAnimating;
bool& PreviewMode = SkinState.PreviewMode;
HWND& PreviewWindow = SkinState.PreviewWindow;
bool& ReleaseHiddenCaches = SkinState.ReleaseHiddenCaches;
int& DialogPosX = SkinState.DialogPosX;
int& DialogPosY = SkinState.DialogPosY;

void ResetSkinState() {
    SkinState = TSkinState{};
}

void AddSkinnedForm(TCustomForm* form) { SkinnedForms().push_back(form); }

void RemoveSkinnedForm(TCustomForm* form) {
    auto& list = SkinnedForms();
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i] != form) continue;
        list[i] = list.back();
        list.back() = nullptr;
        list.pop_back();
    }
}

bool PaintingSuspended() { return SkinState.PaintingSuspended > 0; }

}  // namespace kova::skin
