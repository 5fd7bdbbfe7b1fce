// A progress bar that other threads may move: they store the value and post it, never wait.
#include "lumora/gui/native.h"
#include "lumora/widgets.h"

#include <commctrl.h>

#include <algorithm>

namespace lumora {
namespace GUI {

namespace {
const int barThickness = 18;
const int barLength = 200;
} // namespace

Progressbar::Progressbar(const Point &position, const Size &size, int orientation, int textMode, int minimum,
                         int maximum, int value)
    : Widget(position, size), barOrientation(orientation), textMode(textMode), minimum(minimum),
      maximum(std::max(minimum, maximum)),
      value(std::min(std::max(value, minimum), std::max(minimum, maximum))), shown(this->value.load())
{
}

int Progressbar::SetValue(int newValue)
{
    int clamped = std::min(std::max(newValue, minimum), maximum);
    value.store(clamped);
    // Only changes are posted: a worker repeating values must not bury the window's queue, or
    // the bar would lag behind the work it shows.
    if (shown.exchange(clamped) == clamped) return 0;
    if (HWND window = bar.load()) native::Post(window, PBM_SETPOS, static_cast<WPARAM>(clamped), 0);
    return 0;
}

int Progressbar::GetValue() const
{
    return value.load();
}

void Progressbar::CreateNative(HWND parent, const Point &origin)
{
    if (!CreateControl(parent, origin, PROGRESS_CLASSA, barOrientation == PB_VERTICAL ? PBS_VERTICAL : 0))
        return;
    native::Send(hwnd, PBM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
    bar.store(hwnd);
    shown.store(value.load());
    native::Send(hwnd, PBM_SETPOS, static_cast<WPARAM>(shown.load()), 0);
}

void Progressbar::DestroyNative()
{
    bar.store(nullptr);
    Widget::DestroyNative();
}

void Progressbar::ForgetNative()
{
    bar.store(nullptr);
    hwnd = nullptr;
}

Size Progressbar::DefaultSize() const
{
    return barOrientation == PB_VERTICAL ? Size(barThickness, barLength) : Size(barLength, barThickness);
}

} // namespace GUI
} // namespace lumora
