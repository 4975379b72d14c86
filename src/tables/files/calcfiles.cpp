#include "tables/files/calcfiles.h"

#include <cstring>

#include "framework/portable/safefile.h"
#include "tables/files/recordcodec.h"

namespace kova::tables {

namespace fs = std::filesystem;

namespace {

template <typename Record, typename DecodeFn>
bool DecodeRecords(std::span<const uint8_t> bytes, std::size_t size, std::vector<Record>& list, DecodeFn decode) {
    const std::size_t count = bytes.size() / size;
    list.assign(count, Record{});
    for (std::size_t i = 0; i < count; ++i) decode(bytes.data() + i * size, list[i]);
    return bytes.size() % size == 0;
}

template <typename Record, typename EncodeFn>
std::vector<uint8_t> EncodeRecords(const std::vector<Record>& list, std::size_t size, EncodeFn encode) {
    std::vector<uint8_t> bytes(list.size() * size);
    for (std::size_t i = 0; i < list.size(); ++i) encode(list[i], bytes.data() + i * size);
    return bytes;
}

// Reads a record file: whole records always land in the list; a partial
// record at the end or an unreadable file is reported (and the file copied).
template <typename Record>
TLoadStatus LoadRecordFile(const fs::path& file, std::size_t maxSize, std::vector<Record>& list,
                           bool (*decode)(std::span<const uint8_t>, std::vector<Record>&)) {
    list.clear();
    TFileReadResult r = SafeReadFile(file, maxSize);
    if (r.Status == TFileReadStatus::Missing) return TLoadStatus::Missing;
    if (r.Status != TFileReadStatus::Ok) {
        ReportDamagedFile(file, r.Error);
        return TLoadStatus::Damaged;
    }
    if (!decode(r.Bytes, list)) {
        ReportDamagedFile(file, "it ends inside a record; " + std::to_string(list.size()) + " whole records were read");
        return TLoadStatus::Damaged;
    }
    return TLoadStatus::Loaded;
}

bool WriteModels(const fs::path& folder, const std::vector<TOpponentModel>& models) {
    return WriteDataFile(folder / ModelsFileName, EncodeModels(models));
}

bool WriteAssignments(const fs::path& file, const std::vector<TModelAssignment>& list) {
    return WriteDataFile(file, EncodeAssignments(list));
}

void Renumber(std::vector<TOpponentModel>& models) {
    for (std::size_t i = 0; i < models.size(); ++i) models[i].ID = static_cast<int32_t>(i);
}

// Drops the assignments to model n and lowers those to later models;
// true when anything changed.
bool FollowModelDeletion(std::vector<TModelAssignment>& list, int32_t n) {
    bool changed = false;
    for (auto it = list.begin(); it != list.end();) {
        if (it->ModelIndex == n) {
            it = list.erase(it);
            changed = true;
            continue;
        }
        if (it->ModelIndex > n) {
            --it->ModelIndex;
            changed = true;
        }
        ++it;
    }
    return changed;
}

}  // namespace

void DecodeOpponentModel(const uint8_t* p, TOpponentModel& model) { layout::GetRecord(p, model); }
void EncodeOpponentModel(const TOpponentModel& model, uint8_t* p) { layout::PutRecord(p, model); }
void DecodeModelAssignment(const uint8_t* p, TModelAssignment& a) { layout::GetRecord(p, a); }
void EncodeModelAssignment(const TModelAssignment& a, uint8_t* p) { layout::PutRecord(p, a); }

bool DecodeModels(std::span<const uint8_t> bytes, std::vector<TOpponentModel>& models) {
    return DecodeRecords(bytes, TOpponentModel::ByteSize, models, DecodeOpponentModel);
}

bool DecodeAssignments(std::span<const uint8_t> bytes, std::vector<TModelAssignment>& list) {
    return DecodeRecords(bytes, TModelAssignment::ByteSize, list, DecodeModelAssignment);
}

std::vector<uint8_t> EncodeModels(const std::vector<TOpponentModel>& models) {
    return EncodeRecords(models, TOpponentModel::ByteSize,
                         [](const TOpponentModel& m, uint8_t* p) { EncodeOpponentModel(m, p); });
}

std::vector<uint8_t> EncodeAssignments(const std::vector<TModelAssignment>& list) {
    return EncodeRecords(list, TModelAssignment::ByteSize,
                         [](const TModelAssignment& a, uint8_t* p) { EncodeModelAssignment(a, p); });
}

// ---- models ----------------------------------------------------------------

TLoadStatus LoadModels(const fs::path& folder, std::vector<TOpponentModel>& models) {
    const TLoadStatus status = LoadRecordFile(folder / ModelsFileName, MaxModelsFileSize, models, DecodeModels);
    Renumber(models);
    return status;
}

bool SaveModel(const fs::path& folder, std::vector<TOpponentModel>& models, const TOpponentModel& model) {
    if (model.ID < 0 || static_cast<std::size_t>(model.ID) >= models.size()) {
        ShowUserMessage("The model \"" + model.Name.Str() + "\" is not in the file \"" + ModelsFileName +
                        "\"; it was not saved.");
        return false;
    }
    std::vector<TOpponentModel> updated = models;
    updated[static_cast<std::size_t>(model.ID)] = model;
    if (!WriteModels(folder, updated)) return false;
    models = std::move(updated);
    return true;
}

bool AppendModel(const fs::path& folder, std::vector<TOpponentModel>& models, TOpponentModel& model) {
    model.ID = static_cast<int32_t>(models.size());
    std::vector<TOpponentModel> updated = models;
    updated.push_back(model);
    if (!WriteModels(folder, updated)) return false;
    models = std::move(updated);
    return true;
}

bool DeleteModel(const fs::path& folder, std::vector<TOpponentModel>& models, std::vector<TModelAssignment>& regPlayers,
                 std::vector<TModelAssignment>& startDefaults, int32_t n) {
    if (n < 0 || static_cast<std::size_t>(n) >= models.size()) return false;
    std::vector<TOpponentModel> updated = models;
    updated.erase(updated.begin() + n);
    Renumber(updated);
    if (!WriteModels(folder, updated)) return false;
    models = std::move(updated);

    bool ok = true;
    std::vector<TModelAssignment> players = regPlayers;
    if (FollowModelDeletion(players, n)) {
        if (WriteAssignments(folder / RegPlayersFileName, players)) {
            regPlayers = std::move(players);
        } else {
            ok = false;
        }
    }
    std::vector<TModelAssignment> defaults = startDefaults;
    if (FollowModelDeletion(defaults, n)) {
        if (WriteAssignments(folder / StartDefaultsFileName, defaults)) {
            startDefaults = std::move(defaults);
        } else {
            ok = false;
        }
    }
    return ok;
}

// ---- assignments -----------------------------------------------------------

TLoadStatus LoadAssignments(const fs::path& file, std::vector<TModelAssignment>& list) {
    return LoadRecordFile(file, MaxAssignmentsFileSize, list, DecodeAssignments);
}

bool SaveAssignment(const fs::path& file, std::vector<TModelAssignment>& list, const std::string& name,
                    int32_t modelIndex) {
    const TShortString<40> key(name);
    std::vector<TModelAssignment> updated = list;
    TModelAssignment* entry = nullptr;
    for (TModelAssignment& a : updated) {
        if (a.Name.Str() == key.Str()) {
            entry = &a;
            break;
        }
    }
    if (!entry) {
        updated.emplace_back();
        entry = &updated.back();
        entry->Name = key;
    }
    entry->ModelIndex = modelIndex;
    if (!WriteAssignments(file, updated)) return false;
    list = std::move(updated);
    return true;
}

bool DeleteAssignment(const fs::path& file, std::vector<TModelAssignment>& list, int32_t n) {
    if (n < 0 || static_cast<std::size_t>(n) >= list.size()) return false;
    std::vector<TModelAssignment> updated = list;
    updated.erase(updated.begin() + n);
    if (!WriteAssignments(file, updated)) return false;
    list = std::move(updated);
    return true;
}

TLoadStatus LoadRegPlayers(const fs::path& folder, std::vector<TModelAssignment>& list) {
    return LoadAssignments(folder / RegPlayersFileName, list);
}

TLoadStatus LoadStartDefaults(const fs::path& folder, std::vector<TModelAssignment>& list) {
    return LoadAssignments(folder / StartDefaultsFileName, list);
}

bool SaveRegPlayer(const fs::path& folder, std::vector<TModelAssignment>& list, const std::string& name,
                   int32_t modelIndex) {
    return SaveAssignment(folder / RegPlayersFileName, list, name, modelIndex);
}

bool SaveStartDefault(const fs::path& folder, std::vector<TModelAssignment>& list, const std::string& name,
                      int32_t modelIndex) {
    return SaveAssignment(folder / StartDefaultsFileName, list, name, modelIndex);
}

bool DeleteRegPlayer(const fs::path& folder, std::vector<TModelAssignment>& list, int32_t n) {
    return DeleteAssignment(folder / RegPlayersFileName, list, n);
}

bool DeleteStartDefault(const fs::path& folder, std::vector<TModelAssignment>& list, int32_t n) {
    return DeleteAssignment(folder / StartDefaultsFileName, list, n);
}

}  // namespace kova::tables
