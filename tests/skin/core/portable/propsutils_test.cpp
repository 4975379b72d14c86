#include "skin/core/portable/propsutils.h"

#include <gtest/gtest.h>

#include "framework/portable/props.h"

namespace kova::skin {
namespace {

class TProbeControl : public TObject {
    KOVA_CLASS_PROPS(TProbeControl, TObject)
public:
    int Tag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }
    std::uint32_t Anchors() const { return anchors_; }
    void SetAnchors(std::uint32_t a) { anchors_ = a; }
    TProbeControl* Partner() const { return partner_; }
    void SetPartner(TObject* p) { partner_ = dynamic_cast<TProbeControl*>(p); }
    static void DefineProps(TPropList& L) {
        L.For<TProbeControl>()
            .Int("Tag", &TProbeControl::Tag, &TProbeControl::SetTag)
            .Set("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TProbeControl::Anchors,
                 &TProbeControl::SetAnchors)
            .Object("Partner", &TProbeControl::Partner, &TProbeControl::SetPartner);
    }

private:
    int tag_ = 0;
    std::uint32_t anchors_ = 3;
    TProbeControl* partner_ = nullptr;
};

TEST(PropsByName, ReadAndWrite) {
    TProbeControl c, other;
    EXPECT_TRUE(PublishedPropExists(&c, "Tag"));
    EXPECT_FALSE(PublishedPropExists(&c, "Color"));
    EXPECT_FALSE(PublishedPropExists(nullptr, "Tag"));
    SetOrdPropByName(&c, "Tag", 42);
    EXPECT_EQ(OrdPropByName(&c, "Tag"), 42);
    EXPECT_EQ(OrdPropByName(&c, "Missing"), -1);
    SetOrdPropByName(&c, "Missing", 1);  // nothing
    c.SetPartner(&other);
    EXPECT_EQ(ObjectPropByName(&c, "Partner"), &other);
    EXPECT_EQ(ObjectPropByName(&c, "Tag"), nullptr);
}

TEST(PropsByName, SetElements) {
    TProbeControl c;
    EXPECT_TRUE(SetPropHasElement(&c, "Anchors", "akTop"));
    EXPECT_FALSE(SetPropHasElement(&c, "Anchors", "akRight"));
    EXPECT_FALSE(SetPropHasElement(&c, "Anchors", "AKTOP"));  // exact names only
    EXPECT_FALSE(SetPropToggleElement(&c, "Anchors", "akRight", true));
    EXPECT_EQ(c.Anchors(), 7u);
    SetPropToggleElement(&c, "Anchors", "akLeft", false);
    EXPECT_EQ(c.Anchors(), 6u);
    SetPropToggleElement(&c, "Anchors", "akNone", true);
    EXPECT_EQ(c.Anchors(), 6u);
    EXPECT_FALSE(SetPropHasElement(&c, "Tag", "akTop"));
}

}  // namespace
}  // namespace kova::skin
