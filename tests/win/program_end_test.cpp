// The program ends while one of its dialogs is open: the main window's exit ends the dialog's
// loop with the quit message, and a session end tells every window of the program first. A
// dialog keeps what closing it keeps, and asks nothing.
#include "box_answerer.h"
#include "dialog_driver.h"
#include "dialogs/tea_list_dialog.h"
#include "invite/invitation_dialog.h"
#include "res/resource.h"
#include "test_settings_store.h"

#include <commctrl.h>
#include <gtest/gtest.h>

namespace {

SC_HANDLE WINAPI RefuseManager(LPCSTR, LPCSTR, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

// Runs the dialog; once it is up, the user edits and the program ends under it. With a session
// end what is kept must be stored before the window answers: Windows may end the process then.
void EndUnder(Dialog &dialog, bool sessionEnd, void (*edit)(HWND), const std::function<void()> &expect)
{
    dialog_driver::pending = [&] {
        edit(dialog.GetSafeHwnd());
        if (sessionEnd) {
            ::SendMessageA(dialog.GetSafeHwnd(), WM_ENDSESSION, TRUE, 0);
            expect();
        }
        ::PostQuitMessage(0);
    };
    ::SetTimer(nullptr, 0, 1, dialog_driver::RunPending);
    BoxAnswerer boxes({IDYES});
    dialog.DoModal();
    MSG quit;
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "passed on to the main window's loop";
    EXPECT_EQ(boxes.Count(), 0u) << "nothing is asked on the way out";
    expect();
}

TEST(ProgramEnd, TheInvitationKeepsItsInputsAndThePresetListDropsItsEdits)
{
    const ServiceOpeners saved = serviceOpeners;
    serviceOpeners.openManager = RefuseManager;
    for (const bool sessionEnd : {false, true}) {
        SCOPED_TRACE(sessionEnd ? "session end" : "exit");
        TestSettingsStore t;
        t.settings.saveSettings = 1;
        InvitationDialog invitation(t.settings, t.store);
        EndUnder(
            invitation, sessionEnd, [](HWND d) { ::SetDlgItemTextA(d, IDC_INV_MESSAGE, "Tee um vier"); },
            [&] {
                EXPECT_EQ(t.Text("Netsend", "NSMessage"), "Tee um vier");
                EXPECT_EQ(t.Dword("Netsend", "SaveSettings"), 1u);
            });

        t.settings.teas[3].name = "Assam";
        TeaListDialog presets(t.settings, t.store);
        EndUnder(
            presets, sessionEnd,
            [](HWND d) {
                LVITEMA state{};
                state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
                ::SendDlgItemMessageA(d, IDC_TEA_LIST, LVM_SETITEMSTATE, 3, LPARAM(&state));
                ::SendDlgItemMessageA(d, IDC_TEA_DELETE, BM_CLICK, 0, 0);
            },
            [&] {
                EXPECT_EQ(t.settings.teas[3].name, "Assam");
                EXPECT_EQ(t.Text("Teas", "Desc3"), "<missing>");
            });
    }
    serviceOpeners = saved;
}

} // namespace
