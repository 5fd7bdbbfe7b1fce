// A lumora window laid out like the wizard's frame: title bar with close button, a framed
// picture, a divider and the button row. Run it and look at it to judge the library's looks.
#include "lumora/lumora.h"

using namespace lumora;
using namespace lumora::GUI;

namespace {

// A 120 x 260 picture drawn in code: a teal ground with a darker band and a light square.
HBITMAP MakeSidePicture()
{
    HDC screen = GetDC(nullptr);
    HBITMAP picture = CreateCompatibleBitmap(screen, 120, 260);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(dc, picture);
    for (int y = 0; y < 260; y++) {
        HBRUSH brush = CreateSolidBrush(RGB(0, 128 - y / 4, 128 - y / 4));
        RECT row = {0, y, 120, y + 1};
        FillRect(dc, &row, brush);
        DeleteObject(brush);
    }
    RECT square = {30, 90, 90, 150};
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, previous);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return picture;
}

class Demo : public Application {
public:
    Demo() : picture(MakeSidePicture())
    {
        window = new Window("Lumora demo");
        titlebar = new Titlebar(TB_CLOSE);
        layer = new Layer("");
        divider = new Divider(309, DIV_HORIZONTAL | DIV_FROM_START);
        image = new Image(picture, Point(10, 10), Size());
        text =
            new Text("Welcome to the lumora demonstration.\n\nThe window, its title bar and every control\n"
                     "below are real Windows controls.",
                     Point(181, 14));
        back = new Button("<- Back", nullptr, Point(9, 31), Size());
        cancel = new Button("Cancel", nullptr, Point(179, 31), Size());
        next = new Button("Next ->", nullptr, Point(89, 31), Size());
        back->SetOrientation(OR_LOWERLEFT);
        cancel->SetOrientation(OR_LOWERRIGHT);
        next->SetOrientation(OR_LOWERRIGHT);
        cancel->onClick.Connect(new Instance<Demo>(this), new Method<Demo, void>(&Demo::OnCancel));

        RegisterObject(window);
        window->RegisterObject(titlebar);
        window->RegisterObject(layer);
        window->RegisterObject(divider);
        layer->RegisterObject(image);
        layer->RegisterObject(text);
        layer->RegisterObject(back);
        layer->RegisterObject(cancel);
        layer->RegisterObject(next);
        window->SetMetrics(
            Point((GetSystemMetrics(SM_CXSCREEN) - 480) / 2, (GetSystemMetrics(SM_CYSCREEN) - 355) / 2),
            Size(480, 355));
        window->onPaint.Connect(new Instance<Demo>(this), new Method<Demo, void>(&Demo::PaintFrame));
    }

    ~Demo() override
    {
        delete back;
        delete cancel;
        delete next;
        delete text;
        delete image;
        delete divider;
        delete layer;
        delete titlebar;
        delete window;
        DeleteObject(picture.GetSystemBitmap());
    }

    void PaintFrame()
    {
        if (Surface *surface = window->GetDrawSurface()) surface->Frame(Rect(12, 37, 133, 298), FRAME_DOWN);
    }

    void OnCancel() { window->Close(); }

private:
    Bitmap picture;
    Window *window;
    Titlebar *titlebar;
    Layer *layer;
    Divider *divider;
    Image *image;
    Text *text;
    Button *back;
    Button *cancel;
    Button *next;
};

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR, int show)
{
    lumora::hInstance = instance;
    lumora::hPrevInstance = previous;
    lumora::iCmdShow = show;
    if (Init() != 0) return 1;
    Demo *demo = new Demo();
    Loop();
    delete demo;
    Free();
    return 0;
}
