// A key the user may only read (HKEY_LOCAL_MACHINE for a standard user): what a dialog or a menu
// command could not store is told to the user, a dialog stays open for another try or a cancel,
// and the running program goes on with what it had.
#include "tests/support/box_answerer.h"
#include "tests/support/dialog_run.h"
#include "dialogs/messages_dialog.h"
#include "dialogs/reminder_dialog.h"
#include "dialogs/tea_list_dialog.h"
#include "main_window_run.h"
#include "res/resource.h"
#include "test_settings_store.h"
#include "tests/support/registry_tree.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

void Select(HWND dialog, int row)
{
    LVITEMA state{};
    state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendDlgItemMessageA(dialog, IDC_TEA_LIST, LVM_SETITEMSTATE, WPARAM(row), LPARAM(&state));
}

struct DialogCase {
    const char *name;
    const char *group;
    const char *refusal; // the box's text
    std::function<std::unique_ptr<Dialog>(TestSettingsStore &)> make;
    // Changes one thing; inForce tells whether the running program has it.
    std::function<void(HWND)> edit;
    int accept;
    std::function<bool(const Settings &)> inForce;
};

TEST(RefusedSave, ADialogSaysWhatItCouldNotStoreStaysOpenAndStoresOnTheNextTry)
{
    const DialogCase cases[] = {
        {"preset list", "Teas", "Die Teesorten konnten nicht in der Registrierung gespeichert werden.",
         [](TestSettingsStore &t) {
             t.settings.teas[4].name = "Assam";
             return std::make_unique<TeaListDialog>(t.settings, t.store);
         },
         [](HWND d) {
             Select(d, 4);
             Click(d, IDC_TEA_DELETE);
         },
         IDC_TEA_SAVE, [](const Settings &s) { return s.teas[4].name == "Teesorte 4"; }},
        {"messages", "User", "Die Meldungen und Sounds konnten nicht in der Registrierung gespeichert werden.",
         [](TestSettingsStore &t) { return std::make_unique<MessagesDialog>(t.settings, t.store); },
         [](HWND d) { ::SetDlgItemTextA(d, IDC_ALARM_MESSAGE, "Fertig!"); }, IDOK,
         [](const Settings &s) { return s.message == "Fertig!"; }},
        {"reminder", "Teatime", "Die Teezeit konnte nicht in der Registrierung gespeichert werden.",
         [](TestSettingsStore &t) { return std::make_unique<ReminderDialog>(t.settings, t.store); },
         [](HWND d) { Click(d, IDC_REM_SUNDAY); }, IDC_REM_APPLY, [](const Settings &s) { return s.weekdays == 63; }},
    };
    for (const DialogCase &c : cases) {
        SCOPED_TRACE(c.name);
        TestSettingsStore t;
        const std::unique_ptr<Dialog> dialog = c.make(t);
        ReadOnlyKey readOnly(HKEY_CURRENT_USER, (std::string(TestSettingsStore::kPath) + "\\" + c.group).c_str());
        ASSERT_TRUE(readOnly.Made());
        BoxAnswerer boxes({}, "Brewbell");
        const INT_PTR result = RunModal(*dialog, [&](HWND d) {
            c.edit(d);
            Click(d, c.accept);
            EXPECT_EQ(boxes.Texts(), Texts{c.refusal});
            EXPECT_FALSE(dialog->IsEnded()) << "open for another try";
            EXPECT_FALSE(c.inForce(t.settings)) << "the running program goes on as before";
            readOnly.AllowWriting();
            Click(d, c.accept);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_TRUE(c.inForce(t.settings));
        EXPECT_EQ(boxes.Count(), 1u);
    }
}

TEST(RefusedSave, AMenuOptionThatCannotBeStoredIsToldAndHoldsForThisRun)
{
    ClearRegistry();
    {
        ReadOnlyKey readOnly(HKEY_LOCAL_MACHINE, "Software\\Brewbell\\Menu");
        ASSERT_TRUE(readOnly.Made());
        TheSettingsStore().loadAll();
        BoxAnswerer boxes({}, "Brewbell");
        RunMainWindow([&](MainDialog &dialog, HWND window) {
            ::SendMessageA(window, WM_COMMAND, ID_OPT_TOPMOST, 0);
            ::SendMessageA(window, WM_COMMAND, ID_LAYOUT_PLAIN, 0);
            EXPECT_TRUE(::GetMenuState(::GetMenu(window), ID_OPT_TOPMOST, MF_BYCOMMAND) & MF_CHECKED);
            dialog.ExitProgram();
        });
        const std::string refusal =
            "Die Einstellung konnte nicht in der Registrierung gespeichert werden. Sie gilt nur bis zum Programmende.";
        EXPECT_EQ(boxes.Texts(), (Texts{refusal, refusal}));
        EXPECT_EQ(TheSettings().layout, Plain);
    }
    TheSettingsStore().loadAll();
    ClearRegistry();
}

} // namespace
