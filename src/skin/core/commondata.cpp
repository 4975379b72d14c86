// A first cut: construction and the manager lookup. The record's
// operations and its answers to the skin command message follow.
#include "skin/core/commondata.h"

#include "skin/core/provider.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"

namespace kova::skin {

TsCommonData::TsCommonData(TObject* owner, bool createCacheBmp) : OwnerObject(owner) {
    OwnerControl = dynamic_cast<TControl*>(owner);
    if (createCacheBmp) CacheBmp = std::make_unique<TBitmap>();
}

TsCommonData::~TsCommonData() = default;

TsSkinManager* TsCommonData::GetSkinManager() const { return skinManager_ ? skinManager_ : DefaultManager; }

TsSkinProvider* TsCommonData::OwnerProvider() const { return dynamic_cast<TsSkinProvider*>(OwnerObject); }

bool HandleSkinCommand(TMessage& m, TsCommonData* data) {
    if (!data || !IsSkinCommand(m) || SkinSubCode(m.WParam) > scMaxSubCode) return false;
    if (SkinSubCode(m.WParam) == scQuerySupport) {
        m.Result = 1;
        return true;
    }
    return false;
}

bool HandleControlMessage(TMessage& m, TsCommonData* data) { return data && IsSkinCommand(m) && HandleSkinCommand(m, data); }

}  // namespace kova::skin
