// The class library's collections: string and typed arrays, lists and maps.
#include <gtest/gtest.h>

#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "afxcoll.h"
#include "afxtempl.h"

namespace {

struct Band {
  int color = 0;
  CString name;
  std::vector<int> counts;  // a member with its own heap storage
};

TEST(CStringArrayTest, AddInsertRemoveAndIndexes) {
  CStringArray a;
  EXPECT_TRUE(a.IsEmpty());
  EXPECT_EQ(a.GetUpperBound(), -1);
  EXPECT_EQ(a.Add(L"b"), 0);
  EXPECT_EQ(a.Add(CString(L"d")), 1);
  a.InsertAt(0, L"a");
  a.InsertAt(2, L"c");
  ASSERT_EQ(a.GetSize(), 4);
  EXPECT_EQ(a.GetCount(), 4);
  EXPECT_EQ(a.GetUpperBound(), 3);
  EXPECT_EQ(a[0], L"a");
  EXPECT_EQ(a.GetAt(1), L"b");
  EXPECT_EQ(a.ElementAt(2), L"c");
  EXPECT_EQ(a[3], L"d");

  a.SetAt(1, L"B");
  a[2] += L"!";
  EXPECT_EQ(a[1], L"B");
  EXPECT_EQ(a[2], L"c!");

  a.RemoveAt(1, 2);
  ASSERT_EQ(a.GetSize(), 2);
  EXPECT_EQ(a[0], L"a");
  EXPECT_EQ(a[1], L"d");

  // Inserting past the end grows the array with empty texts.
  a.InsertAt(4, L"x", 2);
  ASSERT_EQ(a.GetSize(), 6);
  EXPECT_TRUE(a[2].IsEmpty());
  EXPECT_TRUE(a[3].IsEmpty());
  EXPECT_EQ(a[4], L"x");
  EXPECT_EQ(a[5], L"x");

  a.RemoveAll();
  EXPECT_EQ(a.GetSize(), 0);
}

TEST(CStringArrayTest, OutOfRangeIndexThrowsInsteadOfCorrupting) {
  CStringArray a;
  a.Add(L"only");
  EXPECT_THROW(a.GetAt(1), std::out_of_range);
  EXPECT_THROW(a.GetAt(-1), std::out_of_range);
  EXPECT_THROW(a.SetAt(1, L"x"), std::out_of_range);
  EXPECT_THROW(a.RemoveAt(0, 2), std::out_of_range);
  EXPECT_THROW(a[5], std::out_of_range);
  EXPECT_EQ(a.GetSize(), 1);
  EXPECT_EQ(a[0], L"only");
}

TEST(CStringArrayTest, AppendCopyAndSelfReferences) {
  CStringArray a, b;
  a.Add(L"1");
  a.Add(L"2");
  b.Add(L"3");
  EXPECT_EQ(a.Append(b), 2);
  EXPECT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[2], L"3");

  // Appending an array to itself doubles it.
  a.Append(a);
  ASSERT_EQ(a.GetSize(), 6);
  EXPECT_EQ(a[5], L"3");

  // Adding one of the array's own elements while it reallocates.
  CStringArray c;
  c.Add(L"first");
  for (int i = 0; i < 50; ++i) c.Add(c[0]);
  EXPECT_EQ(c.GetSize(), 51);
  EXPECT_EQ(c[50], L"first");

  b.Copy(a);
  EXPECT_EQ(b.GetSize(), 6);
  EXPECT_EQ(b[0], L"1");
  b[0] = L"changed";
  EXPECT_EQ(a[0], L"1");  // a copy, not shared storage
}

TEST(CArrayTest, SetSizeGrowsWithZeroedElementsAndShrinks) {
  CArray<int> a;
  a.SetSize(5, 16);
  ASSERT_EQ(a.GetSize(), 5);
  for (INT_PTR i = 0; i < a.GetSize(); ++i) EXPECT_EQ(a[i], 0);
  a[4] = 7;
  a.SetAtGrow(9, 3);
  ASSERT_EQ(a.GetSize(), 10);
  EXPECT_EQ(a[4], 7);
  EXPECT_EQ(a[8], 0);
  EXPECT_EQ(a[9], 3);
  a.SetSize(2);
  EXPECT_EQ(a.GetSize(), 2);
  EXPECT_THROW(a.SetSize(-1), std::out_of_range);
  int sum = 0;
  for (int v : a) sum += v;
  EXPECT_EQ(sum, 0);
}

TEST(CArrayTest, InsertArrayAtPosition) {
  CArray<int> a, b;
  for (int i = 0; i < 3; ++i) a.Add(i);   // 0 1 2
  b.Add(10);
  b.Add(11);
  a.InsertAt(1, &b);                      // 0 10 11 1 2
  ASSERT_EQ(a.GetSize(), 5);
  EXPECT_EQ(a[1], 10);
  EXPECT_EQ(a[2], 11);
  EXPECT_EQ(a[3], 1);
  a.InsertAt(0, &a);                      // itself, at the front
  EXPECT_EQ(a.GetSize(), 10);
  EXPECT_EQ(a[5], 0);
  EXPECT_EQ(a[9], 2);
}

TEST(CArrayTest, StructElementsWithOwnStorageSurviveGrowthAndRemoval) {
  CArray<Band> bands;
  for (int i = 0; i < 40; ++i) {
    Band b;
    b.color = i;
    b.name.Format(L"band %d", i);
    b.counts = {i, i * 2};
    bands.Add(b);
  }
  bands.RemoveAt(0, 10);
  bands.InsertAt(5, bands[0], 3);
  ASSERT_EQ(bands.GetSize(), 33);
  EXPECT_EQ(bands[0].color, 10);
  EXPECT_EQ(bands[6].name, L"band 10");
  EXPECT_EQ(bands[6].counts[1], 20);
  EXPECT_EQ(bands[32].name, L"band 39");
  EXPECT_EQ(bands[32].counts.size(), 2u);
  // Everything is released by the destructor (checked by the sanitizer build).
}

TEST(CPtrArrayTest, HoldsUntypedPointers) {
  int x = 1, y = 2;
  CPtrArray a;
  a.Add(&x);
  a.Add(&y);
  a.InsertAt(1, static_cast<void*>(nullptr));
  ASSERT_EQ(a.GetSize(), 3);
  EXPECT_EQ(a[0], &x);
  EXPECT_EQ(a[1], nullptr);
  EXPECT_EQ(*static_cast<int*>(a[2]), 2);
}

std::vector<std::wstring> ListItems(const CList<CString, const CString&>& list) {
  std::vector<std::wstring> out;
  POSITION pos = list.GetHeadPosition();
  while (pos) out.emplace_back(list.GetNext(pos).GetString());
  return out;
}

TEST(CListTest, AddRemoveAtBothEnds) {
  CList<CString, const CString&> list;
  EXPECT_EQ(list.GetHeadPosition(), nullptr);
  list.AddTail(L"b");
  list.AddHead(L"a");
  list.AddTail(L"c");
  EXPECT_EQ(list.GetCount(), 3);
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"a", L"b", L"c"}));
  EXPECT_EQ(list.GetHead(), L"a");
  EXPECT_EQ(list.GetTail(), L"c");

  // Backwards.
  std::vector<std::wstring> back;
  POSITION pos = list.GetTailPosition();
  while (pos) back.emplace_back(list.GetPrev(pos).GetString());
  EXPECT_EQ(back, (std::vector<std::wstring>{L"c", L"b", L"a"}));

  EXPECT_EQ(list.RemoveHead(), L"a");
  EXPECT_EQ(list.RemoveTail(), L"c");
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(list.RemoveTail(), L"b");
  EXPECT_TRUE(list.IsEmpty());
  EXPECT_EQ(list.GetTailPosition(), nullptr);
  EXPECT_THROW(list.RemoveHead(), std::out_of_range);
}

TEST(CListTest, InsertFindAndRemoveInTheMiddle) {
  CStringList list;
  POSITION pA = list.AddTail(L"a");
  POSITION pC = list.AddTail(L"c");
  list.InsertAfter(pA, L"b");
  list.InsertBefore(pA, L"start");
  list.InsertAfter(pC, L"end");
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"start", L"a", L"b", L"c", L"end"}));

  POSITION pB = list.Find(L"b");
  ASSERT_NE(pB, nullptr);
  EXPECT_EQ(list.GetAt(pB), L"b");
  EXPECT_EQ(list.Find(L"zzz"), nullptr);
  EXPECT_EQ(list.FindIndex(2), pB);
  EXPECT_EQ(list.FindIndex(5), nullptr);
  EXPECT_EQ(list.FindIndex(-1), nullptr);

  list.SetAt(pB, L"B");
  list.RemoveAt(pA);
  list.RemoveAt(list.GetTailPosition());
  EXPECT_EQ(ListItems(list), (std::vector<std::wstring>{L"start", L"B", L"c"}));
  EXPECT_EQ(list.GetHead(), L"start");
  EXPECT_EQ(list.GetTail(), L"c");

  // Find after a position skips the earlier matches.
  CList<int, int> numbers;
  numbers.AddTail(5);
  POSITION second = numbers.AddTail(5);
  numbers.AddTail(6);
  EXPECT_EQ(numbers.Find(5, numbers.GetHeadPosition()), second);
  EXPECT_EQ(numbers.Find(5, second), nullptr);
}

TEST(CListTest, AddWholeListsIncludingItself) {
  CStringList a, b;
  a.AddTail(L"1");
  b.AddTail(L"x");
  b.AddTail(L"y");
  a.AddHead(&b);
  a.AddTail(&b);
  EXPECT_EQ(ListItems(a), (std::vector<std::wstring>{L"x", L"y", L"1", L"x", L"y"}));
  a.AddTail(&a);
  EXPECT_EQ(a.GetCount(), 10);
  a.RemoveAll();
  EXPECT_EQ(a.GetCount(), 0);
  EXPECT_EQ(a.GetHeadPosition(), nullptr);
}

TEST(CMapTest, SetLookupReplaceAndRemove) {
  CMap<CString, LPCWSTR, int, int> map(20);
  map.InitHashTable(31);
  EXPECT_EQ(map.GetHashTableSize(), 31u);
  int value = -1;
  EXPECT_FALSE(map.Lookup(L"GSM", value));
  EXPECT_EQ(map.GetStartPosition(), nullptr);

  map.SetAt(L"GSM", 1);
  map[L"WCDMA"] = 2;
  map.SetAt(L"GSM", 3);  // replaces
  EXPECT_EQ(map.GetCount(), 2);
  ASSERT_TRUE(map.Lookup(L"GSM", value));
  EXPECT_EQ(value, 3);
  EXPECT_EQ(map[L"new"], 0);  // operator[] adds a zero value
  EXPECT_EQ(map.GetCount(), 3);
  // Keys match exactly, case included.
  EXPECT_FALSE(map.Lookup(L"gsm", value));

  auto* pair = map.PLookup(L"WCDMA");
  ASSERT_NE(pair, nullptr);
  EXPECT_EQ(pair->key, L"WCDMA");
  pair->value = 9;
  EXPECT_EQ(map[L"WCDMA"], 9);
  EXPECT_EQ(map.PLookup(L"none"), nullptr);

  EXPECT_TRUE(map.RemoveKey(L"GSM"));
  EXPECT_FALSE(map.RemoveKey(L"GSM"));
  EXPECT_FALSE(map.Lookup(L"GSM", value));
  EXPECT_EQ(map.GetCount(), 2);
  map.RemoveAll();
  EXPECT_TRUE(map.IsEmpty());
  EXPECT_FALSE(map.Lookup(L"WCDMA", value));
  map[L"again"] = 4;  // usable after RemoveAll
  EXPECT_EQ(map.GetCount(), 1);
}

// The order a map hands out its associations.
template <class MAP, class K, class V>
std::vector<K> KeysInOrder(const MAP& map) {
  std::vector<K> keys;
  POSITION pos = map.GetStartPosition();
  while (pos) {
    K key;
    V value;
    map.GetNextAssoc(pos, key, value);
    keys.push_back(key);
  }
  return keys;
}

TEST(CMapTest, IteratesBucketByBucketNewestFirst) {
  // Integer keys hash to key >> 4: in 17 buckets 0..15 -> 0, 16 -> 1,
  // 272 (= 17 * 16) -> 0 again, 32 -> 2.
  CMap<int, int, int, int> map;
  map[32] = 1;
  map[0] = 2;
  map[16] = 3;
  map[272] = 4;
  map[5] = 5;
  std::vector<int> keys = KeysInOrder<decltype(map), int, int>(map);
  // Bucket 0 holds 5, 272, 0 (newest first); then 16; then 32.
  EXPECT_EQ(keys, (std::vector<int>{5, 272, 0, 16, 32}));
}

TEST(CMapTest, TextKeysHashLikeTheOriginal) {
  EXPECT_EQ(HashKey<LPCWSTR>(L""), 0u);
  EXPECT_EQ(HashKey<LPCWSTR>(L"A"), 65u);
  EXPECT_EQ(HashKey<LPCWSTR>(L"AB"), 65u * 33 + 66);
  EXPECT_EQ(HashKey<const CString&>(CString(L"AB")), 65u * 33 + 66);
  EXPECT_EQ(HashKey<int>(0x123), 0x12u);

  // "WCDMA" lands in bucket 8 of 17 and "GSM" in bucket 14, so iteration
  // gives WCDMA first whatever the insertion order.
  CMapStringToString map;
  map.SetAt(L"GSM", L"g");
  map.SetAt(L"WCDMA", L"w");
  EXPECT_EQ(HashKey<LPCWSTR>(L"GSM") % 17, 14u);
  EXPECT_EQ(HashKey<LPCWSTR>(L"WCDMA") % 17, 8u);
  std::vector<CString> keys = KeysInOrder<CMapStringToString, CString, CString>(map);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[0], L"WCDMA");
  EXPECT_EQ(keys[1], L"GSM");
  CString value;
  EXPECT_TRUE(map.Lookup(L"GSM", value));
  EXPECT_EQ(value, L"g");
}

TEST(CMapTest, ManyKeysEveryOneVisitedOnceAndRemovableWhileIterating) {
  CMap<int, int, CString, const CString&> map;
  map.InitHashTable(7, FALSE);
  for (int i = 0; i < 500; ++i) map[i * 3].Format(L"v%d", i);
  EXPECT_EQ(map.GetCount(), 500);

  std::map<int, int> seen;
  POSITION pos = map.GetStartPosition();
  while (pos) {
    int key;
    CString value;
    map.GetNextAssoc(pos, key, value);
    ++seen[key];
    CString expected;
    expected.Format(L"v%d", key / 3);
    EXPECT_EQ(value, expected);
    if (key % 2 == 0) {
      EXPECT_TRUE(map.RemoveKey(key));  // removing the current one is allowed
    }
  }
  EXPECT_EQ(seen.size(), 500u);
  for (auto& [key, count] : seen) EXPECT_EQ(count, 1) << key;
  EXPECT_EQ(map.GetCount(), 250);
}

TEST(CMapTest, InitHashTableKeepsWhatTheMapHolds) {
  CMapStringToPtr map;
  int a = 1, b = 2;
  map.SetAt(L"a", &a);
  map.SetAt(L"b", &b);
  map.InitHashTable(101);
  EXPECT_EQ(map.GetHashTableSize(), 101u);
  void* p = nullptr;
  ASSERT_TRUE(map.Lookup(L"a", p));
  EXPECT_EQ(p, &a);
  ASSERT_TRUE(map.Lookup(L"b", p));
  EXPECT_EQ(p, &b);
  EXPECT_EQ(map.GetCount(), 2);
}

TEST(CMapTest, ValuesOwningArraysAreReleased) {
  CMap<CString, LPCWSTR, CArray<Band>*, CArray<Band>*> levelMap;
  for (const wchar_t* type : {L"RxLev", L"RxQual", L"C/I"}) {
    auto* bands = new CArray<Band>;
    bands->SetSize(3);
    levelMap[type] = bands;
  }
  CArray<Band>* found = nullptr;
  ASSERT_TRUE(levelMap.Lookup(L"RxQual", found));
  EXPECT_EQ(found->GetSize(), 3);
  POSITION pos = levelMap.GetStartPosition();
  while (pos) {
    CString key;
    CArray<Band>* bands = nullptr;
    levelMap.GetNextAssoc(pos, key, bands);
    delete bands;
  }
  levelMap.RemoveAll();
  EXPECT_EQ(levelMap.GetCount(), 0);
}

TEST(CMapTest, WordAndPointerKeys) {
  CMapWordToPtr words;
  int x = 0;
  words[7] = &x;
  words.SetAt(65535, nullptr);
  void* p = nullptr;
  EXPECT_TRUE(words.Lookup(7, p));
  EXPECT_EQ(p, &x);
  EXPECT_TRUE(words.Lookup(65535, p));
  EXPECT_EQ(p, nullptr);

  CMapPtrToPtr ptrs;
  ptrs[&x] = &words;
  EXPECT_TRUE(ptrs.Lookup(&x, p));
  EXPECT_EQ(p, &words);
  EXPECT_FALSE(ptrs.Lookup(&words, p));
}

// Like the original, collections cannot be copied by accident.
static_assert(!std::is_copy_constructible_v<CArray<int>>);
static_assert(!std::is_copy_assignable_v<CStringArray>);
static_assert(!std::is_copy_constructible_v<CList<int, int>>);
static_assert(!std::is_copy_constructible_v<CMapStringToString>);

}  // namespace
