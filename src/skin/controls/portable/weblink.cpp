#include "skin/controls/portable/weblink.h"

#include <cctype>

namespace kova::skin {

bool IsOpenableWebAddress(const std::string& url) {
    auto startsWith = [&](const char* prefix) {
        std::size_t i = 0;
        for (; prefix[i]; ++i)
            if (i >= url.size() || std::tolower(static_cast<unsigned char>(url[i])) != prefix[i]) return false;
        return url.size() > i;  // something after the scheme
    };
    // No control characters or blanks: the shell must not read a second
    // argument or a command out of it.
    for (char c : url)
        if (static_cast<unsigned char>(c) <= ' ' || c == '"') return false;
    return startsWith("http://") || startsWith("https://") || startsWith("mailto:");
}

std::string StripLinkTags(std::string text) {
    for (const char* tag : {"<A>", "</A>"})
        for (std::size_t at = text.find(tag); at != std::string::npos; at = text.find(tag, at))
            text.erase(at, std::char_traits<char>::length(tag));
    return text;
}

}  // namespace kova::skin
