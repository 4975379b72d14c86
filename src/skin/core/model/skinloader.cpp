#include "skin/core/model/skinloader.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "framework/portable/inifiles.h"
#include "framework/portable/numformat.h"
#include "skin/core/model/pictures.h"
#include "skin/core/portable/png.h"
#include "skin/core/portable/utils.h"

namespace kova::skin {

// ------------------------------------------------------------ small helpers

std::int32_t ImageWidthOfMask(const TsMaskData& m) {
    const auto columns = static_cast<std::uint16_t>(m.ColumnCount);
    const std::int32_t w = RectWidth(m.SourceRect);
    if (columns == 0) return 0;
    return columns == 1 ? w : w / columns;
}

std::int32_t ImageHeightOfMask(const TsMaskData& m) {
    const std::int32_t h = RectHeight(m.SourceRect);
    switch (m.RowMode) {
        case -1: return 0;
        case 0: return h;
        case 1: return h / 2;
        default: return m.RowMode < -1 ? 0 : h / (m.RowMode + 1);
    }
}

TsGradArray ParseGradient(const std::string& text) {
    TsGradArray g;
    if (text.empty()) return g;
    const TCharSet semicolon = CharSet(";");
    const int parts = CountWords(text, semicolon) / 5;
    for (int i = 0; i < parts; ++i) {
        TsGradPart p;
        p.Color1 = std::max(0, StrToInt(NthWord(5 * i + 1, text, semicolon)));
        p.Color2 = std::max(0, StrToInt(NthWord(5 * i + 2, text, semicolon)));
        p.Percent = static_cast<std::uint8_t>(std::clamp(StrToInt(NthWord(5 * i + 3, text, semicolon)), 0, 100));
        p.Mode = StrToInt(NthWord(5 * i + 4, text, semicolon));
        g.push_back(p);
    }
    return g;
}

bool SkinBool(const std::string& value) {
    const std::string u = UpperAscii(value);
    return u == "1" || u == "TRUE";
}

std::string OldVersionMessage(const std::string& skinName) {
    return "You are using an old version of the \"" + skinName +
           "\" skin. Please, update a skins to latest or ask the skin's author for an upgrade of the existing "
           "skin.\r\n\r\nThis notification occurs in design-time only for your information and will not occur "
           "in real-time.";
}

namespace {

constexpr const char* kGlobalInfo = "GLOBALINFO";

// ----------------------------------------------------------- the vocabulary

enum class Kind { String, Bool, Int, Color };

struct Value {
    std::string s;
    std::int64_t i = 0;
};

struct VocabKey {
    const char* key;
    Kind kind;
    const char* defText;    // String and Bool
    std::int64_t defValue;  // Int and Color
    bool hot;               // read only when STATES is above 1
    void (*set)(TsGeneralData&, const Value&);
    Value (*get)(const TsGeneralData&);
};

// The range of an Int key; keys not listed are no sizes and keep any value.
struct IntBounds {
    const char* key;
    std::int64_t low, high;
};
const IntBounds kIntBounds[] = {
    {"GLOW", 0, kMaxSkinPixels},
    {"GLOWMARGIN", -kMaxGlowMargin, kMaxGlowMargin},
    {"GSIZE", 0, 255},
    {"HGSIZE", 0, 255},
    {"TRANSPARENCY", 0, 100},
    {"HOTTRANSPARENCY", 0, 100},
    {"GRADIENTPERCENT", 0, 100},
    {"HOTGRADIENTPERCENT", 0, 100},
    {"IMAGEPERCENT", 0, 100},
    {"HOTIMAGEPERCENT", 0, 100},
    {"FADINGITERATIONS", 0, 100},
    {"STATES", 0, kMaxSkinStates},
};

std::int64_t Bounded(const char* key, std::int64_t v) {
    for (const IntBounds& b : kIntBounds)
        if (std::string_view(key) == b.key) return std::clamp(v, b.low, b.high);
    return v;
}

template <class T>
T Narrow(std::int64_t v) { return static_cast<T>(v); }

#define KOVA_INT(field) \
    [](TsGeneralData& d, const Value& v) { d.field = Narrow<std::remove_reference_t<decltype(d.field)>>(v.i); }, \
    [](const TsGeneralData& d) { return Value{"", static_cast<std::int64_t>(d.field)}; }
#define KOVA_BOOL(field) \
    [](TsGeneralData& d, const Value& v) { d.field = SkinBool(v.s); }, \
    [](const TsGeneralData& d) { return Value{d.field ? "1" : "0", d.field ? 1 : 0}; }
#define KOVA_STR(field) \
    [](TsGeneralData& d, const Value& v) { d.field = v.s; }, \
    [](const TsGeneralData& d) { return Value{d.field, 0}; }

const VocabKey kVocabulary[] = {
    {"PARENTCLASS", Kind::String, "", 0, false, KOVA_STR(ParentClass)},
    {"COLOR", Kind::Color, nullptr, 0xFFFFFF, false, KOVA_INT(Color)},
    {"RESERVEDBOOLEAN", Kind::Bool, "0", 0, false, KOVA_BOOL(ReservedBoolean)},
    {"GIVEOWNFONT", Kind::Bool, "0", 0, false, KOVA_BOOL(GiveOwnFont)},
    {"GLOW", Kind::Int, nullptr, 0, false, KOVA_INT(Glow)},
    {"GLOWMARGIN", Kind::Int, nullptr, 0, false, KOVA_INT(GlowMargin)},
    {"FONTCOLOR", Kind::Color, nullptr, 0, false, KOVA_INT(FontColors[0])},
    {"TCLEFT", Kind::Color, nullptr, -1, false, KOVA_INT(FontColors[1])},
    {"TCTOP", Kind::Color, nullptr, -1, false, KOVA_INT(FontColors[2])},
    {"TCRIGHT", Kind::Color, nullptr, -1, false, KOVA_INT(FontColors[3])},
    {"TCBOTTOM", Kind::Color, nullptr, -1, false, KOVA_INT(FontColors[4])},
    {"TRANSPARENCY", Kind::Int, nullptr, 0, false, KOVA_INT(Transparency)},
    {"GRADIENTPERCENT", Kind::Int, nullptr, 0, false, KOVA_INT(GradientPercent)},
    {"IMAGEPERCENT", Kind::Int, nullptr, 0, false, KOVA_INT(ImagePercent)},
    {"GRADIENTDATA", Kind::String, " ", 0, false, KOVA_STR(GradientData)},
    {"SHOWFOCUS", Kind::Bool, "0", 0, false, KOVA_BOOL(ShowFocus)},
    {"FADINGENABLED", Kind::Bool, "0", 0, false, KOVA_BOOL(FadingEnabled)},
    {"FADINGITERATIONS", Kind::Int, nullptr, 5, false, KOVA_INT(FadingIterations)},
    {"GCOL", Kind::Color, nullptr, 0xFFFFFF, false, KOVA_INT(GlowColor)},
    {"GSIZE", Kind::Int, nullptr, 0, false, KOVA_INT(GlowSize)},
    {"STATES", Kind::Int, nullptr, 4, false, KOVA_INT(States)},
    {"HOTFONTCOLOR", Kind::Color, nullptr, 0, true, KOVA_INT(HotFontColors[0])},
    {"HOTTCLEFT", Kind::Color, nullptr, -1, true, KOVA_INT(HotFontColors[1])},
    {"HOTTCTOP", Kind::Color, nullptr, -1, true, KOVA_INT(HotFontColors[2])},
    {"HOTTCRIGHT", Kind::Color, nullptr, -1, true, KOVA_INT(HotFontColors[3])},
    {"HOTTCBOTTOM", Kind::Color, nullptr, -1, true, KOVA_INT(HotFontColors[4])},
    {"HGCOL", Kind::Color, nullptr, 0xFFFFFF, false, KOVA_INT(HotGlowColor)},
    {"HGSIZE", Kind::Int, nullptr, 0, false, KOVA_INT(HotGlowSize)},
    {"HOTCOLOR", Kind::Color, nullptr, 0xFFFFFF, true, KOVA_INT(HotColor)},
    {"HOTTRANSPARENCY", Kind::Int, nullptr, 0, true, KOVA_INT(HotTransparency)},
    {"HOTGRADIENTPERCENT", Kind::Int, nullptr, 0, true, KOVA_INT(HotGradientPercent)},
    {"HOTGRADIENTDATA", Kind::String, "", 0, true, KOVA_STR(HotGradientData)},
    {"HOTIMAGEPERCENT", Kind::Int, nullptr, 0, true, KOVA_INT(HotImagePercent)},
};

#undef KOVA_INT
#undef KOVA_BOOL
#undef KOVA_STR

// Every value a section record takes goes through here.
void Store(const VocabKey& k, TsGeneralData& d, Value v) {
    if (k.kind == Kind::Int) v.i = Bounded(k.key, v.i);
    k.set(d, v);
}

const VocabKey* FindKey(const std::string& key) {
    for (const VocabKey& k : kVocabulary)
        if (key == k.key) return &k;
    return nullptr;
}

// Parses the gradients and fills the two states from the flat fields.
void FinishSection(TsGeneralData& d) {
    if (d.GradientData.size() > 1)
        d.GradientArray = ParseGradient(d.GradientData);
    else
        d.GradientPercent = 0;
    auto fill = [](TsGenState& s, TsColor color, const std::array<TsColor, 5>& fonts, std::int32_t gradPercent,
                   const std::string& gradData, const TsGradArray& grad, std::int32_t imagePercent,
                   TsColor glowColor, std::uint8_t glowSize, std::int32_t transparency) {
        s.Color = color;
        s.FontColors = fonts;
        s.GradientPercent = gradPercent;
        s.GradientData = gradData;
        s.GradientArray = grad;
        s.ImagePercent = imagePercent;
        s.GlowColor = glowColor;
        s.GlowSize = glowSize;
        s.Transparency = transparency;
    };
    fill(d.Props[0], d.Color, d.FontColors, d.GradientPercent, d.GradientData, d.GradientArray, d.ImagePercent,
         d.GlowColor, d.GlowSize, d.Transparency);
    if (d.States > 1) {
        if (d.HotGradientData.size() > 1)
            d.HotGradientArray = ParseGradient(d.HotGradientData);
        else
            d.HotGradientPercent = 0;
        fill(d.Props[1], d.HotColor, d.HotFontColors, d.HotGradientPercent, d.HotGradientData, d.HotGradientArray,
             d.HotImagePercent, d.HotGlowColor, d.HotGlowSize, d.HotTransparency);
    } else {
        d.Props[1] = d.Props[0];
    }
}

// Zeroes the hot fields that are read only for sections with a hot state.
void ClearHotFields(TsGeneralData& d) {
    for (const VocabKey& k : kVocabulary)
        if (k.hot) Store(k, d, Value{});
}

// ------------------------------------------------------------- the reader

class Loader {
public:
    Loader(const TSkinSource* source, const TSkinLoadContext& ctx) : source_(source), ctx_(ctx) {
        ini_.SetCaseSensitive(true);
        if (source_) {
            if (auto text = source_->OptionsText()) {
                ini_.SetText(*text);
                haveText_ = true;
            }
        }
        common_.SetCaseSensitive(true);
        std::string commonText;
        for (const std::string& line : ctx_.CommonSections) commonText += line + "\n";
        common_.SetText(commonText);
    }

    TsSkinTables Run() {
        if (haveText_) ReadGlobalInfo();
        LoadAllMasks();
        LoadAllPatterns();
        LoadAllGeneralData();
        AdjustHueAndSaturation();
        return std::move(t_);
    }

private:
    // Values of the inheritance chain, with the walk bounded by the number of
    // sections so that a PARENTCLASS loop ends as "not found".
    std::optional<std::string> InheritedString(const std::string& section, const std::string& key) const {
        std::string current = section;
        const std::size_t limit = ini_.ReadSections().size() + 1;
        for (std::size_t step = 0; step < limit; ++step) {
            const std::string v = ini_.ReadString(current, key, "?");
            if (v != "?") return v;
            const std::string parent = ini_.ReadString(current, "PARENTCLASS", "?");
            if (parent.empty() || parent == "?" || parent == current) return std::nullopt;
            current = parent;
        }
        Log("PARENTCLASS chain of " + section + " loops; " + key + " takes its default");
        return std::nullopt;
    }

    std::optional<std::int64_t> InheritedInt(const std::string& section, const std::string& key) const {
        const std::int32_t own = ini_.ReadInteger(section, key, -1);
        if (own != -1) return own;
        std::string current = section;
        const std::size_t limit = ini_.ReadSections().size() + 1;
        for (std::size_t step = 0; step < limit; ++step) {
            const std::string parent = ini_.ReadString(current, "PARENTCLASS", "?");
            if (parent.empty() || parent == "?" || parent == current) return std::nullopt;
            const std::int32_t v = ini_.ReadInteger(parent, key, -1);
            if (v != -1) return ToRGB(v);
            current = parent;
        }
        Log("PARENTCLASS chain of " + section + " loops; " + key + " takes its default");
        return std::nullopt;
    }

    TsColor ToRGB(TsColor c) const { return ctx_.ColorToRGB ? ctx_.ColorToRGB(c) : c; }
    void Log(const std::string& line) const {
        if (ctx_.Log) ctx_.Log(line);
    }

    Value ReadKey(const std::string& section, const VocabKey& k) const {
        if (k.kind == Kind::String || k.kind == Kind::Bool) {
            if (std::string(k.key) == "PARENTCLASS") return Value{ini_.ReadString(section, k.key, ""), 0};
            const auto v = InheritedString(section, k.key);
            return Value{v ? *v : k.defText, 0};
        }
        const auto v = InheritedInt(section, k.key);
        if (v) return Value{"", *v};
        return Value{"", k.kind == Kind::Color ? ToRGB(static_cast<TsColor>(k.defValue)) : k.defValue};
    }

    TsGeneralData ReadSectionRecord(const std::string& name) const {
        TsGeneralData d;
        d.SectionName = name;
        const VocabKey& states = *FindKey("STATES");  // decides whether the hot keys are read
        Store(states, d, ReadKey(name, states));
        for (const VocabKey& k : kVocabulary) {
            if (k.hot && d.States <= 1) continue;
            Store(k, d, ReadKey(name, k));
        }
        FinishSection(d);
        return d;
    }

    // ------------------------------------------------------------ GLOBALINFO
    void ReadGlobalInfo() {
        TsSkinData& s = t_.SkinData;
        // Sizes are bounded as they are read (and before they are narrowed
        // to 16 bits, which would wrap a large value into a plausible one).
        constexpr std::int32_t px = kMaxSkinPixels, gm = kMaxGlowMargin;
        auto i16 = [this](const char* key, std::int32_t def, std::int32_t low, std::int32_t high) {
            return static_cast<std::int16_t>(std::clamp(ini_.ReadInteger(kGlobalInfo, key, def), low, high));
        };
        auto strict = [this](const char* key, const char* def, std::int32_t low, std::int32_t high) {
            return static_cast<std::int16_t>(std::clamp(StrToInt(ini_.ReadString(kGlobalInfo, key, def)), low, high));
        };
        s.Version = ini_.ReadFloat(kGlobalInfo, "VERSION", 0);
        s.Author = ini_.ReadString(kGlobalInfo, "AUTHOR", "");
        s.Description = ini_.ReadString(kGlobalInfo, "DESCRIPTION", "");
        s.BorderWidth = i16("BORDERWIDTH", 4, 0, px);
        s.TitleHeight = i16("TITLEHEIGHT", 30, 0, px);
        s.MaxHeight = i16("MAXHEIGHT", 0, 0, px);
        if (s.MaxHeight == 0) s.MaxHeight = s.TitleHeight;
        s.FormOffset = i16("FORMOFFSET", ctx_.FrameWidth, -px, px);
        s.AlignOffset = i16("ALIGNOFFSET", 0, -px, px);
        s.CenterOffset = i16("CENTEROFFSET", 0, -px, px);
        s.BorderMode = i16("BORDERMODE", 0, INT16_MIN, INT16_MAX);
        s.Shadow1Color = ini_.ReadInteger(kGlobalInfo, "SHADOW1COLOR", 0);
        s.Shadow1Offset = strict("SHADOW1OFFSET", "0", -px, px);
        s.Shadow1Blur = strict("SHADOW1BLUR", "-1", -1, px);
        s.Shadow1Transparency = strict("SHADOW1TRANSPARENCY", "0", 0, 100);
        s.BISpacing = i16("BISPACE", 0, -px, px);
        s.BIVAlign = i16("BIVALIGN", 0, INT16_MIN, INT16_MAX);
        s.BIRightMargin = i16("BIRIGHT", 0, -px, px);
        s.BILeftMargin = i16("BILEFT", 0, -px, px);
        s.BITopMargin = i16("BITOP", 0, -px, px);
        s.BorderColor = ini_.ReadInteger(kGlobalInfo, "BORDERCOLOR", 0);
        s.BIKeepHUE = i16("BIKEEPHUE", 0, INT16_MIN, INT16_MAX);
        s.BICloseGlow = strict("BICONCLOSEGLOW", "0", 0, px);
        s.BICloseGlowMargin = strict("BICONCLOSEGLOWMARGIN", "0", -gm, gm);
        s.BIMaxGlow = strict("BICONMAXGLOW", "0", 0, px);
        s.BIMaxGlowMargin = strict("BICONMAXGLOWMARGIN", "0", -gm, gm);
        s.BIMinGlow = strict("BICONMINGLOW", "0", 0, px);
        s.BIMinGlowMargin = strict("BICONMINGLOWMARGIN", "0", -gm, gm);
        s.AeroBlur = ini_.ReadInteger(kGlobalInfo, "AEROBLUR", 0) != 0;
        s.SkinMenus = ini_.ReadInteger(kGlobalInfo, "SKINMENUS", 1) != 0;
        s.ExtShadow = ini_.ReadInteger(kGlobalInfo, "EXTSHADOW", 0);
        s.MasterBitmapName = ini_.ReadString(kGlobalInfo, "MASTERBITMAP", "");
        // Version notices: newer skins load anyway; old ones are told only
        // where somebody can act on it.
        if (s.Version >= 7.0 && s.Version > 7.99) {
            if (ctx_.Warn) ctx_.Warn(kNewerVersionMessage);
        } else if (s.Version < 7.0 && ctx_.ShowOldVersionNotice) {
            if (ctx_.Warn) ctx_.Warn(OldVersionMessage(ctx_.SkinName));
        }
    }

    // ----------------------------------------------------------- pictures
    std::shared_ptr<Bitmap32> ReadPicture(const std::string& name, int* bitsPerPixel = nullptr) const {
        std::vector<std::uint8_t> bytes;
        if (!source_ || !source_->ReadPicture(name, bytes)) return nullptr;
        try {
            TDecodedPicture p = DecodePicture(bytes);
            if (p.Pixels.Empty()) return nullptr;
            if (bitsPerPixel) *bitsPerPixel = p.BitsPerPixel;
            return std::make_shared<Bitmap32>(std::move(p.Pixels));
        } catch (const std::exception& e) {
            Log("Picture " + name + " not read: " + e.what());
            return nullptr;
        }
    }

    // ------------------------------------------------------------- masks
    void SetThirds(TsMaskData& m) const {
        if (m.MarginLeft != 0 || m.MarginTop != 0 || m.MarginRight != 0 || m.MarginBottom != 0) return;
        if (m.CommonBorder != 0) {
            m.MarginLeft = m.MarginTop = m.MarginRight = m.MarginBottom = m.CommonBorder;
            return;
        }
        const std::int32_t w = ImageWidthOfMask(m), h = ImageHeightOfMask(m);
        m.MarginLeft = m.MarginRight = static_cast<std::int16_t>(w / 3);
        m.MarginTop = m.MarginBottom = static_cast<std::int16_t>(h / 3);
    }

    void SetCornerKind(TsMaskData& m) const {
        if (m.SectionName == "BUTTON_HUGE" && m.PropertyName == "BORDERSMASK") {
            m.CornerKind = 2;
            return;
        }
        m.CornerKind = 0;
        const Bitmap32* pic = m.Image ? m.Image.get() : t_.MasterBitmap.get();
        if (!pic || pic->Empty()) return;
        const int x0 = m.SourceRect.Left, y0 = m.SourceRect.Top;
        const int w = ImageWidthOfMask(m), h = ImageHeightOfMask(m);
        const int maxX = pic->Width() - 1, maxY = pic->Height() - 1;
        auto scan = [&](int xa, int xb, int ya, int yb) {
            xb = std::min(xb, maxX);
            yb = std::min(yb, maxY);
            for (int y = std::max(ya, 0); y < yb; ++y)
                for (int x = std::max(xa, 0); x < xb; ++x)
                    if (IsKeyColour(pic->At(x, y))) return true;
            return false;
        };
        const int l0 = x0, l1 = x0 + m.MarginLeft, r0 = x0 + w - m.MarginRight, r1 = x0 + w;
        const int t0 = y0, t1 = y0 + m.MarginTop, b0 = y0 + h - m.MarginBottom, b1 = y0 + h;
        if (scan(l0, l1, t0, t1) || scan(r0, r1, t0, t1) || scan(l0, l1, b0, b1) || scan(r0, r1, b0, b1))
            m.CornerKind = 1;
    }

    // An entry is kept only when every part that painters read lies in its
    // picture; anything else is dropped here, with the reason in the log.
    bool Acceptable(const TsMaskData& m) const {
        const std::string where = m.SectionName + "." + m.PropertyName;
        const Bitmap32* pic = m.Image ? m.Image.get() : t_.MasterBitmap.get();
        if (!pic || pic->Empty()) {
            Log("Skin entry " + where + " dropped: no master bitmap");
            return false;
        }
        const TRect& r = m.SourceRect;
        if (!(m.Image && r == TRect{})) {
            if (r.Left < 0 || r.Top < 0 || r.Right > pic->Width() || r.Bottom > pic->Height() || r.Right <= r.Left ||
                r.Bottom <= r.Top) {
                Log("Skin entry " + where + " dropped: rectangle " + std::to_string(r.Left) + "," +
                    std::to_string(r.Top) + "," + std::to_string(r.Right) + "," + std::to_string(r.Bottom) +
                    " outside its " + std::to_string(pic->Width()) + "x" + std::to_string(pic->Height()) + " picture");
                return false;
            }
        }
        if (m.ColumnCount < 0 || m.RowMode < -1) {
            Log("Skin entry " + where + " dropped: negative column or row count");
            return false;
        }
        if (m.RowMode == 1 && RectHeight(r) < 2 && !(m.Image && r == TRect{})) {
            Log("Skin entry " + where + " dropped: no room for the mask half");
            return false;
        }
        if (m.EntryKind == ekMask) {
            const std::int32_t w = ImageWidthOfMask(m), h = ImageHeightOfMask(m);
            if (m.MarginLeft < 0 || m.MarginTop < 0 || m.MarginRight < 0 || m.MarginBottom < 0 ||
                m.MarginLeft + m.MarginRight > w || m.MarginTop + m.MarginBottom > h) {
                Log("Skin entry " + where + " dropped: margins larger than its state image");
                return false;
            }
        }
        return true;
    }

    static std::int16_t Field(const std::string& v, std::size_t pos1, std::size_t len) {
        const std::string part = pos1 - 1 < v.size() ? v.substr(pos1 - 1, len) : std::string();
        return static_cast<std::int16_t>(StrToInt(part));
    }
    static std::int16_t Loose(const std::string& s) { return static_cast<std::int16_t>(StrToIntDef(s, 0)); }
    // The leading integer of a word ("0," reads 0); 0 when there is none.
    static std::int16_t Leading(const std::string& s) {
        std::size_t i = 0;
        while (i < s.size() && s[i] == ' ') ++i;
        std::size_t j = i;
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j;
        return Loose(s.substr(i, j - i));
    }
    static TRect MasterRect(const std::string& v) {
        return {Field(v, 2, 4), Field(v, 7, 4), Field(v, 12, 4), Field(v, 17, 4)};
    }

    // One value of the description as an image entry; nullopt when it is none.
    std::optional<TsMaskData> ParseEntry(const std::string& section, const std::string& key,
                                         const std::string& value) const {
        TsMaskData m;
        m.SectionName = section;
        m.PropertyName = key;
        m.Owner = ctx_.Owner;
        switch (value[0]) {
            case '~':
                m.EntryKind = ekTexture;
                m.SourceRect = MasterRect(value);
                m.ColumnCount = 1;
                m.DrawMode = Field(value, 22, 2);
                m.RowMode = value.size() > 24 ? Field(value, 25, 1) : 0;
                return m;
            case '@':
                m.EntryKind = ekGlyph;
                m.SourceRect = MasterRect(value);
                m.ColumnCount = Field(value, 22, 1);
                m.RowMode = Field(value, 24, 1);
                return m;
            case '^': {
                m.EntryKind = ekMask;
                m.SourceRect = MasterRect(value);
                m.MarginLeft = Field(value, 22, 4);
                m.MarginTop = Field(value, 27, 4);
                m.MarginRight = Field(value, 32, 4);
                m.MarginBottom = Field(value, 37, 4);
                m.ColumnCount = Field(value, 42, 1);
                m.RowMode = Field(value, 44, 1);
                m.DrawMode = Field(value, 46, 1);
                m.CommonBorder = Field(value, 48, 1);
                if (t_.SkinData.Version < 7.4 && m.RowMode > 0) {
                    // Old skins flag a one-pixel centre piece in bit 0.
                    const bool onePixel = ImageWidthOfMask(m) - m.MarginLeft - m.MarginRight == 1 &&
                                          ImageHeightOfMask(m) - m.MarginTop - m.MarginBottom == 1;
                    m.DrawMode = static_cast<std::int16_t>(onePixel ? (m.DrawMode | 1) : (m.DrawMode & ~1));
                }
                SetThirds(m);
                SetCornerKind(m);
                return m;
            }
            case '!': {
                const TCharSet bang = CharSet("!");
                const std::string file = NthWord(1, value, bang);
                if (file.find(".BMP") == std::string::npos && file.find(".PNG") == std::string::npos)
                    return std::nullopt;
                const bool png = file.find(".PNG") != std::string::npos;
                int bits = 0;
                m.Image = ReadPicture(file, &bits);
                if (!m.Image) {
                    Log("Skin entry " + section + "." + key + " skipped: picture " + file + " missing");
                    return std::nullopt;
                }
                if (png) {
                    if (t_.SkinData.Version <= 7.45)
                        ClearWhiteTransparent(*m.Image);
                    else
                        PremultiplyAlpha(*m.Image);
                }
                m.SourceRect = {0, 0, m.Image->Width(), m.Image->Height()};
                const int words = CountWords(value, bang);
                m.ColumnCount = Loose(NthWord(2, value, bang));
                m.RowMode = Loose(NthWord(3, value, bang));
                m.EntryKind = static_cast<std::uint8_t>(std::clamp<int>(Loose(NthWord(4, value, bang)), 0, 4));
                if (words > 4) {
                    m.MarginLeft = Loose(NthWord(5, value, bang));
                    m.MarginTop = Loose(NthWord(6, value, bang));
                    m.MarginRight = Loose(NthWord(7, value, bang));
                    m.MarginBottom = Loose(NthWord(8, value, bang));
                } else {
                    SetThirds(m);
                }
                m.DrawMode = words > 8 ? Loose(NthWord(9, value, bang)) : 1;
                if (m.EntryKind == ekMask) SetCornerKind(m);
                return m;
            }
            default: break;
        }
        if (value.find('#') != std::string::npos && value != "#") {
            // The older layout: name (left,top,right,bottom) (columns,rows,border,drawmode)
            const TCharSet outer = CharSet(" ()"), blanks = CharSet(" "), blanksCommas = CharSet(" ,");
            const std::string rect = NthWord(2, value, outer);
            const std::string counts = NthWord(3, value, outer);
            m.EntryKind = ekMask;
            m.SectionName = UpperAscii(section);
            m.PropertyName = UpperAscii(key);
            m.SourceRect = {Leading(NthWord(1, rect, blanks)), Leading(NthWord(2, rect, blanksCommas)),
                            Leading(NthWord(3, rect, blanksCommas)), Leading(NthWord(4, rect, blanksCommas))};
            m.ColumnCount = std::max<std::int16_t>(1, Loose(NthWord(1, counts, blanksCommas)));
            m.RowMode = std::max<std::int16_t>(0, Loose(NthWord(2, counts, blanksCommas)));
            const std::string border = NthWord(3, counts, blanksCommas);
            const std::string draw = NthWord(4, counts, blanksCommas);
            m.CommonBorder = border.empty() ? 0 : std::max<std::int16_t>(0, static_cast<std::int16_t>(StrToInt(border)));
            m.DrawMode = draw.empty() ? 1 : static_cast<std::int16_t>(StrToInt(draw));
            SetThirds(m);
            SetCornerKind(m);
            return m;
        }
        const std::string upper = UpperAscii(value);
        if (upper.find(".BMP") != std::string::npos) {
            m.Image = ReadPicture(upper);
            if (!m.Image) {
                Log("Skin entry " + section + "." + key + " skipped: picture " + value + " missing");
                return std::nullopt;
            }
            for (int y = 0; y < m.Image->Height(); ++y)
                for (int x = 0; x < m.Image->Width(); ++x) m.Image->At(x, y) |= 0xFF000000u;
            m.SourceRect = {0, 0, m.Image->Width(), m.Image->Height()};
            m.EntryKind = ekMask;
            m.ColumnCount = 3;
            m.RowMode = 1;
            m.SectionName = UpperAscii(section);
            m.PropertyName = UpperAscii(key);
            SetThirds(m);
            SetCornerKind(m);
            return m;
        }
        return std::nullopt;
    }

    void AddMasksOf(const TMemIniFile& ini, bool skinText) {
        for (const std::string& section : ini.ReadSections()) {
            for (const std::string& key : ini.ReadSection(section)) {
                if (skinText && section == kGlobalInfo && key == "MASTERBITMAP") continue;
                const std::string value = ini.ReadString(section, key, "");
                if (value.empty()) continue;
                std::optional<TsMaskData> m = ParseEntry(section, key, value);
                if (m && Acceptable(*m)) t_.Masks.push_back(std::move(*m));
            }
        }
    }

    void LoadAllMasks() {
        if (haveText_ && !t_.SkinData.MasterBitmapName.empty()) {
            t_.MasterBitmap = ReadPicture(t_.SkinData.MasterBitmapName);
            if (!t_.MasterBitmap) Log("Master bitmap " + t_.SkinData.MasterBitmapName + " missing");
        }
        if (haveText_) AddMasksOf(ini_, true);
        AddMasksOf(common_, false);
    }

    // ---------------------------------------------------------- textures
    void AddPatternsOf(const TMemIniFile& ini) {
        for (const std::string& section : ini.ReadSections()) {
            for (const std::string& key : ini.ReadSection(section)) {
                const std::string value = ini.ReadString(section, key, "-");
                const std::string upper = UpperAscii(value);
                if (upper.find(".JPG") == std::string::npos && upper.find(".JPEG") == std::string::npos) continue;
                std::shared_ptr<Bitmap32> pic = ReadPicture(upper);
                if (!pic) continue;
                if (std::int64_t{pic->Width()} * pic->Height() < kLargeTexturePixels) {
                    TsMaskData m;
                    m.Image = std::move(pic);
                    m.EntryKind = ekTexture;
                    m.ColumnCount = 1;
                    m.Owner = ctx_.Owner;
                    m.SectionName = UpperAscii(section);
                    m.PropertyName = UpperAscii(key);
                    t_.Masks.push_back(std::move(m));
                } else {
                    t_.Patterns.push_back({std::move(pic), UpperAscii(section), UpperAscii(key)});
                }
            }
        }
    }

    void LoadAllPatterns() {
        if (haveText_) AddPatternsOf(ini_);
        AddPatternsOf(common_);
    }

    // ---------------------------------------------------------- sections
    void LoadAllGeneralData() {
        if (haveText_)
            for (const std::string& name : ini_.ReadSections()) t_.Sections.push_back(ReadSectionRecord(name));
        for (const std::string& name : common_.ReadSections()) MergeCommonSection(name);
    }

    void MergeCommonSection(const std::string& name) {
        const std::string parentName = UpperAscii(common_.ReadString(name, "PARENTCLASS", "-1"));
        const TsGeneralData* parent = nullptr;
        for (const TsGeneralData& s : t_.Sections)
            if (UpperAscii(s.SectionName) == parentName) {
                parent = &s;
                break;
            }
        TsGeneralData d;
        d.SectionName = name;
        for (const VocabKey& k : kVocabulary) {
            Value v;
            if (common_.ValueExists(name, k.key)) {
                if (k.kind == Kind::String || k.kind == Kind::Bool)
                    v.s = common_.ReadString(name, k.key, "");
                else
                    v.i = common_.ReadInteger(name, k.key, 0);
            } else if (parent) {
                v = k.get(*parent);
            } else if (k.kind == Kind::String || k.kind == Kind::Bool) {
                v.s = k.defText;
            } else {
                v.i = std::string(k.key) == "STATES" ? 3 : k.defValue;
            }
            Store(k, d, v);
        }
        // Whether the hot state is its own is decided by the skin's STATES.
        const auto states = InheritedInt(name, "STATES");
        d.States = static_cast<std::int32_t>(Bounded("STATES", states ? *states : 4));
        if (d.States <= 1) ClearHotFields(d);
        FinishSection(d);
        auto same = std::find_if(t_.Sections.begin(), t_.Sections.end(),
                                 [&](const TsGeneralData& s) { return s.SectionName == name; });
        if (same != t_.Sections.end())
            *same = std::move(d);
        else
            t_.Sections.push_back(std::move(d));
    }

    // --------------------------------------------------- hue and saturation
    template <class F>
    void ForEachColour(F f) {
        auto one = [&f](TsColor& c, bool keepNone) {
            if (keepNone && c == kNoColor) return;
            c = f(c);
        };
        auto grads = [&one](TsGradArray& g) {
            for (TsGradPart& p : g) {
                one(p.Color1, false);
                one(p.Color2, false);
            }
        };
        for (TsGeneralData& d : t_.Sections) {
            for (TsGenState& s : d.Props) {
                one(s.Color, true);
                for (TsColor& c : s.FontColors) one(c, true);
                one(s.GlowColor, false);
                grads(s.GradientArray);
            }
            one(d.Color, true);
            one(d.HotColor, true);
            for (TsColor& c : d.FontColors) one(c, true);
            for (TsColor& c : d.HotFontColors) one(c, true);
            one(d.GlowColor, false);
            one(d.HotGlowColor, false);
            grads(d.GradientArray);
            grads(d.HotGradientArray);
        }
        one(t_.SkinData.Shadow1Color, false);
        one(t_.SkinData.BorderColor, false);
    }

    void AdjustHueAndSaturation() {
        if (ctx_.HueOffset != 0) {
            const int delta = ctx_.HueOffset;
            // Title icons that keep their hue: their areas of the master
            // bitmap are put back after the shift, and own pictures skipped.
            std::vector<std::string> keep;
            if (t_.SkinData.BIKeepHUE != 0) keep = {"BICONCLOSE", "SICONCLOSE"};
            if (t_.SkinData.BIKeepHUE == 1)
                for (const char* k : {"BICONMAX", "BICONMIN", "BICONNORM", "BICONHELP", "SICONMAX", "SICONMIN", "SICONNORM"})
                    keep.push_back(k);
            std::vector<bool> kept(t_.Masks.size(), false);
            std::vector<std::pair<TRect, Bitmap32>> saved;
            for (std::size_t i = 0; i < t_.Masks.size(); ++i) {
                const TsMaskData& m = t_.Masks[i];
                if (m.SectionName != kGlobalInfo) continue;
                for (const std::string& k : keep) {
                    if (m.PropertyName != k && m.PropertyName != k + "GLOW" && m.PropertyName != k + "0") continue;
                    kept[i] = true;
                    if (!m.Image && t_.MasterBitmap) {
                        const TRect r = m.SourceRect;
                        Bitmap32 area(RectWidth(r), RectHeight(r));
                        for (int y = 0; y < area.Height(); ++y)
                            for (int x = 0; x < area.Width(); ++x) area.At(x, y) = t_.MasterBitmap->At(r.Left + x, r.Top + y);
                        saved.emplace_back(r, std::move(area));
                    }
                }
            }
            if (t_.MasterBitmap) {
                ChangeBitmapHue(t_.MasterBitmap.get(), delta);
                for (const auto& [r, area] : saved)
                    for (int y = 0; y < area.Height(); ++y)
                        for (int x = 0; x < area.Width(); ++x) t_.MasterBitmap->At(r.Left + x, r.Top + y) = area.At(x, y);
            }
            for (std::size_t i = 0; i < t_.Masks.size(); ++i)
                if (t_.Masks[i].Image && !kept[i]) ChangeBitmapHue(t_.Masks[i].Image.get(), delta);
            ForEachColour([delta](TsColor c) {
                return static_cast<TsColor>(ChangeColorHue(delta, static_cast<TColor>(c)) & 0xFFFFFF);
            });
        }
        if (ctx_.Saturation != 0) {
            const int s = ctx_.Saturation % 101;
            if (t_.MasterBitmap) ChangeBitmapSaturation(t_.MasterBitmap.get(), s);
            for (TsMaskData& m : t_.Masks)
                if (m.Image) ChangeBitmapSaturation(m.Image.get(), s);
            ForEachColour([s](TsColor c) {
                return static_cast<TsColor>(ChangeColorSaturation(s, static_cast<TColor>(c)) & 0xFFFFFF);
            });
        }
    }

    const TSkinSource* source_;
    const TSkinLoadContext& ctx_;
    TMemIniFile ini_;
    TMemIniFile common_;
    bool haveText_ = false;
    TsSkinTables t_;
};

}  // namespace

TsSkinTables LoadSkinTables(const TSkinSource* source, const TSkinLoadContext& context) {
    return Loader(source, context).Run();
}

std::vector<std::string> SectionKeys() {
    std::vector<std::string> keys;
    for (const VocabKey& k : kVocabulary) keys.emplace_back(k.key);
    return keys;
}

std::string SectionValueText(const TsGeneralData& section, const std::string& key) {
    const VocabKey* k = FindKey(key);
    if (!k) return "";
    const Value v = k->get(section);
    return k->kind == Kind::String || k->kind == Kind::Bool ? v.s : std::to_string(v.i);
}

}  // namespace kova::skin
