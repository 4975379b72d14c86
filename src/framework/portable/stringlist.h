// A list of strings, each with an optional object: kept in order or sorted,
// compared with or without case, with name=value lookups, CR LF text, comma
// text and file round trips. Window-free; the list and memo controls mirror
// a descendant of it into their windows.
#pragma once

#include "framework/portable/component.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

namespace kova {

class TStream;

// Lines of a text, split at CR LF, CR or LF; a last line without an end is
// kept, an empty text gives none.
std::vector<std::string> SplitTextLines(const std::string& text);

class EStringListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a sorted list does with a string it already holds.
enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TPersistent {
    KOVA_CLASS(TStringList, TPersistent)
public:
    // Largest file or stream LoadFrom* accepts: text lists are small, and a
    // wrong file must not become a huge allocation.
    static constexpr std::size_t kMaxLoadBytes = 64u << 20;

    TStringList() = default;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    // Index checks throw EStringListError ("List index out of bounds (n)").
    const std::string& Strings(int i) const { return At(i).text; }
    const std::string& operator[](int i) const { return Strings(i); }
    // Not allowed on a sorted list (the position would be wrong).
    void SetStrings(int i, const std::string& s);
    TObject* Objects(int i) const { return At(i).object; }
    void SetObjects(int i, TObject* o) { At(i).object = o; }

    // On a sorted list the string goes to its place and Duplicates applies
    // (dupIgnore returns the index of the string already there).
    int Add(const std::string& s) { return AddObject(s, nullptr); }
    int AddObject(const std::string& s, TObject* o);
    void AddStrings(const TStringList& other);
    // index is clamped to 0..Count; not allowed on a sorted list.
    void Insert(int index, const std::string& s) { InsertObject(index, s, nullptr); }
    void InsertObject(int index, const std::string& s, TObject* o);
    // Out-of-range indexes are ignored.
    void Delete(int index);
    void Clear();

    int IndexOf(const std::string& s) const;
    int IndexOfObject(const TObject* o) const;
    // Binary search on a sorted list, a scan otherwise. True when found;
    // index is where s is, or where it would be inserted.
    bool Find(const std::string& s, int& index) const;

    // name=value items. The name is the text before the first '='.
    int IndexOfName(const std::string& name) const;
    std::string Names(int i) const;
    std::string ValueFromIndex(int i) const;
    // "" when there is no such name.
    std::string Values(const std::string& name) const;
    // Replaces or adds "name=value"; an empty value removes the item.
    void SetValues(const std::string& name, const std::string& value);

    bool Sorted() const { return sorted_; }
    void SetSorted(bool v);
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool v);
    TDuplicates Duplicates() const { return duplicates_; }
    void SetDuplicates(TDuplicates v) { duplicates_ = v; }
    void Sort();
    // <0, 0, >0 under the list's case rule (ASCII letters only fold).
    int CompareStrings(const std::string& a, const std::string& b) const;

    // Every item followed by CR LF. Setting splits at CR LF, CR or LF.
    std::string Text() const;
    void SetText(const std::string& text);
    // Items separated by commas; items holding a space, comma, quote or
    // control character (and empty items) are double-quoted with inner
    // quotes doubled. Reading also splits at unquoted blanks.
    std::string CommaText() const;
    void SetCommaText(const std::string& text);

    std::vector<std::string> ToVector() const;
    // Replaces the strings (objects cleared); a sorted list sorts them.
    void Assign(const std::vector<std::string>& lines);
    // Copies strings and objects from any string list (a control's Items or
    // Lines included); false for other kinds.
    bool Assign(const TPersistent* source) override;

    // The file's bytes as Text. EFOpenError when it is missing or
    // unreadable, EStreamError when larger than kMaxLoadBytes; the list is
    // unchanged on error.
    void LoadFromFile(const std::string& fileName);
    // Replaces the file safely (temporary file, then rename); EFOpenError
    // on failure, the old file kept.
    void SaveToFile(const std::string& fileName) const;
    // From the stream's position to its end.
    void LoadFromStream(TStream& s);
    void SaveToStream(TStream& s) const;

    TNotifyEvent OnChange;

protected:
    // Hooks for lists mirrored elsewhere (a control's window).
    virtual void ItemInserted(int, const std::string&) {}
    virtual void ItemDeleted(int) {}
    virtual void ItemChanged(int, const std::string&) {}
    virtual void ListCleared() {}
    virtual void ListReset() {}
    // Replaces the strings without hooks or OnChange.
    void SetItemsQuietly(const std::vector<std::string>& lines);

private:
    struct Item {
        std::string text;
        TObject* object = nullptr;
    };
    Item& At(int i);
    const Item& At(int i) const;
    void Changed() {
        if (OnChange) OnChange(this);
    }
    // Where s goes in a sorted list, honouring Duplicates; -1 to ignore.
    int SortedSlot(const std::string& s) const;
    void FillFrom(std::vector<Item> items);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
    TDuplicates duplicates_ = dupIgnore;
};

}  // namespace kova
