// A PostScript job as a printer runs it, for tests that look for what it
// draws: each compressed piece of a page in place as the text it holds.
#pragma once

#include <string>

// The job with every "currentfile /ASCII85Decode filter /FlateDecode
// filter cvx exec" and its data replaced by the PostScript they hold.
// Empty when a piece does not decode (its ASCII85 or zlib data is broken
// or cut short).
std::string PostScriptAsRun(const std::string& job);

// The bytes of ASCII85 text up to its "~>" (whitespace passed over), from
// `at` on; `end` is set past the mark. False when the text is not ASCII85
// or has no mark.
bool DecodeAscii85(const std::string& text, size_t at, std::string* bytes, size_t* end);
