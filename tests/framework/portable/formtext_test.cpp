#include "framework/portable/formtext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kova {
namespace {

std::vector<std::string> g_loaded;

class TNode : public TComponent {
    KOVA_CLASS_PROPS(TNode, TComponent)
public:
    using TComponent::TComponent;
    void Loaded() override {
        TComponent::Loaded();
        g_loaded.push_back(Name().empty() ? ClassName() : Name());
    }
    bool HasParent() const override { return true; }
    void SetParentComponent(TComponent* p) override { parent = p; }

    TComponent* parent = nullptr;
    std::string caption;
    int left = 0;
    bool flag = false;
    double ratio = 0;
    int color = 0;
    std::vector<std::string> items;
    std::vector<std::uint8_t> data;
    TNode* link = nullptr;
    TNotifyEvent OnClick;
    bool loadingWhenCaptionSet = false;

    static void DefineProps(TPropList& L) {
        L.For<TNode>()
            .String("Caption", [](TNode* n) { return n->caption; },
                    [](TNode* n, const std::string& s) {
                        n->caption = s;
                        n->loadingWhenCaptionSet = n->IsLoading();
                    })
            .Int("Left", [](TNode* n) { return n->left; }, [](TNode* n, int v) { n->left = v; })
            .Bool("Flag", [](TNode* n) { return n->flag; }, [](TNode* n, bool v) { n->flag = v; })
            .Float("Ratio", [](TNode* n) { return n->ratio; }, [](TNode* n, double v) { n->ratio = v; })
            .Color("Color", [](TNode* n) { return n->color; }, [](TNode* n, int v) { n->color = v; })
            .Strings("Items", [](TNode* n) { return n->items; },
                     [](TNode* n, const std::vector<std::string>& v) { n->items = v; })
            .Binary("Picture", [](TNode* n, const std::vector<std::uint8_t>& v) { n->data = v; })
            .Object("Link", [](TNode* n) -> TObject* { return n->link; },
                    [](TNode* n, TObject* o) { n->link = dynamic_cast<TNode*>(o); })
            .Event("OnClick", &TNode::OnClick);
    }
};

class TRootNode : public TNode {
    KOVA_CLASS(TRootNode, TNode)
public:
    explicit TRootNode(TComponent* owner) : TNode(owner) {
        BindField("Child1", Child1);
        RegisterMethod("Child1Click", TNotifyEvent([this](TObject*) { ++clicks; }));
    }
    TNode* Child1 = nullptr;
    int clicks = 0;
};

const char* kDescription = R"(
object RootNode1: TRootNode
  Caption = 'It''s '#39'here'#39 +
    ' and more'
  Left = -12
  Color = clRed
  Unknown = 5
  object Child1: TNode
    Left = $10
    Flag = True
    Ratio = 0.25
    Link = Grandchild
    OnClick = Child1Click
    Items.Strings = (
      'one'
      'two')
    object Grandchild: TNode
      Picture.Data = {
        424D 00FF}
    end
  end
  object Second: TNode
  end
end
)";

TEST(FormText, CreatesTreeBindsFieldsEventsAndRunsLoadedInOrder) {
    RegisterComponentClass<TNode>();
    g_loaded.clear();
    TRootNode root(nullptr);
    ReadComponentText(&root, kDescription);
    EXPECT_EQ(root.caption, "It's 'here' and more");
    EXPECT_EQ(root.left, -12);
    EXPECT_EQ(root.color, 0x0000FF);
    ASSERT_NE(root.Child1, nullptr);
    TNode* child = root.Child1;
    EXPECT_EQ(child->left, 16);
    EXPECT_TRUE(child->flag);
    EXPECT_DOUBLE_EQ(child->ratio, 0.25);
    EXPECT_EQ(child->items, (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(child->loadingWhenCaptionSet == false);
    auto* grand = dynamic_cast<TNode*>(root.FindComponent("Grandchild"));
    ASSERT_NE(grand, nullptr);
    EXPECT_EQ(grand->Owner(), &root);  // the form owns everything
    EXPECT_EQ(grand->parent, child);   // parented to the enclosing component
    EXPECT_EQ(child->parent, &root);
    EXPECT_EQ(grand->data, (std::vector<std::uint8_t>{0x42, 0x4D, 0x00, 0xFF}));
    EXPECT_EQ(child->link, grand);  // a reference to a component read later
    ASSERT_TRUE(child->OnClick);
    child->OnClick(child);
    EXPECT_EQ(root.clicks, 1);
    EXPECT_EQ(g_loaded, (std::vector<std::string>{"RootNode1", "Child1", "Grandchild", "Second"}));
    EXPECT_FALSE(root.IsLoading());
    EXPECT_FALSE(child->IsLoading());
}

TEST(FormText, LoadingFlagIsSetWhilePropertiesAreRead) {
    RegisterComponentClass<TNode>();
    TRootNode root(nullptr);
    ReadComponentText(&root, "object R: TRootNode\n object N: TNode\n Caption = 'x'\n end\nend");
    auto* n = dynamic_cast<TNode*>(root.FindComponent("N"));
    ASSERT_NE(n, nullptr);
    EXPECT_TRUE(n->loadingWhenCaptionSet);
}

TEST(FormText, MalformedTextIsReportedWithItsLine) {
    struct Case {
        const char* text;
        const char* fragment;
    };
    const Case cases[] = {
        {"object A: TNode\n  Caption = 'open\nend", "line 2"},
        {"object A: TNode\n  Left = 12x\nend", "line 2"},
        {"object A: TNode\n  Picture.Data = {ABC}\nend", "odd number"},
        {"object A: TNode\n  Left = 1\n", "'end' expected"},
        {"object A: TNode\nend\ngarbage", "after the final"},
        {"thing A: TNode\nend", "'object' expected"},
        {"object A: TNode\n  Caption = #999\nend", "out of range"},
    };
    for (const Case& c : cases) {
        try {
            ParseFormText(c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EFormReadError& e) {
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
        }
    }
}

TEST(FormText, DeepNestingIsRefused) {
    std::string text;
    for (int i = 0; i < 200; ++i) text += "object A" + std::to_string(i) + ": TNode\n";
    for (int i = 0; i < 200; ++i) text += "end\n";
    EXPECT_THROW(ParseFormText(text), EFormReadError);
}

TEST(FormText, UnknownClassMissingHandlerAndBadValuesThrow) {
    RegisterComponentClass<TNode>();
    const char* bad[] = {
        "object R: TRootNode\n object X: TNoSuchClass\n end\nend",
        "object R: TRootNode\n object X: TNode\n OnClick = NoSuchHandler\n end\nend",
        "object R: TRootNode\n Flag = Maybe\nend",
        "object R: TRootNode\n Left = 'text'\nend",
        "object R: TRootNode\n Link = Nobody\nend",
    };
    for (const char* text : bad) {
        TRootNode root(nullptr);
        EXPECT_THROW(ReadComponentText(&root, text), EFormReadError) << text;
        EXPECT_FALSE(root.IsLoading());
    }
}

}  // namespace
}  // namespace kova
