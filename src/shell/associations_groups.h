// The archive extension groups, the product's class names and the new-file
// templates: the byte-level side of the associations.
#pragma once

namespace associations {

constexpr int kGroupCount = 14;
// Group i is switched by byte i of SetupOptions; each text is a run of
// extensions, each beginning with a dot.
extern const char* const kGroupTexts[kGroupCount];
constexpr int kOwnFormatGroup = 0;
constexpr int kZipGroup = 1;

// Copies the first extension of `groupText` (up to, not including, the next
// dot after its first character) into `out` and returns where the next
// extension begins, or nullptr when this was the last one.
const char* NextExtension(const char* groupText, char* out, int size);

// "Kelvox" or "Kelvox.ZIP", ASCII letters compared without regard to case.
bool IsProductClassName(const char* text);

// ".k00" to ".k99"; `out` needs 5 bytes.
void FormatVolumeExtension(int number, char* out);

// New-file templates of an empty archive. Their first byte stays 0 until
// ArmTemplates sets it, so the program file never carries the signatures.
constexpr int kOwnTemplateSize = 20;
constexpr int kZipTemplateSize = 22;
extern unsigned char g_ownTemplate[kOwnTemplateSize];
extern unsigned char g_zipTemplate[kZipTemplateSize];
void ArmTemplates();

}  // namespace associations
