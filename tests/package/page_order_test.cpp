// Where Next and Back lead for every choice of enabled pages, without starting the wizard.
#include "package/pages.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// Found by the test framework next to Page itself, so failures name the page number.
static void PrintTo(Page page, std::ostream *out)
{
    *out << "page " << static_cast<int>(page);
}

namespace {

const Page allPages[] = {Page::introduction, Page::license, Page::directory, Page::components,
                         Page::summary,      Page::bye,     Page::reboot};

// One character per page in walking order, '1' where the page is enabled.
EnabledPages PagesOf(const std::string &flags)
{
    EnabledPages pages;
    for (int i = 0; i < pageCount; i++) pages.Enable(allPages[i], flags[i] == '1');
    return pages;
}

std::string FlagsOf(int mask)
{
    std::string flags;
    for (int i = 0; i < pageCount; i++) flags += (mask >> i) & 1 ? '1' : '0';
    return flags;
}

bool AfterInstallation(Page page)
{
    return page == Page::bye || page == Page::reboot;
}

struct Walk {
    std::string flags;
    std::vector<Page> forwards; // First, then Next until the last page
    Page afterInstallation;
    std::vector<Page> backwards; // from the page before the installation (or the last) down
};

const Walk walks[] = {
    {"1111111",
     {Page::introduction, Page::license, Page::directory, Page::components, Page::summary, Page::bye,
      Page::reboot},
     Page::bye,
     {Page::summary, Page::components, Page::directory, Page::license, Page::introduction}},
    {"1010111",
     {Page::introduction, Page::directory, Page::summary, Page::bye, Page::reboot},
     Page::bye,
     {Page::summary, Page::directory, Page::introduction}},
    {"0011101",
     {Page::directory, Page::components, Page::summary, Page::reboot},
     Page::reboot,
     {Page::summary, Page::components, Page::directory}},
    {"1111100",
     {Page::introduction, Page::license, Page::directory, Page::components, Page::summary},
     Page::none,
     {Page::summary, Page::components, Page::directory, Page::license, Page::introduction}},
    {"0000011", {Page::bye, Page::reboot}, Page::bye, {}},
    {"0000001", {Page::reboot}, Page::reboot, {}},
    {"0100000", {Page::license}, Page::none, {Page::license}},
};

TEST(PageOrder, NextAndBackFollowTheEnabledPages)
{
    for (const Walk &walk : walks) {
        SCOPED_TRACE(walk.flags);
        const EnabledPages pages = PagesOf(walk.flags);
        EXPECT_EQ(pages.AfterInstallation(), walk.afterInstallation);

        std::vector<Page> forwards = {pages.First()};
        while (pages.After(forwards.back()) != forwards.back())
            forwards.push_back(pages.After(forwards.back()));
        EXPECT_EQ(forwards, walk.forwards);
        EXPECT_EQ(pages.Last(), walk.forwards.back());

        if (walk.backwards.empty()) continue;
        std::vector<Page> backwards = {walk.backwards.front()};
        while (pages.Before(backwards.back()) != backwards.back())
            backwards.push_back(pages.Before(backwards.back()));
        EXPECT_EQ(backwards, walk.backwards);
    }
}

TEST(PageOrder, BackNeverLeadsIntoTheInstallation)
{
    for (int mask = 1; mask < 1 << pageCount; mask++) {
        const std::string flags = FlagsOf(mask);
        SCOPED_TRACE(flags);
        const EnabledPages pages = PagesOf(flags);
        for (Page page : allPages) {
            if (!pages.IsEnabled(page)) continue;
            const Page back = pages.Before(page);
            EXPECT_TRUE(back == page || (pages.IsEnabled(back) && back < page));
            EXPECT_EQ(AfterInstallation(back), AfterInstallation(page));
        }
        // From the completion page only the restart page follows, and it leads back to it.
        if (pages.IsEnabled(Page::bye) && pages.IsEnabled(Page::reboot)) {
            EXPECT_EQ(pages.Before(Page::reboot), Page::bye);
        }
    }
}

TEST(PageOrder, NothingMovesWithoutAPage)
{
    const EnabledPages none = PagesOf("0000000");
    EXPECT_EQ(none.First(), Page::none);
    EXPECT_EQ(none.Last(), Page::none);
    EXPECT_EQ(none.AfterInstallation(), Page::none);
    EXPECT_EQ(PagesOf("1111111").After(Page::none), Page::none);
    EXPECT_EQ(PagesOf("1111111").Before(Page::none), Page::none);
    EXPECT_FALSE(PagesOf("1111111").IsEnabled(Page::none));
}

} // namespace
