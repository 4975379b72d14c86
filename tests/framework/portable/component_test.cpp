#include "framework/portable/component.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kova {
namespace {

std::vector<std::string> g_log;

class TProbe : public TComponent {
    KOVA_CLASS_PROPS(TProbe, TComponent)
public:
    enum TShape { shCircle, shSquare, shStar };
    using TComponent::TComponent;
    ~TProbe() override { g_log.push_back("destroy " + Name()); }

    int Width() const { return width_; }
    void SetWidth(int v) { width_ = v; }
    TShape Shape() const { return shape_; }
    void SetShape(TShape s) { shape_ = s; }
    std::uint32_t Anchors() const { return anchors_; }
    void SetAnchors(std::uint32_t a) { anchors_ = a; }
    TProbe* Buddy() const { return buddy_; }
    void SetBuddy(TObject* b) { buddy_ = dynamic_cast<TProbe*>(b); }
    TNotifyEvent OnPing;
    std::vector<std::string> notes;

    static void DefineProps(TPropList& L) {
        L.For<TProbe>()
            .Int("Width", &TProbe::Width, &TProbe::SetWidth)
            .Enum("Shape", {"shCircle", "shSquare", "shStar"}, &TProbe::Shape, &TProbe::SetShape)
            .Set("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TProbe::Anchors, &TProbe::SetAnchors)
            .Object("Buddy", &TProbe::Buddy, &TProbe::SetBuddy)
            .Event("OnPing", &TProbe::OnPing);
    }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        notes.push_back(std::string(op == TOperation::opInsert ? "+" : "-") + c->Name());
        if (op == TOperation::opRemove && c == buddy_) buddy_ = nullptr;
    }

private:
    int width_ = 0;
    TShape shape_ = shCircle;
    std::uint32_t anchors_ = 0;
    TProbe* buddy_ = nullptr;
};

class TSubProbe : public TProbe {
    KOVA_CLASS(TSubProbe, TProbe)
public:
    using TProbe::TProbe;
};

TEST(Component, OwnerFreesChildrenLastFirstAndFindsByName) {
    g_log.clear();
    auto* root = new TProbe(nullptr);
    root->SetName("Root");
    auto* a = new TProbe(root);
    a->SetName("A");
    auto* b = new TProbe(root);
    b->SetName("B");
    EXPECT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->FindComponent("b"), b);
    EXPECT_EQ(root->FindComponent("missing"), nullptr);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_THROW(b->SetName("A"), EComponentError);
    EXPECT_THROW(b->SetName("1bad"), EComponentError);
    root->Free();
    EXPECT_EQ(g_log, (std::vector<std::string>{"destroy Root", "destroy B", "destroy A"}));
}

TEST(Component, NotificationsOnInsertRemoveAndFree) {
    auto* root = new TProbe(nullptr);
    auto* watcher = new TProbe(root);
    watcher->SetName("W");
    auto* other = new TProbe(nullptr);
    other->SetName("X");
    root->InsertComponent(other);
    EXPECT_EQ(watcher->notes, (std::vector<std::string>{"+X"}));
    // A free notification across owners clears the reference.
    auto* outsider = new TProbe(nullptr);
    outsider->SetName("Out");
    watcher->SetBuddy(outsider);
    watcher->FreeNotification(outsider);
    outsider->Free();
    EXPECT_EQ(watcher->Buddy(), nullptr);
    other->Free();
    EXPECT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(watcher->notes.back(), "-X");
    root->Free();
}

TEST(Component, ClassNamesAndIsAUpTheTree) {
    TSubProbe p(nullptr);
    EXPECT_EQ(p.ClassName(), "TSubProbe");
    EXPECT_TRUE(p.InheritsFrom("TProbe"));
    EXPECT_TRUE(p.InheritsFrom("TComponent"));
    EXPECT_TRUE(p.Is<TPersistent>());
    EXPECT_FALSE(p.InheritsFrom("TControl"));
    TProbe q(nullptr);
    EXPECT_FALSE(q.Is<TSubProbe>());
}

TEST(Props, AccessByNameIncludingMissingAndInherited) {
    TSubProbe p(nullptr);
    TProbe buddy(nullptr);
    EXPECT_TRUE(SetOrdProp(&p, "Width", 42));
    EXPECT_EQ(p.Width(), 42);
    EXPECT_EQ(GetOrdProp(&p, "Width"), 42);
    EXPECT_TRUE(SetStrProp(&p, "Name", "Probe1"));
    EXPECT_EQ(GetStrProp(&p, "Name"), "Probe1");
    EXPECT_TRUE(SetEnumProp(&p, "Shape", "shStar"));
    EXPECT_EQ(p.Shape(), TProbe::shStar);
    EXPECT_EQ(GetEnumProp(&p, "Shape"), "shStar");
    EXPECT_FALSE(SetEnumProp(&p, "Shape", "shBlob"));
    EXPECT_FALSE(SetOrdProp(&p, "Shape", 7));  // out of the enum's range
    EXPECT_EQ(p.Shape(), TProbe::shStar);
    EXPECT_TRUE(SetSetProp(&p, "Anchors", "[akLeft, akBottom]"));
    EXPECT_EQ(p.Anchors(), 0x9u);
    EXPECT_EQ(GetSetProp(&p, "Anchors"), "[akLeft,akBottom]");
    EXPECT_FALSE(SetSetProp(&p, "Anchors", "[akLeft,akNowhere]"));
    EXPECT_EQ(p.Anchors(), 0x9u);
    EXPECT_TRUE(SetObjectProp(&p, "Buddy", &buddy));
    EXPECT_EQ(GetObjectProp(&p, "Buddy"), &buddy);
    EXPECT_TRUE(SetOrdProp(&p, "Buddy.Width", 7));  // through an object property
    EXPECT_EQ(buddy.Width(), 7);

    EXPECT_FALSE(IsMethodAssigned(&p, "OnPing"));
    int pings = 0;
    EXPECT_TRUE(SetMethodProp(&p, "OnPing", std::any(TNotifyEvent([&](TObject*) { ++pings; }))));
    EXPECT_TRUE(IsMethodAssigned(&p, "OnPing"));
    p.OnPing(&p);
    EXPECT_EQ(pings, 1);
    EXPECT_FALSE(SetMethodProp(&p, "OnPing", std::any(42)));  // wrong handler type

    // Missing properties: skipped silently.
    EXPECT_FALSE(IsPublishedProp(&p, "Height"));
    EXPECT_FALSE(SetOrdProp(&p, "Height", 5));
    EXPECT_EQ(GetOrdProp(&p, "Height", -1), -1);
    EXPECT_EQ(GetStrProp(&p, "Caption"), "");
    EXPECT_FALSE(SetOrdProp(&p, "Missing.Width", 5));
    EXPECT_FALSE(SetStrProp(&p, "Width", "x"));  // wrong kind
}

}  // namespace
}  // namespace kova
