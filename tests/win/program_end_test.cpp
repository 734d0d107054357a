// The program ends while the preset list is open with changed rows: the main window's exit ends
// the dialog's loop with the quit message, and a session end tells every window of the program
// first. The list drops its edits as a cancel does, without asking. (The invitation, which keeps
// its inputs, is walked end to end in exit_states_e2e_test.cpp.)
#include "tests/support/box_answerer.h"
#include "tests/support/dialog_run.h"
#include "dialogs/tea_list_dialog.h"
#include "res/resource.h"
#include "test_settings_store.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

TEST(ProgramEnd, ThePresetListDropsItsEditsWithoutAsking)
{
    for (const bool sessionEnd : {false, true}) {
        SCOPED_TRACE(sessionEnd ? "session end" : "exit");
        TestSettingsStore t;
        t.settings.teas[3].name = "Assam";
        TeaListDialog presets(t.settings, t.store);
        BoxAnswerer boxes({IDYES});
        // The quit message ends the dialog.
        RunOptions options;
        options.endLeftOpen = LeaveOpen;
        RunModal(presets, [&](HWND d) {
            LVITEMA state{};
            state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
            ::SendDlgItemMessageA(d, IDC_TEA_LIST, LVM_SETITEMSTATE, 3, LPARAM(&state));
            ::SendDlgItemMessageA(d, IDC_TEA_DELETE, BM_CLICK, 0, 0);
            if (sessionEnd)
                ::SendMessageA(d, WM_ENDSESSION, TRUE, 0);
            ::PostQuitMessage(0);
        }, options);
        MSG quit;
        EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "passed on to the main loop";
        EXPECT_EQ(boxes.Count(), 0u) << "nothing is asked on the way out";
        EXPECT_EQ(t.settings.teas[3].name, "Assam");
        EXPECT_EQ(t.Text("Teas", "Desc3"), "<missing>");
    }
}

} // namespace
