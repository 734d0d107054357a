#include "framework/message_box.h"

#include "framework/dialog.h"

const char kApplicationName[] = "Brewbell";

int AppMessageBox(HWND owner, const char *text, UINT flags)
{
    if (!owner && Dialog::MainDialog())
        owner = Dialog::MainDialog()->GetSafeHwnd();
    return ::MessageBoxA(owner, text, kApplicationName, flags);
}
