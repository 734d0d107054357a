#include "app/tray_dialog.h"

INT_PTR TrayDialog::RunChildDialog(Dialog &dialog)
{
    childDialog = &dialog;
    const INT_PTR result = dialog.DoModal();
    childDialog = nullptr;
    return result;
}
