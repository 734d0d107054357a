#include "app/tray_dialog.h"

INT_PTR TrayDialog::RunChildDialog(Dialog &dialog)
{
    childDialog = &dialog;
    const INT_PTR result = dialog.DoModal();
    childDialog = nullptr;
    return result;
}

bool TrayDialog::LoadTrayMenu(UINT resourceId)
{
    trayMenu.reset(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId)));
    return static_cast<bool>(trayMenu);
}
