#pragma once
// Finds the MP3 encoder module lame_enc.so and its entry points. The module is
// loaded once per path and never unloaded.
#include <string>

#include "encoder/lame_enc.h"

struct LameEncoder {
  BeInitStreamProc initStream = nullptr;
  BeEncodeChunkFloatS16NIProc encodeChunk = nullptr;
  BeDeinitStreamProc deinitStream = nullptr;
  BeCloseStreamProc closeStream = nullptr;
  BeWriteInfoTagProc writeInfoTag = nullptr;  // may be missing
  BeWriteVBRHeaderProc writeVbrHeader = nullptr;
};

enum class LameLoadResult { Loaded, NoModule, NoInterfaces };

// Loads the module from the executable's folder, else from the library path,
// and looks the entry points up. NoInterfaces when one of them other than
// "beWriteInfoTag" is missing.
LameLoadResult LoadLameEncoder(LameEncoder* encoder);

// Makes the loader take exactly this file instead of searching; an empty path
// restores the search. Tests use it to reach a missing or incomplete module.
void SetLameModulePath(const std::string& path);
