// The page table and the walk between the enabled pages.
#include "wizard/pages.h"

namespace {

bool IsPage(Page page)
{
    return page >= Page::introduction && page <= Page::reboot;
}

Page Step(Page page, int by)
{
    return static_cast<Page>(static_cast<int>(page) + by);
}

} // namespace

const PageDescription pageDescriptions[pageCount] = {
    {Page::introduction, "Introduction", "Setup", "Welcome to the setup.", "Next ->", "Cancel", true, false},
    {Page::license, "License", "License", "Do you accept the following agreement?", "Yes", "No", true, false},
    {Page::directory, "Directory", "Select destination directory", "Choose the destination directory.",
     "Next ->", "Cancel", true, false},
    {Page::components, "Components", "Select components to install", "Select components to install.",
     "Next ->", "Cancel", true, false},
    {Page::summary, "Summary", "Ready to install", "Setup is now ready to install.", "Next ->", "Cancel",
     true, false},
    {Page::bye, "Bye", "Setup complete", "The setup has been completed!", "Next ->", "Cancel", true, true},
    {Page::reboot, "Reboot", "Reboot", "The computer must be rebooted now!", "Next ->", "Cancel", false,
     true},
};

const PageDescription installationDisplay = {
    Page::none, "Installation", "Installation", "Copying the files to your computer.",
    nullptr,    nullptr,        true,           false};

int IndexOf(Page page)
{
    return static_cast<int>(page) - static_cast<int>(Page::introduction);
}

const PageDescription &DescriptionOf(Page page)
{
    return pageDescriptions[IndexOf(page)];
}

void EnabledPages::Enable(Page page, bool on)
{
    enabled[IndexOf(page)] = on;
}

bool EnabledPages::IsEnabled(Page page) const
{
    return IsPage(page) && enabled[IndexOf(page)];
}

Page EnabledPages::First() const
{
    for (Page page = Page::introduction; page <= Page::reboot; page = Step(page, 1))
        if (IsEnabled(page)) return page;
    return Page::none;
}

Page EnabledPages::Last() const
{
    for (Page page = Page::reboot; page >= Page::introduction; page = Step(page, -1))
        if (IsEnabled(page)) return page;
    return Page::none;
}

Page EnabledPages::AfterInstallation() const
{
    for (Page page = Page::introduction; page <= Page::reboot; page = Step(page, 1))
        if (DescriptionOf(page).followsInstallation && IsEnabled(page)) return page;
    return Page::none;
}

Page EnabledPages::After(Page page) const
{
    if (!IsPage(page)) return page;
    for (Page next = Step(page, 1); next <= Page::reboot; next = Step(next, 1))
        if (IsEnabled(next)) return next;
    return page;
}

Page EnabledPages::Before(Page page) const
{
    if (!IsPage(page)) return page;
    const bool side = DescriptionOf(page).followsInstallation;
    for (Page previous = Step(page, -1);
         previous >= Page::introduction && DescriptionOf(previous).followsInstallation == side;
         previous = Step(previous, -1))
        if (IsEnabled(previous)) return previous;
    return page;
}
