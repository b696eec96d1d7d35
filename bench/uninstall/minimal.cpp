// The least work the uninstall job can do, as a yardstick for uninstall.exe:
// reads Uninstall.lst from its own folder and, once, in the best order,
// deletes every listed file (one attribute read, one attribute reset, one
// delete each) and then removes every listed folder, deepest first (one
// attribute read while reading the list, one removal each). No checks of the
// entries, no second pass, no registry, no messages. Benchmark use only.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

int Depth(const std::string& entry) {
  return static_cast<int>(std::count(entry.begin(), entry.end(), '\\'));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char program[MAX_PATH];
  const DWORD got = GetModuleFileNameA(nullptr, program, sizeof(program));
  if (got == 0 || got >= sizeof(program)) return 2;
  std::string prefix(program);
  prefix.resize(prefix.rfind('\\') + 1);
  const std::string listName = prefix + "Uninstall.lst";

  HANDLE list = CreateFileA(listName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (list == INVALID_HANDLE_VALUE) return 3;
  std::string text;
  char block[65536];
  DWORD read = 0;
  while (ReadFile(list, block, sizeof(block), &read, nullptr) && read > 0) text.append(block, read);
  CloseHandle(list);

  std::vector<std::string> folders;
  std::string name;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    if (stop > start) {
      name.assign(prefix);
      name.append(text, start, stop - start);
      const DWORD attributes = GetFileAttributesA(name.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        folders.push_back(name);
      } else {
        SetFileAttributesA(name.c_str(), 0);
        DeleteFileA(name.c_str());
      }
    }
    start = end + 1;
  }
  std::stable_sort(folders.begin(), folders.end(), [](const std::string& a, const std::string& b) {
    return Depth(a) > Depth(b);
  });
  for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
  DeleteFileA(listName.c_str());
  return 0;
}
