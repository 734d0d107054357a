// The presets and the quick setting as a user walks through them: edit a preset in the list
// dialog, find it in the menu after a restart, set a time with the sliders and start it.
#include "automation.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <optional>

namespace registry = brewbell_registry;

namespace {

constexpr UINT kPresetFirst = 40000, kTeaList = 40022, kQuickSet = 40041, kTrayQuickSet = 40045;
constexpr int kStart = 1007;
// Preset list dialog
constexpr int kTeaListView = 1061, kTeaName = 1027, kTeaMin = 1037, kTeaSec = 1050, kTeaChange = 1048,
              kTeaSave = 1052;
// Quick setting dialog
constexpr int kQuickMinSlider = 1112, kQuickSecSlider = 1113, kQuickStart = 3;

void Key(HWND window, WPARAM key) { ::PostMessageA(window, WM_KEYDOWN, key, 0); }

class PresetsTest : public ::testing::Test {
protected:
    void SetUp() override { registry::Clear(); }
    void TearDown() override
    {
        if (::IsWindow(window))
            ::PostMessageA(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(program->HasExited(5000));
        registry::Clear();
    }
    void Start()
    {
        program.emplace();
        ASSERT_TRUE(program->Start());
        window = program->WaitForMainWindow();
        ASSERT_NE(window, nullptr);
    }
    void Restart()
    {
        ::PostMessageA(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(program->HasExited(5000));
        Start();
    }
    std::string StartCaption() const { return WindowText(::GetDlgItem(window, kStart)); }

    std::optional<Program> program;
    HWND window = nullptr;
};

TEST_F(PresetsTest, APresetEditedInTheListIsStoredAndSetsItsTimeAfterARestart)
{
    Start();
    Command(window, kTeaList);
    HWND list = program->WaitForWindowTitled("Teesorten bearbeiten");
    ASSERT_NE(list, nullptr);
    // Row 3 with the keyboard, taken into the edits with "Ändern", changed, applied, saved.
    HWND rows = ::GetDlgItem(list, kTeaListView);
    Key(rows, VK_HOME);
    for (int i = 0; i < 3; ++i)
        Key(rows, VK_DOWN);
    Command(list, kTeaChange);
    ASSERT_TRUE(WaitUntil([&] { return ItemText(list, kTeaName) == "Teesorte 3"; }));
    ::SendMessageA(::GetDlgItem(list, kTeaName), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Darjeeling"));
    ::SendMessageA(::GetDlgItem(list, kTeaMin), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("3"));
    ::SendMessageA(::GetDlgItem(list, kTeaSec), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("45"));
    Command(list, kTeaChange);
    Command(list, kTeaSave);
    ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(list); }));

    std::string name, minutes, seconds;
    EXPECT_TRUE(registry::ReadString("Teas", "Desc3", name));
    EXPECT_TRUE(registry::ReadString("Teas", "Min3", minutes));
    EXPECT_TRUE(registry::ReadString("Teas", "Sec3", seconds));
    EXPECT_EQ(name, "Darjeeling");
    EXPECT_EQ(minutes, "03");
    EXPECT_EQ(seconds, "45");

    // Hostile texts of another slot, as an outside edit leaves them.
    const std::string longName(255, 'x');
    registry::WriteString("Teas", "Desc5", longName.c_str());
    registry::WriteString("Teas", "Min5", "12abc");
    registry::WriteString("Teas", "Sec5", "");
    Restart();
    Command(window, kPresetFirst + 3);
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 03:45"));
    Command(window, kPresetFirst + 5);
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 12:00")) << "the leading digits give the time";
}

TEST_F(PresetsTest, QuickSettingFromMenuTrayAndContextMenuStartsOrChangesNothing)
{
    Start();
    // From the menu: 2:30 on the sliders, "Starten" runs it at once.
    Command(window, kQuickSet);
    HWND quick = program->WaitForWindowTitled("Schnelleinstellung");
    ASSERT_NE(quick, nullptr);
    ::SendMessageA(::GetDlgItem(quick, kQuickMinSlider), TBM_SETPOS, TRUE, 2);
    ::SendMessageA(::GetDlgItem(quick, kQuickSecSlider), TBM_SETPOS, TRUE, 30);
    Command(quick, kQuickStart);
    EXPECT_TRUE(WaitUntil([&] { return StartCaption() == "&Stop"; }));
    EXPECT_TRUE(WaitForTitle(window, "Brewbell - 02:29", 3000));

    // While it runs, the context menu opens nothing.
    ::PostMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(10, 10));
    EXPECT_EQ(program->WaitForWindowTitled("Schnelleinstellung", 500), nullptr);
    Click(window, kStart);
    ASSERT_TRUE(WaitUntil([&] { return StartCaption() == "&Start"; }));
    const std::string stopped = WindowText(window);

    // From the tray and from the context menu: "Abbrechen" changes nothing.
    for (bool fromTray : {true, false}) {
        if (fromTray)
            Command(window, kTrayQuickSet);
        else
            ::PostMessageA(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(10, 10));
        quick = program->WaitForWindowTitled("Schnelleinstellung");
        ASSERT_NE(quick, nullptr) << (fromTray ? "tray" : "context menu");
        ::SendMessageA(::GetDlgItem(quick, kQuickMinSlider), TBM_SETPOS, TRUE, 40);
        Command(quick, IDCANCEL);
        ASSERT_TRUE(WaitUntil([&] { return !::IsWindow(quick); }));
        EXPECT_EQ(WindowText(window), stopped);
    }
}

} // namespace
