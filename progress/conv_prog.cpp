#include "progress/conv_prog.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <ctime>
#include <QTreeWidget>
#include <algorithm>

#include "engine/encoder_settings.h"
#include "engine/run_messages.h"
#include "platform/core/ticks.h"
#include "platform/ui/app_icon.h"
#include "platform/ui/shell.h"
#include "platform/ui/taskbar.h"
#include "platform/ui/ui_message_box.h"
#include "progress/conv_log_list.h"
#include "progress/conv_prog_template.h"
#include "engine/run_format.h"

using platform::FindControl;
using platform::g_pTaskbarList;
using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

namespace {

const char kPositionSection[] = "Position";

// Never reset, like the log line numbers: counts across every run of the session.
int g_nProgressMessages = 0;

void SetTaskbarState(int state) {
  if (g_pTaskbarList) g_pTaskbarList->SetProgressState(state);
}

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

CConvProg::CConvProg(QWidget* parent)
    : CResizeDlg(&ConvProgTemplate(), parent),
      m_wnd(this, [this](unsigned msg, WPARAM w, LPARAM l) { return OnMessage(msg, w, l); }) {
  m_pWnd = &m_wnd;
  m_wnd.SetPayloadReleaser(&ReleaseRunMessage);
  setWindowTitle(QString());
  m_ctlProgressTask = FindControl<QProgressBar>(this, IDC_CONV_PROGRESS_TASK);
  m_ctlProgressAll = FindControl<QProgressBar>(this, IDC_CONV_PROGRESS_ALL);
  m_ctlTaskEta = FindControl<QLabel>(this, IDC_CONV_ETA_TASK);
  m_ctlTaskElapsed = FindControl<QLabel>(this, IDC_CONV_ELAPSED_TASK);
  m_ctlAllEta = FindControl<QLabel>(this, IDC_CONV_ETA_ALL);
  m_ctlAllElapsed = FindControl<QLabel>(this, IDC_CONV_ELAPSED_ALL);
  m_ctlLog = FindControl<QTreeWidget>(this, IDC_CONV_LOG);
  connect(FindControl<QPushButton>(this, IDC_CONV_PAUSE), &QPushButton::clicked, this,
          &CConvProg::OnPauseResume);
  connect(FindControl<QPushButton>(this, IDC_CONV_CANCEL), &QPushButton::clicked, this,
          &CConvProg::OnCancel);
  connect(FindControl<QPushButton>(this, IDC_CONV_CLEAR), &QPushButton::clicked, this,
          &CConvProg::OnClear);
}

CConvProg::~CConvProg() {
  // A window never goes away under its run: the threads report to it.
  WaitForThreads();
  CRunState* self = this;
  g_pConvProg.compare_exchange_strong(self, nullptr);
  SetTaskbarState(platform::TBPF_NOPROGRESS);
}

int CConvProg::ProgressMessageCount() { return g_nProgressMessages; }

bool CConvProg::OnInitDialog() {
  CResizeDlg::OnInitDialog();
  setWindowIcon(platform::AppIcon());
  g_pConvProg = this;
  ResetCounters();
  for (QProgressBar* bar : {m_ctlProgressTask, m_ctlProgressAll}) {
    bar->setRange(0, 100);
    bar->setValue(0);
  }
  SetupLogList(m_ctlLog);
  RegisterLayout();
  try {
    m_placement.Load(this, QString::fromLatin1(kConvProgPlacementName),
                     QString::fromLatin1(kPositionSection));
  } catch (...) {
    m_placement.Apply(this);
  }
  SetTaskbarState(platform::TBPF_NORMAL);
  PostConvProgress(&m_wnd, 0.0f, 0.0f);
  m_bRunning = 1;
  StartController(this, m_decode);
  return true;
}

void CConvProg::RegisterLayout() {
  for (int id : {IDC_CONV_GROUP_TASK, IDC_CONV_GROUP_ALL, IDC_CONV_PROGRESS_TASK,
                 IDC_CONV_PROGRESS_ALL})
    AddControl(id, RSZ_STRETCH, RSZ_STRETCH, RSZ_NONE, RSZ_NONE, 0, -1.0, -1.0, -1.0, -1.0);
  for (int id : {IDC_CONV_CLEAR, IDC_CONV_PAUSE, IDC_CONV_CANCEL})
    AddControl(id, RSZ_CENTER, RSZ_CENTER, RSZ_MOVE, RSZ_MOVE, 0, 1.0, -1.0, -1.0, -1.0);
  for (int id : {IDC_CONV_DONE_TASK_LABEL, IDC_CONV_DONE_ALL_LABEL, IDC_CONV_SPEED_TASK_LABEL,
                 IDC_CONV_SPEED_ALL_LABEL, IDC_CONV_ELAPSED_TASK_LABEL,
                 IDC_CONV_ELAPSED_ALL_LABEL, IDC_CONV_ETA_TASK_LABEL, IDC_CONV_ETA_ALL_LABEL})
    AddControl(id, RSZ_CENTER, RSZ_CENTER, RSZ_NONE, RSZ_NONE, 0, 1.0, -1.0, -1.0, -1.0);
  AddControl(IDC_CONV_DONE_TASK, RSZ_CENTER, RSZ_CENTER, RSZ_NONE, RSZ_NONE, RSZ_CLIPERASE, 1.0,
             -1.0, -1.0, -1.0);
  for (int id : {IDC_CONV_DONE_ALL, IDC_CONV_SPEED_TASK, IDC_CONV_SPEED_ALL,
                 IDC_CONV_ELAPSED_TASK, IDC_CONV_ELAPSED_ALL, IDC_CONV_ETA_TASK, IDC_CONV_ETA_ALL})
    AddControl(id, RSZ_CENTER, RSZ_CENTER, RSZ_NONE, RSZ_NONE, 0, 1.0, -1.0, -1.0, -1.0);
  for (int id : {IDC_CONV_SOURCE, IDC_CONV_DESTINATION})
    AddControl(id, RSZ_STRETCH, RSZ_STRETCH, RSZ_NONE, RSZ_NONE, 0, -1.0, -1.0, -1.0, -1.0);
  AddControl(IDC_CONV_LOG, RSZ_STRETCH, RSZ_STRETCH, RSZ_STRETCH, RSZ_STRETCH, 0, -1.0, -1.0,
             -1.0, -1.0);
}

LRESULT CConvProg::OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_CONV_PROGRESS: OnConvProgress(wParam, lParam); break;
    case WM_CONV_LOG: OnConvLog(wParam, lParam); break;
    case WM_CONV_FINISHED: OnConvFinished(); break;
    case platform::WM_TIMER: OnTimer(static_cast<unsigned>(wParam)); break;
    default: ReleaseRunMessage(msg, wParam, lParam);
  }
  return 0;
}

void CConvProg::OnConvProgress(WPARAM wParam, LPARAM lParam) {
  auto [taskPercent, runPercent] = TakeConvProgress(wParam, lParam);
  if (!m_bRunning) return;
  ++g_nProgressMessages;
  const double p = std::min(static_cast<double>(taskPercent), 100.0);
  const double q = std::min(static_cast<double>(runPercent), 100.0);
  platform::SetItemText(this, IDC_CONV_DONE_TASK, Q(FormatPercent(p)));
  platform::SetItemText(this, IDC_CONV_DONE_ALL, Q(FormatPercent(q)));
  m_ctlProgressAll->setValue(static_cast<int>(q));
  m_ctlProgressTask->setValue(static_cast<int>(p));
  if (g_nProgressMessages % 10 != 0) return;

  const std::uint32_t now = platform::GetTickCount();
  const float tf = static_cast<float>(now - m_dwTaskStartTick) / 1000.0f;
  const float tr = static_cast<float>(now - m_dwRunStartTick) / 1000.0f;
  if (!(tf > 0.1f)) return;
  m_ctlTaskElapsed->setText(Q(FormatHms(tf)));
  if (p > 0) m_ctlTaskEta->setText(Q(FormatHms((100 - p) * tf / p)));
  m_ctlAllElapsed->setText(Q(FormatHms(tr)));
  if (q > 0) m_ctlAllEta->setText(Q(FormatHms((100 - q) * tr / q)));
  platform::SetItemText(this, IDC_CONV_SPEED_TASK, Q(FormatSpeed(m_fSecondsDoneTask / tf)));
  platform::SetItemText(this, IDC_CONV_SPEED_ALL, Q(FormatSpeed(m_fSecondsDoneAll / tr)));
  if (g_pTaskbarList) g_pTaskbarList->SetProgressValue(static_cast<unsigned long long>(q), 100);
}

void CConvProg::OnConvLog(WPARAM wParam, LPARAM lParam) {
  AppendLog(Q(TakeConvLog(wParam)), static_cast<int>(lParam));
  if (lParam > 0) SetTaskbarState(platform::TBPF_ERROR);
}

void CConvProg::AppendLog(const QString& text, int severity) {
  AppendLogRow(m_ctlLog, Q(FormatLogNumber(NextLogLineNumber())),
               Q(FormatLogTime(std::time(nullptr))), text, severity);
}

void CConvProg::OnConvFinished() {
  m_bRunning = 0;
  platform::SetItemText(this, IDC_CONV_DONE_TASK, QStringLiteral("100.00%"));
  m_ctlProgressTask->setValue(100);
  m_ctlTaskEta->setText(QStringLiteral("00:00:00"));
  platform::SetItemText(this, IDC_CONV_DONE_ALL, QStringLiteral("100.00%"));
  m_ctlProgressAll->setValue(100);
  m_ctlAllEta->setText(QStringLiteral("00:00:00"));
  auto* openDir = FindControl<QPushButton>(this, IDC_CONV_PAUSE);
  openDir->setEnabled(g_bSameAsSrc == 0);
  openDir->setText(QStringLiteral("Open Dir"));
  platform::SetItemText(this, IDC_CONV_CANCEL, QStringLiteral("Finish"));
  setWindowTitle(QStringLiteral("Finished Converting"));
  AppendLog(QStringLiteral("Finished converting, all done ^_^"), LOG_INFO);
  if (g_pTaskbarList) g_pTaskbarList->SetProgressValue(100, 100);
}

void CConvProg::OnTimer(unsigned id) {
  if (id != kControllerTimerId) return;
  if (m_bRunning)
    m_ctlLog->resizeColumnToContents(3);
  else
    m_wnd.KillTimer(id);
}

void CConvProg::OnPauseResume() {
  if (m_bRunning) {
    m_bPaused = m_bPaused ? 0 : 1;
    platform::SetItemText(this, IDC_CONV_PAUSE,
                          m_bPaused ? QStringLiteral("Resume") : QStringLiteral("Pause"));
    SetTaskbarState(m_bPaused ? platform::TBPF_PAUSED : platform::TBPF_NORMAL);
  } else if (g_bSameAsSrc != 1) {
    platform::ShellOpen(Q(g_strDesDir));
  }
}

void CConvProg::OnCancel() {
  if (m_bAborting) return;
  if (!m_bRunning) {
    CloseAfterThreads();
    return;
  }
  // Hold the run while the user makes up their mind.
  const int wasPaused = m_bPaused;
  m_bPaused = 1;
  if (platform::ShowMessageBox(this, QStringLiteral("Do You Want to Cancel?"), platform::MB_YESNO) !=
      platform::IDYES) {
    m_bPaused = wasPaused;
    return;
  }
  SetTaskbarState(platform::TBPF_INDETERMINATE);
  m_bRunning = 0;
  FindControl(this, IDC_CONV_PAUSE)->setEnabled(false);
  FindControl(this, IDC_CONV_CANCEL)->setEnabled(false);
  setWindowTitle(QStringLiteral("Aborting, Please Wait..."));
  CloseAfterThreads();
}

void CConvProg::OnClear() { m_ctlLog->clear(); }

void CConvProg::CloseAfterThreads() {
  m_bAborting = true;
  // Short waits serve what the threads send; between them the window paints.
  WaitForThreads(20, [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
  done(0);
}

void CConvProg::reject() { OnCancel(); }

void CConvProg::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: e->accept(); return;  // neither closes the window
    default: CResizeDlg::keyPressEvent(e);
  }
}

void CConvProg::OnDestroy() {
  CResizeDlg::OnDestroy();
  m_placement.Save(this, QString::fromLatin1(kConvProgPlacementName),
                   QString::fromLatin1(kPositionSection));
}
