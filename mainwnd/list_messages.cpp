#include "mainwnd/list_messages.h"

std::atomic<int> g_bListBusy{0};
