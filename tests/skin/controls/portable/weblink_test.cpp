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

}  // namespace kova::skin::test
