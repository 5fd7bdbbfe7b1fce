// The full-screen background of setup.exe as a user sees it on the 1024 x 768 test screen: its
// colours and texts are read back from the screen, never from inside the program.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using uidriver::Image;

namespace {

const wchar_t backgroundTitle[] = L"Torvane Setup v0.1";
const wchar_t wizardTitle[] = L"Setup";
const int screenWidth = 1024;
const int screenHeight = 768;

// The gradient holds blue only; white or coloured text shows in red or green.
bool IsText(COLORREF colour)
{
    return GetRValue(colour) != 0 || GetGValue(colour) != 0;
}

bool Inside(const RECT &r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

// A run of setup.exe from a fresh package folder holding the given setup.tsi.
class SetupRun : public setuptest::PackagedSession {
public:
    explicit SetupRun(const std::string &tsi, bool eightBit = false,
                      const uidriver::RelayTrace *trace = nullptr)
        : PackagedSession(tsi, wizardTitle, eightBit, trace)
    {
    }
    ~SetupRun()
    {
        Process().Kill();
        if (background != nullptr) uidriver::WaitForWindowGone(background, 10000);
    }

    // Waits for the background window and its first paint: the top and bottom rows in their
    // colours, and then a screen that no longer changes.
    testing::AssertionResult BackgroundPainted()
    {
        if (Window() == nullptr) return testing::AssertionFailure() << "no wizard window";
        background = uidriver::WaitForWindow(Pid(), backgroundTitle, 10000);
        if (background == nullptr) return testing::AssertionFailure() << "no background window";
        const bool painted = uidriver::WaitUntil([] {
            return uidriver::ScreenPixel(1000, 0) == RGB(0, 0, 254) &&
                   uidriver::ScreenPixel(1000, screenHeight - 1) == RGB(0, 0, 0);
        });
        if (!painted) return testing::AssertionFailure() << "the background was not painted";
        return Settled() ? testing::AssertionSuccess()
                         : testing::AssertionFailure() << "the screen kept changing";
    }

    // Two captures in a row that agree, so a paint in progress is not read half done.
    static bool Settled() { return uidriver::WaitForStillScreen(uidriver::ScreenRect(), 10000); }

    RECT WizardRect() const { return uidriver::WindowRect(Window()); }

    HWND background = nullptr;
};

Image CaptureFullScreen()
{
    Image screen = uidriver::CaptureScreen();
    EXPECT_EQ(screen.width, screenWidth);
    EXPECT_EQ(screen.height, screenHeight);
    return screen;
}

// Text pixels in the rows top..bottom-1 across the screen, not counting those the wizard covers.
int TextPixelsInRows(const Image &screen, int top, int bottom, const RECT &wizard)
{
    int count = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            if (!Inside(wizard, x, y) && IsText(screen.At(x, y))) ++count;
        }
    }
    return count;
}

TEST(BackgroundWindow, GradientRunsFromFullBlueAtTheTopToBlackAtTheBottom)
{
    SetupRun run("");
    ASSERT_TRUE(run.BackgroundPainted());
    const Image screen = CaptureFullScreen();
    ASSERT_FALSE(screen.Empty());

    // The bands (from x 50 on) carry their own gradients, from the colours of their top and
    // bottom rows; left of them the whole screen's gradient shows.
    const struct {
        int row;
        int blueLeftOfBands;
        int blueInBands;
    } rows[] = {{0, 254, 254}, {30, 244, 244}, {78, 228, 228}, {738, 9, 8}, {762, 1, 1}, {767, 0, 0}};
    for (const auto &r : rows) {
        for (int x : {0, 5})
            EXPECT_EQ(screen.At(x, r.row), RGB(0, 0, r.blueLeftOfBands)) << x << "," << r.row;
        for (int x : {1000, 1023})
            EXPECT_EQ(screen.At(x, r.row), RGB(0, 0, r.blueInBands)) << x << "," << r.row;
    }
    // Blue only, never growing downwards: nothing wraps around.
    for (int y = 1; y < screenHeight; ++y) {
        const COLORREF above = screen.At(1000, y - 1);
        const COLORREF here = screen.At(1000, y);
        ASSERT_FALSE(IsText(here)) << "row " << y;
        ASSERT_LE(GetBValue(here), GetBValue(above)) << "row " << y;
    }
}

TEST(BackgroundWindow, TextAppearsInsideTheNameAndCompanyBandsOnly)
{
    SetupRun run("");
    ASSERT_TRUE(run.BackgroundPainted());
    const Image screen = CaptureFullScreen();
    ASSERT_FALSE(screen.Empty());
    const RECT wizard = run.WizardRect();

    EXPECT_GT(TextPixelsInRows(screen, 30, 78, wizard), 500);
    EXPECT_GT(TextPixelsInRows(screen, 738, 762, wizard), 200);
    EXPECT_EQ(TextPixelsInRows(screen, 0, 30, wizard), 0);
    EXPECT_EQ(TextPixelsInRows(screen, 78, 738, wizard), 0);
    EXPECT_EQ(TextPixelsInRows(screen, 762, screenHeight, wizard), 0);
    // The texts start at their left edge, 50 pixels in.
    for (int y = 30; y < 78; ++y) {
        for (int x = 0; x < 50; ++x) ASSERT_FALSE(IsText(screen.At(x, y))) << x << "," << y;
    }
}

// What a band should show: text in a font, left-top aligned in the band's rectangle.
struct BandText {
    std::wstring text; // empty: the band shows no text at all
    int left;
    int top;
    int size;
    COLORREF colour;
    std::wstring face;
    int weight;
    bool italic;
    bool underline;
};

// The text alone, drawn in the same font on black over the band's rows. Text over the blue
// gradient has the same red and green as over black, so those two channels must match the
// screen exactly.
Image ReferenceText(const BandText &band)
{
    Image image;
    image.width = screenWidth;
    image.height = band.size;
    image.pixels.assign(static_cast<size_t>(image.width) * image.height, 0);
    if (band.text.empty()) return image;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
    HFONT font = CreateFontW(band.size, 0, 0, 0, band.weight, band.italic, band.underline, 0, ANSI_CHARSET, 0,
                             0, 0, FF_ROMAN, band.face.c_str());
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, band.colour);
    RECT clip{band.left, 0, image.width, image.height};
    ExtTextOutW(dc, band.left, 0, ETO_CLIPPED, &clip, band.text.c_str(), static_cast<UINT>(band.text.size()),
                nullptr);
    GdiFlush();
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const DWORD bgrx = static_cast<const DWORD *>(bits)[static_cast<size_t>(y) * image.width + x];
            image.pixels[static_cast<size_t>(y) * image.width + x] =
                RGB((bgrx >> 16) & 0xFF, (bgrx >> 8) & 0xFF, bgrx & 0xFF);
        }
    }
    SelectObject(dc, previousFont);
    DeleteObject(font);
    SelectObject(dc, previousBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return image;
}

// Pixels of the band whose red or green differ from the reference, outside the wizard.
testing::AssertionResult BandShows(const Image &screen, const BandText &band, const RECT &wizard)
{
    const Image reference = ReferenceText(band);
    int differing = 0;
    int textPixels = 0;
    std::string first;
    for (int y = 0; y < band.size; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            if (Inside(wizard, x, band.top + y)) continue;
            const COLORREF seen = screen.At(x, band.top + y);
            const COLORREF expected = reference.At(x, y);
            if (IsText(seen)) ++textPixels;
            if (GetRValue(seen) != GetRValue(expected) || GetGValue(seen) != GetGValue(expected)) {
                if (differing++ == 0) {
                    char where[96];
                    snprintf(where, sizeof where, "first at (%d,%d): seen %06lx, expected %06lx", x,
                             band.top + y, static_cast<unsigned long>(seen),
                             static_cast<unsigned long>(expected));
                    first = where;
                }
            }
        }
    }
    if (differing == 0) return testing::AssertionSuccess() << textPixels << " text pixels";
    return testing::AssertionFailure() << differing << " pixels differ from \"" << uidriver::Narrow(band.text)
                                       << "\" in " << uidriver::Narrow(band.face) << ", " << first;
}

struct BandCase {
    const char *what;
    std::string tsi;
    BandText name;
    BandText company;
};

TEST(BackgroundWindow, BandsShowTheConfiguredTextsInTheConfiguredFonts)
{
    const BandText defaultName{L"Setup v1.0",  50,  30,   48,   RGB(255, 255, 255),
                               L"Courier New", 500, true, false};
    const BandText defaultCompany{L"Quorvell SD",     50,  738,   24,   RGB(255, 255, 255),
                                  L"Times New Roman", 500, false, false};
    BandText nameOnly = defaultName;
    nameOnly.text = L"Setup";
    BandText noName = defaultName;
    noName.text.clear();
    BandText noCompany = defaultCompany;
    noCompany.text.clear();

    const BandCase cases[] = {
        {"all defaults", "", defaultName, defaultCompany},
        {"without the version", "[Setup]\nDisplayAppVersion=0\n", nameOnly, defaultCompany},
        {"without the name, version on", "[Setup]\nDisplayAppName=0\nDisplayAppVersion=1\n", noName,
         defaultCompany},
        {"without the company", "[Setup]\nDisplayCompanyName=0\n", defaultName, noCompany},
        {"nothing at all", "[Setup]\nDisplayAppName=0\nDisplayCompanyName=0\n", noName, noCompany},
        {"every key set",
         "[Application]\nName=Orbit\nVersion=2.5\nCompany=Smith & Jones\n"
         "[Name Font]\nXPos=120\nYPos=100\nSize=36\nColor=65280\nFont=Times New Roman\nItalic=0\n"
         "Weight=700\nUnderline=1\n"
         "[Company Font]\nXPos=300\nYPos=60\nSize=30\nColor=255\nFont=Courier New\nItalic=1\nWeight=400\n"
         "Underline=0\n",
         {L"Orbit 2.5", 120, 100, 36, RGB(0, 255, 0), L"Times New Roman", 700, false, true},
         {L"Smith & Jones", 300, 708, 30, RGB(255, 0, 0), L"Courier New", 400, true, false}},
    };
    for (const BandCase &c : cases) {
        SCOPED_TRACE(c.what);
        SetupRun run(c.tsi);
        ASSERT_TRUE(run.BackgroundPainted());
        const Image screen = CaptureFullScreen();
        ASSERT_FALSE(screen.Empty());
        const RECT wizard = run.WizardRect();
        EXPECT_TRUE(BandShows(screen, c.name, wizard));
        EXPECT_TRUE(BandShows(screen, c.company, wizard));
    }
}

TEST(BackgroundWindow, RepaintTouchingPartOfABandRedrawsThatWholeBandAndLeavesTheOther)
{
    SetupRun run("");
    ASSERT_TRUE(run.BackgroundPainted());
    const Image before = CaptureFullScreen();
    ASSERT_FALSE(before.Empty());
    const RECT wizard = run.WizardRect();

    // From now on both texts would be red; a band shows it only once it is painted again.
    ASSERT_TRUE(run.package.WriteConfig("[Name Font]\nColor=255\n[Company Font]\nColor=255\n"));
    const auto redText = [](const Image &screen, int top, int bottom) {
        int red = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < screen.width; ++x) {
                if (GetGValue(screen.At(x, y)) == 0 && GetRValue(screen.At(x, y)) != 0) ++red;
            }
        }
        return red;
    };

    // The name band's lower right part, far from its text.
    RECT touch{600, 60, 700, 70};
    ASSERT_TRUE(InvalidateRect(run.background, &touch, FALSE));
    ASSERT_TRUE(uidriver::WaitUntil([&] { return redText(uidriver::CaptureScreen(), 30, 78) > 0; }, 10000));
    ASSERT_TRUE(SetupRun::Settled());
    const Image after = CaptureFullScreen();
    ASSERT_FALSE(after.Empty());

    for (int y = 0; y < screenHeight; ++y) {
        for (int x = 0; x < screenWidth; ++x) {
            if (Inside(wizard, x, y)) continue;
            const COLORREF was = before.At(x, y);
            const COLORREF is = after.At(x, y);
            if (y >= 30 && y < 78) {
                // The whole text again, in the new colour, also far outside the touched part.
                ASSERT_EQ(IsText(was), IsText(is)) << x << "," << y;
                if (IsText(is)) {
                    ASSERT_EQ(GetGValue(is), 0) << x << "," << y;
                } else {
                    ASSERT_EQ(was, is) << "gradient at " << x << "," << y;
                }
            } else {
                ASSERT_EQ(was, is) << "outside the name band at " << x << "," << y;
            }
        }
    }

    // Now a corner of the company band only.
    RECT corner{900, 750, 950, 755};
    ASSERT_TRUE(InvalidateRect(run.background, &corner, FALSE));
    ASSERT_TRUE(uidriver::WaitUntil([&] { return redText(uidriver::CaptureScreen(), 738, 762) > 0; }, 10000));
    ASSERT_TRUE(SetupRun::Settled());
    const Image last = CaptureFullScreen();
    ASSERT_FALSE(last.Empty());
    EXPECT_EQ(redText(last, 738, 762), TextPixelsInRows(before, 738, 762, wizard));
    EXPECT_EQ(redText(last, 30, 78), TextPixelsInRows(before, 30, 78, wizard));
}

TEST(BackgroundWindow, RepaintWidensTheUpdateAreaByTenPixelsRightAndDownOnly)
{
    SetupRun run("");
    ASSERT_TRUE(run.BackgroundPainted());
    ASSERT_EQ(uidriver::ScreenPixel(705, 600), RGB(0, 0, 55));

    // Rows 600..619 repainted on their own run from the colour of row 600 (blue 55) to that of
    // row 620 (49), a little darker here and there than the whole screen's gradient.
    RECT touch{700, 600, 710, 610};
    ASSERT_TRUE(InvalidateRect(run.background, &touch, FALSE));
    ASSERT_TRUE(uidriver::WaitUntil([] { return uidriver::ScreenPixel(705, 600) == RGB(0, 0, 54); }, 10000));
    ASSERT_TRUE(SetupRun::Settled());

    const struct {
        int x;
        int y;
        int blue;
    } pixels[] = {
        {700, 600, 54}, {719, 600, 54}, // the touched row, widened to the right
        {720, 600, 55}, {699, 600, 55}, // not past ten pixels, nor to the left
        {705, 613, 50}, {719, 613, 50}, // widened downwards: the whole screen's row 613 is 51
        {705, 620, 48}, {705, 599, 55}, // not past ten rows, nor upwards
    };
    for (const auto &p : pixels) {
        EXPECT_EQ(uidriver::ScreenPixel(p.x, p.y), RGB(0, 0, p.blue)) << p.x << "," << p.y;
    }
}

TEST(BackgroundWindow, BandsReachingPastTheWindowEdgeKeepTheEdgeColours)
{
    const struct {
        const char *what;
        std::string tsi;
        int row;
        int blue;
    } cases[] = {
        // Company band rows 758..797: rows 758..767 run from blue 3 to black.
        {"company band below the bottom edge", "[Company Font]\nYPos=10\nSize=40\n", 767, 0},
        {"company band below the bottom edge", "[Company Font]\nYPos=10\nSize=40\n", 758, 2},
        // Name band rows -20..27: rows 0..27 run from full blue to blue 245.
        {"name band above the top edge", "[Name Font]\nYPos=-20\n", 0, 254},
        {"name band above the top edge", "[Name Font]\nYPos=-20\n", 27, 245},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        SetupRun run(c.tsi);
        ASSERT_TRUE(run.BackgroundPainted());
        const Image screen = CaptureFullScreen();
        ASSERT_FALSE(screen.Empty());
        EXPECT_EQ(screen.At(1000, c.row), RGB(0, 0, c.blue)) << "row " << c.row;
        for (int y = 1; y < screenHeight; ++y) {
            ASSERT_FALSE(IsText(screen.At(1000, y))) << "row " << y;
            ASSERT_LE(GetBValue(screen.At(1000, y)), GetBValue(screen.At(1000, y - 1))) << "row " << y;
        }
    }
}

TEST(BackgroundWindow, IsNotMadeWhenSwitchedOff)
{
    SetupRun run("[Setup]\nDisplayBackgroundWindow=0\n");
    ASSERT_NE(run.Window(), nullptr);
    // Nothing marks a window that is never made, so a background that should not exist gets
    // 1.5 s to appear; one that does ends the wait at once.
    const bool appeared = uidriver::WaitUntil(
        [&] {
            for (HWND window : uidriver::TopLevelWindows(run.Pid(), false))
                if (uidriver::WindowText(window) == backgroundTitle) return true;
            return false;
        },
        1500);
    EXPECT_FALSE(appeared) << "a background window was made";
    const std::vector<HWND> visible = uidriver::TopLevelWindows(run.Process().Pid());
    ASSERT_EQ(visible.size(), 1u);
    EXPECT_EQ(visible.front(), run.Window());
    EXPECT_NE(uidriver::ScreenPixel(1000, 0), RGB(0, 0, 254));
}

// A small window of the test program that takes the focus away from setup.exe.
class Bystander {
public:
    Bystander()
    {
        window = CreateWindowExW(WS_EX_TOPMOST, L"STATIC", L"bystander", WS_POPUP | WS_VISIBLE, 980, 720, 40,
                                 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~Bystander()
    {
        if (window != nullptr) DestroyWindow(window);
    }
    Bystander(const Bystander &) = delete;
    Bystander &operator=(const Bystander &) = delete;
    HWND window = nullptr;
};

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
}

TEST(BackgroundWindow, ClickingItBringsTheWizardToTheFront)
{
    SetupRun run("");
    ASSERT_TRUE(run.BackgroundPainted());

    Bystander bystander;
    ASSERT_NE(bystander.window, nullptr);
    SetForegroundWindow(bystander.window);
    ASSERT_TRUE(uidriver::WaitUntil(
        [&] {
            PumpMessages();
            return GetForegroundWindow() == bystander.window;
        },
        5000));

    // A left click on the background, left of the wizard: the pointer moves there and clicks in
    // one stream of input, so the click cannot land where the pointer was before.
    INPUT click[3]{};
    for (INPUT &input : click) input.type = INPUT_MOUSE;
    click[0].mi.dx = 100 * 65535 / (screenWidth - 1);
    click[0].mi.dy = 400 * 65535 / (screenHeight - 1);
    click[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    click[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    click[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(3, click, sizeof(INPUT)), 3u);

    EXPECT_TRUE(uidriver::WaitUntil(
        [&] {
            PumpMessages();
            return GetForegroundWindow() == run.Window();
        },
        10000))
        << "foreground: " << uidriver::Narrow(uidriver::WindowText(GetForegroundWindow()));
}

// A relay-trace argument list that starts, holds and ends as given (pointers between the
// arguments differ from run to run); all of them are listed for failure messages.
testing::AssertionResult HasCall(const std::vector<std::string> &calls, const std::string &start,
                                 const std::string &middle, const std::string &end)
{
    std::string seen;
    for (const std::string &call : calls) {
        if (call.compare(0, start.size(), start) == 0 && call.find(middle) != std::string::npos &&
            call.size() >= end.size() && call.compare(call.size() - end.size(), end.size(), end) == 0) {
            return testing::AssertionSuccess();
        }
        seen += "\n  " + call;
    }
    return testing::AssertionFailure()
           << "no call (" << start << "..." << middle << "..." << end << ") among:" << seen;
}

TEST(BackgroundWindow, FontsAndTextsGoThroughTheWideOrTheEightBitCalls)
{
    // Height, width, escapement, orientation, weight 500, italic, underline, strike-out, character
    // set, precisions, quality, FF_ROMAN; then the face name.
    const std::string nameFont = "00000030,00000000,00000000,00000000,000001f4,00000001,00000000,00000000,"
                                 "00000000,00000000,00000000,00000000,00000010,";
    const std::string companyFont = "00000018,00000000,00000000,00000000,000001f4,00000000,00000000,00000000,"
                                    "00000000,00000000,00000000,00000000,00000010,";
    const struct {
        bool eightBit;
        const char *createFont;
        const char *otherCreateFont;
        const char *drawText;
        const char *otherDrawText;
        const char *quote; // how the trace writes a string of that width
    } cases[] = {
        {false, "gdi32.CreateFontW", "gdi32.CreateFontA", "user32.DrawTextW", "user32.DrawTextA", "L\""},
        {true, "gdi32.CreateFontA", "gdi32.CreateFontW", "user32.DrawTextA", "user32.DrawTextW", "\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.eightBit ? "8-bit" : "wide");
        uidriver::RelayTrace trace(L"gdi32.CreateFontW;gdi32.CreateFontA;user32.DrawTextW;user32.DrawTextA");
        ASSERT_TRUE(trace.Ready()) << uidriver::Narrow(trace.Error());
        SetupRun run("", c.eightBit, &trace);
        ASSERT_TRUE(run.BackgroundPainted());

        const std::string quote = c.quote;
        const std::vector<std::string> fonts = trace.CallArguments(c.createFont);
        EXPECT_TRUE(HasCall(fonts, nameFont, "", quote + "Courier New\""));
        EXPECT_TRUE(HasCall(fonts, companyFont, "", quote + "Times New Roman\""));
        const std::vector<std::string> texts = trace.CallArguments(c.drawText);
        // Up to the terminating zero, left and top aligned, the ampersand taken as written.
        EXPECT_TRUE(HasCall(texts, "", " " + quote + "Setup v1.0\",ffffffff,", ",00000800"));
        EXPECT_TRUE(HasCall(texts, "", " " + quote + "Quorvell SD\",ffffffff,", ",00000800"));
        for (const std::string &call : trace.CallArguments(c.otherCreateFont)) {
            EXPECT_EQ(call.find("Courier New"), std::string::npos) << call;
        }
        for (const std::string &call : trace.CallArguments(c.otherDrawText)) {
            EXPECT_EQ(call.find("Setup v1.0"), std::string::npos) << call;
        }
    }
}

} // namespace
