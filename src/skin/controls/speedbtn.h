// Skinned framework speed buttons. A speed button has no window of its
// own: the handler takes over its WindowProc, paints the whole button
// (section, border, caption, disabled look) into the record's cache when
// the parent paints it, tracks the mouse for the hot look, and gives the
// button its own painting back when the skin goes.
#pragma once

#include <string>

#include "framework/extctrls.h"
#include "framework/subclass.h"
#include "skin/core/commondata.h"
#include "skin/core/skinmanager.h"

namespace kova::skin {

class TacSpeedButtonHandler : public TObject {
    KOVA_CLASS(TacSpeedButtonHandler, TObject)
public:
    // Without a manager the record's serves; a record without a section
    // takes `section`.
    TacSpeedButtonHandler(TSpeedButton* button, const std::string& section, TsSkinManager* manager,
                          TsCommonData* skinData);
    ~TacSpeedButtonHandler() override;
    TacSpeedButtonHandler(const TacSpeedButtonHandler&) = delete;
    TacSpeedButtonHandler& operator=(const TacSpeedButtonHandler&) = delete;

    void WndProc(TMessage& m);
    // 2 down, 1 hot, 0 normal.
    int StateIndex() const;

    TSpeedButton* Button = nullptr;
    TsSkinManager* Manager = nullptr;
    TsCommonData* SkinData = nullptr;
    bool Restored = false;

private:
    void PrepareCache();
    TWindowSubclass subclass_;
};

}  // namespace kova::skin
