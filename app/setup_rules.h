// How setup.tsi's values are taken, whatever reads them: the program through the platform's
// profile functions, or a check of a package folder on any system.
#ifndef SETUP_APP_SETUP_RULES_H
#define SETUP_APP_SETUP_RULES_H

#include "lumora/string.h"

// The profile functions hand out at most this many characters of a value; the rest is lost.
const int setupValueLength = 255;

// A page shows about twenty lines; a count far beyond that is a damaged file, and following
// it (one file read per line) would stall the wizard before it opens.
const int mostPageLines = 100;

// The most components the Components page has rows for: the group box grows upwards from a
// fixed bottom edge and would cover the page icon and text beyond this many. The wizard
// offers and installs no more, and says so before the installation.
const int mostOfferedComponents = 8;

// A page text: key "Lines" (default "1") gives the count n, keys "1".."n" one line each,
// joined with "\n"; a missing line key reads as defaultLine. n of 0 or less gives "".
// read(section, key, default) is the reader of the file.
template <class Reader>
lumora::String ComposeSetupLines(Reader read, const lumora::String &section,
                                 const lumora::String &defaultLine)
{
    int lineCount = read(section, lumora::String("Lines"), lumora::String("1")).ToInt();
    if (lineCount > mostPageLines) lineCount = mostPageLines;
    lumora::String text;
    for (int line = 1; line <= lineCount; line++) {
        if (line > 1) text.Append("\n");
        text.Append(read(section, lumora::String::FromInt(line), defaultLine));
    }
    return text;
}

#endif
