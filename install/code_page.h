// Text in a Windows code page, converted exactly or not at all, the same on Windows (the
// system's own tables) and elsewhere (iconv's tables of the same code pages).
#ifndef SETUP_INSTALL_CODE_PAGE_H
#define SETUP_INSTALL_CODE_PAGE_H

#include <string>

// Besides the numbered code pages:
const int asciiOnly = -1;     // no code page: only the bytes 0 to 127 have a meaning
const int systemCodePage = 0; // the system's ANSI code page on Windows; asciiOnly elsewhere

// The code pages of Windows' 8-bit text: 874, 932, 936, 949, 950 and 1250 to 1258.
bool IsWindowsCodePage(int codePage);

// False for asciiOnly, and for systemCodePage where there is no system code page (off Windows):
// such text can hold nothing beyond ASCII.
bool HasCodePageTables(int codePage);

// ASCII is the same in every code page here, so ASCII text always converts unchanged.
// False when the bytes hold a sequence the code page does not define (a lone lead byte, a
// byte without a character); text is then unspecified.
bool DecodeCodePage(int codePage, const std::string &bytes, std::wstring &text);

// False when a character has no exact form in the code page: nothing is replaced by a
// look-alike or a default character. bytes is then unspecified.
bool EncodeCodePage(int codePage, const std::wstring &text, std::string &bytes);

#endif
