// Copies of a sample card that keep a print busy while a test acts on it:
// long enough that the test sees it under way, short enough that a build
// with the address checker, which draws each sheet many times slower,
// still ends it in seconds.
#pragma once

#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
inline constexpr const char* kLongPrintCopies = "200";
#else
inline constexpr const char* kLongPrintCopies = "2000";
#endif
