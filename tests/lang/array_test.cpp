// The growable array behind the language file's line index.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <climits>
#include <cstdio>

#include "lang/array.h"

namespace {

TEST(Array, CapacityGrowsByAQuarterPlus32) {
  Array<int> array;
  EXPECT_EQ(0, array.Count());
  EXPECT_EQ(0, array.Capacity());
  // Capacity seen right after pushing the n-th element.
  const struct {
    int count;
    int capacity;
  } steps[] = {{1, 32}, {32, 32}, {33, 72}, {72, 72}, {73, 122}, {122, 122}, {123, 184},
               {184, 184}, {185, 262}};
  int pushed = 0;
  for (const auto& step : steps) {
    SCOPED_TRACE(step.count);
    while (pushed < step.count) {
      array.Push(pushed * 7 - 3);
      ++pushed;
    }
    EXPECT_EQ(step.count, array.Count());
    EXPECT_EQ(step.capacity, array.Capacity());
  }
  for (int i = 0; i < pushed; ++i) ASSERT_EQ(i * 7 - 3, array[i]) << "element " << i;
  EXPECT_EQ(pushed, array.end() - array.begin());
}

TEST(Array, LargeGrowthTakesTheCountItself) {
  const struct {
    const char* name;
    int first;
    int second;
    int capacity;
  } cases[] = {
      {"nothing added", 0, 0, 0},
      {"below the first step", 5, 0, 32},
      {"beyond the first step", 100, 0, 100},
      {"beyond the second step", 10, 200, 210},
      {"within the second step", 40, 30, 82},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Array<int> array;
    array.AddItems(c.first);
    array.AddItems(c.second);
    EXPECT_EQ(c.first + c.second, array.Count());
    EXPECT_EQ(c.capacity, array.Capacity());
  }
}

}  // namespace

// A failed allocation must come back as null, as it does without the
// sanitizer, whether or not the test runs under ctest's ASAN_OPTIONS.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }

namespace {

// Keeps the process's address space just above what it uses, so a large
// allocation really fails (AddressSanitizer then returns null, as ctest sets
// allocator_may_return_null=1).
void LimitAddressSpace() {
  unsigned long pages = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%lu", &pages) != 1) pages = 0;
    std::fclose(f);
  }
  const rlim_t limit = static_cast<rlim_t>(pages) * 4096u + (256u << 20);
  const rlimit r{limit, limit};
  setrlimit(RLIMIT_AS, &r);
}

TEST(ArrayDeathTest, ExhaustedMemoryEndsTheProcessWithCode8) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LimitAddressSpace();
        Array<int> array;
        array.Push(1);
        array.AddItems(400 * 1000 * 1000);
      },
      testing::ExitedWithCode(8), "");
}

TEST(ArrayDeathTest, CountsBeyondTheAddressableEndTheProcessWithCode8) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  const struct {
    const char* name;
    int first;
    int second;
  } cases[] = {
      {"more bytes than an int can count", INT_MAX / 4 + 1, 0},
      {"the largest count", INT_MAX, 0},
      {"count overflows", 10, INT_MAX - 5},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EXIT(
        {
          Array<int> array;
          array.AddItems(c.first);
          array.AddItems(c.second);
        },
        testing::ExitedWithCode(8), "");
  }
}

}  // namespace
