#include "engine/lame_loader.h"

#include <dlfcn.h>

#include <map>
#include <mutex>
#include <vector>

#include "platform/core/file_system.h"

namespace {

std::mutex g_mutex;
std::string g_modulePath;                  // set by tests only
std::map<std::string, void*> g_handles;    // per path, never closed

void* OpenModule(const std::string& path) {
  auto it = g_handles.find(path);
  if (it != g_handles.end()) return it->second;
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle) g_handles.emplace(path, handle);
  return handle;
}

template <typename Proc>
Proc Find(void* handle, const char* name) {
  return reinterpret_cast<Proc>(dlsym(handle, name));
}

}  // namespace

LameLoadResult LoadLameEncoder(LameEncoder* encoder) {
  std::lock_guard lock(g_mutex);
  std::vector<std::string> candidates;
  if (!g_modulePath.empty())
    candidates = {g_modulePath};
  else
    candidates = {platform::ExecutableFolder() + "lame_enc.so", "lame_enc.so"};
  void* handle = nullptr;
  for (const auto& path : candidates)
    if ((handle = OpenModule(path))) break;
  if (!handle) return LameLoadResult::NoModule;

  LameEncoder e;
  e.initStream = Find<BeInitStreamProc>(handle, "beInitStream");
  e.encodeChunk = Find<BeEncodeChunkFloatS16NIProc>(handle, "beEncodeChunkFloatS16NI");
  e.deinitStream = Find<BeDeinitStreamProc>(handle, "beDeinitStream");
  e.closeStream = Find<BeCloseStreamProc>(handle, "beCloseStream");
  e.writeInfoTag = Find<BeWriteInfoTagProc>(handle, "beWriteInfoTag");
  e.writeVbrHeader = Find<BeWriteVBRHeaderProc>(handle, "beWriteVBRHeader");
  *encoder = e;
  if (!e.initStream || !e.encodeChunk || !e.deinitStream || !e.closeStream || !e.writeVbrHeader)
    return LameLoadResult::NoInterfaces;
  return LameLoadResult::Loaded;
}

void SetLameModulePath(const std::string& path) {
  std::lock_guard lock(g_mutex);
  g_modulePath = path;
}
