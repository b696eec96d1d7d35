#include <windows.h>

#include "app/entry.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  return RunProgram(instance, arguments ? arguments : "");
}
