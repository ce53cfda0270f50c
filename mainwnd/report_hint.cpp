#include "mainwnd/report_hint.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

#include "mainwnd/report_ctrl.h"
#include "mainwnd/report_model.h"
#include "platform/core/ticks.h"

namespace {

const char* const kHints[kHintCount] = {
    "Drag & Drop files and folders here",
    "Add files by clicking the \"Add Files\" toolbar button",
    "Add folder by clicking the \"Add Folder\" toolbar button",
    "Add subfolders by clicking the \"Add SubFolders\" toolbar button",
    "When you select one folder of the left folder tree, press the CTRL key at the same time, "
    "the soft will search and add all audio files in the subfolders",
    "When you select one folder of the left folder tree, press the SHIFT key at the same time, "
    "the soft will NOT clear the existing file list",
    "You can drag & drop files in the file list to Windows Explorer to copy these files",
    "Right click items in the file list and click the floating popup menu to perform various "
    "file operations",
    "Click the column header to sort the file list",
    "Right click the column header and click the floating popup menu to show/hide columns",
};

}  // namespace

QString HintText(int index) {
  return index >= 0 && index < kHintCount ? QString::fromLatin1(kHints[index]) : QString();
}

QFont HintFont() {
  QFont font(QStringLiteral("Trebuchet MS"));
  font.setPointSizeF(15.6);
  return font;
}

void PaintHint(QPainter& painter, const QRect& area, const QString& text) {
  painter.save();
  const QFont font = HintFont();
  painter.setFont(font);
  painter.setPen(QColor(106, 106, 255));
  painter.setBackground(Qt::white);
  painter.setBackgroundMode(Qt::OpaqueMode);
  QRect box = area;
  box.setTop(area.top() + area.height() / 2 - QFontMetrics(font).height());
  painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
  painter.restore();
}

void CReportCtrl::EnableHint(bool on) {
  m_bShowHint = on;
  viewport()->update();
}

bool CReportCtrl::IsHintShown() const { return m_bShowHint && m_pModel->RowCount() == 0; }

void CReportCtrl::paintEvent(QPaintEvent* event) {
  QTreeView::paintEvent(event);
  if (!IsHintShown()) {
    m_hintTimer.stop();
    return;
  }
  const std::uint32_t tick = platform::GetTickCount();
  QPainter painter(viewport());
  PaintHint(painter, viewport()->rect(), HintText(HintIndex(tick)));
  // Repaint when the next tip is due.
  m_hintTimer.start(static_cast<int>(kHintPeriodMs - tick % kHintPeriodMs) + 20);
}
