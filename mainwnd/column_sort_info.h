#pragma once
// One sort key of the file list. Eight bytes, also the record format of the
// stored sort keys in the application profile.
#include <cstdint>
#include <vector>

struct ColumnSortInfo {
  std::int32_t column = 0;
  std::int32_t ascending = 1;  // 1 ascending, 0 descending
  bool operator==(const ColumnSortInfo&) const = default;
};
static_assert(sizeof(ColumnSortInfo) == 8);

inline constexpr std::size_t kMaxSortKeys = 6;

// A header click on column: the column becomes the first key. Clicking the
// first key again reverses it, a later key keeps its direction, a new column
// starts ascending; the former keys stay behind it as tie-breakers.
void PushSortKey(std::vector<ColumnSortInfo>& keys, int column);
