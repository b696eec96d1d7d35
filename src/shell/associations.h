// Ownership of the archive extensions: take-over with the previous owner
// saved under Setup\<ext> of the product settings key, give-back restoring it,
// the old-style volume extensions and the new-file templates.
#pragma once

#include "setup/setup_options.h"

// Takes over every extension of a ticked group and gives back every other one
// the product owns. Sends no shell notification; the callers do.
void SetAssociations(const SetupOptions& options);

// One extension with its leading dot. `shellIntegration` switches the new-file
// template; `ownFormat` and `zip` are the flags of the extension's group.
void AssociateExtension(const char* extension, bool associate, bool shellIntegration,
                        bool ownFormat, bool zip);

// True when the extension's class under HKEY_CLASSES_ROOT is Kelvox or
// Kelvox.ZIP, letter case ignored.
bool IsOwnedExtension(const char* extension);
