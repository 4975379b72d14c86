#include "framework/portable/stringlist.h"

#include "framework/portable/safefile.h"
#include "framework/portable/streams.h"

#include <algorithm>
#include <span>

namespace kova {

namespace {
unsigned char Fold(char c) {
    auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}


bool NeedsQuotes(const std::string& s) {
    if (s.empty()) return true;
    return std::any_of(s.begin(), s.end(), [](char c) {
        return static_cast<unsigned char>(c) <= ' ' || c == ',' || c == '"';
    });
}
}  // namespace

TStringList::Item& TStringList::At(int i) {
    if (i < 0 || i >= Count()) throw EStringListError("List index out of bounds (" + std::to_string(i) + ")");
    return items_[static_cast<std::size_t>(i)];
}
const TStringList::Item& TStringList::At(int i) const {
    return const_cast<TStringList*>(this)->At(i);
}

int TStringList::CompareStrings(const std::string& a, const std::string& b) const {
    if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char x = Fold(a[i]), y = Fold(b[i]);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void TStringList::SetStrings(int i, const std::string& s) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    At(i).text = s;
    ItemChanged(i, s);
    Changed();
}

int TStringList::SortedSlot(const std::string& s) const {
    int index = 0;
    if (Find(s, index)) {
        if (duplicates_ == dupIgnore) return -1;
        if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
    }
    return index;
}

int TStringList::AddObject(const std::string& s, TObject* o) {
    int index = Count();
    if (sorted_) {
        index = SortedSlot(s);
        if (index < 0) {
            Find(s, index);
            return index;
        }
    }
    items_.insert(items_.begin() + index, Item{s, o});
    ItemInserted(index, s);
    Changed();
    return index;
}

void TStringList::AddStrings(const TStringList& other) {
    if (&other == this) return;
    for (const Item& i : other.items_) AddObject(i.text, i.object);
}

void TStringList::InsertObject(int index, const std::string& s, TObject* o) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted list");
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, Item{s, o});
    ItemInserted(index, s);
    Changed();
}

void TStringList::Delete(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    ItemDeleted(index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    items_.clear();
    ListCleared();
    Changed();
}

int TStringList::IndexOf(const std::string& s) const {
    if (sorted_) {
        int index = 0;
        return Find(s, index) ? index : -1;
    }
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(items_[static_cast<std::size_t>(i)].text, s) == 0) return i;
    return -1;
}

int TStringList::IndexOfObject(const TObject* o) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[static_cast<std::size_t>(i)].object == o) return i;
    return -1;
}

bool TStringList::Find(const std::string& s, int& index) const {
    if (!sorted_) {
        for (int i = 0; i < Count(); ++i)
            if (CompareStrings(items_[static_cast<std::size_t>(i)].text, s) == 0) {
                index = i;
                return true;
            }
        index = Count();
        return false;
    }
    // First position whose string is not less than s.
    int lo = 0, hi = Count();
    while (lo < hi) {
        int mid = lo + (hi - lo) / 2;
        if (CompareStrings(items_[static_cast<std::size_t>(mid)].text, s) < 0) lo = mid + 1;
        else hi = mid;
    }
    index = lo;
    return lo < Count() && CompareStrings(items_[static_cast<std::size_t>(lo)].text, s) == 0;
}

int TStringList::IndexOfName(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const std::string& t = items_[static_cast<std::size_t>(i)].text;
        std::size_t eq = t.find('=');
        if (eq != std::string::npos && CompareStrings(t.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::string TStringList::Names(int i) const {
    const std::string& t = Strings(i);
    std::size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : t.substr(0, eq);
}

std::string TStringList::ValueFromIndex(int i) const {
    const std::string& t = Strings(i);
    std::size_t eq = t.find('=');
    return eq == std::string::npos ? std::string() : t.substr(eq + 1);
}

std::string TStringList::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStringList::SetValues(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        Delete(i);
        return;
    }
    std::string line = name + "=" + value;
    if (i < 0) {
        Add(line);
    } else if (sorted_) {
        TObject* o = items_[static_cast<std::size_t>(i)].object;
        Delete(i);
        AddObject(line, o);
    } else {
        SetStrings(i, line);
    }
}

void TStringList::Sort() {
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    ListReset();
    Changed();
}

void TStringList::SetSorted(bool v) {
    if (v == sorted_) return;
    sorted_ = v;
    if (v) Sort();
}

void TStringList::SetCaseSensitive(bool v) {
    if (v == caseSensitive_) return;
    caseSensitive_ = v;
    if (sorted_) Sort();
}

std::string TStringList::Text() const {
    std::string out;
    for (const Item& i : items_) out += i.text + "\r\n";
    return out;
}

std::vector<std::string> SplitTextLines(const std::string& text) {
    std::vector<std::string> out;
    std::string cur;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            out.push_back(cur);
            cur.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

void TStringList::SetText(const std::string& text) { Assign(SplitTextLines(text)); }

std::string TStringList::CommaText() const {
    std::string out;
    for (std::size_t n = 0; n < items_.size(); ++n) {
        if (n) out += ',';
        const std::string& s = items_[n].text;
        if (!NeedsQuotes(s)) {
            out += s;
            continue;
        }
        out += '"';
        for (char c : s) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

void TStringList::SetCommaText(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t i = 0, n = text.size();
    auto blank = [&](std::size_t k) { return static_cast<unsigned char>(text[k]) <= ' '; };
    while (i < n && blank(i)) ++i;
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            ++i;
            while (i < n) {
                if (text[i] == '"') {
                    if (i + 1 < n && text[i + 1] == '"') {
                        item += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += text[i++];
            }
        } else {
            while (i < n && text[i] != ',' && !blank(i)) item += text[i++];
        }
        parts.push_back(std::move(item));
        while (i < n && blank(i)) ++i;
        if (i < n && text[i] == ',') {
            ++i;
            while (i < n && blank(i)) ++i;
            if (i == n) parts.emplace_back();  // "a," ends with an empty item
        }
    }
    Assign(parts);
}

std::vector<std::string> TStringList::ToVector() const {
    std::vector<std::string> v;
    v.reserve(items_.size());
    for (const Item& i : items_) v.push_back(i.text);
    return v;
}

void TStringList::FillFrom(std::vector<Item> items) {
    if (!sorted_) {
        items_ = std::move(items);
    } else {
        items_.clear();
        for (Item& it : items) {
            int slot = SortedSlot(it.text);
            if (slot >= 0) items_.insert(items_.begin() + slot, std::move(it));
        }
    }
}

void TStringList::Assign(const std::vector<std::string>& lines) {
    std::vector<Item> items;
    items.reserve(lines.size());
    for (const std::string& l : lines) items.push_back(Item{l, nullptr});
    std::vector<Item> old;
    old.swap(items_);
    try {
        FillFrom(std::move(items));
    } catch (...) {
        items_.swap(old);  // dupError: the list stays as it was
        throw;
    }
    ListReset();
    Changed();
}

bool TStringList::Assign(const TPersistent* source) {
    auto* o = dynamic_cast<const TStringList*>(source);
    if (!o) return false;
    if (o == this) return true;
    std::vector<Item> old;
    old.swap(items_);
    try {
        FillFrom(o->items_);
    } catch (...) {
        items_.swap(old);
        throw;
    }
    ListReset();
    Changed();
    return true;
}

void TStringList::SetItemsQuietly(const std::vector<std::string>& lines) {
    items_.clear();
    for (const std::string& l : lines) items_.push_back(Item{l, nullptr});
}

void TStringList::LoadFromFile(const std::string& fileName) {
    TFileReadResult r = SafeReadFile(fileName, kMaxLoadBytes);
    switch (r.Status) {
        case TFileReadStatus::Ok: break;
        case TFileReadStatus::Missing: throw EFOpenError("Cannot open file \"" + fileName + "\"");
        case TFileReadStatus::TooLarge: throw EStreamError("File \"" + fileName + "\" is too large");
        case TFileReadStatus::Error: throw EFOpenError("Cannot open file \"" + fileName + "\": " + r.Error);
    }
    SetText(std::string(r.Bytes.begin(), r.Bytes.end()));
}

void TStringList::SaveToFile(const std::string& fileName) const {
    std::string t = Text();
    std::string error;
    if (!SafeReplaceFile(fileName, std::span(reinterpret_cast<const std::uint8_t*>(t.data()), t.size()), &error))
        throw EFOpenError("Cannot create file \"" + fileName + "\": " + error);
}

void TStringList::LoadFromStream(TStream& s) {
    std::int64_t left = s.Remaining();
    if (left < 0) left = 0;
    if (static_cast<std::uint64_t>(left) > kMaxLoadBytes) throw EStreamError("Text stream is too large");
    std::string t(static_cast<std::size_t>(left), '\0');
    s.ReadBuffer(t.data(), t.size());
    SetText(t);
}

void TStringList::SaveToStream(TStream& s) const {
    std::string t = Text();
    s.WriteBuffer(t.data(), t.size());
}

}  // namespace kova
