// The skinned menus follow the manager's SkinnedPopups when it changes
// while the program runs: every form's popup menus and main-menu
// sub-items are hooked again (or let go); and a popup item drawn where no
// popup window shows it still gets the menu's picture, at the size the
// menu's items ask for.
#include "skin/forms/skinmenus.h"

#include <gtest/gtest.h>

#include <string>

#include "common/win32_testing.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "skin/core/model/internalskins.h"
#include "skin/core/skinmanager.h"
#include "skin/core/skinservices.h"

namespace kova::skin::test {
namespace {

TMenuItem* AddItem(TMenuItem* parent, TComponent* owner, const std::string& caption) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    parent->Add(item);
    return item;
}

// A default manager on the internal skin with its menu painter active.
struct TLinenMenus {
    TLinenMenus() {
        m = new TsSkinManager(nullptr);
        AddInternalSkins(m->Model().InternalSkins);
        m->SetSkinName("Linen (internal)");
        painter = SkinableMenus(m);
        painter->UpdateFromSkin();
    }
    ~TLinenMenus() {
        m->Free();
        ResetSkinServices();
    }
    TsSkinManager* m = nullptr;
    TsSkinableMenus* painter = nullptr;
};

TEST(SkinnedMenuHooks, SwitchingSkinnedPopupsHooksEveryFormsMenusAgain) {
    TForm* form = TCustomForm::Create<TForm>(Application());
    auto* popup = new TPopupMenu(form);
    TMenuItem* popupItem = AddItem(popup->Items(), form, "Open");
    auto* main = new TMainMenu(form);
    TMenuItem* top = AddItem(main->Items(), form, "File");
    TMenuItem* sub = AddItem(top, form, "Close");
    TLinenMenus linen;
    TsSkinManager* m = linen.m;
    TsSkinableMenus* painter = linen.painter;
    ASSERT_TRUE(painter->Active());
    ASSERT_TRUE(m->SkinnedPopups());
    auto hooked = [&](TMenuItem* item) { return item->OnAdvancedDrawItem.Installer == painter; };
    EXPECT_TRUE(popup->OwnerDraw);
    EXPECT_TRUE(hooked(popupItem));
    EXPECT_TRUE(hooked(sub));

    m->SetSkinnedPopups(false);
    EXPECT_FALSE(popup->OwnerDraw);
    EXPECT_FALSE(hooked(popupItem));
    EXPECT_FALSE(hooked(sub));
    // The bar itself stays on the skinned menu line.
    EXPECT_TRUE(main->OwnerDraw);
    EXPECT_TRUE(hooked(top));

    m->SetSkinnedPopups(true);
    EXPECT_TRUE(popup->OwnerDraw);
    EXPECT_TRUE(hooked(popupItem));
    EXPECT_TRUE(hooked(sub));
    form->Free();
}

TEST(SkinnedMenuHooks, AnItemDrawnWithoutAPopupWindowGetsTheMenusPictureAtItsMeasuredSize) {
    TLinenMenus linen;
    TsSkinableMenus* painter = linen.painter;
    ASSERT_TRUE(painter->Active());
    TForm* form = TCustomForm::Create<TForm>(Application());
    auto* popup = new TPopupMenu(form);
    TMenuItem* first = AddItem(popup->Items(), form, "A rather long first item");
    AddItem(popup->Items(), form, "-");
    AddItem(popup->Items(), form, "Last");
    painter->SetMenuSkinned(popup, true);
    ClearMenuCache();
    int w = 0, h = 0;
    painter->MeasurePopupItem(first, nullptr, w, h);
    EXPECT_EQ(painter->MenuWidth(first), w) << "the widest item";
    EXPECT_GT(painter->ColumnHeight(first), h);

    TBitmap target(w, h);
    target.Pixels().Fill(0xFF123456u);
    painter->DrawPopupItem(first, target.Canvas(), RECT{0, 0, w, h}, 0);
    ASSERT_EQ(MenuCacheCount(), 1);
    TacMenuCacheRecord record;
    ASSERT_TRUE(GetMenuCacheItem(first, false, record, nullptr));
    ASSERT_NE(record.Bmp, nullptr);
    EXPECT_EQ(record.Wnd, nullptr);
    EXPECT_EQ(record.Bmp->Width(), painter->MenuWidth(first) + 2 * painter->BorderWidth);
    EXPECT_EQ(record.Bmp->Height(), painter->ColumnHeight(first) + 2 * painter->BorderWidth);
    GdiFlush();
    int untouched = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) untouched += (target.Pixels().At(x, y) & 0xFFFFFF) == 0x123456;
    EXPECT_EQ(untouched, 0);
    ClearMenuCache();
    kova::test::PumpMessages();
    form->Free();
}

}  // namespace
}  // namespace kova::skin::test
