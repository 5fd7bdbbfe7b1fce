// The wizard window as it reaches the screen: centred, 480 x 355, the side picture inside its
// sunken frame, and the page icon whose cyan ground takes the button-face colour.
#include "tests/common/wizard_session.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace setuptest;

namespace {

// A bitmap resource of setup.exe, read back pixel by pixel as the program file carries it.
struct ResourcePicture {
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

ResourcePicture LoadResourcePicture(const std::wstring &program, int id)
{
    ResourcePicture picture;
    HMODULE module = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return picture;
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP info{};
    if (bitmap && GetObjectW(bitmap, sizeof(info), &info)) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        picture.width = info.bmWidth;
        picture.height = info.bmHeight;
        for (int y = 0; y < info.bmHeight; y++)
            for (int x = 0; x < info.bmWidth; x++) picture.pixels.push_back(GetPixel(dc, x, y));
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
    FreeLibrary(module);
    return picture;
}

// Counts the screen pixels of rect that differ from what expected(x, y) says; polls a while
// first, as the window may still be painting.
int MismatchesOnScreen(const RECT &rect, const std::function<COLORREF(int, int)> &expected)
{
    int mismatches = 0;
    uidriver::WaitUntil(
        [&] {
            uidriver::Image shot = uidriver::CaptureRect(rect);
            if (shot.Empty()) return false;
            mismatches = 0;
            for (int y = 0; y < shot.height; y++)
                for (int x = 0; x < shot.width; x++)
                    if (shot.At(x, y) != expected(x, y)) mismatches++;
            return mismatches == 0;
        },
        5000, 200);
    return mismatches;
}

// The title bar's left end shows the active caption colour, give or take its gradient.
bool CaptionLooksActive(HWND window)
{
    RECT r = uidriver::WindowRect(window);
    COLORREF shown = uidriver::ScreenPixel(r.left + 4, r.top + 8);
    COLORREF active = GetSysColor(COLOR_ACTIVECAPTION);
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((shown >> shift) & 0xFF) - static_cast<int>((active >> shift) & 0xFF)) >
            12)
            return false;
    return true;
}

class WindowFrame : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        session = new PackagedSession("[Setup]\nDisplayBackgroundWindow=0\n", L"Setup");
        if (session->Window())
            uidriver::WaitUntil([] { return uidriver::IsForeground(session->Window()); }, 5000);
    }
    static void TearDownTestSuite()
    {
        delete session;
        session = nullptr;
    }
    void SetUp() override { ASSERT_NE(session->Window(), nullptr) << session->Describe(); }

    static PackagedSession *session;
};

PackagedSession *WindowFrame::session = nullptr;

TEST_F(WindowFrame, IsCentredOnTheScreenAt480By355)
{
    RECT r = uidriver::WindowRect(session->Window());
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.left, (screenWidth - 480) / 2);
    EXPECT_EQ(r.top, (screenHeight - 355) / 2);
    EXPECT_EQ(r.right - r.left, 480);
    EXPECT_EQ(r.bottom - r.top, 355);
    if (screenWidth == 1024 && screenHeight == 768) {
        EXPECT_EQ(r.left, 272);
        EXPECT_EQ(r.top, 206);
    }
}

TEST_F(WindowFrame, ButtonRowHangsFromTheBottomCorners)
{
    std::optional<POINT> origin = session->LayerOrigin();
    ASSERT_TRUE(origin.has_value()) << session->Describe();
    std::optional<uidriver::Control> back = uidriver::FindControl(session->Window(), L"<- Back");
    std::optional<uidriver::Control> cancel = uidriver::FindControl(session->Window(), L"Cancel");
    std::optional<uidriver::Control> next = uidriver::FindControl(session->Window(), L"Next ->");
    ASSERT_TRUE(back && cancel && next) << session->Describe();
    EXPECT_EQ(session->InLayer(*back).left, 9);
    // Both right-hand buttons are measured from the same right edge: 179 and 89 pixels.
    EXPECT_EQ(next->screenRect.left - cancel->screenRect.left, 90);
    EXPECT_EQ(back->screenRect.top, next->screenRect.top);
    EXPECT_EQ(cancel->screenRect.top, next->screenRect.top);
    // Below the divider at 309.
    RECT window = uidriver::WindowRect(session->Window());
    EXPECT_GT(next->screenRect.top - window.top, 309);
    EXPECT_LT(next->screenRect.bottom, window.bottom);
}

TEST_F(WindowFrame, SidePictureShowsAsCarriedInsideItsSunkenFrame)
{
    ResourcePicture side = LoadResourcePicture(session->package.ProgramPath(), 200);
    ASSERT_EQ(side.width, 120);
    ASSERT_EQ(side.height, 260);
    std::optional<uidriver::Control> image = session->Picture(120, 260);
    ASSERT_TRUE(image.has_value()) << session->Describe();
    EXPECT_EQ(MismatchesOnScreen(image->screenRect, [&](int x, int y) { return side.At(x, y); }), 0);

    // The frame's edges run at 12..133 and 37..298 of the window, around the picture.
    RECT window = uidriver::WindowRect(session->Window());
    RECT picture = image->screenRect;
    EXPECT_GT(picture.left, window.left + 12);
    EXPECT_GT(picture.top, window.top + 37);
    EXPECT_LE(picture.right, window.left + 133);
    EXPECT_LE(picture.bottom, window.top + 298);

    uidriver::Image frame =
        uidriver::CaptureRect(RECT{window.left + 12, window.top + 37, window.left + 134, window.top + 299});
    ASSERT_FALSE(frame.Empty());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF topEdge = frame.At(60, 0);
    const COLORREF bottomEdge = frame.At(60, frame.height - 1);
    EXPECT_NE(topEdge, face);
    EXPECT_NE(bottomEdge, face);
    EXPECT_NE(topEdge, bottomEdge) << "a sunken frame is dark above and light below";
    EXPECT_EQ(frame.At(0, 100), topEdge);
    EXPECT_EQ(frame.At(frame.width - 1, 100), bottomEdge);
}

TEST_F(WindowFrame, IconsCyanGroundTakesTheButtonFaceColour)
{
    ResourcePicture icon = LoadResourcePicture(session->package.ProgramPath(), 201);
    ASSERT_EQ(icon.width, 32);
    ASSERT_EQ(icon.height, 32);
    int cyanPixels = 0;
    for (COLORREF pixel : icon.pixels)
        if (pixel == RGB(0, 255, 255)) cyanPixels++;
    ASSERT_GT(cyanPixels, 0) << "the artwork carries the key colour";
    ASSERT_LT(cyanPixels, 32 * 32) << "and a picture on it";

    std::optional<uidriver::Control> image = session->Picture(32, 32);
    ASSERT_TRUE(image.has_value()) << session->Describe();
    RECT r = session->InLayer(*image);
    EXPECT_EQ(r.left, 141);
    EXPECT_EQ(r.top, 14);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(MismatchesOnScreen(image->screenRect,
                                 [&](int x, int y) {
                                     COLORREF carried = icon.At(x, y);
                                     return carried == RGB(0, 255, 255) ? face : carried;
                                 }),
              0);
}

TEST_F(WindowFrame, WithoutBackgroundTheWizardStandsAlone)
{
    EXPECT_EQ(uidriver::FindWindowOf(session->Pid(), L"Torvane Setup v0.1"), nullptr);
    EXPECT_EQ(GetWindow(session->Window(), GW_OWNER), nullptr);
}

TEST(BackgroundWindow, CoversTheScreenAndHoldsTheWizardInFront)
{
    PackagedSession session("", L"Setup");
    ASSERT_NE(session.Window(), nullptr) << session.Describe();
    HWND background = uidriver::FindWindowOf(session.Process().Pid(), L"Torvane Setup v0.1");
    ASSERT_NE(background, nullptr) << session.Describe();
    RECT r = uidriver::WindowRect(background);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    // Both carry the grouping flag, which makes the wizard owned by the background.
    EXPECT_EQ(GetWindow(session.Window(), GW_OWNER), background);
    EXPECT_TRUE(uidriver::WaitUntil([&] { return uidriver::IsForeground(session.Window()); }, 5000))
        << "the wizard, not the background, has the user's attention";
    EXPECT_TRUE(uidriver::WaitUntil([&] { return CaptionLooksActive(session.Window()); }, 5000));
}

struct ArtworkFormat {
    int id;
    int width;
    int height;
    int bitsPerPixel;
    DWORD compression;
    DWORD coloursUsed; // 0: the full palette of the depth
};

TEST_F(WindowFrame, ProgramFileCarriesItsArtworkInTheStatedFormats)
{
    HMODULE module =
        LoadLibraryExW(session->package.ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (const ArtworkFormat &format :
         {ArtworkFormat{200, 120, 260, 8, BI_RGB, 256}, ArtworkFormat{201, 32, 32, 4, BI_RLE4, 16}}) {
        SCOPED_TRACE(format.id);
        HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(format.id), MAKEINTRESOURCEW(2)); // RT_BITMAP
        ASSERT_NE(resource, nullptr);
        ASSERT_GE(SizeofResource(module, resource), sizeof(BITMAPINFOHEADER));
        const BITMAPINFOHEADER *header =
            static_cast<const BITMAPINFOHEADER *>(LockResource(LoadResource(module, resource)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biWidth, format.width);
        EXPECT_EQ(header->biHeight, format.height);
        EXPECT_EQ(header->biBitCount, format.bitsPerPixel);
        EXPECT_EQ(header->biCompression, format.compression);
        EXPECT_EQ(header->biClrUsed, format.coloursUsed);
    }
    HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr) << "the program icon";
    if (icon) DestroyIcon(icon);
    FreeLibrary(module);
}

} // namespace
