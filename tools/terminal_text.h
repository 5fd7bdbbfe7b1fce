// Names and values on their way to a terminal: they come from files anyone may have written,
// so no byte of theirs may move the cursor, clear the screen or change the colours.
#ifndef SETUP_TOOLS_TERMINAL_TEXT_H
#define SETUP_TOOLS_TERMINAL_TEXT_H

#include "lumora/string.h"

#include <string>

// Whether the terminal shows UTF-8 (a UTF-8 locale, or a UTF-8 console on Windows); until it
// is set, text is shown as if it did not.
void SetTerminalUtf8(bool utf8);
bool TerminalShowsUtf8();

// The terminal's own setting, as the environment gives it.
bool DetectTerminalUtf8();

// Control bytes as "\xNN"; on a UTF-8 terminal, the UTF-8 form of every printable character
// beyond ASCII as it is, elsewhere every byte from 0x7F up as "\xNN". Every other byte as it is.
std::string TerminalText(const std::string &bytes);

// The same for characters. On a UTF-8 terminal each printable character is shown as itself;
// elsewhere those up to 0xFF are taken as one byte each, as archive names store them, and
// those above as the bytes of their UTF-8 form.
std::string TerminalText(const std::wstring &text);

// A name decoded through a code page, shown as the platform's 8-bit text (UTF-8 on Linux)
// with its control characters (below 0x20, 0x7F to 0x9F) as "\xNN".
std::string DecodedNameText(const lumora::String &name);

#endif
