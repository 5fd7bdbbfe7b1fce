// A text made in UTF-8, as editors and build scripts write today, turned into the code page the
// installer reads it in: the licence, and a setup.tsi written by a script.
#ifndef SETUP_TOOLS_TEXT_IN_CODE_PAGE_H
#define SETUP_TOOLS_TEXT_IN_CODE_PAGE_H

#include "install/code_page.h"

#include <filesystem>
#include <string>

// Writes from's text to to in codePage. UTF-8 text is converted, its byte order mark dropped;
// any other is taken as written in that code page already, and copied. False with the reason,
// naming the line and the first character the code page cannot hold (beyond ASCII for
// asciiOnly), when it cannot be written.
bool WriteTextInCodePage(const std::filesystem::path &from, const std::filesystem::path &to, int codePage,
                         std::string &error);

#endif
