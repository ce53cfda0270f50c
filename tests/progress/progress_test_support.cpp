#include "tests/progress/progress_test_support.h"

#include <QDBusConnection>
#include <QPushButton>
#include <QTreeWidget>
#include <memory>

#include "engine/run_messages.h"
#include "engine/stage_threads.h"
#include "platform/core/ticks.h"
#include "platform/ui/dialog_template.h"

CConversionTask MakeTask(const std::string& source, const std::string& dest, double seconds) {
  CConversionTask t;
  t.m_strSource = source;
  t.m_strDest = dest;
  t.m_nSrcSampleRate = t.m_nSampleRate = 44100;
  t.m_nSrcChannels = t.m_nChannels = 2;
  t.m_nExpectedSamples = static_cast<std::uint64_t>(seconds * 44100) * 2;
  return t;
}

DecodeEntry FakeStages::Entry() const {
  auto cfg = std::make_shared<FakeStages>(*this);
  return [cfg](CConversionTask* task) {
    CRunState* run = g_pConvProg;
    if (cfg->failing.count(task->m_strSource)) {
      run->Log(LOG_ERROR, "Error : could not open mp4 file : " + task->m_strSource);
      run->m_bRunning = 0;
      return 0;
    }
    StartStageThread(run->m_pEncoderThread, [cfg, run, task] {
      const std::uint64_t step = task->m_nExpectedSamples / static_cast<std::uint64_t>(cfg->steps);
      auto percents = [&] {
        return std::pair<float, float>(
            run->m_nSamplesDoneTask * 100.0f / static_cast<float>(task->m_nExpectedSamples),
            run->m_nSamplesDoneAll * 100.0f / static_cast<float>(run->m_nSamplesTotalAll));
      };
      for (int i = 0; i < cfg->steps && run->m_bRunning;) {
        if (run->m_bPaused) {
          platform::Sleep(10);
          continue;
        }
        run->m_nSamplesDoneTask += step;
        run->m_nSamplesDoneAll += step;
        run->m_fSecondsDoneTask = run->m_fSecondsDoneTask + task->GetSeconds(step);
        run->m_fSecondsDoneAll = run->m_fSecondsDoneAll + task->GetSeconds(step);
        auto [p, q] = percents();
        PostConvProgress(run->m_pWnd, p, q);
        platform::Sleep(static_cast<unsigned>(cfg->stepMs));
        ++i;
      }
      if (cfg->beforeFinalSend) cfg->beforeFinalSend();
      auto [p, q] = percents();
      SendConvProgress(run->m_pWnd, p, q);
      return 0u;
    });
    return 1;
  };
}

std::vector<std::pair<std::string, int>> LogLines(const CConvProg& dlg) {
  std::vector<std::pair<std::string, int>> lines;
  QTreeWidget* list = dlg.LogList();
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list->topLevelItem(i);
    lines.emplace_back(item->text(3).toStdString(), item->data(0, Qt::UserRole).toInt());
  }
  return lines;
}

QString Text(const CConvProg& dlg, int id) { return platform::GetItemText(&dlg, id); }

bool Enabled(const CConvProg& dlg, int id) { return platform::FindControl(&dlg, id)->isEnabled(); }

void Click(CConvProg& dlg, int id) { platform::FindControl<QPushButton>(&dlg, id)->click(); }

bool HasStatusLine(const CConvProg& dlg) {
  for (const auto& [text, severity] : LogLines(dlg))
    if (text.rfind("Converting status:", 0) == 0) return true;
  return false;
}

bool ThreadsEnded(const CConvProg& dlg) {
  for (auto* slot : {&dlg.m_pControllerThread, &dlg.m_pConverterThread, &dlg.m_pEncoderThread})
    if (auto thread = slot->Get(); thread && !thread->IsFinished()) return false;
  return true;
}

TestTaskbar::TestTaskbar()
    : m_taskbar(std::make_unique<platform::TaskbarProgress>(
          QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/korvane-bus"),
                                        QStringLiteral("korvane-test-taskbar")))) {
  platform::g_pTaskbarList = m_taskbar.get();
}

TestTaskbar::~TestTaskbar() { platform::g_pTaskbarList = nullptr; }
