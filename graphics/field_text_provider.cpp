#include "graphics/field_text_provider.h"

#include <utility>

namespace {

// Everything runs on the one user-interface thread.
FieldTextProvider* g_provider = nullptr;

}  // namespace

FieldTextProvider* SetFieldTextProvider(FieldTextProvider* provider) { return std::exchange(g_provider, provider); }

FieldTextProvider* InstalledFieldTextProvider() { return g_provider; }
