// The program-wide objects, defined in one place so that they come into being
// in this order: lead-byte table, error record (constant-initialised, before
// everything), language module holder, language file. They are destroyed in
// reverse: language file first, then the language module.
#include "lang/language_file.h"
#include "lang/local_strings.h"
#include "support/system.h"
#include "support/text.h"

namespace {
LeadByteTable SystemLeadByteTable() {
  LeadByteTable table;
  BuildLeadByteTable(table);
  return table;
}
}  // namespace

LeadByteTable g_leadBytes = SystemLeadByteTable();

ExtResource g_extResource;
LanguageResources g_languageResources;
