// The calculator's data files, each a run of fixed records mirrored record
// for record by a list in memory:
//   "DefaultModel.dat"                   TOpponentModel, 13552 bytes each;
//   "RegPlayer.dat", "StartDefault.dat"  TModelAssignment, 48 bytes each.
// The record layouts are their field tables (recordcodec.h).
//
// Every change rewrites the whole file from the list (through a temporary
// file), so the file always equals the list.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "tables/files/datafiles.h"
#include "tables/model/variables.h"

namespace kova::tables {

inline constexpr char ModelsFileName[] = "DefaultModel.dat";
inline constexpr char RegPlayersFileName[] = "RegPlayer.dat";
inline constexpr char StartDefaultsFileName[] = "StartDefault.dat";

void DecodeOpponentModel(const uint8_t* p, TOpponentModel& model);  // 13552 bytes at p
void EncodeOpponentModel(const TOpponentModel& model, uint8_t* p);
void DecodeModelAssignment(const uint8_t* p, TModelAssignment& a);   // 48 bytes at p
void EncodeModelAssignment(const TModelAssignment& a, uint8_t* p);

// Whole records of a file's bytes; false when a partial record is left over.
bool DecodeModels(std::span<const uint8_t> bytes, std::vector<TOpponentModel>& models);
bool DecodeAssignments(std::span<const uint8_t> bytes, std::vector<TModelAssignment>& list);
std::vector<uint8_t> EncodeModels(const std::vector<TOpponentModel>& models);
std::vector<uint8_t> EncodeAssignments(const std::vector<TModelAssignment>& list);

// ---- models (folder = the program folder) -------------------------------------

// Every record in order; each model's ID := its index. A file that ends
// inside a record keeps the whole records (reported, copied).
TLoadStatus LoadModels(const std::filesystem::path& folder, std::vector<TOpponentModel>& models);
// Replaces list entry model.ID and its record; false when the ID names no model.
bool SaveModel(const std::filesystem::path& folder, std::vector<TOpponentModel>& models, const TOpponentModel& model);
// model.ID := the record count; appended to list and file.
bool AppendModel(const std::filesystem::path& folder, std::vector<TOpponentModel>& models, TOpponentModel& model);
// Removes model n (later models move down, IDs renumbered), drops the
// player and start-default assignments to n and lowers those to later
// models by one, so that every assignment still names the same model.
bool DeleteModel(const std::filesystem::path& folder, std::vector<TOpponentModel>& models,
                 std::vector<TModelAssignment>& regPlayers, std::vector<TModelAssignment>& startDefaults,
                 int32_t n);

// ---- assignments -------------------------------------------------------------

TLoadStatus LoadRegPlayers(const std::filesystem::path& folder, std::vector<TModelAssignment>& list);
TLoadStatus LoadStartDefaults(const std::filesystem::path& folder, std::vector<TModelAssignment>& list);
// The first entry whose Name equals name (case-sensitive, name cut to 40
// characters first) gets modelIndex; with none a new entry is appended.
bool SaveRegPlayer(const std::filesystem::path& folder, std::vector<TModelAssignment>& list,
                   const std::string& name, int32_t modelIndex);
bool SaveStartDefault(const std::filesystem::path& folder, std::vector<TModelAssignment>& list,
                      const std::string& name, int32_t modelIndex);
// Removes entry n (later entries move down).
bool DeleteRegPlayer(const std::filesystem::path& folder, std::vector<TModelAssignment>& list, int32_t n);
bool DeleteStartDefault(const std::filesystem::path& folder, std::vector<TModelAssignment>& list, int32_t n);

// The same operations on an assignment file given by its path.
TLoadStatus LoadAssignments(const std::filesystem::path& file, std::vector<TModelAssignment>& list);
bool SaveAssignment(const std::filesystem::path& file, std::vector<TModelAssignment>& list, const std::string& name,
                    int32_t modelIndex);
bool DeleteAssignment(const std::filesystem::path& file, std::vector<TModelAssignment>& list, int32_t n);

}  // namespace kova::tables
