#pragma once
// What a test needs from outside the project: the public test data, the
// simulated poker client built beside the tests. On a developer's machine a
// test whose need is absent skips and says why; in CI (the runner sets
// CI=true) the absence is a failure, so that a missing directory or program
// never turns a run green by testing less.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "common/testdata.h"

namespace kova::test {

inline bool InContinuousIntegration() {
  const char* ci = std::getenv("CI");
  if (!ci || !*ci) return false;
  const std::string v(ci);
  return v != "0" && v != "false";
}

}  // namespace kova::test

// Stops the current test (or the SetUp of its fixture) unless `available`:
// a skip with `what` as the reason, or in CI a failure. `what` may be any
// expression that streams into a test message.
#define KOVA_REQUIRE(available, what)                                       \
  do {                                                                      \
    if (!(available)) {                                                     \
      if (::kova::test::InContinuousIntegration()) {                        \
        GTEST_FAIL() << what << " (required in CI)";                        \
      } else {                                                              \
        GTEST_SKIP() << what;                                               \
      }                                                                     \
    }                                                                       \
  } while (0)

// A folder of the public test data, e.g. KOVA_REQUIRE_TESTDATA("pngsuite").
#define KOVA_REQUIRE_TESTDATA(relative)                                                       \
  KOVA_REQUIRE(::kova::test::HaveTestData(relative),                                        \
               "public test data " << (relative) << "/ missing in " << ::kova::test::TestDataRoot())

// The simulated poker client beside the test executable; the test includes
// common/win32_testing.h, which finds it.
#define KOVA_REQUIRE_SIMCLIENT() \
  KOVA_REQUIRE(!::kova::test::SimClientExe().empty(), \
               "simclient.exe is not built beside the tests (add the area tools-simclient)")
