#include "mainwnd/column_sort_info.h"

void PushSortKey(std::vector<ColumnSortInfo>& keys, int column) {
  std::int32_t ascending = 1;
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (keys[i].column != column) continue;
    ascending = i == 0 ? !keys[i].ascending : keys[i].ascending;
    keys.erase(keys.begin() + static_cast<std::ptrdiff_t>(i));
    break;
  }
  keys.insert(keys.begin(), ColumnSortInfo{column, ascending});
  if (keys.size() > kMaxSortKeys) keys.resize(kMaxSortKeys);
}
