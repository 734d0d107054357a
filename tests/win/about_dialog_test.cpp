// The About box and its links, on the screen: the fixed grey, link colours, closing keys (its texts
// are read from outside by the end-to-end test).
#include "dialogs/about_dialog.h"
#include "res/resource.h"
#include "tests/support/dialog_run.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kGrey = RGB(212, 208, 200);

// Runs the About box modally and the body inside its modal loop, once it is on the screen.
class AboutRun {
public:
    explicit AboutRun(std::function<void(AboutDialog &)> body) : body_(std::move(body)) {}

    INT_PTR Run()
    {
        RunOptions options;
        options.waitUntilShown = true;
        options.endLeftOpen = endAfterBody ? EndWith(IDABORT) : LeaveOpen;
        return RunModal(dialog, [this](HWND) { body_(dialog); }, options);
    }

    AboutDialog dialog;
    // False: the body leaves the dialog to close itself (through the keys it posts).
    bool endAfterBody = true;

private:
    std::function<void(AboutDialog &)> body_;
};

// Colours of a control's pixels as the screen shows them.
struct Sample {
    int total = 0;
    int grey = 0;
    int matching = 0; // near the colour asked for
};

Sample SampleControl(HWND control, COLORREF colour)
{
    Sample sample;
    RECT r;
    ::GetClientRect(control, &r);
    HDC dc = ::GetDC(control);
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const COLORREF c = ::GetPixel(dc, x, y);
            ++sample.total;
            sample.grey += c == kGrey;
            sample.matching += std::abs(GetRValue(c) - GetRValue(colour)) < 40 &&
                               std::abs(GetGValue(c) - GetGValue(colour)) < 40 &&
                               std::abs(GetBValue(c) - GetBValue(colour)) < 40;
        }
    ::ReleaseDC(control, dc);
    return sample;
}

void Repaint(HWND window)
{
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::vector<std::string> opened;
void RecordOpen(const char *target) { opened.emplace_back(target); }

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        opened.clear();
        previous_ = CMyHyperLink::SetOpenFunction(&RecordOpen);
    }
    void TearDown() override { CMyHyperLink::SetOpenFunction(previous_); }

private:
    CMyHyperLink::OpenFunction previous_ = nullptr;
};

TEST_F(AboutDialogTest, ShowsItsPictureIconAndLinksWithoutSystemMenu)
{
    AboutRun run([](AboutDialog &about) {
        HWND hwnd = about.GetSafeHwnd();
        EXPECT_EQ(about.GetText(), "Info über Brewbell");
        EXPECT_FALSE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU);
        RECT units{0, 0, 205, 138}, client;
        ::MapDialogRect(hwnd, &units);
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);

        HBITMAP picture = nullptr;
        HICON icon = nullptr;
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const LONG type = ::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
            if (type == SS_BITMAP)
                picture = reinterpret_cast<HBITMAP>(::SendMessageA(child, STM_GETIMAGE, IMAGE_BITMAP, 0));
            if (type == SS_ICON)
                icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        }
        BITMAP info{};
        ASSERT_NE(picture, nullptr);
        ::GetObjectA(picture, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 58);
        EXPECT_EQ(info.bmHeight, 17);
        EXPECT_NE(icon, nullptr);

        EXPECT_EQ(about.MailLink().GetUrl(), "mailto:brewbell@example.org");
        EXPECT_EQ(about.WebLink().GetUrl().rfind("https://www.example.org/", 0), 0u);
        EXPECT_EQ(about.SourceLink().GetUrl().rfind("https://code.example.org", 0), 0u);
        for (int id : {IDC_LINK_MAIL, IDC_LINK_WEB, IDC_LINK_SOURCE})
            EXPECT_TRUE(::GetWindowLongA(about.GetItem(id), GWL_STYLE) & SS_NOTIFY);
        // A font given to a link, as Windows gives a dialog's controls one for a screen of another
        // scaling: the link shows it underlined.
        LOGFONTA given{};
        given.lfHeight = -26;
        std::strcpy(given.lfFaceName, "Arial");
        HFONT larger = ::CreateFontIndirectA(&given);
        HWND mail = about.GetItem(IDC_LINK_MAIL);
        ::SendMessageA(mail, WM_SETFONT, reinterpret_cast<WPARAM>(larger), TRUE);
        LOGFONTA shown{};
        ::GetObjectA(reinterpret_cast<HFONT>(::SendMessageA(mail, WM_GETFONT, 0, 0)), sizeof shown, &shown);
        EXPECT_EQ(shown.lfHeight, -26);
        EXPECT_TRUE(shown.lfUnderline);
        ::DeleteObject(larger);
        EXPECT_NE(about.MailLink().GetCursor(), nullptr) << "a hand, the help program's or the system's";
    });
    run.Run();
}

TEST_F(AboutDialogTest, LinksAreBlueRedUnderThePointerAndDarkBlueOnceVisited)
{
    AboutRun run([](AboutDialog &about) {
        HWND link = about.GetItem(IDC_LINK_WEB);
        const Sample normal = SampleControl(link, CMyHyperLink::kNormalColour);
        EXPECT_GT(normal.matching, 8) << "blue text";
        EXPECT_GT(normal.grey, normal.total / 2) << "on the grey";
        EXPECT_EQ(SampleControl(link, CMyHyperLink::kHoverColour).matching, 0);

        // The pointer over the link: captured, red at once.
        ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_TRUE(about.WebLink().IsHover());
        EXPECT_EQ(::GetCapture(), link);
        EXPECT_GT(SampleControl(link, CMyHyperLink::kHoverColour).matching, 8);
        EXPECT_EQ(SampleControl(link, CMyHyperLink::kNormalColour).matching, 0);
        // Off the link, even straight out of the dialog: blue again, capture released.
        ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(-300, 500));
        EXPECT_FALSE(about.WebLink().IsHover());
        EXPECT_NE(::GetCapture(), link);
        EXPECT_GT(SampleControl(link, CMyHyperLink::kNormalColour).matching, 8);

        // A click hands the target to the shell and leaves the link dark blue, also under the pointer.
        ::SendMessageA(about.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(IDC_LINK_WEB, STN_CLICKED),
                       reinterpret_cast<LPARAM>(link));
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], about.WebLink().GetUrl());
        EXPECT_TRUE(about.WebLink().IsVisited());
        ::UpdateWindow(link);
        EXPECT_GT(SampleControl(link, CMyHyperLink::kVisitedColour).matching, 8);
        ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_GT(SampleControl(link, CMyHyperLink::kVisitedColour).matching, 8);
        EXPECT_EQ(SampleControl(link, CMyHyperLink::kHoverColour).matching, 0);
        ::SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(-300, 500));
        EXPECT_FALSE(about.MailLink().IsVisited());
    });
    run.Run();

    // A new showing starts unvisited.
    AboutRun again([](AboutDialog &about) {
        EXPECT_FALSE(about.WebLink().IsVisited());
        EXPECT_GT(SampleControl(about.GetItem(IDC_LINK_WEB), CMyHyperLink::kNormalColour).matching, 8);
    });
    again.Run();
}

TEST_F(AboutDialogTest, GreyBehindEveryTextAlsoUnderADarkColourScheme)
{
    const int elements[] = {COLOR_BTNFACE, COLOR_WINDOW, COLOR_BTNTEXT, COLOR_WINDOWTEXT};
    COLORREF saved[std::size(elements)];
    for (size_t i = 0; i < std::size(elements); ++i)
        saved[i] = ::GetSysColor(elements[i]);
    const COLORREF dark[] = {RGB(40, 40, 48), RGB(20, 20, 20), RGB(230, 230, 230), RGB(230, 230, 230)};
    ::SetSysColors(static_cast<int>(std::size(elements)), elements, dark);

    AboutRun run([](AboutDialog &about) {
        HWND hwnd = about.GetSafeHwnd();
        Repaint(hwnd);
        int texts = 0;
        for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            char className[16] = "";
            ::GetClassNameA(child, className, sizeof className);
            const LONG type = ::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
            if (::lstrcmpiA(className, "Static") != 0 || type > SS_RIGHT)
                continue;
            ++texts;
            const Sample s = SampleControl(child, kGrey);
            EXPECT_GT(s.grey, s.total / 2) << Window(child).GetText();
        }
        EXPECT_GE(texts, 10);
        // The dialog's own background, and the white band at the bottom.
        HDC dc = ::GetDC(hwnd);
        RECT client;
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(::GetPixel(dc, client.right / 2, 2), kGrey);
        EXPECT_EQ(::GetPixel(dc, 3, client.bottom - 3), RGB(255, 255, 255));
        ::ReleaseDC(hwnd, dc);
    });
    run.Run();
    ::SetSysColors(static_cast<int>(std::size(elements)), elements, saved);
}

TEST_F(AboutDialogTest, EnterAndEscapeCloseIt)
{
    for (const auto &[key, result] : {std::pair{VK_RETURN, IDOK}, {VK_ESCAPE, IDCANCEL}}) {
        AboutRun run([key = key](AboutDialog &about) {
            HWND focus = ::GetFocus();
            ::PostMessageA(focus ? focus : about.GetSafeHwnd(), WM_KEYDOWN, key, 0);
        });
        run.endAfterBody = false;
        EXPECT_EQ(run.Run(), result) << key;
    }
}

} // namespace
