// The program ends while one of its dialogs is open: the main window's exit ends the dialog's
// loop with the quit message, and a session end tells every window of the program first. Each
// dialog keeps what closing it keeps, no more and no less, and asks nothing.
#include "box_answerer.h"
#include "dialog_driver.h"
#include "dialogs/messages_dialog.h"
#include "dialogs/reminder_dialog.h"
#include "dialogs/tea_list_dialog.h"
#include "invite/invitation_dialog.h"
#include "res/resource.h"
#include "test_settings_store.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

enum class Ending { Exit, SessionEnd };

void Click(HWND dialog, int id) { ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

SC_HANDLE WINAPI RefuseManager(LPCSTR, LPCSTR, DWORD)
{
    ::SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
}

struct Case {
    const char *name;
    std::function<std::unique_ptr<Dialog>(TestSettingsStore &)> make;
    std::function<void(HWND)> edit;
    // What the record and the registry hold once the program has ended.
    std::function<void(TestSettingsStore &)> expect;
};

// Runs the dialog; once it is up, the user edits and the program ends under it. With a session
// end, what is kept must be stored before the window answers: Windows may end the process then.
void EndUnder(Dialog &dialog, Ending ending, const Case &c, TestSettingsStore &t)
{
    dialog_driver::pending = [&] {
        HWND window = dialog.GetSafeHwnd();
        c.edit(window);
        if (ending == Ending::SessionEnd) {
            ::SendMessageA(window, WM_QUERYENDSESSION, 0, 0);
            ::SendMessageA(window, WM_ENDSESSION, TRUE, 0);
            c.expect(t);
        }
        ::PostQuitMessage(0);
    };
    ::SetTimer(nullptr, 0, 1, dialog_driver::RunPending);
    dialog.DoModal();
    MSG quit;
    EXPECT_TRUE(::PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "passed on to the main window's loop";
}

TEST(ProgramEnd, EachOpenDialogKeepsWhatClosingItKeeps)
{
    const ServiceOpeners saved = serviceOpeners;
    serviceOpeners.openManager = RefuseManager;
    const Case cases[] = {
        {"invitation keeping its inputs",
         [](TestSettingsStore &t) {
             t.settings.saveSettings = 1;
             return std::make_unique<InvitationDialog>(t.settings, t.store);
         },
         [](HWND d) {
             ::SetDlgItemTextA(d, IDC_INV_RECIPIENT, "PC-7");
             ::SetDlgItemTextA(d, IDC_INV_MESSAGE, "Tee um vier");
         },
         [](TestSettingsStore &t) {
             EXPECT_EQ(t.Text("Netsend", "Recipient"), "PC-7");
             EXPECT_EQ(t.Text("Netsend", "NSMessage"), "Tee um vier");
             EXPECT_EQ(t.Dword("Netsend", "SaveSettings"), 1u);
             EXPECT_EQ(t.settings.nsMessage, "Tee um vier");
         }},
        {"invitation told to forget",
         [](TestSettingsStore &t) {
             t.settings.recipient = "PC-7";
             t.settings.saveSettings = 1;
             return std::make_unique<InvitationDialog>(t.settings, t.store);
         },
         [](HWND d) { Click(d, IDC_INV_SAVE_INPUTS); },
         [](TestSettingsStore &t) {
             EXPECT_EQ(t.Text("Netsend", "Recipient"), "");
             EXPECT_EQ(t.Dword("Netsend", "SaveSettings"), 0u);
         }},
        {"preset list with a changed row",
         [](TestSettingsStore &t) {
             t.settings.teas[3].name = "Assam";
             return std::make_unique<TeaListDialog>(t.settings, t.store);
         },
         [](HWND d) {
             LVITEMA state{};
             state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
             ::SendDlgItemMessageA(d, IDC_TEA_LIST, LVM_SETITEMSTATE, 3, LPARAM(&state));
             Click(d, IDC_TEA_DELETE);
         },
         [](TestSettingsStore &t) {
             EXPECT_EQ(t.settings.teas[3].name, "Assam");
             EXPECT_EQ(t.Text("Teas", "Desc3"), "<missing>");
         }},
        {"messages with a typed text",
         [](TestSettingsStore &t) { return std::make_unique<MessagesDialog>(t.settings, t.store); },
         [](HWND d) { ::SetDlgItemTextA(d, IDC_ALARM_MESSAGE, "Getippt"); },
         [](TestSettingsStore &t) {
             EXPECT_EQ(t.settings.message, kDefaultMessage);
             EXPECT_EQ(t.Text("User", "Message"), "<missing>");
         }},
        {"reminder with a day unticked",
         [](TestSettingsStore &t) { return std::make_unique<ReminderDialog>(t.settings, t.store); },
         [](HWND d) { Click(d, IDC_REM_SUNDAY); },
         [](TestSettingsStore &t) {
             EXPECT_EQ(t.settings.weekdays, 127) << "not in force";
             EXPECT_EQ(t.Dword("Teatime", "Weekdays"), TestSettingsStore::kMissing);
         }},
    };
    for (const Ending ending : {Ending::Exit, Ending::SessionEnd}) {
        for (const Case &c : cases) {
            SCOPED_TRACE(std::string(c.name) + (ending == Ending::Exit ? ", exit" : ", session end"));
            TestSettingsStore t;
            const std::unique_ptr<Dialog> dialog = c.make(t);
            BoxAnswerer boxes({IDYES});
            EndUnder(*dialog, ending, c, t);
            EXPECT_FALSE(::IsWindow(dialog->GetSafeHwnd()));
            EXPECT_EQ(boxes.Count(), 0u) << "nothing is asked on the way out";
            c.expect(t);
        }
    }
    serviceOpeners = saved;
}

} // namespace
