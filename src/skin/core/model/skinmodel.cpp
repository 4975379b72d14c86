#include "skin/core/model/skinmodel.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "framework/portable/scope.h"
#include "framework/portable/colors.h"
#include "framework/portable/numformat.h"
#include "skin/core/model/skinsource.h"
#include "skin/core/portable/png.h"
#include "skin/core/portable/utils.h"

namespace kova::skin {

namespace fs = std::filesystem;

namespace {

// The classic system palette, for hosts without a window system.
constexpr TsColor kClassicSysColors[] = {
    0xC8C8C8, 0x000000, 0xD1B499, 0xDBCDBF, 0xF0F0F0, 0xFFFFFF, 0x646464, 0x000000, 0x000000, 0x000000,
    0xB4B4B4, 0xFCF7F4, 0xABABAB, 0xFF9933, 0xFFFFFF, 0xF0F0F0, 0xA0A0A0, 0x6D6D6D, 0x000000, 0x000000,
    0xFFFFFF, 0x696969, 0xE3E3E3, 0x000000, 0xE1FFFF};

bool IsUsableColour(TsColor c) { return c != kNoColor && c != clFuchsia; }

// A skin folder whose description comes from a skin editor instead of its
// "Options.dat".
class TEditorSkinSource : public TFolderSkinSource {
public:
    TEditorSkinSource(std::string folder, std::string text) : TFolderSkinSource(std::move(folder)), text_(std::move(text)) {}
    std::optional<std::string> OptionsText() const override { return text_; }

private:
    std::string text_;
};

}  // namespace

TsSkinModel::TsSkinModel() = default;

TsColor TsSkinModel::ColorToRGB(TsColor c) const {
    if (!IsSysColor(c)) return c;
    const int index = c & 0xFF;
    if (Env.SysColor) return Env.SysColor(index);
    return index < static_cast<int>(std::size(kClassicSysColors)) ? kClassicSysColors[index] : 0;
}

TSkinLoadContext TsSkinModel::Context() const {
    TSkinLoadContext c;
    c.SkinName = skinName_;
    c.CommonSections = commonSections_;
    c.HueOffset = hueOffset_;
    c.Saturation = saturation_;
    c.Owner = this;
    c.ColorToRGB = [this](TsColor v) { return ColorToRGB(v); };
    c.FrameWidth = Env.FrameWidth;
    c.ShowOldVersionNotice = Env.ShowOldVersionNotice;
    c.Warn = Env.Warn;
    c.Log = Env.Log;
    return c;
}

// ------------------------------------------------------------------ loading

std::string TsSkinModel::ResolveSkinDirectory() const {
    const std::string& d = SkinDirectory;
    const std::string exe = AddTrailingBackslash(ExeFolder);
    std::string out;
    if (d.rfind("..", 0) == 0) {
        // The parent of the program's folder.
        std::string parent = exe.empty() ? exe : exe.substr(0, exe.size() - 1);
        const std::size_t cut = parent.find_last_of("\\/");
        parent = cut == std::string::npos ? std::string() : parent.substr(0, cut + 1);
        out = parent + (d.size() > 3 ? d.substr(3) : std::string());
    } else if (d.rfind(".\\", 0) == 0 || d.rfind("./", 0) == 0) {
        out = exe + d.substr(2);
    } else if (d.find(':') == std::string::npos && d.find("\\\\") == std::string::npos
#if !defined(_WIN32)
               && (d.empty() || d[0] != '/')  // an absolute path of the build host
#endif
    ) {
        out = exe + d;
    } else {
        out = d;
    }
    return AddTrailingBackslash(out);
}

void TsSkinModel::Install(TsSkinTables tables, bool packed) {
    tables.SkinData.Active = true;
    tables_ = std::move(tables);
    isPacked_ = packed;
    ++generation_;
    UpdateConstIndexes();
}

void TsSkinModel::Clear() {
    tables_ = TsSkinTables{};
    isPacked_ = false;
    ++generation_;
    UpdateConstIndexes();
}

void TsSkinModel::LoadFolder(const std::string& folder) {
    const std::string path = AddTrailingBackslash(folder);
    TFolderSkinSource source(path);
    if (!source.OptionsText()) throw ESkinError("No \"Options.dat\" in " + folder);
    TsSkinTables t = LoadSkinTables(&source, Context());
    t.SkinData.SkinPath = path;
    Install(std::move(t), false);
}

void TsSkinModel::LoadPackedFile(const std::string& fileName) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(fileName, bytes)) throw ESkinError("Cannot read " + fileName);
    auto source = ArchiveSourceFromBytes(std::move(bytes));
    TsSkinTables t = LoadSkinTables(source.get(), Context());
    t.SkinData.SkinPath = ResolveSkinDirectory();
    Install(std::move(t), true);
}

void TsSkinModel::LoadStoredData(const std::vector<std::uint8_t>& packed) {
    if (packed.empty()) {
        // Nothing stored: only the merged sections, if any.
        Install(LoadSkinTables(nullptr, Context()), false);
        return;
    }
    auto source = ArchiveSourceFromBytes(packed);
    Install(LoadSkinTables(source.get(), Context()), true);
}

void TsSkinModel::Reload() {
    const std::string dir = ResolveSkinDirectory();
    const std::string packedName = FindEntryIgnoringCase(dir, skinName_ + ".asz");
    bool packed = !skinName_.empty() && !packedName.empty() && fs::is_regular_file(NativePath(dir + packedName));
    // After an editor preview the folder being edited wins over its packed copy.
    std::error_code ec;
    if (packed && SkinEdited && !nameAsSet_.empty() && fs::is_directory(NativePath(dir + nameAsSet_), ec))
        packed = false;
    if (packed) {
        LoadPackedFile(dir + packedName);
        return;
    }
    const std::string folder = dir + skinName_ + "\\";
    if (!skinName_.empty() && EditorText) {
        TEditorSkinSource source(folder, *EditorText);
        TsSkinTables t = LoadSkinTables(&source, Context());
        t.SkinData.SkinPath = folder;
        Install(std::move(t), false);
        return;
    }
    if (!skinName_.empty() && TFolderSkinSource(folder).OptionsText()) {
        LoadFolder(folder);
        return;
    }
    int index = InternalSkins.IndexOf(skinName_);
    if (index < 0 && InternalSkins.Count() > 0) index = 0;
    if (index < 0) {
        // Nothing to load from anywhere: the skin is switched off.
        active_ = false;
        Clear();
        return;
    }
    const TsStoredSkin& stored = InternalSkins.Items(static_cast<std::size_t>(index));
    const std::string previous = skinName_;
    skinName_ = stored.Name;
    try {
        LoadStoredData(stored.Data);
    } catch (...) {
        skinName_ = previous;
        throw;
    }
}

bool TsSkinModel::SetSkinName(const std::string& name) {
    const std::string previous = skinName_;
    skinName_ = name;
    nameAsSet_ = name;
    if (!active_ || DeferLoads) return true;
    if (skinName_.size() > 4 && UpperAscii(skinName_.substr(skinName_.size() - 4)) == ".ASZ")
        skinName_.resize(skinName_.size() - 4);
    try {
        Reload();
        return true;
    } catch (const std::exception& e) {
        skinName_ = previous;
        if (Env.ShowError) Env.ShowError(e.what());
        return false;
    }
}

void TsSkinModel::SetActive(bool active) {
    if (active == active_) return;
    if (!active) {
        active_ = false;
        Clear();
        return;
    }
    active_ = true;
    SetSkinName(skinName_);
}

void TsSkinModel::ReloadSkin() {
    if (active_ && !DeferLoads) Reload();
}

void TsSkinModel::SetHueOffset(std::int32_t value) {
    hueOffset_ = value;
    ReloadSkin();
}

void TsSkinModel::SetSaturation(std::int32_t value) {
    saturation_ = value;
    ReloadSkin();
}

void TsSkinModel::SetCommonSections(const std::vector<std::string>& lines) {
    commonSections_.clear();
    for (const std::string& line : lines)
        commonSections_.push_back(line.empty() || line[0] == ';' ? line : RemoveChar(line, ' '));
    SetSkinName(skinName_);
}

void TsSkinModel::GetSkinNames(std::vector<std::string>& list, TSkinListKind kind, std::string& first) const {
    first.clear();
    list.clear();
    for (std::size_t i = 0; i < InternalSkins.Count(); ++i) list.push_back(InternalSkins.Items(i).Name);
    if (!list.empty()) first = list.front();
    std::vector<std::string> found;
    const std::string dir = NativePath(ResolveSkinDirectory());
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.') continue;
        std::error_code e2;
        if (it->is_directory(e2)) {
            if (kind == slPackedFiles) continue;
            if (!FindEntryIgnoringCase(dir + "/" + name, "Options.dat").empty()) found.push_back(name);
        } else if (kind != slFolders && it->path().extension().string() == ".asz") {
            found.push_back(name.substr(0, name.find('.')));
        }
    }
    std::sort(found.begin(), found.end());
    if (first.empty() && !found.empty()) first = found.front();
    list.insert(list.end(), found.begin(), found.end());
}

std::string TsSkinModel::SkinInfo() const {
    if (!active_ || !tables_.SkinData.Active) return "N/A";
    return FloatToStr(tables_.SkinData.Version);
}

// ------------------------------------------------------------------ lookups

std::int32_t TsSkinModel::IndexOfSection(const std::string& name) const {
    for (std::size_t i = 0; i < tables_.Sections.size(); ++i)
        if (tables_.Sections[i].SectionName == name) return static_cast<std::int32_t>(i);
    return -1;
}

bool TsSkinModel::SectionIndexValid(std::int32_t index) const {
    return tables_.SkinData.Active && index >= 0 && index < static_cast<std::int32_t>(tables_.Sections.size());
}

bool TsSkinModel::MaskIndexValid(std::int32_t index) const {
    return index >= 0 && index < static_cast<std::int32_t>(tables_.Masks.size());
}

std::int32_t TsSkinModel::IndexOfMaskExact(const std::string& sectionName, const std::string& key) const {
    if (sectionName.empty()) return -1;
    for (std::size_t i = 0; i < tables_.Masks.size(); ++i)
        if (tables_.Masks[i].SectionName == sectionName && tables_.Masks[i].PropertyName == key)
            return static_cast<std::int32_t>(i);
    return -1;
}

// Looks in the section, then up its PARENTCLASS chain; the walk is bounded
// by the number of sections, so a chain that loops ends as "not found".
std::int32_t TsSkinModel::WalkUp(std::int32_t sectionIndex, const std::string& sectionName,
                                 const std::function<std::int32_t(const std::string&)>& find) const {
    if (sectionIndex < 0 || sectionName.empty()) return -1;
    std::string name = sectionName;
    std::int32_t index = sectionIndex;
    for (std::size_t step = 0; step <= tables_.Sections.size(); ++step) {
        const std::int32_t hit = find(name);
        if (hit >= 0) return hit;
        if (index < 0 || index >= static_cast<std::int32_t>(tables_.Sections.size())) return -1;
        const std::string& parent = tables_.Sections[static_cast<std::size_t>(index)].ParentClass;
        if (parent.empty() || parent == name) return -1;
        index = IndexOfSection(parent);
        if (index < 0) return -1;
        name = parent;
    }
    return -1;
}

std::int32_t TsSkinModel::IndexOfMask(std::int32_t sectionIndex, const std::string& sectionName,
                                      const std::string& key) const {
    return WalkUp(sectionIndex, sectionName, [&](const std::string& n) { return IndexOfMaskExact(n, key); });
}

std::int32_t TsSkinModel::IndexOfTexture(std::int32_t sectionIndex, const std::string& sectionName,
                                         const std::string& key) const {
    return WalkUp(sectionIndex, sectionName, [&](const std::string& n) {
        for (std::size_t i = 0; i < tables_.Masks.size(); ++i) {
            const TsMaskData& m = tables_.Masks[i];
            if (m.EntryKind == ekTexture && m.SectionName == n && m.PropertyName == key)
                return static_cast<std::int32_t>(i);
        }
        return -1;
    });
}

std::int32_t TsSkinModel::IndexOfPattern(std::int32_t sectionIndex, const std::string& sectionName,
                                         const std::string& key) const {
    if (tables_.Patterns.empty()) return -1;
    return WalkUp(sectionIndex, sectionName, [&](const std::string& n) {
        for (std::size_t i = 0; i < tables_.Patterns.size(); ++i)
            if (tables_.Patterns[i].SectionName == n && tables_.Patterns[i].PropertyName == key)
                return static_cast<std::int32_t>(i);
        return -1;
    });
}

std::int32_t TsSkinModel::MaskMarginLeft(std::int32_t index) {
    if (!MaskIndexValid(index)) return 0;
    TsMaskData& m = tables_.Masks[static_cast<std::size_t>(index)];
    if (m.MarginLeft > 0) return m.MarginLeft;
    if (m.CommonBorder >= 1) return m.CommonBorder;
    if (m.ColumnCount == 0) m.ColumnCount = 1;
    return ImageWidthOfMask(m);
}

std::int32_t TsSkinModel::MaskMarginTop(std::int32_t index) const {
    if (!MaskIndexValid(index)) return 0;
    const TsMaskData& m = tables_.Masks[static_cast<std::size_t>(index)];
    return m.MarginTop > 0 ? m.MarginTop : m.CommonBorder >= 1 ? m.CommonBorder : ImageHeightOfMask(m);
}

std::int32_t TsSkinModel::MaskMarginRight(std::int32_t index) const {
    if (!MaskIndexValid(index)) return 0;
    const TsMaskData& m = tables_.Masks[static_cast<std::size_t>(index)];
    return m.MarginRight > 0 ? m.MarginRight : m.CommonBorder >= 1 ? m.CommonBorder : ImageWidthOfMask(m);
}

std::int32_t TsSkinModel::MaskMarginBottom(std::int32_t index) const {
    if (!MaskIndexValid(index)) return 0;
    const TsMaskData& m = tables_.Masks[static_cast<std::size_t>(index)];
    return m.MarginBottom > 0 ? m.MarginBottom : m.CommonBorder >= 1 ? m.CommonBorder : ImageHeightOfMask(m);
}

TsColor TsSkinModel::GlobalInfoColor() const {
    const std::int32_t i = consts_.GlobalInfo;
    return ColorToRGB(SectionIndexValid(i) ? tables_.Sections[static_cast<std::size_t>(i)].Color : clBtnFace);
}

TsColor TsSkinModel::GlobalInfoHotColor() const {
    const std::int32_t i = consts_.GlobalInfo;
    return ColorToRGB(SectionIndexValid(i) ? tables_.Sections[static_cast<std::size_t>(i)].HotColor : clWindow);
}

TsColor TsSkinModel::GlobalInfoFontColor() const {
    const std::int32_t i = consts_.GlobalInfo;
    return SectionIndexValid(i) ? ColorToRGB(tables_.Sections[static_cast<std::size_t>(i)].FontColors[0]) : clFuchsia;
}

TsColor TsSkinModel::EditSectionFontColor() const {
    const std::int32_t i = IndexOfSection("EDIT");
    return SectionIndexValid(i) ? ColorToRGB(tables_.Sections[static_cast<std::size_t>(i)].Props[0].FontColors[0])
                                : clWindowText;
}

TsColor TsSkinModel::SelectionColor(bool focused) const {
    const std::int32_t i = IndexOfSection("SELECTION");
    TsColor c = kNoColor;
    if (SectionIndexValid(i)) {
        const TsGeneralData& s = tables_.Sections[static_cast<std::size_t>(i)];
        c = s.Props[focused && s.States > 1 ? 1 : 0].Color;
    }
    if (IsUsableColour(c)) return ColorToRGB(c);
    const std::int32_t m = IndexOfSection("MENUITEM");
    if (!SectionIndexValid(m)) return clHighlight;
    const TsColor hot = tables_.Sections[static_cast<std::size_t>(m)].HotColor;
    if (!IsUsableColour(hot) || hot == 0xFFFFFF) return clHighlight;
    return ColorToRGB(hot);
}

TsColor TsSkinModel::SelectionFontColor(bool focused) const {
    const std::int32_t i = IndexOfSection("SELECTION");
    TsColor c = kNoColor;
    if (SectionIndexValid(i)) {
        const TsGeneralData& s = tables_.Sections[static_cast<std::size_t>(i)];
        c = s.Props[focused && s.States > 1 ? 1 : 0].FontColors[0];
    }
    if (IsUsableColour(c)) return c;
    const std::int32_t m = IndexOfSection("MENUITEM");
    if (!SectionIndexValid(m)) return clHighlightText;
    const TsColor hot = tables_.Sections[static_cast<std::size_t>(m)].HotFontColors[0];
    if (!IsUsableColour(hot)) return clHighlightText;
    return ColorToRGB(hot);
}

namespace {
struct TBuiltInShadows {
    Bitmap32 Active, Inactive;
};
TBuiltInShadows& BuiltInShadows() {
    static TBuiltInShadows shadows;
    return shadows;
}
Bitmap32 Premultiplied(const Bitmap32& picture) {
    Bitmap32 out = picture.Clone();
    PremultiplyAlpha(out);
    return out;
}
}  // namespace

void SetBuiltInExtBorderShadows(Bitmap32 active, Bitmap32 inactive) {
    BuiltInShadows() = {std::move(active), std::move(inactive)};
}

void TsSkinModel::UpdateShadow() {
    shadow_ = TsExtBorderShadow{};
    if (!tables_.SkinData.Active || !ExtendedBorders) return;
    const std::int32_t i = consts_.ExBorder;
    if (!MaskIndexValid(i)) {
        shadow_.BuiltIn = true;
        shadow_.Active = Premultiplied(BuiltInShadows().Active);
        shadow_.Inactive = Premultiplied(BuiltInShadows().Inactive);
        shadow_.Left = shadow_.Top = shadow_.Right = shadow_.Bottom = 9;
        return;
    }
    const TsMaskData& m = tables_.Masks[static_cast<std::size_t>(i)];
    const Bitmap32* pic = m.Image ? m.Image.get() : tables_.MasterBitmap.get();
    const std::int32_t w = ImageWidthOfMask(m), h = ImageHeightOfMask(m);
    auto state = [&](int s) {
        Bitmap32 out(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) out.At(x, y) = pic->At(m.SourceRect.Left + s * w + x, m.SourceRect.Top + y);
        return out;
    };
    if (pic && w > 0 && h > 0) {
        shadow_.Active = state(0);
        shadow_.Inactive = m.ColumnCount > 1 ? state(1) : shadow_.Active.Clone();
    }
    const TsSkinData& d = tables_.SkinData;
    if (d.BorderMode != 0) {
        shadow_.Left = shadow_.Top = shadow_.Right = shadow_.Bottom = d.FormOffset;
    } else {
        shadow_.Left = m.MarginLeft - d.FormOffset;
        shadow_.Top = m.MarginTop - d.FormOffset;
        shadow_.Right = m.MarginRight - d.FormOffset;
        shadow_.Bottom = m.MarginBottom - d.FormOffset;
    }
}

void TsSkinModel::UpdateConstIndexes() {
    consts_ = TsConstIndexes{};
    // The shadow follows the indexes however this ends.
    const TScopeExit shadow([this] { UpdateShadow(); });
    if (!tables_.SkinData.Active) return;
    auto group = [this](const char* name, TsSectionConsts& g) {
        g.Section = IndexOfSection(name);
        g.Border = IndexOfMask(g.Section, name, "BORDERSMASK");
        g.Glyph = IndexOfMask(g.Section, name, "GLYPHMASK");
        g.Texture = IndexOfTexture(g.Section, name, "PATTERN");
        g.HotTexture = IndexOfTexture(g.Section, name, "HOTPATTERN");
    };
    consts_.GlobalInfo = IndexOfSection("GLOBALINFO");
    if (consts_.GlobalInfo >= 0) {
        auto g = [this](const char* key) { return IndexOfMask(consts_.GlobalInfo, "GLOBALINFO", key); };
        consts_.CheckBoxChecked = g("BOXCHECKED");
        consts_.CheckBoxUnchecked = g("BOXUNCHECKED");
        consts_.CheckBoxGrayed = g("BOXGRAYED");
        consts_.RadioButtonChecked = g("RADIOCHECKED");
        consts_.RadioButtonUnchecked = g("RADIOUNCHECKED");
        consts_.RadioButtonGrayed = g("RADIOGRAYED");
        consts_.SmallBoxChecked = g("SMALLCHECKED");
        consts_.SmallBoxUnchecked = g("SMALLUNCHECKED");
        consts_.SmallBoxGrayed = g("SMALLGRAYED");
        consts_.ExBorder = g("EXBORDER");
        consts_.GripImage = g("GRIPIMAGE");
        consts_.GripHorz = g("GRIPHORZ");
        consts_.GripVert = g("GRIPVERT");
        consts_.SmallArrowGlyph = g("SMALLARROW");
    }
    if (const std::int32_t d = IndexOfSection("DIALOG"); SectionIndexValid(d))
        consts_.DialogColor = ColorToRGB(tables_.Sections[static_cast<std::size_t>(d)].Props[0].Color) & 0xFFFFFF;
    group("COMBOBTN", consts_.ComboBtn);
    consts_.ComboBoxGlyph = IndexOfMask(IndexOfSection("COMBOBOX"), "COMBOBOX", "GLYPHMASK");
    const char* tabs[4] = {"TABTOP", "TABBOTTOM", "TABLEFT", "TABRIGHT"};
    const char* buttons[4] = {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"};
    for (int i = 0; i < 4; ++i) {
        group(tabs[i], consts_.Tabs[static_cast<std::size_t>(i)]);
        group(buttons[i], consts_.ScrollBtns[static_cast<std::size_t>(i)]);
    }
    group("SCROLLSLIDERV", consts_.ScrollSliderV);
    group("SCROLLSLIDERH", consts_.ScrollSliderH);
    group("SCROLLBAR1H", consts_.ScrollBar1H);
    group("SCROLLBAR1V", consts_.ScrollBar1V);
    group("SCROLLBAR2H", consts_.ScrollBar2H);
    group("SCROLLBAR2V", consts_.ScrollBar2V);
    consts_.WebButton = IndexOfSection("WEBBUTTON");
    for (std::size_t i = 0; i < tables_.Sections.size(); ++i) {
        TsGeneralData& s = tables_.Sections[i];
        if (s.SectionName == "GLOBALINFO") continue;
        const auto si = static_cast<std::int32_t>(i);
        s.BorderIndex = IndexOfMask(si, s.SectionName, "BORDERSMASK");
        s.ImgTopLeft = IndexOfMask(si, s.SectionName, "IMGTOPLEFT");
        s.ImgTopRight = IndexOfMask(si, s.SectionName, "IMGTOPRIGHT");
        s.ImgBottomLeft = IndexOfMask(si, s.SectionName, "IMGBTMLEFT");
        s.ImgBottomRight = IndexOfMask(si, s.SectionName, "IMGBTMRIGHT");
        s.TextureIndex = IndexOfTexture(si, s.SectionName, "PATTERN");
        s.PatternIndex = s.TextureIndex < 0 ? IndexOfPattern(si, s.SectionName, "PATTERN") : -1;
    }
}

}  // namespace kova::skin
