// Standard controls over the native ones: edit, memo, list box, check list
// box, combo box, button, check box, radio button, group box, label and
// static text.
#pragma once

#include "framework/controls.h"
#include "framework/portable/stringlist.h"

#include <string>
#include <vector>

namespace kova {

// The lines of a list, memo or combo box: a string list kept in the object
// and mirrored into the native control while it has a window. Assign works
// both ways with any TStringList.
class TItemList : public TStringList {
    KOVA_CLASS(TItemList, TStringList)
public:
    // The owner control mirrors the list into its window.
    struct Sink {
        virtual ~Sink() = default;
        virtual void ItemsInserted(int index, const std::string& s) = 0;
        virtual void ItemsDeleted(int index) = 0;
        virtual void ItemsCleared() = 0;
        virtual void ItemsReset() = 0;
    };
    void SetSink(Sink* s) { sink_ = s; }
    // Rebuilds from the window (memo text edited by the user).
    void LoadWithoutSink(const std::vector<std::string>& lines) { SetItemsQuietly(lines); }

protected:
    void ItemInserted(int index, const std::string& s) override {
        if (sink_) sink_->ItemsInserted(index, s);
    }
    void ItemDeleted(int index) override {
        if (sink_) sink_->ItemsDeleted(index);
    }
    void ItemChanged(int index, const std::string& s) override {
        if (sink_) {
            sink_->ItemsDeleted(index);
            sink_->ItemsInserted(index, s);
        }
    }
    void ListCleared() override {
        if (sink_) sink_->ItemsCleared();
    }
    void ListReset() override {
        if (sink_) sink_->ItemsReset();
    }

private:
    Sink* sink_ = nullptr;
};

class TCustomEdit : public TWinControl {
    KOVA_CLASS_PROPS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* AOwner);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v);
    void SelectAll();
    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;
    virtual void Change();
    bool readOnly_ = false;
    int maxLength_ = 0;

private:
    static void DefineProps(TPropList& L);
};

class TEdit : public TCustomEdit {
    KOVA_CLASS_PROPS(TEdit, TCustomEdit)
public:
    explicit TEdit(TComponent* AOwner);
    char PasswordChar() const { return passwordChar_; }
    void SetPasswordChar(char c);

protected:
    void CreateParams(TCreateParams& p) override;

private:
    static void DefineProps(TPropList& L);
    char passwordChar_ = 0;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TCustomEdit, private TItemList::Sink {
    KOVA_CLASS_PROPS(TMemo, TCustomEdit)
public:
    explicit TMemo(TComponent* AOwner);
    ~TMemo() override;
    // The lines; read back from the window when the user may have typed.
    TItemList* Lines();
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle s);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    // At most this many lines are kept (0: no cap); adding past it drops the
    // oldest lines, so a log memo can run for days.
    int MaxLines() const { return maxLines_; }
    void SetMaxLines(int n);
    // Appends a line, keeps the cap and scrolls to the end.
    void AppendLine(const std::string& line);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void Change() override;

private:
    static void DefineProps(TPropList& L);
    void ItemsInserted(int index, const std::string& s) override;
    void ItemsDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsReset() override;
    void PushText();
    void EnforceCap();
    TItemList lines_;
    TScrollStyle scrollBars_ = ssNone;
    bool wordWrap_ = true;
    int maxLines_ = 0;
    bool pushing_ = false;
    bool userEdited_ = false;
};

class TCustomListBox : public TWinControl, protected TItemList::Sink {
    KOVA_CLASS_PROPS(TCustomListBox, TWinControl)
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;
    TItemList* Items() { return &items_; }
    int ItemIndex() const;
    void SetItemIndex(int i);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool v) { sorted_ = v; }
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int h) { itemHeight_ = h; }

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;
    void ItemsInserted(int index, const std::string& s) override;
    void ItemsDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsReset() override;
    TItemList items_;
    int itemIndex_ = -1;
    bool sorted_ = false;
    int itemHeight_ = 16;

private:
    static void DefineProps(TPropList& L);
};

class TListBox : public TCustomListBox {
    KOVA_CLASS(TListBox, TCustomListBox)
public:
    using TCustomListBox::TCustomListBox;
};

// A list box with a check box per item (owner drawn).
class TCheckListBox : public TCustomListBox {
    KOVA_CLASS_PROPS(TCheckListBox, TCustomListBox)
public:
    explicit TCheckListBox(TComponent* AOwner);
    bool Checked(int i) const;
    void SetChecked(int i, bool v);
    TNotifyEvent OnClickCheck;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;
    void ItemsInserted(int index, const std::string& s) override;
    void ItemsDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsReset() override;

private:
    static void DefineProps(TPropList& L);
    void ToggleAt(int index);
    std::vector<bool> checked_;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl, private TItemList::Sink {
    KOVA_CLASS_PROPS(TComboBox, TWinControl)
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    TItemList* Items() { return &items_; }
    int ItemIndex() const;
    void SetItemIndex(int i);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle s);
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int n) { dropDownCount_ = n; }
    std::string Caption() const override;
    void SetCaption(const std::string& v) override;
    TNotifyEvent OnChange;
    TNotifyEvent OnSelect;

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    void ItemsInserted(int index, const std::string& s) override;
    void ItemsDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsReset() override;
    TItemList items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = csDropDown;
    int dropDownCount_ = 8;
};

class TButtonControl : public TWinControl {
    KOVA_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* AOwner);

protected:
    void HandleMessage(TMessage& m) override;
};

class TButton : public TButtonControl {
    KOVA_CLASS_PROPS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* AOwner);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int v) { modalResult_ = v; }
    bool Default() const { return default_; }
    void SetDefault(bool v) { default_ = v; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& p) override;

private:
    static void DefineProps(TPropList& L);
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};


// The picture of a button and where it goes beside the caption, shared by
// the push button and the speed button. Glyph is a strip of NumGlyphs
// images side by side (up, disabled, pressed, down; its bottom-left
// pixel's colour is transparent); Layout puts it left of, right of, above
// or below the caption, Spacing pixels apart; Margin is the glyph's
// distance from the edge Layout names (-1: glyph and caption centred
// together). NumGlyphs is held to 1..4 and Margin to -1 or more; a change
// repaints the button.
class TButtonGlyph {
public:
    explicit TButtonGlyph(TControl* button) : button_(button) {}
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    TBitmap* Glyph() { return &glyph_; }
    void SetGlyph(const TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);

protected:
    // The description properties of the above, for the DefineProps of a
    // button C that derives from this.
    template <class C>
    static void DefineGlyphProps(TPropsOf<C> props) {
        props.Int("NumGlyphs", &C::NumGlyphs, &C::SetNumGlyphs)
            .Enum("Layout", {"blGlyphLeft", "blGlyphRight", "blGlyphTop", "blGlyphBottom"}, &C::Layout, &C::SetLayout)
            .Int("Margin", &C::Margin, &C::SetMargin)
            .Int("Spacing", &C::Spacing, &C::SetSpacing)
            .Object("Glyph", [](C* b) -> TObject* { return b->Glyph(); })
            .Binary("Glyph", [](C* b, const std::vector<std::uint8_t>& data) { b->LoadGlyph(data); });
    }
    // Data is a BMP file, as pictures are stored.
    void LoadGlyph(const std::vector<std::uint8_t>& data);

    TBitmap glyph_;
    int numGlyphs_ = 1;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;

private:
    TControl* button_;
};

// A push button with a glyph beside its caption. Drawn by its owner, the
// native face with the first image.
class TBitBtn : public TButton, public TButtonGlyph {
    KOVA_CLASS_PROPS(TBitBtn, TButton)
public:
    explicit TBitBtn(TComponent* AOwner);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    void Draw(const DRAWITEMSTRUCT& d);
};

class TCheckBox : public TButtonControl {
    KOVA_CLASS_PROPS(TCheckBox, TButtonControl)
public:
    explicit TCheckBox(TComponent* AOwner);
    bool Checked() const;
    // Setting it runs OnClick, as a click does.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void Click() override;

private:
    static void DefineProps(TPropList& L);
    bool checked_ = false;
};

class TRadioButton : public TButtonControl {
    KOVA_CLASS_PROPS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* AOwner);
    bool Checked() const;
    // Checking one unchecks its siblings.
    void SetChecked(bool v);

protected:
    void CreateParams(TCreateParams& p) override;
    void CreateHandleDone() override;
    void Click() override;

private:
    static void DefineProps(TPropList& L);
    bool checked_ = false;
};

class TGroupBox : public TWinControl {
    KOVA_CLASS(TGroupBox, TWinControl)
public:
    explicit TGroupBox(TComponent* AOwner);
    RECT ClientRect() const override;

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TTextLayout { tlTop, tlCenter, tlBottom };

// A windowless text painted by its parent.
class TLabel : public TGraphicControl {
    KOVA_CLASS_PROPS(TLabel, TGraphicControl)
public:
    explicit TLabel(TComponent* AOwner);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout l);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    void SetCaption(const std::string& v) override;
    // Sizes the label to its text (when AutoSize).
    void AdjustBounds();
    void Loaded() override;

protected:
    void Paint() override;
    void HandleMessage(TMessage& m) override;
    // The text into r of the canvas with the label's DrawText flags (with
    // DT_CALCRECT r is measured); skinned labels draw it their own way.
    virtual void DrawLabelText(RECT& r, UINT flags);
    UINT TextFlags() const;

private:
    static void DefineProps(TPropList& L);
    bool autoSize_ = true;
    bool transparent_ = false;
    TAlignment alignment_ = taLeftJustify;
    TTextLayout layout_ = tlTop;
    bool wordWrap_ = false;
};

class TStaticText : public TWinControl {
    KOVA_CLASS_PROPS(TStaticText, TWinControl)
public:
    explicit TStaticText(TComponent* AOwner);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

protected:
    void CreateParams(TCreateParams& p) override;
    void HandleMessage(TMessage& m) override;

private:
    static void DefineProps(TPropList& L);
    TAlignment alignment_ = taLeftJustify;
};

}  // namespace kova
