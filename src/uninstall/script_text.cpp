#include "uninstall/script_text.h"

#include <cstring>

namespace {

constexpr int kAttempts = 5;

class ScriptWriter {
 public:
  ScriptWriter(char* destination, int size) : destination_(destination), size_(size) {}

  void Text(const char* text) {
    for (; *text; ++text) Put(*text);
  }
  // Every % doubled: the interpreter expands %...% and drops a lone %. In the
  // double-byte code pages a trail byte is never 0x25, so bytes may be walked.
  void Path(const char* path) {
    Put('"');
    for (; *path; ++path) {
      if (*path == '%') Put('%');
      Put(*path);
    }
    Put('"');
  }
  int Finish() {
    if (!fits_ || used_ >= size_) return -1;
    destination_[used_] = '\0';
    return used_;
  }

 private:
  void Put(char c) {
    if (used_ + 1 >= size_) {
      fits_ = false;
      return;
    }
    destination_[used_++] = c;
  }

  char* destination_;
  int size_;
  int used_ = 0;
  bool fits_ = true;
};

}  // namespace

int BuildSelfRemovalScript(char* destination, int size, bool ntFamily, const char* program,
                           const char* folder, const char* script) {
  if (size <= 0) return -1;
  ScriptWriter out(destination, size);
  if (!ntFamily) out.Text("start /wait ");
  out.Path(program);
  out.Text(" /wait\r\n");
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    out.Text("del ");
    out.Path(program);
    out.Text("\r\nrd ");
    out.Path(folder);
    out.Text("\r\nif not exist ");
    out.Path(program);
    out.Text(" goto done\r\n");
  }
  out.Text(":done\r\nif exist ");
  out.Path(program);
  out.Text(" ");
  out.Path(program);
  out.Text(" /warning\r\ndel ");
  out.Path(script);
  const int length = out.Finish();
  if (length < 0) destination[0] = '\0';
  return length;
}
