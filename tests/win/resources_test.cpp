#include "res/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

HINSTANCE Self() { return ::GetModuleHandleA(nullptr); }

std::string MenuText(HMENU menu, UINT position)
{
    char text[128] = "";
    ::GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

// Every item of a popup as "id text", separators as "-", submenus as "> text".
std::vector<std::string> Items(HMENU popup)
{
    std::vector<std::string> items;
    for (int i = 0; i < ::GetMenuItemCount(popup); ++i) {
        const UINT id = ::GetMenuItemID(popup, i);
        if (::GetSubMenu(popup, i))
            items.push_back("> " + MenuText(popup, i));
        else if (id == 0)
            items.push_back("-");
        else
            items.push_back(std::to_string(id) + " " + MenuText(popup, i));
    }
    return items;
}

TEST(Resources, MenuBarHasEveryItemInOrderWithItsText)
{
    HMENU bar = ::LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_MAINMENU));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(::GetMenuItemCount(bar), 4);
    EXPECT_EQ(MenuText(bar, 0), "&Teesorten");
    EXPECT_EQ(MenuText(bar, 1), "Tee&zeit");
    EXPECT_EQ(MenuText(bar, 2), "&Optionen");
    EXPECT_EQ(MenuText(bar, 3), "&?");

    std::vector<std::string> teas;
    for (int i = 0; i < 10; ++i)
        teas.push_back(std::to_string(40000 + i) + " Teesorte &" + std::to_string(i) + "\t(00:00)");
    teas.insert(teas.end(), {"-", "40022 &Teesorten bearbeiten...", "-", "40041 &Schnelleinstellung..."});
    EXPECT_EQ(Items(::GetSubMenu(bar, 0)), teas);

    EXPECT_EQ(Items(::GetSubMenu(bar, 1)),
              (std::vector<std::string>{"40033 An Teezeit &erinnern", "40035 &Nicht erinnern, falls Timer läuft", "-",
                                        "40034 &Teezeit einstellen...", "-", "40038 Einladung &senden..."}));

    HMENU options = ::GetSubMenu(bar, 2);
    EXPECT_EQ(Items(options),
              (std::vector<std::string>{
                  "40019 Nach &Programmstart minimieren", "40016 &Ausblenden, wenn minimiert",
                  "40032 Immer im &Vordergrund", "-", "40028 Beim &Drücken von \"Start\" &minimieren",
                  "40046 Beim Drücken von \"Stop\" &zurücksetzen", "40042 Beim &Drücken von \"Schliessen\" ausblenden",
                  "-", "40017 &Sound einschalten", "-", "> &Benutzerdefiniert"}));
    EXPECT_EQ(::GetMenuState(options, ID_OPT_SOUND, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED))
        << "the only check mark of the template";
    EXPECT_EQ(::GetMenuState(options, ID_OPT_TOPMOST, MF_BYCOMMAND), 0u);
    EXPECT_EQ(::GetMenuState(::GetSubMenu(bar, 1), ID_OPT_REMIND, MF_BYCOMMAND), 0u);
    HMENU custom = ::GetSubMenu(options, 10);
    EXPECT_EQ(Items(custom), (std::vector<std::string>{"40018 &Meldungen und Sounds...", "> &Layout"}));
    EXPECT_EQ(Items(::GetSubMenu(custom, 1)),
              (std::vector<std::string>{"40036 &Plain (kein Layout)", "-", "40012 &Day", "40011 &Night",
                                        "40029 &Summer", "40013 &Winter", "-", "40030 &Automatisch wechseln"}));

    EXPECT_EQ(Items(::GetSubMenu(bar, 3)),
              (std::vector<std::string>{"40031 &ReadMe-Datei lesen...", "-", "40021 &Info über Brewbell..."}));
    ::DestroyMenu(bar);
}

TEST(Resources, TrayMenuHasOnePopupWithItsEightPositions)
{
    HMENU tray = ::LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_TRAYMENU));
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(MenuText(tray, 0), "_POPUP_");
    EXPECT_EQ(Items(::GetSubMenu(tray, 0)),
              (std::vector<std::string>{"40014 Wiederherstellen", "-", "40045 Schnelleinstellung...", "-",
                                        "40020 Start", "40043 Reset", "-", "40015 Programm beenden"}));
    ::DestroyMenu(tray);
}

TEST(Resources, IconsHaveSmallAndLargeImages)
{
    for (int id : {IDI_BREWBELL, IDI_TRAY_IDLE}) {
        for (int size : {16, 32}) {
            HICON icon = static_cast<HICON>(::LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(icon, nullptr) << id << " at " << size;
            ICONINFO info;
            ASSERT_TRUE(::GetIconInfo(icon, &info));
            BITMAP bitmap;
            ::GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, size);
            ::DeleteObject(info.hbmColor);
            ::DeleteObject(info.hbmMask);
            ::DestroyIcon(icon);
        }
    }
}

TEST(Resources, ManifestDeclaresPerMonitorScalingWithoutExecutionLevelOrVisualStyles)
{
    const HRSRC found = ::FindResourceA(Self(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char *>(::LockResource(::LoadResource(Self(), found))),
                               ::SizeofResource(Self(), found));
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    // An execution level would end the redirection of a standard user's settings into the virtual
    // store; the common controls of version 6 would change the dialogs' look.
    EXPECT_EQ(manifest.find("<requestedExecutionLevel"), std::string::npos);
    EXPECT_EQ(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}

struct WaveFormat {
    std::uint16_t format, channels;
    std::uint32_t rate, bytesPerSecond;
    std::uint16_t blockAlign, bits;
    double seconds;
};

bool ReadWave(int id, WaveFormat &wave)
{
    HRSRC found = ::FindResourceA(Self(), MAKEINTRESOURCEA(id), "WAVE");
    if (!found)
        return false;
    const auto *data = static_cast<const unsigned char *>(::LockResource(::LoadResource(Self(), found)));
    const DWORD size = ::SizeofResource(Self(), found);
    if (size < 44 || std::memcmp(data, "RIFF", 4) || std::memcmp(data + 8, "WAVE", 4))
        return false;
    std::uint32_t dataBytes = 0;
    for (DWORD at = 12; at + 8 <= size;) {
        std::uint32_t chunk;
        std::memcpy(&chunk, data + at + 4, 4);
        if (!std::memcmp(data + at, "fmt ", 4))
            std::memcpy(&wave, data + at + 8, 16);
        if (!std::memcmp(data + at, "data", 4))
            dataBytes = chunk;
        at += 8 + chunk + (chunk & 1);
    }
    wave.seconds = wave.bytesPerSecond ? static_cast<double>(dataBytes) / wave.bytesPerSecond : 0;
    return true;
}

TEST(Resources, TheTwoSoundsArePcmInTheirFormats)
{
    WaveFormat finish{}, reminder{};
    ASSERT_TRUE(ReadWave(IDW_FINISHED, finish));
    ASSERT_TRUE(ReadWave(IDW_REMINDER, reminder));
    EXPECT_EQ(finish.format, 1);
    EXPECT_EQ(finish.channels, 2);
    EXPECT_EQ(finish.rate, 22050u);
    EXPECT_EQ(finish.bits, 16);
    EXPECT_NEAR(finish.seconds, 1.35, 0.05);
    EXPECT_EQ(reminder.format, 1);
    EXPECT_EQ(reminder.channels, 1);
    EXPECT_EQ(reminder.rate, 22050u);
    EXPECT_EQ(reminder.bits, 16);
    EXPECT_NEAR(reminder.seconds, 1.0, 0.05);
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

TEST(Resources, MainDialogTemplateHasItsControlsInTheirPlaces)
{
    HWND dialog = ::CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    char caption[64];
    ::GetWindowTextA(dialog, caption, sizeof caption);
    EXPECT_STREQ(caption, "Brewbell");
    const LONG style = ::GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(::GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    struct Expected {
        int id;
        const char *text;
        RECT units;
        bool transparent;
    };
    const Expected controls[] = {
        {IDC_TIME_DISPLAY, "Static", {4, 5, 133, 51}, true},
        {IDC_BUTTON_MIN, "&Min", {55, 58, 93, 70}, true},
        {IDC_BUTTON_SEC, "Se&k", {95, 58, 133, 70}, true},
        {IDC_BUTTON_RESET, "&Reset", {55, 72, 93, 84}, true},
        {IDC_BUTTON_START, "&Start", {95, 72, 133, 84}, true},
        {IDC_HOUR_DISPLAY, "Static", {4, 56, 53, 86}, true},
        {IDC_STATUS_DATE, "", {0, 91, 43, 101}, false},
        {IDC_STATUS_TIME, "", {105, 91, 139, 101}, false},
        {IDC_STATUS_VERSION, "Brewbell v1.5.2", {43, 91, 105, 101}, false},
    };
    for (const Expected &c : controls) {
        HWND item = ::GetDlgItem(dialog, c.id);
        ASSERT_NE(item, nullptr) << c.id;
        char text[64];
        ::GetWindowTextA(item, text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.id;
        // The template holds place and size, each converted from dialog units on its own.
        RECT expected{c.units.left, c.units.top, c.units.right - c.units.left, c.units.bottom - c.units.top};
        ::MapDialogRect(dialog, &expected);
        expected.right += expected.left;
        expected.bottom += expected.top;
        RECT actual;
        ::GetWindowRect(item, &actual);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT *>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left) << c.id;
        EXPECT_EQ(actual.top, expected.top) << c.id;
        EXPECT_EQ(actual.right, expected.right) << c.id;
        EXPECT_EQ(actual.bottom, expected.bottom) << c.id;
        EXPECT_EQ((::GetWindowLongA(item, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, c.transparent) << c.id;
    }
    EXPECT_EQ(::SendMessageA(::GetDlgItem(dialog, IDC_BUTTON_START), WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON,
              DLGC_DEFPUSHBUTTON);
    const LONG background = ::GetWindowLongA(::GetDlgItem(dialog, IDC_BACKGROUND), GWL_STYLE);
    EXPECT_EQ(background & SS_TYPEMASK, SS_BITMAP);
    EXPECT_TRUE(background & SS_CENTERIMAGE);
    // The dialog manager may turn a control's flat border into a sunken client edge.
    HWND date = ::GetDlgItem(dialog, IDC_STATUS_DATE);
    EXPECT_TRUE((::GetWindowLongA(date, GWL_STYLE) & WS_BORDER) ||
                (::GetWindowLongA(date, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
    EXPECT_EQ(::GetWindowLongA(date, GWL_STYLE) & SS_TYPEMASK, SS_CENTER);
    ::DestroyWindow(dialog);
}

} // namespace
