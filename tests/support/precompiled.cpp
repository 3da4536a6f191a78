// Compiled only to build the tests' precompiled header.
