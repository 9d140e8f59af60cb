#include "graphics/field_text_provider.h"

namespace {

// Everything runs on the one user-interface thread.
FieldTextProvider* g_provider = nullptr;

}  // namespace

FieldTextProvider* SetFieldTextProvider(FieldTextProvider* provider)
{
    FieldTextProvider* previous = g_provider;
    g_provider = provider;
    return previous;
}

FieldTextProvider* InstalledFieldTextProvider() { return g_provider; }
