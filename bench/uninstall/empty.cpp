// An empty Windows program: its run under Wine is the process start-up that
// every figure of the uninstall benchmark includes. Benchmark use only.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
