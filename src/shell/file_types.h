// The product's file-type classes Kelvox, Kelvox.ZIP and Kelvox.REV, and the
// binding of .rev to the last.
#pragma once

// Writes descriptions, open commands and (where none is set) icons of the
// three classes, binds .rev, then tells the shell that associations changed.
void RegisterFileTypes();
