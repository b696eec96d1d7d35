// The language file uninstall.lng: its message section, read once at start-up,
// and the translation of texts by the CRC-32 key of kind, context and text.
#pragma once

#include "lang/array.h"

enum class TextKind { String = 0, Dialog = 1, Other = 2 };

class LanguageResources {
 public:
  LanguageResources() = default;
  LanguageResources(const LanguageResources&) = delete;
  LanguageResources& operator=(const LanguageResources&) = delete;
  ~LanguageResources();

  // Loads the message section of the file (a bare name is looked for beside
  // the program) and decides on right-to-left layout. Runs once.
  void Init(const char* fileName);
  bool IsLoaded() const { return text_ != nullptr; }

  // Writes the translation of `text` into `destination` (`size` bytes, always
  // terminated, cut when longer), or the text itself when there is none.
  // `destination` may be `text` itself. `context` may be null.
  void TranslateText(char* destination, int size, const char* text, const char* context,
                     TextKind kind) const;

  // Dialogs are to be laid out right to left.
  bool RightToLeft = false;

  // Byte-level steps, open to tests and fuzzers.

  // Offset of the section marker in a block of `count` bytes, or -1. Offsets
  // past count - 16 are not examined.
  static int FindMarker(const char* block, int count);
  // Takes ownership of a malloc'ed buffer of the section size plus slack that
  // holds `length` bytes read from the marker on (-1: the read failed), then
  // resolves escapes and line ends and builds the sorted index.
  void AdoptSection(char* buffer, int length);
  // Copies at most a section's worth of bytes and adopts them. False when
  // memory for the buffer could not be had.
  bool LoadSectionFromBytes(const char* bytes, int count);
  // The file's own answer to the right-to-left question.
  bool FileAsksRightToLeft() const;
  // Offset of the line that starts with `key` (8 bytes), or -1.
  int FindEntry(const char* key) const;
  int ScanEntries(const char* key) const;
  // The key of a text as 8 lowercase hexadecimal digits and a terminator.
  static void MakeKey(char (&key)[16], const char* text, const char* context, TextKind kind);

  const char* SectionText() const { return text_; }
  int SectionLength() const { return length_; }
  int IndexCount() const { return index_.Count(); }
  int IndexCapacity() const { return index_.Capacity(); }

 private:
  void ReadMessageSection(const char* fileName);
  void DetectRightToLeft();

  char* text_ = nullptr;
  int length_ = 0;
  Array<int> index_;
};

extern LanguageResources g_languageResources;
