// The installation report's text for the installer's message box.
#include "install/install_report.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Text(const lumora::String &text)
{
    return static_cast<const char *>(text);
}

TEST(InstallReport, SummaryListsOneFaultPerLine)
{
    InstallReport report;
    EXPECT_TRUE(report.IsEmpty());
    report.AddFault("Program", "data.tsa", "the archive cannot be opened");
    report.AddFault("Help", "", "no room for the temporary files");
    EXPECT_EQ(report.FaultCount(), 2);
    EXPECT_EQ(Text(report.Summary()),
              "Program: data.tsa: the archive cannot be opened\nHelp: no room for the temporary files");
}

TEST(InstallReport, SummaryCountsTheFaultsItLeavesOut)
{
    InstallReport report;
    for (int k = 0; k < 5; ++k) report.AddFault("C", lumora::String::FromInt(k), "bad");
    EXPECT_EQ(Text(report.Summary(2)), "C: 0: bad\nC: 1: bad\n3 more problems.");
    EXPECT_EQ(Text(report.Summary(4)), "C: 0: bad\nC: 1: bad\nC: 2: bad\nC: 3: bad\n1 more problem.");
}

} // namespace
