#pragma once
// The look of the file-manager lists: whole rows selected, the row under the
// mouse highlighted, no dotted focus frame around a cell.
class QAbstractItemView;

void ApplyExplorerTheme(QAbstractItemView* view);
