#include "skin/core/model/skindump.h"

#include "framework/portable/numformat.h"

namespace kova::skin {

std::string DumpSkin(const TsSkinModel& model) {
    std::string out;
    const TsSkinData& g = model.SkinData();
    auto global = [&out](const char* key, const std::string& value) { out += "GLOBAL " + std::string(key) + "=" + value + "\n"; };
    auto num = [](long long v) { return std::to_string(v); };
    global("VERSION", FloatToStr(g.Version));
    global("AUTHOR", g.Author);
    global("DESCRIPTION", g.Description);
    global("BORDERWIDTH", num(g.BorderWidth));
    global("TITLEHEIGHT", num(g.TitleHeight));
    global("MAXHEIGHT", num(g.MaxHeight));
    global("FORMOFFSET", num(g.FormOffset));
    global("ALIGNOFFSET", num(g.AlignOffset));
    global("CENTEROFFSET", num(g.CenterOffset));
    global("BORDERMODE", num(g.BorderMode));
    global("SHADOW1COLOR", num(g.Shadow1Color));
    global("SHADOW1OFFSET", num(g.Shadow1Offset));
    global("SHADOW1BLUR", num(g.Shadow1Blur));
    global("SHADOW1TRANSPARENCY", num(g.Shadow1Transparency));
    global("BISPACE", num(g.BISpacing));
    global("BIVALIGN", num(g.BIVAlign));
    global("BIRIGHT", num(g.BIRightMargin));
    global("BILEFT", num(g.BILeftMargin));
    global("BITOP", num(g.BITopMargin));
    global("BORDERCOLOR", num(g.BorderColor));
    global("BIKEEPHUE", num(g.BIKeepHUE));
    global("AEROBLUR", num(g.AeroBlur ? 1 : 0));
    global("EXTSHADOW", num(g.ExtShadow));
    global("MASTERBITMAP", g.MasterBitmapName);
    const std::vector<std::string> keys = SectionKeys();
    for (const TsGeneralData& s : model.Sections()) {
        out += Format("[%s]\n", s.SectionName.c_str());
        for (const std::string& k : keys) out += Format("%s=%s\n", k.c_str(), SectionValueText(s, k).c_str());
    }
    for (const TsMaskData& m : model.Masks())
        out += Format("MASK %s.%s kind=%d rect=%d,%d,%d,%d\n", m.SectionName.c_str(), m.PropertyName.c_str(),
                    m.EntryKind, m.SourceRect.Left, m.SourceRect.Top, m.SourceRect.Right, m.SourceRect.Bottom);
    for (const TsPatternData& p : model.Patterns())
        out += Format("PATTERN %s.%s size=%dx%d\n", p.SectionName.c_str(), p.PropertyName.c_str(),
                    p.Image ? p.Image->Width() : 0, p.Image ? p.Image->Height() : 0);
    return out;
}

}  // namespace kova::skin
