#pragma once
// The list's quicksort: the middle element as pivot, scans from both ends.
// Not stable; rows that compare equal keep no particular order.
#include <utility>

// Sorts items[lo..hi] so that for every i < j, compare(items[j], items[i]) is
// not negative. compare returns -1, 0 or 1.
template <typename T, typename Compare>
void QuickSortRange(T* items, long lo, long hi, const Compare& compare) {
  while (lo < hi) {
    const T pivot = items[lo + (hi - lo) / 2];
    long i = lo;
    long j = hi;
    while (i <= j) {
      while (compare(items[i], pivot) < 0) ++i;
      while (compare(items[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(items[i], items[j]);
        ++i;
        --j;
      }
    }
    // Recursing into the smaller part keeps the stack shallow on any input.
    if (j - lo < hi - i) {
      QuickSortRange(items, lo, j, compare);
      lo = i;
    } else {
      QuickSortRange(items, i, hi, compare);
      hi = j;
    }
  }
}
