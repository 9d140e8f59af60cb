// Compiles the suites' precompiled header once for all of them.
