// The translation unit that carries the precompiled headers the test
// programs of one layer share (tests/CMakeLists.txt).
