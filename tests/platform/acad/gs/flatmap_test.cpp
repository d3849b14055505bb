// The graphics system's flat index, against the standard map: keys laid out
// as the object pool lays out objects (equal steps), inserted and erased in
// a random order, so that runs of neighbouring slots form and break up.
#include <gtest/gtest.h>

#include <random>
#include <unordered_map>
#include <vector>

#include "gsflatmap.h"

TEST(GsFlatMap, AgreesWithTheStandardMapThroughInsertsAndErases) {
  using Key = std::pair<const void*, const void*>;
  struct KeyHash {
    size_t operator()(const Key& k) const { return std::hash<const void*>()(k.first) ^ std::hash<const void*>()(k.second); }
  };
  static char memory[320 * 3000];
  std::vector<Key> keys;
  for (int i = 0; i < 3000; ++i) keys.push_back({memory + (i % 3) * 16, memory + 320 * i});

  acgs::FlatMap<Key, int> flat;
  std::unordered_map<Key, int, KeyHash> expected;
  std::mt19937 random(17);
  for (int step = 0; step < 60000; ++step) {
    const Key& key = keys[random() % keys.size()];
    if (random() % 3 == 0) {
      ASSERT_EQ(flat.erase(key), expected.erase(key) == 1) << "step " << step;
    } else {
      auto [value, made] = flat.insert(key);
      ASSERT_EQ(made, expected.find(key) == expected.end()) << "step " << step;
      *value = step;
      expected[key] = step;
    }
    ASSERT_EQ(flat.size(), expected.size());
  }
  for (const Key& key : keys) {
    auto it = expected.find(key);
    int* value = flat.find(key);
    ASSERT_EQ(value != nullptr, it != expected.end());
    if (value) {
      EXPECT_EQ(*value, it->second);
    }
  }
  size_t visited = 0;
  flat.forEach([&](const Key& key, int value) {
    ++visited;
    EXPECT_EQ(expected.at(key), value);
  });
  EXPECT_EQ(visited, expected.size());
  flat.clear();
  EXPECT_EQ(flat.find(keys[0]), nullptr);
}
