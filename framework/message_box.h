// Message boxes captioned with the application's name.
#pragma once

#include <windows.h>

extern const char kApplicationName[];

// A null owner means the application's main dialog, if there is one.
int AppMessageBox(HWND owner, const char *text, UINT flags);
