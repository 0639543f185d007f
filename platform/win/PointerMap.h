#pragma once
// A map from object pointers (window handles, controls) to small values in one flat table:
// open addressing with linear probing, at most half full, entries moved back on erase so no
// tombstones build up. A look-up reads one short run of a compact array instead of chasing
// a list node somewhere on the heap, which matters when it is asked for every message of
// thousands of windows.
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

template <class K, class V>
class TPointerMap {
public:
  // The value stored for `key`, or null.
  V* Find(K key) {
    std::size_t i = Slot(key);
    return i == kNone ? nullptr : &FSlots[i].Value;
  }
  const V* Find(K key) const { return const_cast<TPointerMap*>(this)->Find(key); }
  bool Contains(K key) const { return Slot(key) != kNone; }
  // The value for `key`, added (value-initialised) when missing.
  V& operator[](K key) {
    if (std::size_t i = Slot(key); i != kNone) return FSlots[i].Value;
    if (2 * (FCount + 1) > FSlots.size()) Grow();
    std::size_t i = Home(key);
    while (FSlots[i].Key) i = Next(i);
    FSlots[i].Key = key;
    FSlots[i].Value = V{};
    ++FCount;
    return FSlots[i].Value;
  }
  bool Erase(K key) {
    std::size_t i = Slot(key);
    if (i == kNone) return false;
    // Entries after the hole that would no longer be found move back into it: an entry
    // at j may fill the hole at i when its home is not in the run (i, j].
    for (std::size_t j = Next(i); FSlots[j].Key; j = Next(j)) {
      std::size_t home = Home(FSlots[j].Key);
      if (((j - home) & Mask()) >= ((j - i) & Mask())) {
        FSlots[i] = std::move(FSlots[j]);
        i = j;
      }
    }
    FSlots[i] = TSlot{};
    --FCount;
    return true;
  }
  void Clear() {
    FSlots.clear();
    FCount = 0;
  }
  std::size_t Size() const { return FCount; }
  // Every entry, in no given order. The map must not change while this runs.
  template <class F>
  void ForEach(F f) const {
    for (const TSlot& s : FSlots)
      if (s.Key) f(s.Key, s.Value);
  }

private:
  static constexpr std::size_t kNone = ~std::size_t(0);
  struct TSlot {
    K Key{};  // null: empty
    V Value{};
  };
  std::size_t Mask() const { return FSlots.size() - 1; }
  std::size_t Next(std::size_t i) const { return (i + 1) & Mask(); }
  std::size_t Home(K key) const {
    // Objects are at least 16 bytes apart: the low bits say nothing.
    auto v = std::uint64_t(reinterpret_cast<std::uintptr_t>(key) >> 4);
    return std::size_t((v * 0x9E3779B97F4A7C15ull) >> 32) & Mask();
  }
  std::size_t Slot(K key) const {
    if (!key || FSlots.empty()) return kNone;
    for (std::size_t i = Home(key);; i = Next(i)) {
      if (FSlots[i].Key == key) return i;
      if (!FSlots[i].Key) return kNone;
    }
  }
  void Grow() {
    std::vector<TSlot> old;
    old.swap(FSlots);
    FSlots.resize(old.size() < 32 ? 64 : old.size() * 2);
    for (TSlot& s : old)
      if (s.Key) {
        std::size_t i = Home(s.Key);
        while (FSlots[i].Key) i = Next(i);
        FSlots[i] = std::move(s);
      }
  }
  std::vector<TSlot> FSlots;  // the size is a power of two
  std::size_t FCount = 0;
};
