// The language module kvxlng.dll and the program's localised strings.
#pragma once

#include <windows.h>

// Dialogs, the icon, strings and the right-to-left marker come from here: the
// language module while it is loaded, the program's own instance otherwise.
extern HINSTANCE ResourceModule;
extern HINSTANCE ProgramInstance;

class ExtResource {
 public:
  ExtResource() = default;
  ExtResource(const ExtResource&) = delete;
  ExtResource& operator=(const ExtResource&) = delete;
  ~ExtResource();

  // Loads kvxlng.dll from the program's folder; without it the program's own
  // resources serve.
  void LoadModule(HINSTANCE programInstance);
  // Frees the module, so its file can be deleted. Does nothing when not loaded.
  void Unload();
  bool IsLoaded() const { return loaded_; }

 private:
  HMODULE module_ = nullptr;
  bool loaded_ = false;
};

extern ExtResource g_extResource;

// String `id`, translated through the language file, in one of eight rotating
// buffers: it stays intact through the next seven calls.
const char* GetLocalString(UINT id);

// The program's own string `id`, untranslated: the safe fallback of a format
// string whose translation is unusable.
void GetOwnString(UINT id, char* destination, int size);
