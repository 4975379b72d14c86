#include "tables/logic/titleexpr.h"

#include <string>

namespace kova::tables {

namespace {

bool Occurs(const std::string& operand, std::string_view title) {
    return !operand.empty() && title.find(operand) != std::string_view::npos;
}

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

bool Combine(bool r, const std::string& op, bool m) {
    const std::string_view o = TrimBlanks(op);
    if (o == "and") return r && m;
    if (o == "or") return r || m;
    if (o == "and not") return r && !m;
    return r;
}

}  // namespace

bool MatchTitleExpression(TTitleSpec spec, std::string_view title) {
    const std::string op1 = spec.Operand1.Str();
    bool r = op1 == "*" ? true : Occurs(op1, title);
    const std::string op2 = spec.Operand2.Str();
    if (!op2.empty()) r = Combine(r, spec.Operator1.Str(), Occurs(op2, title));
    const std::string op3 = spec.Operand3.Str();
    if (!op3.empty()) r = Combine(r, spec.Operator2.Str(), Occurs(op3, title));
    return r;
}

bool MatchClassPattern(std::string_view pattern, std::string_view className) {
    if (pattern == "*") return true;
    return !pattern.empty() && className.find(pattern) != std::string_view::npos;
}

void DecodeTitle(TTitleSpec& title) {
    const std::string text = title.Text.Str();
    struct Op {
        std::string_view spelled;
        std::string_view name;
    };
    // " and not " first: at the same position it wins over " and ".
    static constexpr Op kOps[] = {{" and not ", "and not"}, {" or ", "or"}, {" and ", "and"}};

    std::size_t firstPos = std::string::npos;
    const Op* first = nullptr;
    for (const Op& op : kOps) {
        const std::size_t pos = text.find(op.spelled);
        if (pos != std::string::npos && (firstPos == std::string::npos || pos < firstPos)) {
            firstPos = pos;
            first = &op;
        }
    }
    if (!first) {
        title.Operand1.Assign(text);
        title.Operand2.Assign("");
        title.Operand3.Assign("");
        title.Operator1.Assign("");
        title.Operator2.Assign("");
        return;
    }
    title.Operand1.Assign(text.substr(0, firstPos));
    title.Operator1.Assign(first->name);
    const std::string rest = text.substr(firstPos + first->spelled.size());
    for (const Op& op : kOps) {
        const std::size_t pos = rest.find(op.spelled);
        if (pos != std::string::npos) {
            title.Operator2.Assign(op.name);
            title.Operand2.Assign(rest.substr(0, pos));
            title.Operand3.Assign(rest.substr(pos + op.spelled.size()));
            return;
        }
    }
    title.Operator2.Assign("");
    title.Operand2.Assign(rest);
    title.Operand3.Assign("");
}

}  // namespace kova::tables
