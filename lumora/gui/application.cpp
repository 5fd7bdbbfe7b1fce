// The application: owner of the top-level windows, their stacking group, the program's folders.
#include "lumora/application.h"

#include "lumora/gui/native.h"
#include "lumora/gui/session.h"
#include "lumora/window.h"

#include <algorithm>

namespace lumora {

using GUI::Window;

namespace {

String WithSeparator(String path)
{
    int length = path.Length();
    if (length == 0 || (path[length - 1] != L'\\' && path[length - 1] != L'/')) path.Append(L"\\");
    return path;
}

// The folder part of a path, up to and including its last separator.
String FolderOf(const String &path)
{
    int end = path.Length();
    while (end > 0 && path[end - 1] != L'\\' && path[end - 1] != L'/') end--;
    return String(static_cast<const wchar_t *>(path), end);
}

bool InGroup(const Window *window)
{
    return (window->GetFlags() & GUI::WF_APPGROUP) != 0;
}

} // namespace

Application::Application(const String &name) : name(name)
{
    session::AddApplication(this);
}

Application::~Application()
{
    // Windows first, while they can still tell this application that they go.
    while (!objects.empty()) UnregisterObject(objects.front());
    session::RemoveApplication(this);
}

int Application::RegisterObject(Object *object)
{
    Window *window = dynamic_cast<Window *>(object);
    if (!window) return 1;
    int result = Container::RegisterObject(object);
    if (result) return result;
    window->CreateNative(nullptr, Point());
    ArrangeGroup();
    if (session::LoopRunning()) window->ApplyVisibility();
    return 0;
}

int Application::UnregisterObject(Object *object)
{
    if (std::find(objects.begin(), objects.end(), object) == objects.end()) return 1;
    if (Window *window = dynamic_cast<Window *>(object)) window->DestroyNative();
    return Container::UnregisterObject(object);
}

String Application::GetStartupDirectory()
{
    static const String directory = WithSeparator(native::CurrentDirectory());
    return directory;
}

String Application::GetApplicationDirectory()
{
    static const String directory = WithSeparator(FolderOf(native::ModuleFileName(nullptr)));
    return directory;
}

int Application::GetNOfLiveWindows() const
{
    int live = 0;
    for (Object *object : objects)
        if (Window *window = dynamic_cast<Window *>(object))
            if (window->GetSystemWindow()) live++;
    return live;
}

void Application::ArrangeGroup()
{
    Window *head = nullptr;
    for (Object *object : objects) {
        Window *window = dynamic_cast<Window *>(object);
        if (!window || !window->GetSystemWindow()) continue;
        if (InGroup(window) && !head) {
            head = window;
            continue;
        }
        HWND owner = InGroup(window) ? head->GetSystemWindow() : nullptr;
        if (GetWindow(window->GetSystemWindow(), GW_OWNER) == owner) continue;
        native::SetWindowData(window->GetSystemWindow(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
    }
}

void Application::WindowGone(Window *gone)
{
    if (!InGroup(gone)) return;
    Window *head = nullptr;
    bool membersLeft = false;
    for (Object *object : objects) {
        Window *window = dynamic_cast<Window *>(object);
        if (!window || !InGroup(window)) continue;
        if (!head) {
            head = window;
            continue;
        }
        if (window != gone && window->GetSystemWindow()) membersLeft = true;
    }
    // The group's first window stands behind the others; with none left in front of it, it goes too.
    if (head && head != gone && !membersLeft) head->DestroyNative();
}

} // namespace lumora
