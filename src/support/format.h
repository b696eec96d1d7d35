// Formatting of the two message texts that take the one argument, a path.
// Their translations come from files anyone may edit, so they are never
// handed to printf: only one "%s" is substituted and "%%" gives a percent sign.
#pragma once

// True when `format` has exactly one "%s" and no conversion besides "%%".
bool IsOneStringFormat(const char* format);

// Writes `format` with `argument` in place of its "%s" into `destination`
// (`size` bytes, always terminated). A format that is not a one-string format
// is replaced by `fallback`, the program's own text; when that is unusable as
// well, the argument alone is written. Returns false when the text was cut.
bool FormatOneString(char* destination, int size, const char* format, const char* fallback,
                     const char* argument);
