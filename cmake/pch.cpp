// Compiles the precompiled header that every library of the system reuses.
