#include "skin/core/skincommands.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/forms.h"
#include "skin/core/glow.h"
#include "skin/core/recordhelpers.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinmessage.h"
#include "skin/core/skinservices.h"
#include "skin/core/sysentries.h"
#include "skin/core/vclutils.h"

namespace kova::skin {

using namespace record;

namespace {

struct TOwnerAnswer {
    int SubCode;
    const TClassInfo* OwnerClass;
    TSkinCommandAnswer Answer;
};

std::vector<TOwnerAnswer>& OwnerAnswers() {
    static std::vector<TOwnerAnswer> answers;
    return answers;
}

// Steps from the class up to `ancestor`; -1 when it is none of its.
int Distance(const TClassInfo* cls, const TClassInfo* ancestor) {
    for (int d = 0; cls; cls = cls->parent, ++d)
        if (cls == ancestor) return d;
    return -1;
}

// The answer registered for the nearest class of the record's owner.
const TSkinCommandAnswer* OwnerAnswer(int subCode, const TsCommonData& d) {
    if (!d.OwnerObject || OwnerAnswers().empty()) return nullptr;
    const TClassInfo* own = &d.OwnerObject->ClassInfo();
    const TSkinCommandAnswer* best = nullptr;
    int nearest = -1;
    for (const TOwnerAnswer& a : OwnerAnswers()) {
        if (a.SubCode != subCode) continue;
        const int distance = Distance(own, a.OwnerClass);
        if (distance >= 0 && (nearest < 0 || distance < nearest)) {
            nearest = distance;
            best = &a.Answer;
        }
    }
    return best;
}

bool IsManagerArg(const TsCommonData& d, LPARAM l) {
    return reinterpret_cast<TsSkinManager*>(l) == d.GetSkinManager();
}

void SkinRemoved(TsCommonData& d) {
    d.BorderIndex = d.SkinIndex = d.TextureIndex = d.HotTextureIndex = -1;
    d.Updating = true;
    if (d.CacheBmp) d.CacheBmp->SetSize(0, 0);
    TControl* owner = d.OwnerControl;
    if (!owner) return;
    TWinControl* w = Windowed(owner);
    if (IsEditKind(d.ControlCode)) {
        if (!d.CustomColor()) owner->SetColor(clWindow);
        if (!d.CustomFont()) owner->Font()->SetColor(clWindowText);
        if (w && w->HandleAllocated()) RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    } else if (w) {
        for (int i = 0; i < w->ControlCount(); ++i)
            if (w->Controls(i)->Is<TLabel>()) w->Controls(i)->Font()->SetColor(clWindowText);
    }
}

void ParentBgChanged(TsCommonData& d, bool redraw) {
    const bool depends = d.DependsOnParentBg();
    d.BGChanged = d.BGChanged || depends;
    TWinControl* w = Windowed(d.OwnerControl);
    if (!w) return;
    if (redraw && w->HandleAllocated())
        RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
    if (!depends) return;
    for (int i = 0; i < w->ControlCount(); ++i) {
        TControl* c = w->Controls(i);
        if (!c->IsDestroying()) SendSkinCommandToControl(c, scParentBgChanged, 0, 0);
    }
}

// What a control shows its children: its section's colour, its parent's
// through a transparent section, or a mix of the two.
TColor ColorForChildren(TsCommonData& d) {
    TControl* owner = d.OwnerControl;
    if (!d.IsSkinned()) return RGBOf(owner->Color());
    const TsGeneralData* s = d.Section();
    const TsSkinModel& model = d.GetSkinManager()->Model();
    const TColor own = static_cast<TColor>(model.ColorToRGB(s->Color)) & 0xFFFFFF;
    const std::int32_t t = s->Transparency;
    if (t == 0) return own;
    TWinControl* parent = owner->Parent();
    // A parent that does not answer (an unskinned one answers 0, not the
    // magenta it was given) shows its own colour.
    auto parentColour = [&](bool convert) -> TColor {
        if (!parent) return RGBOf(owner->Color());
        const bool skinned = NotifyControl(parent, scQuerySupport) == 1;
        const auto answer = static_cast<TColor>(skinned ? SendSkinCommandToControl(parent, scQueryBgColor, clFuchsia)
                                                        : static_cast<LRESULT>(clFuchsia));
        if (answer != clFuchsia) return answer;
        return convert ? RGBOf(parent->Color()) : static_cast<TColor>(parent->Color());
    };
    if (t >= 100) return parentColour(false);
    return MixParentColor(parentColour(true), own, t);
}

}  // namespace

void RegisterSkinCommand(int subCode, const TClassInfo& ownerClass, TSkinCommandAnswer answer) {
    auto& answers = OwnerAnswers();
    for (TOwnerAnswer& a : answers)
        if (a.SubCode == subCode && a.OwnerClass == &ownerClass) {
            a.Answer = std::move(answer);
            return;
        }
    answers.push_back({subCode, &ownerClass, std::move(answer)});
}

void UnregisterSkinCommand(int subCode, const TClassInfo& ownerClass) {
    auto& answers = OwnerAnswers();
    answers.erase(std::remove_if(answers.begin(), answers.end(),
                                 [&](const TOwnerAnswer& a) {
                                     return a.SubCode == subCode && a.OwnerClass == &ownerClass;
                                 }),
                  answers.end());
}

bool HandleSkinCommand(TMessage& m, TsCommonData* data) {
    if (!data || !IsSkinCommand(m)) return false;
    const int code = SkinSubCode(m.WParam);
    TsCommonData& d = *data;
    if (const TSkinCommandAnswer* answer = OwnerAnswer(code, d)) {
        // A copy: the answer may register or unregister answers itself.
        const TSkinCommandAnswer call = *answer;
        return call(m, d);
    }
    if (code > scMaxSubCode) return false;
    switch (code) {
        case scSkinApplied:
            if (IsManagerArg(d, m.LParam)) {
                d.ReadSkinIndexes();
                d.UpdateBgFlags(false);
            }
            return false;
        case scSkinRemoved:
            if (IsManagerArg(d, m.LParam)) {
                if (d.skinManager_ && d.skinManager_->IsDestroying()) d.skinManager_ = nullptr;
                SkinRemoved(d);
            }
            return false;
        case scRefresh:
            if (IsManagerArg(d, m.LParam)) {
                d.BGChanged = true;
                d.Updating = false;
                d.UpdateColors(true);
                d.UpdateBgFlags(false);
            }
            return false;
        case scQuerySupport:
            m.Result = 1;
            return true;
        case scSetUpdating:
            d.Updating = SkinLowArg(m.WParam) == 1;
            return false;
        case scSetParentDependent:
            d.ParentDependent = SkinLowArg(m.WParam) == 1;
            return false;
        case scQueryUpdating:
            m.Result = d.BGChanged || d.Updating ? 1 : 0;
            return true;
        case scQueryCacheIncomplete:
            m.Result = d.CacheIncomplete ? 1 : 0;
            return true;
        case scInvalidateSection:
            if (d.SkinSection().empty()) d.Invalidate();
            return false;
        case scCopySection:
            if (m.LParam != 0) d.SetSkinSection(reinterpret_cast<TsCommonData*>(m.LParam)->SkinSection());
            return false;
        case scInvalidateBg:
            d.BGChanged = true;
            return false;
        case scQueryParentDependent: {
            const TsGeneralData* s = d.Section();
            if (d.SkinIndex < 0 || !s) return false;
            TWinControl* parent = d.OwnerControl ? d.OwnerControl->Parent() : nullptr;
            const bool answer = ParentDependentAnswer(
                s->Transparency, s->GradientPercent, s->ImagePercent, parent != nullptr,
                [&] { return parent->HandleAllocated() && SendSkinCommand(parent->Handle(), scQueryParentDependent, 0) != 0; },
                [&] { return d.DependsOnParentBg(); });
            m.Result = answer ? 1 : 0;
            return true;
        }
        case scParentBgChanged:
            ParentBgChanged(d, SkinLowArg(m.WParam) == 1);
            return false;
        case scQueryBgColor:
            if (!d.OwnerControl) return false;
            m.Result = static_cast<LRESULT>(ColorForChildren(d));
            return true;
        case scSetCacheIncomplete:
            d.CacheIncomplete = true;
            return false;
        case scQuerySkinIndex:
            if (m.LParam != 0) *reinterpret_cast<std::int32_t*>(m.LParam) = d.SkinIndex;
            return true;
        case scDropCaches:
            if (d.CacheBmp) {
                if (TWinControl* w = Windowed(d.OwnerControl))
                    for (int i = 0; i < w->ControlCount(); ++i)
                        if (TWinControl* c = Windowed(w->Controls(i)); c && c->HandleAllocated())
                            SendSkinCommand(c->Handle(), scDropCaches, 0);
                d.CacheBmp->SetSize(0, 0);
                d.BGChanged = true;
                d.Updating = true;
            }
            return false;
        case scQueryBgInfo:
            if (m.LParam != 0) d.FillBackgroundInfo(*reinterpret_cast<TsBackgroundInfo*>(m.LParam), 0, nullptr);
            return true;
        case scControlFlags:
            if (m.LParam == 1)
                d.UpdateBgFlags(true);
            else
                m.Result = d.FlagsWord;
            return true;
        case scGetSkinData:
            m.Result = reinterpret_cast<LRESULT>(data);
            return true;
        case scSetLinkedObject:
            d.LinkedObject = reinterpret_cast<TObject*>(m.LParam);
            if (m.LParam != 0)
                d.FlagsWord |= kHasLinkedObject;
            else
                d.FlagsWord &= static_cast<std::uint16_t>(~kHasLinkedObject);
            return true;
        case scGetApplication:
            m.Result = reinterpret_cast<LRESULT>(Application());
            return false;
        default:
            return false;
    }
}

bool HandleControlMessage(TMessage& m, TsCommonData* data) {
    if (!data) return false;
    if (IsSkinCommand(m)) return HandleSkinCommand(m, data);
    TsCommonData& d = *data;
    TControl* owner = d.OwnerControl;
    TWinControl* w = Windowed(owner);
    switch (m.Msg) {
        case WM_UPDATEUISTATE:
            if (d.IsSkinned()) return true;
            if (w && w->HandleAllocated())
                if (SetWindowThemeFn setTheme = SystemEntries().SetWindowTheme) setTheme(w->Handle(), L"", L"");
            return false;
        case WM_SETFOCUS:
        case WM_KILLFOCUS: {
            if (!w || !w->CanFocus() || !w->TabStop()) return false;
            const bool set = m.Msg == WM_SETFOCUS;
            d.BGChanged = true;
            d.FocusSet = set;
            if (!IsEditKind(d.ControlCode) || !w->HandleAllocated()) return false;
            const TsGeneralData* s = d.Section();
            if (set ? (d.IsSkinned() && s && s->States > 1) : w->Visible())
                RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            return false;
        }
        case WM_MOVE:
            if (d.DependsOnParentBg()) {
                d.BGChanged = true;
                if (owner) PerformCommand(owner, scParentBgChanged, 0, 1);
                HideShownGlow(d.GlowID);
            }
            return false;
        case WM_SIZE:
            if (d.IsSkinned()) {
                d.BGChanged = true;
                const TsGeneralData* s = d.Section();
                // Framework controls are anchored to their parent's top-left.
                if (w && s && s->GradientPercent > 0)
                    for (int i = 0; i < w->ControlCount(); ++i)
                        if (!w->Controls(i)->IsDestroying()) PerformCommand(w->Controls(i), scParentBgChanged, 0, 1);
                HideShownGlow(d.GlowID);
            }
            return false;
        case WM_FONTCHANGE:
        case CM_ENABLEDCHANGED:
            d.MouseAbove = false;
            d.FocusSet = false;
            if (owner && !owner->Enabled()) HideShownGlow(d.GlowID);
            return false;
        case WM_CONTEXTMENU:
            // The control's own menu shows skinned (or plain without a skin).
            if (owner && owner->PopupMenu() && d.GetSkinManager() && FormSkinning().SetPopupMenuSkinned)
                FormSkinning().SetPopupMenuSkinned(d.GetSkinManager(), owner->PopupMenu(), d.GetSkinManager()->Active());
            return false;
        case WM_PARENTNOTIFY:
            if (w && LOWORD(m.WParam) == WM_CREATE) NotifyParentFormOfControl(owner);
            return false;
        case CM_VISIBLECHANGED:
            if (!ReleaseHiddenCaches || !owner || owner->IsDestroying() || !d.CacheBmp) return false;
            if (m.WParam == 0) {
                d.CacheBmp->SetSize(0, 0);
                if (w)
                    for (int i = 0; i < w->ControlCount(); ++i) {
                        TControl* c = w->Controls(i);
                        TWinControl* cw = Windowed(c);
                        if (cw && cw->HandleAllocated())
                            SendSkinCommand(cw->Handle(), scDropCaches, 0);
                        else if (!cw)
                            PerformCommand(c, scDropCaches, 0);
                    }
            } else {
                d.Updating = false;
            }
            d.BGChanged = true;
            return false;
        case CM_SHOWINGCHANGED:
            if (owner && owner->Visible()) d.Loaded();
            return false;
        case CM_MOUSEENTER:
            if (!d.IsSkinned()) return false;
            if (w) {
                if (!DefaultManager) return false;
                if (!IsHotlessKind(d.ControlCode)) d.MouseAbove = true;
                if (w->HandleAllocated()) DefaultManager->SetHotControl(w->Handle());
                if (GlowsOnMouseEnter(d.ControlCode)) d.UpdateGlow(false, nullptr);
                const TsGeneralData* s = d.Section();
                if (IsEditKind(d.ControlCode) && s && s->States >= 2 && w->HandleAllocated()) {
                    d.BGChanged = true;
                    SendMessageA(w->Handle(), WM_NCPAINT, 1, 0);
                }
            } else if (!IsHotlessKind(d.ControlCode)) {
                d.MouseAbove = true;
            }
            return false;
        case CM_MOUSELEAVE:
            if (!d.IsSkinned()) return false;
            if (!IsHotlessKind(d.ControlCode)) d.MouseAbove = false;
            if (GlowsOnMouseEnter(d.ControlCode)) {
                ClearGlows();
                d.GlowID = -1;
            }
            if (owner && owner->Visible() && IsEditKind(d.ControlCode) && w && w->HandleAllocated()) {
                d.BGChanged = true;
                SendMessageA(w->Handle(), WM_NCPAINT, 1, 0);
            }
            return false;
        default:
            return false;
    }
}

}  // namespace kova::skin
