// The page table and the walk between the enabled pages.
#include "package/pages.h"

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

using V = SetupValue;

const PageDescription pageDescriptions[pageCount] = {
    {Page::introduction, V::introductionPage, V::introductionTitle, V::introductionLines, V::introductionLine,
     V::textNext, V::textCancel, true, false},
    {Page::license, V::licensePage, V::licenseTitle, V::licenseLines, V::licenseLine, V::textYes, V::textNo,
     true, false},
    {Page::directory, V::directoryPage, V::directoryTitle, V::directoryLines, V::directoryLine, V::textNext,
     V::textCancel, true, false},
    {Page::components, V::componentsPage, V::componentsTitle, V::componentsLines, V::componentsLine,
     V::textNext, V::textCancel, true, false},
    {Page::summary, V::summaryPage, V::summaryTitle, V::summaryLines, V::summaryLine, V::textNext,
     V::textCancel, true, false},
    {Page::bye, V::byePage, V::byeTitle, V::byeLines, V::byeLine, V::textNext, V::textCancel, true, true},
    {Page::reboot, V::rebootPage, V::rebootTitle, V::rebootLines, V::rebootLine, V::textNext, V::textCancel,
     false, true},
};

// The display has no flag: its own title stands in for one, never read as a flag.
const PageDescription installationDisplay = {Page::none,
                                             V::installationTitle,
                                             V::installationTitle,
                                             V::installationLines,
                                             V::installationLine,
                                             V::textNext,
                                             V::textCancel,
                                             true,
                                             false};

bool EnablesAnyPage(SetupFile &file)
{
    for (const PageDescription &page : pageDescriptions)
        if (file.ReadFlag(page.flag)) return true;
    return false;
}

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
