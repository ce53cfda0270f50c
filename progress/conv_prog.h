#pragma once
// The window a conversion run takes place in. It holds the run's shared state,
// starts the run controller when it opens, shows per-file and overall
// progress with speed, elapsed and remaining time, keeps the numbered log, and
// offers pause, cancel and, at the end, the output folder.
#include <QString>

#include "engine/controller.h"
#include "engine/run_state.h"
#include "platform/ui/message_window.h"
#include "widgets/placement_store.h"
#include "widgets/resize_dlg.h"

class QLabel;
class QProgressBar;
class QTreeWidget;

inline constexpr char kConvProgPlacementName[] = "{104A7F6F-FFA3-4293-B808-9578D46FEC55}";

class CConvProg : public CResizeDlg, public CRunState {
  Q_OBJECT
 public:
  explicit CConvProg(QWidget* parent = nullptr);
  ~CConvProg() override;

  // The decode stage the run uses (tests stand in their own); set before showing.
  void SetDecodeEntry(DecodeEntry decode) { m_decode = std::move(decode); }
  platform::MessageWindow* Window() { return &m_wnd; }
  QTreeWidget* LogList() const { return m_ctlLog; }
  // Progress messages received by any progress window of the process.
  static int ProgressMessageCount();

 protected:
  bool OnInitDialog() override;
  void OnDestroy() override;
  // The close box acts like the Cancel button.
  void reject() override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  platform::LRESULT OnMessage(unsigned msg, platform::WPARAM wParam, platform::LPARAM lParam);
  void OnConvProgress(platform::WPARAM wParam, platform::LPARAM lParam);
  void OnConvLog(platform::WPARAM wParam, platform::LPARAM lParam);
  void OnConvFinished();
  void OnTimer(unsigned id);
  void OnPauseResume();
  void OnCancel();
  void OnClear();

  void AppendLog(const QString& text, int severity);
  void RegisterLayout();
  // Waits until the run's threads have ended, painting and serving what they
  // send meanwhile.
  void CloseAfterThreads();

  platform::MessageWindow m_wnd;
  CPlacementStore m_placement;
  DecodeEntry m_decode = DecodeTask;
  QProgressBar* m_ctlProgressTask = nullptr;
  QProgressBar* m_ctlProgressAll = nullptr;
  QLabel* m_ctlTaskEta = nullptr;      // 1088
  QLabel* m_ctlTaskElapsed = nullptr;  // 1087
  QLabel* m_ctlAllEta = nullptr;       // 1091
  QLabel* m_ctlAllElapsed = nullptr;   // 1086
  QTreeWidget* m_ctlLog = nullptr;
  bool m_bAborting = false;
};
