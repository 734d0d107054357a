// A library that lies beside the programs of the build, as a stranger's DLL lies beside a program
// unpacked into the downloads folder: the end-to-end tests check that Brewbell cannot load it by
// its bare name.
#include <windows.h>

extern "C" __declspec(dllexport) int BesideProgram() { return 1; }
