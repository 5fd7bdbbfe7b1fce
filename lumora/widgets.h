// The child widgets of a window. Each one is a standard Win32 control where one fits.
#ifndef LUMORA_WIDGETS_H
#define LUMORA_WIDGETS_H

#include "lumora/api.h"
#include "lumora/bitmap.h"
#include "lumora/signal.h"
#include "lumora/widget.h"

#include <atomic>
#include <mutex>

namespace lumora {
namespace GUI {

// Draws the window's title and, with TB_CLOSE, a close button; dragging it moves the window.
// It lies across the top of the window, inside the border, whatever its position says.
enum TitlebarFlags { TB_MINIMIZE = 1, TB_MAXIMIZE = 2, TB_CLOSE = 4 };

class LUMORA_API Titlebar : public Widget {
public:
    explicit Titlebar(int buttons);
    void CreateNative(HWND parent, const Point &origin) override;
    void Relayout(const Point &origin) override;
    void ForgetNative() override;
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    Rect Placement(HWND parent) const;
    LRESULT Process(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HWND window);
    void PlaceButtons();

    int buttons;
    HWND buttonWindows[3] = {}; // minimize, maximize, close; null where not requested
};

// A horizontal or vertical etched line across the whole window.
enum DividerFlags { DIV_HORIZONTAL = 1, DIV_VERTICAL = 2, DIV_FROM_START = 4 };

class LUMORA_API Divider : public Widget {
public:
    // position: distance from the top (or left) edge with DIV_FROM_START, else from the bottom (right).
    Divider(int position, int flags);
    void CreateNative(HWND parent, const Point &origin) override;
    void Relayout(const Point &origin) override;

private:
    Rect Placement(HWND parent) const;

    int dividerPosition;
    int dividerFlags;
};

class LUMORA_API Button : public Widget {
public:
    // A null bitmap makes a plain text button; size (0, 0) is the default 75 x 23.
    Button(const String &text, const Bitmap *bitmap, const Point &position, const Size &size);
    Signal<> onClick;
    void CreateNative(HWND parent, const Point &origin) override;
    void Notify(int code) override;

protected:
    Size DefaultSize() const override;

private:
    HBITMAP bitmap;
};

// Static text; "\n" starts a new line. Its natural size fits the text.
class LUMORA_API Text : public Widget {
public:
    Text(const String &text, const Point &position);
    int SetText(const String &newText) override;
    void CreateNative(HWND parent, const Point &origin) override;

protected:
    Size DefaultSize() const override;

private:
    Size naturalSize;
};

// A single-line edit box, or a multi-line one with scroll bars when it is taller than one
// line. Deactivate makes it read-only: its text can still be scrolled and selected.
class LUMORA_API EditBox : public Widget {
public:
    EditBox(const String &text, const Point &position, const Size &size, int maxLength);
    String GetText() const override; // what the user typed, read from any thread
    int SetText(const String &newText) override;
    int Activate() override;
    int Deactivate() override;
    void CreateNative(HWND parent, const Point &origin) override;
    void Notify(int code) override;
    HBRUSH ControlColour(HDC dc) override;

protected:
    Size DefaultSize() const override;
    void ApplyActivity() override;

private:
    bool IsMultiLine() const;

    int maxLength;
    mutable std::mutex textLock; // text is written on the window's thread and read on any
};

// The box's state lives in the caller's bool: read when the box is made, written on every click.
class LUMORA_API CheckBox : public Widget {
public:
    CheckBox(const String &text, const Point &position, const Size &size, bool *variable);
    bool IsChecked() const;
    void CreateNative(HWND parent, const Point &origin) override;
    void Notify(int code) override;

protected:
    Size DefaultSize() const override;
    bool KeepsWholeText() const override { return true; }
    bool StartsGroup() const override;

private:
    bool *variable;
};

// Option boxes sharing one variable form a group; the selected one is the box whose value
// equals the variable, and clicking a box, or moving the focus onto it, writes its value there.
// Only the selected box of a group is a Tab stop, so Tab never changes the choice.
class LUMORA_API OptionBox : public Widget {
public:
    OptionBox(const String &text, const Point &position, const Size &size, int *variable, int value);
    ~OptionBox();
    bool IsSelected() const;
    void CreateNative(HWND parent, const Point &origin) override;
    void Notify(int code) override;

protected:
    Size DefaultSize() const override;
    bool KeepsWholeText() const override { return true; }
    bool StartsGroup() const override;

private:
    void ShowSelection();

    int *variable;
    int value;
};

class LUMORA_API GroupBox : public Widget {
public:
    GroupBox(const String &text, const Point &position, const Size &size);
    void CreateNative(HWND parent, const Point &origin) override;

protected:
    Size DefaultSize() const override;
};

enum ProgressbarFlags { PB_HORIZONTAL = 1, PB_VERTICAL = 2 };
// A standard progress control draws no text, so the text mode is only kept for the caller.
enum ProgressbarText { PB_NOTEXT = 0, PB_VALUE = 1, PB_PERCENT = 2 };

// SetValue may be called from any thread; it never blocks on the window's thread.
class LUMORA_API Progressbar : public Widget {
public:
    Progressbar(const Point &position, const Size &size, int orientation, int textMode, int minimum,
                int maximum, int value);
    int SetValue(int newValue); // clamped to minimum..maximum
    int GetValue() const;
    int GetTextMode() const { return textMode; }
    void CreateNative(HWND parent, const Point &origin) override;
    void DestroyNative() override;
    void ForgetNative() override;

protected:
    Size DefaultSize() const override;

private:
    int barOrientation;
    int textMode;
    int minimum;
    int maximum;
    std::atomic<int> value;
    std::atomic<HWND> bar{nullptr}; // the handle as other threads may see it
    std::atomic<int> shown;         // the value last handed to the control
};

// Shows a bitmap; size (0, 0) is the bitmap's own size.
class LUMORA_API Image : public Widget {
public:
    Image(const Bitmap &bitmap, const Point &position, const Size &size);
    void CreateNative(HWND parent, const Point &origin) override;

protected:
    Size DefaultSize() const override;

private:
    HBITMAP bitmap;
};

} // namespace GUI
} // namespace lumora

#endif
