#pragma once
// The run controller: converts the tasks of a run one after another.
#include <functional>
#include <memory>

#include "engine/decode_task.h"
#include "engine/run_state.h"
#include "platform/core/worker_thread.h"

using DecodeEntry = std::function<int(CConversionTask*)>;

inline constexpr int IDC_CONV_SOURCE = 1092;
inline constexpr int IDC_CONV_DESTINATION = 1093;
inline constexpr unsigned kControllerTimerId = 1;

// The controller thread's body; returns when the run ends.
unsigned ControllerThreadProc(CRunState* run, const DecodeEntry& decode = DecodeTask);

// Publishes run in g_pConvProg, raises the run flag and starts the controller
// thread, recorded in m_pControllerThread before it runs.
std::shared_ptr<platform::WorkerThread> StartController(CRunState* run,
                                                        DecodeEntry decode = DecodeTask);
