#include "lang/local_strings.h"

#include "lang/language_file.h"
#include "support/config.h"
#include "support/text.h"

HINSTANCE ResourceModule = nullptr;
HINSTANCE ProgramInstance = nullptr;

namespace {
char g_stringBuffers[config::kStringBufferCount][config::kStringSize];
int g_stringCounter = 0;
const char kLanguageModuleName[] = "kvxlng.dll";
}  // namespace

ExtResource::~ExtResource() { Unload(); }

void ExtResource::LoadModule(HINSTANCE programInstance) {
  Unload();
  ProgramInstance = programInstance;
  ResourceModule = programInstance;
  char path[config::kPathSize];
  const DWORD got = GetModuleFileNameA(nullptr, path, sizeof(path));
  if (got == 0 || got >= sizeof(path)) return;
  *NamePosition(path) = '\0';
  if (!AppendWhole(path, sizeof(path), kLanguageModuleName)) return;
  module_ = LoadLibraryA(path);
  if (module_) {
    ResourceModule = module_;
    loaded_ = true;
  }
}

void ExtResource::Unload() {
  if (!loaded_) return;
  FreeLibrary(module_);
  module_ = nullptr;
  ResourceModule = ProgramInstance;
  loaded_ = false;
}

const char* GetLocalString(UINT id) {
  g_stringCounter = (g_stringCounter + 1) % config::kStringBufferCount;
  char* buffer = g_stringBuffers[g_stringCounter];
  buffer[0] = '\0';
  // While a language file is loaded, it translates the program's own strings;
  // the module's strings are used only without one.
  if (!g_languageResources.IsLoaded()) {
    if (LoadStringA(ResourceModule, id, buffer, config::kStringSize) == 0)
      LoadStringA(ProgramInstance, id, buffer, config::kStringSize);
  } else {
    LoadStringA(ProgramInstance, id, buffer, config::kStringSize);
  }
  g_languageResources.TranslateText(buffer, config::kStringSize, buffer, nullptr,
                                    TextKind::String);
  return buffer;
}

void GetOwnString(UINT id, char* destination, int size) {
  destination[0] = '\0';
  LoadStringA(ProgramInstance, id, destination, size);
}
