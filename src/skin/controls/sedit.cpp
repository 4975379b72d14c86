#include "skin/controls/sedit.h"

namespace kova::skin {

TsEdit::TsEdit(TComponent* owner) : TEdit(owner) {}

}  // namespace kova::skin
