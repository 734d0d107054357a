#include "app/timer_app.h"

#include "app/main_dialog.h"
#include "app/process_objects.h"
#include "framework/late_bound.h"
#include "framework/thread.h"

int TimerApp::Run()
{
    TheSettingsStore().loadAll();

    MainDialog dialog(instance);
    Dialog::SetMainDialog(&dialog);
    dialog.DoModal();
    Dialog::SetMainDialog(nullptr);
    CloseComApartment();
    return ForcedThreadEnds();
}
