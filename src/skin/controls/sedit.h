// The skinned single-line edit that editors create at run time for their
// rows. For now it is the framework's edit under its own class name, so that
// type tests for the edit family hold; its skinned look comes with the
// control skinning.
#pragma once

#include "framework/stdctrls.h"

namespace kova::skin {

class TsEdit : public TEdit {
    KOVA_CLASS(TsEdit, TEdit)
public:
    explicit TsEdit(TComponent* owner);
};

}  // namespace kova::skin
