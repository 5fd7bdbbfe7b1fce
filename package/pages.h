// The wizard's pages: their order, how the configuration names and fills them, and where
// Back and Next lead between the enabled ones.
#ifndef SETUP_PACKAGE_PAGES_H
#define SETUP_PACKAGE_PAGES_H

#include "package/setup_file.h"
#include "package/setup_rules.h"

// In the order Next walks them, numbered as the page flags count them.
enum class Page { none = -1, introduction = 1, license, directory, components, summary, bye, reboot };

const int pageCount = 7;

struct PageDescription {
    Page page;
    // Its values in setup.tsi: its flag in [Dialogs], the window title, the count of lines of
    // its text and each line.
    SetupValue flag;
    SetupValue title;
    SetupValue lines;
    SetupValue line;
    SetupValue nextText; // the button texts, but for Finish on the last page
    SetupValue cancelText;
    bool showsIcon;           // the Reboot page's text stands where the icon would
    bool followsInstallation; // reached through the installation, which cannot be walked back into
};

// Every page, in the order Next walks them.
extern const PageDescription pageDescriptions[pageCount];

// The installation display has a section, a title and a text like a page, but no number, no
// flag and no buttons: it stands between Summary and Bye while the worker runs.
extern const PageDescription installationDisplay;

// Whether setup.tsi switches on at least one page; without one there is no wizard to show.
bool EnablesAnyPage(SetupFile &file);

// For both, page must not be Page::none.
const PageDescription &DescriptionOf(Page page);
int IndexOf(Page page); // 0 for the first page

// Which pages the configuration switched on, and the walk between them that follows.
class EnabledPages {
public:
    void Enable(Page page, bool on);
    bool IsEnabled(Page page) const;

    // Page::none for each when no page is enabled.
    Page First() const;
    Page Last() const;
    // The page on whose way in the installation runs.
    Page AfterInstallation() const;

    // Where Next leads: the nearest enabled page after page, or page itself at the end.
    Page After(Page page) const;
    // Where Back leads: the nearest enabled page before page on the same side of the
    // installation, or page itself where there is none.
    Page Before(Page page) const;

private:
    bool enabled[pageCount] = {};
};

#endif
