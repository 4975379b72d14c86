// Ini files: sections of "key=value" lines.
//
// TMemIniFile reads the whole file once, keeps every change in memory and
// writes the file only in UpdateFile (through a temporary file, so a crash
// never leaves half a file). TIniFile writes every change through at once.
// Section and key names compare without regard to ASCII case unless the
// in-memory file is made case-sensitive. Lines that are neither sections nor
// keys (comments, blank lines) are kept and written back.
//
// Typed values: integers as decimal text (reading also accepts "$1F" and
// "0x1F" hexadecimal), booleans as "1"/"0" (any non-zero integer reads as
// true), floats with "." as decimal separator whatever the locale.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kova {

class EIniFileException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class TIniLoadStatus {
    NoFile,    // the file does not exist (or no file name was given)
    Loaded,
    TooLarge,  // larger than TMemIniFile::MaxFileSize: not read
    Error,     // exists but could not be read
};

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
    virtual ~TCustomIniFile() = default;

    const std::string& FileName() const { return fileName_; }

    virtual std::string ReadString(std::string_view section, std::string_view ident,
                                   std::string_view defaultValue) const = 0;
    virtual void WriteString(std::string_view section, std::string_view ident, std::string_view value) = 0;
    virtual bool SectionExists(std::string_view section) const = 0;
    virtual bool ValueExists(std::string_view section, std::string_view ident) const = 0;
    // Key names of one section, in file order.
    virtual std::vector<std::string> ReadSection(std::string_view section) const = 0;
    virtual std::vector<std::string> ReadSections() const = 0;
    virtual void EraseSection(std::string_view section) = 0;
    virtual void DeleteKey(std::string_view section, std::string_view ident) = 0;
    // Writes pending changes; false when the file could not be written.
    virtual bool UpdateFile() = 0;

    int32_t ReadInteger(std::string_view section, std::string_view ident, int32_t defaultValue) const;
    void WriteInteger(std::string_view section, std::string_view ident, int32_t value);
    bool ReadBool(std::string_view section, std::string_view ident, bool defaultValue) const;
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    double ReadFloat(std::string_view section, std::string_view ident, double defaultValue) const;
    void WriteFloat(std::string_view section, std::string_view ident, double value);

private:
    std::string fileName_;
};

class TMemIniFile : public TCustomIniFile {
public:
    // Files larger than this are not read (they are not settings files).
    static constexpr std::size_t MaxFileSize = 4 * 1024 * 1024;

    // An empty ini without a file: UpdateFile fails until a file name is set.
    TMemIniFile();
    // Reads the file when it exists; LoadStatus tells how that went.
    explicit TMemIniFile(std::string fileName, bool caseSensitive = false);

    TIniLoadStatus LoadStatus() const { return loadStatus_; }
    const std::string& LoadError() const { return loadError_; }

    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool value) { caseSensitive_ = value; }

    // The whole content as ini text (lines end in CR LF) and its parser.
    std::string GetText() const;
    void SetText(std::string_view text);
    void Clear();

    std::string ReadString(std::string_view section, std::string_view ident,
                           std::string_view defaultValue) const override;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;
    bool SectionExists(std::string_view section) const override;
    bool ValueExists(std::string_view section, std::string_view ident) const override;
    std::vector<std::string> ReadSection(std::string_view section) const override;
    std::vector<std::string> ReadSections() const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view ident) override;
    // Refuses (returns false) when the file exists but could not be read.
    bool UpdateFile() override;
    // Why the last UpdateFile failed.
    const std::string& WriteError() const { return writeError_; }

private:
    struct Line {
        bool isKey = false;
        std::string key;    // isKey
        std::string value;  // isKey
        std::string raw;    // !isKey: kept as it was read
    };
    struct Section {
        std::string name;
        std::vector<Line> lines;
    };

    bool SameName(std::string_view a, std::string_view b) const;
    const Section* FindSection(std::string_view name) const;
    Section* FindSection(std::string_view name);
    const Line* FindKey(const Section& s, std::string_view ident) const;

    std::vector<Line> preamble_;  // lines before the first section
    std::vector<Section> sections_;
    bool caseSensitive_ = false;
    TIniLoadStatus loadStatus_ = TIniLoadStatus::NoFile;
    std::string loadError_;
    std::string writeError_;
};

// Writes through: every Write*, EraseSection and DeleteKey updates the file
// at once and throws EIniFileException when that fails.
class TIniFile : public TMemIniFile {
public:
    explicit TIniFile(std::string fileName) : TMemIniFile(std::move(fileName), false) {}

    void WriteString(std::string_view section, std::string_view ident, std::string_view value) override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view ident) override;

private:
    void Flush();
};

// The conversions behind the typed reads and writes, for other users of the
// same text forms. Both return false (and leave *out alone) on bad text.
bool IniTextToInt(std::string_view text, int32_t* out);
bool IniTextToFloat(std::string_view text, double* out);
std::string IniFloatToText(double value);

}  // namespace kova
