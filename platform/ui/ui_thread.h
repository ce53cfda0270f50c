#pragma once
// The UI thread's part in the message machinery: its inbox of synchronous
// calls is served from the Qt event loop, and code on any thread can run a
// function on it and wait for the result.
#include <functional>

#include "platform/core/messages.h"

namespace platform {

// Makes the calling thread the UI thread: its inbox wakes the event loop, and
// message boxes asked for by the engine's threads are shown here. Idempotent;
// needs the QApplication.
void InitUiThread();
// Runs fn on the UI thread and returns its result; a direct call there. While
// a worker waits, the UI thread keeps painting and serving.
LRESULT InvokeOnUiThread(std::function<LRESULT()> fn);

}  // namespace platform
