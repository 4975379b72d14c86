#pragma once
// Where the public test data lies. It is read in place, never copied into the
// project; a test that needs it says so with KOVA_REQUIRE_TESTDATA
// (common/require.h).
#include <cstdlib>
#include <filesystem>
#include <string>

namespace kova::test {

inline std::string TestDataRoot() {
  if (const char* env = std::getenv("KOVA_TESTDATA")) return env;
  return KOVA_TESTDATA_DIR;
}

inline std::string TestDataPath(const std::string& relative) {
  return TestDataRoot() + "/" + relative;
}

inline bool HaveTestData(const std::string& relative = std::string()) {
  std::error_code ec;
  return std::filesystem::exists(relative.empty() ? TestDataRoot() : TestDataPath(relative), ec);
}

// The project's own source tree, for fixtures checked in beside the tests.
inline std::string SourcePath(const std::string& relative) {
  return std::string(KOVA_SOURCE_DIR) + "/" + relative;
}

}  // namespace kova::test
