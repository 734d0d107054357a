#include "app/timer_app.h"

#include "app/main_dialog.h"
#include "app/process_objects.h"
#include "framework/thread.h"

#include <commctrl.h>

int TimerApp::Run()
{
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);

    TheSettingsStore().loadAll();

    MainDialog dialog(instance);
    Dialog::SetMainDialog(&dialog);
    dialog.DoModal();
    Dialog::SetMainDialog(nullptr);
    return ForcedThreadEnds();
}
