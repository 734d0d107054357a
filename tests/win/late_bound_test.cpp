// Libraries bound when first used: their functions are found and called the same way in both
// architectures, and a library the system lacks takes its feature away with a message instead of
// a crash.
#include "app/alert_sound.h"
#include "tests/support/box_answerer.h"
#include "tests/support/dialog_run.h"
#include "dialogs/about_dialog.h"
#include "dialogs/messages_dialog.h"
#include "framework/late_bound.h"
#include "invite/invitation_dialog.h"
#include "res/resource.h"
#include "test_settings_store.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <functional>
#include <string>

TEST(LateBound, FindsSystemFunctionsAndAnswersNullForWhatIsMissing)
{
    EXPECT_NE(FindLateBound("winmm.dll", "PlaySoundA"), nullptr);
    EXPECT_EQ(FindLateBound("winmm.dll", "NoSuchFunction"), nullptr);
    EXPECT_EQ(FindLateBound("no_such_library.dll", "PlaySoundA"), nullptr);

    // A call through the typed binding keeps the calling convention: the allocator it hands out
    // works, and the stack is whole afterwards (a wrong convention crashes a 32-bit program here).
    const auto getMalloc = LATE_BOUND("shell32.dll", SHGetMalloc);
    ASSERT_NE(getMalloc, nullptr);
    IMalloc *allocator = nullptr;
    ASSERT_EQ(getMalloc(&allocator), S_OK);
    void *block = allocator->Alloc(16);
    EXPECT_NE(block, nullptr);
    allocator->Free(block);
    allocator->Release();

    RefusedLibrary refused("WINMM.DLL");
    EXPECT_EQ(FindLateBound("winmm.dll", "PlaySoundA"), nullptr) << "refused whatever the case of its name";
    EXPECT_NE(FindLateBound("shell32.dll", "SHGetMalloc"), nullptr);
}

TEST(LateBound, WithoutItsLibraryAFeatureSaysSoAndTheDialogStaysUsable)
{
    struct Case {
        const char *library;
        const char *expected; // the box's text; empty: no box
        std::function<void(TestSettingsStore &)> act;
    };
    const Case cases[] = {
        {"winmm.dll", "",
         [](TestSettingsStore &t) {
             PlayAlertSound(AlertSound::Finish, t.settings);
             PlayAlertSound(AlertSound::Stop, t.settings);
         }},
        {"comdlg32.dll", "Die Dateiauswahl kann nicht geöffnet werden.",
         [](TestSettingsStore &t) {
             t.settings.alarmSound = "C:\\gong.wav";
             MessagesDialog dialog(t.settings, t.store);
             RunModal(dialog, [](HWND d) {
                 ::SendMessageA(d, WM_COMMAND, IDC_ALARM_BROWSE, 0);
                 EXPECT_EQ(ItemText(d, IDC_ALARM_SOUND), "C:\\gong.wav");
                 EXPECT_TRUE(::IsWindowVisible(d));
             });
         }},
        {"shell32.dll", "Die Computerauswahl kann nicht geöffnet werden.",
         [](TestSettingsStore &t) {
             InvitationDialog dialog(t.settings, t.store);
             RunModal(dialog, [](HWND d) { ::SendMessageA(d, WM_COMMAND, IDC_INV_BROWSE, 0); });
         }},
        {"shell32.dll", "Die Verknüpfung kann nicht geöffnet werden.",
         [](TestSettingsStore &) {
             AboutDialog dialog;
             RunModal(dialog, [](HWND d) {
                 HWND link = ::GetDlgItem(d, IDC_LINK_WEB);
                 ::SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_LINK_WEB, STN_CLICKED), reinterpret_cast<LPARAM>(link));
             });
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected);
        TestSettingsStore t;
        // Boxes of the invitation's opening (no messenger service here) come first; OK to all.
        BoxAnswerer boxes;
        {
            RefusedLibrary refused(c.library);
            c.act(t);
        }
        const std::vector<std::string> texts = boxes.Texts();
        const bool shown = std::find(texts.begin(), texts.end(), c.expected) != texts.end();
        EXPECT_EQ(shown, *c.expected != '\0') << ::testing::PrintToString(texts);
    }
}
