// The program's profile: values by section and name under the company's
// settings ("Korrinworks Inc."), as the application names them at start.
#pragma once

#include <cstdint>
#include <string>

int32_t GetProfileInt(const char* section, const char* name, int32_t defaultValue);
void WriteProfileInt(const char* section, const char* name, int32_t value);
// Empty when the value is absent.
std::string GetProfileString(const char* section, const char* name);
void WriteProfileString(const char* section, const char* name, const std::string& value);

// "MasterMode" in section "Wizard": a missing value counts as on.
bool IsMasterMode();
