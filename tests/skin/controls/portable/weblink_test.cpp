#include "skin/controls/portable/weblink.h"

#include <gtest/gtest.h>

namespace kova::skin::test {

TEST(WebLink, OnlyWebAndMailAddressesOpen) {
    struct Case {
        const char* Url;
        bool Opens;
    };
    for (const Case c : {Case{"http://example.org", true}, Case{"HTTPS://example.org/a?b=c", true},
                         Case{"mailto:someone@example.org", true}, Case{"", false}, Case{"http://", false},
                         Case{"file:///c:/windows/system32/calc.exe", false}, Case{"calc.exe", false},
                         Case{"C:\\Windows\\notepad.exe", false}, Case{"javascript:alert(1)", false},
                         Case{"https://example.org \"x\"", false}, Case{"ftp://example.org", false},
                         Case{" http://example.org", false}}) {
        SCOPED_TRACE(c.Url);
        EXPECT_EQ(IsOpenableWebAddress(c.Url), c.Opens);
    }
}

TEST(WebLink, ALinksTextLosesItsAnchorTagsAsWritten) {
    struct Case {
        const char* Text;
        const char* Shown;
    };
    for (const Case c : {Case{"See <A>the site</A> now", "See the site now"}, Case{"<A></A>", ""},
                         Case{"<A>one</A> and <A>two</A>", "one and two"}, Case{"plain", "plain"},
                         // Only the tags as written: a lower-case one stays.
                         Case{"<a>x</a>", "<a>x</a>"}, Case{"<<A>A>", "<A>"}}) {
        SCOPED_TRACE(c.Text);
        EXPECT_EQ(StripLinkTags(c.Text), c.Shown);
    }
}

}  // namespace kova::skin::test
