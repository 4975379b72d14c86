#include "framework/portable/formtext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kova {
namespace {

std::vector<std::string> g_loaded;

// A collection item: its own properties, one of them a nested collection.
class TEntry : public TPersistent {
    KOVA_CLASS_PROPS(TEntry, TPersistent)
public:
    std::string name;
    int size = 0;
    std::vector<std::uint8_t> data;
    std::vector<TEntry> parts;
    TObject* link = nullptr;

    static void DefineProps(TPropList& L);
};

// Fills the items of a collection as the reader hands them over, and takes
// them only when every one was read.
void FillEntries(std::vector<TEntry>& entries, std::size_t count, const TPropInfo::TFillItem& fill) {
    std::vector<TEntry> fresh(count);
    for (std::size_t i = 0; i < count; ++i) fill(&fresh[i], i);
    entries = std::move(fresh);
}

void TEntry::DefineProps(TPropList& L) {
    L.For<TEntry>()
        .String("Name", [](TEntry* e) { return e->name; }, [](TEntry* e, const std::string& s) { e->name = s; })
        .Int("Size", [](TEntry* e) { return e->size; }, [](TEntry* e, int v) { e->size = v; })
        .Binary("Data", [](TEntry* e, const std::vector<std::uint8_t>& v) { e->data = v; })
        .Collection("Parts", [](TEntry* e, std::size_t n, const TPropInfo::TFillItem& f) { FillEntries(e->parts, n, f); })
        .Object("Link", [](TEntry* e) { return e->link; }, [](TEntry* e, TObject* o) { e->link = o; });
}

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
    std::vector<TEntry> entries;
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
            .Int("Count", [](TNode* n) { return static_cast<int>(n->items.size()); })
            .Collection("Entries", [](TNode* n, std::size_t count,
                                      const TPropInfo::TFillItem& fill) { FillEntries(n->entries, count, fill); })
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
    ReadComponentText(&root, "object R: TRootNode\n object Child1: TNode\n end\n object N: TNode\n Caption = 'x'\n end\nend");
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
        {"object A: TNode\n  Entries = <\n    item\n      Size = 1\n  >\nend", "line 5"},
        {"object A: TNode\n  Entries = <\n    Size = 1\n  end>\nend", "'item' or '>' expected"},
        {"object A: TNode\n  Entries = <\n    item\n    end\nend", "'item' or '>' expected"},
        {"object A: TNode\n  Entries = <", "'>' expected"},
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
    std::string items = "object A: TNode\n Entries = ";
    for (int i = 0; i < 200; ++i) items += "< item Parts = ";
    items += "<>";
    for (int i = 0; i < 200; ++i) items += " end >";
    EXPECT_THROW(ParseFormText(items + "\nend"), EFormReadError);
}

TEST(FormText, CollectionItemsAreReadInOrderWithTheirProperties) {
    RegisterComponentClass<TNode>();
    TRootNode root(nullptr);
    ReadComponentText(&root, R"(
object R: TRootNode
  Entries = <
    item
      Name = 'first'#39
      Data = {
        00FF 10}
      Parts = <
        item
          Size = 7
        end>
    end
    item
      Size = $20
    end
    item
    end>
  object Child1: TNode
    Entries = <>
    OnClick = Child1Click
  end
end
)",
                      TFormReadMode::Strict);
    ASSERT_EQ(root.entries.size(), 3u);
    EXPECT_EQ(root.entries[0].name, "first'");
    EXPECT_EQ(root.entries[0].data, (std::vector<std::uint8_t>{0x00, 0xFF, 0x10}));
    ASSERT_EQ(root.entries[0].parts.size(), 1u);
    EXPECT_EQ(root.entries[0].parts[0].size, 7);
    EXPECT_EQ(root.entries[1].size, 0x20);
    EXPECT_EQ(root.entries[1].name, "");
    EXPECT_EQ(root.entries[2].size, 0);
    ASSERT_NE(root.Child1, nullptr);
    EXPECT_TRUE(root.Child1->entries.empty());
}

// A collection whose text cannot be read keeps the items it had; a value
// of another kind, or an item that refers to a component (items move into
// their collection, so the reference could not be kept), is refused.
TEST(FormText, BadCollectionsAreRefusedAndLeaveTheItemsAsTheyWere) {
    RegisterComponentClass<TNode>();
    struct Case {
        const char* props;
        const char* fragment;
    };
    const Case cases[] = {
        {"Entries = <\n item\n Size = 'big'\n end>", "Size"},
        {"Entries = <\n item\n Link = Child1\n end>", "cannot refer to a component"},
        {"Entries = 'text'", "Entries"},
        {"Caption = <>", "Caption"},
        {"Entries = <\n item\n Name = 'a'\n end\n item\n Nothing = 1\n end>", "Nothing"},
    };
    for (const Case& c : cases) {
        TRootNode root(nullptr);
        root.entries.resize(1);
        root.entries[0].name = "kept";
        try {
            ReadComponentText(&root, std::string("object R: TRootNode\n") + c.props + "\n object Child1: TNode\n end\nend",
                              TFormReadMode::Strict);
            ADD_FAILURE() << "accepted: " << c.props;
        } catch (const EFormReadError& e) {
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
        }
        ASSERT_EQ(root.entries.size(), 1u) << c.props;
        EXPECT_EQ(root.entries[0].name, "kept");
    }
}

// Whatever the mode: the text cannot be applied as it stands, or the code
// would go on with a field that nothing filled.
TEST(FormText, UnknownClassMissingHandlerBadValuesAndUnfilledFieldsThrow) {
    RegisterComponentClass<TNode>();
    struct Case {
        const char* text;
        const char* fragment;
    };
    const Case cases[] = {
        {"object R: TRootNode\n object Child1: TNode\n end\n object X: TNoSuchClass\n end\nend", "TNoSuchClass"},
        {"object R: TRootNode\n object Child1: TNode\n OnClick = NoSuchHandler\n end\nend", "NoSuchHandler"},
        {"object R: TRootNode\n Flag = Maybe\n object Child1: TNode\n end\nend", "Flag"},
        {"object R: TRootNode\n Left = 'text'\n object Child1: TNode\n end\nend", "Left"},
        {"object R: TRootNode\n Link = Nobody\n object Child1: TNode\n end\nend", "Nobody"},
        // The field's component is missing, or named in another case.
        {"object R: TRootNode\nend", "Child1"},
        {"object R: TRootNode\n object child1: TNode\n end\nend", "Child1"},
    };
    for (TFormReadMode mode : {TFormReadMode::Lenient, TFormReadMode::Strict}) {
        for (const Case& c : cases) {
            TRootNode root(nullptr);
            try {
                ReadComponentText(&root, c.text, mode);
                ADD_FAILURE() << "accepted: " << c.text;
            } catch (const EFormReadError& e) {
                EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
            }
            EXPECT_FALSE(root.IsLoading());
        }
    }
}

// What the code does not have, named by the text: strict reading refuses
// it with the line; lenient reading reports it and reads the rest.
TEST(FormText, StrictRefusesWhatLenientSkipsAndReports) {
    RegisterComponentClass<TNode>();
    struct Case {
        const char* lines;  // inside the root, beside a valid Child1
        const char* fragment;
    };
    const Case cases[] = {
        {"  Unknown = 5\n", "TRootNode has no property Unknown"},
        {"  Caption.Size = 5\n", "no property Caption.Size"},
        {"  Count = 3\n", "Count of TRootNode is read-only"},
        {"  object Inner: TNode Missing = 'x' end\n", "TNode has no property Missing"},
    };
    for (const Case& c : cases) {
        const std::string text = std::string("object R: TRootNode\n  Left = 7\n") + c.lines +
                                 "  object Child1: TNode\n    OnClick = Child1Click\n  end\nend\n";
        {
            TRootNode root(nullptr);
            try {
                ReadComponentText(&root, text, TFormReadMode::Strict);
                ADD_FAILURE() << "accepted: " << text;
            } catch (const EFormReadError& e) {
                EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
                EXPECT_NE(std::string(e.what()).find("line 3"), std::string::npos) << e.what();
            }
        }
        TRootNode root(nullptr);
        const std::vector<std::string> skipped = ReadComponentText(&root, text, TFormReadMode::Lenient);
        ASSERT_EQ(skipped.size(), 1u) << text;
        EXPECT_NE(skipped[0].find(c.fragment), std::string::npos) << skipped[0];
        EXPECT_EQ(root.left, 7);
        ASSERT_NE(root.Child1, nullptr);
        EXPECT_TRUE(root.Child1->OnClick);
    }
}

// A handler registered for the text that no event names (an event line
// lost from the text), and a text written for another class.
TEST(FormText, StrictRefusesUnnamedHandlersAndAnotherRootClass) {
    RegisterComponentClass<TNode>();
    struct Case {
        const char* text;
        const char* fragment;
    };
    const Case cases[] = {
        {"object R: TRootNode\n object Child1: TNode\n end\nend", "handler Child1Click"},
        {"object R: TNode\n object Child1: TNode\n OnClick = Child1Click\n end\nend", "of TNode is read into a TRootNode"},
    };
    for (const Case& c : cases) {
        TRootNode strict(nullptr);
        try {
            ReadComponentText(&strict, c.text, TFormReadMode::Strict);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EFormReadError& e) {
            EXPECT_NE(std::string(e.what()).find(c.fragment), std::string::npos) << e.what();
        }
        TRootNode lenient(nullptr);
        const std::vector<std::string> skipped = ReadComponentText(&lenient, c.text, TFormReadMode::Lenient);
        ASSERT_EQ(skipped.size(), 1u) << c.text;
        EXPECT_NE(skipped[0].find(c.fragment), std::string::npos) << skipped[0];
        EXPECT_NE(lenient.Child1, nullptr);
    }
}

// Readings that name no mode follow the default, which tests can make strict.
TEST(FormText, DefaultModeIsLenientUntilSetStrict) {
    RegisterComponentClass<TNode>();
    const char* text = "object R: TRootNode\n Unknown = 1\n object Child1: TNode\n OnClick = Child1Click\n end\nend";
    ASSERT_EQ(DefaultFormReadMode(), TFormReadMode::Lenient);
    {
        TRootNode root(nullptr);
        EXPECT_EQ(ReadComponentText(&root, text).size(), 1u);
    }
    struct StrictWhileAlive {
        StrictWhileAlive() { SetDefaultFormReadMode(TFormReadMode::Strict); }
        ~StrictWhileAlive() { SetDefaultFormReadMode(TFormReadMode::Lenient); }
    } strict;
    TRootNode root(nullptr);
    EXPECT_THROW(ReadComponentText(&root, text), EFormReadError);
}

}  // namespace
}  // namespace kova
