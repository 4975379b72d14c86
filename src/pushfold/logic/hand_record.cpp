#include "pushfold/logic/hand_record.h"

#include <algorithm>

namespace kova::pushfold {

namespace {

bool ValidModelIndex(int level, int row, int column) {
  return level >= 1 && level <= kBlindLevelCount && row >= 0 && row <= 10 && column >= 1 && column <= 10;
}

int ModelIndex(int level, int row, int column) { return (level - 1) * 110 + row * 10 + (column - 1); }

}  // namespace

double TModelValues::At(int level, int row, int column) const {
  return ValidModelIndex(level, row, column) ? Values[ModelIndex(level, row, column)] : 0.0;
}

void TModelValues::Set(int level, int row, int column, double value) {
  if (ValidModelIndex(level, row, column)) Values[ModelIndex(level, row, column)] = value;
}

const std::array<TBlindLevel, kBlindLevelCount>& BlindStructure() {
  static const std::array<TBlindLevel, kBlindLevelCount> levels = {{
      {10, 20, 0},
      {15, 30, 0},
      {25, 50, 0},
      {50, 100, 0},
      {75, 150, 0},
      {100, 200, 0},
      {100, 200, 20},
      {200, 400, 40},
      {300, 600, 60},
      {400, 800, 80},
      {600, 1200, 120},
      {800, 1600, 160},
      {1000, 2000, 200},
      {1500, 3000, 300},
      {2000, 4000, 400},
  }};
  return levels;
}

int ClampBlindLevel(int level) { return std::clamp(level, 1, kBlindLevelCount); }

}  // namespace kova::pushfold
