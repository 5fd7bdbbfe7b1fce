#include "tools/text_in_code_page.h"

#include "lumora/utf8.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

bool WriteTextInCodePage(const fs::path &from, const fs::path &to, int codePage, std::string &error)
{
    std::ifstream in(from, std::ios::binary);
    std::ostringstream read;
    read << in.rdbuf();
    if (!in) {
        error = from.string() + ": cannot be read";
        return false;
    }
    std::string bytes = read.str();
    bool marked = bytes.compare(0, 3, "\xef\xbb\xbf") == 0;
    if (marked) bytes.erase(0, 3);
    bool beyondAscii = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if ((marked || beyondAscii) && lumora::IsUtf8(bytes)) {
        std::string converted;
        int line = 1;
        for (size_t at = 0; at < bytes.size();) {
            char32_t code = 0;
            size_t length = lumora::Utf8SequenceAt(bytes, at, code);
            std::string character = bytes.substr(at, length);
            bool held =
                HasCodePageTables(codePage)
                    ? EncodeCodePage(codePage, lumora::WideFromUtf8(bytes.substr(at, length)), character)
                    : code < 0x80;
            if (!held) {
                char number[16];
                std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
                error = from.string() + ": line " + std::to_string(line) + " holds \"" +
                        bytes.substr(at, length) + "\" (" + number + "), which " +
                        (HasCodePageTables(codePage)
                             ? "code page " + std::to_string(codePage) + " cannot hold"
                             : std::string("is beyond ASCII; name the users' code page with "
                                           "--code-page"));
                return false;
            }
            converted += character;
            line += code == U'\n';
            at += length;
        }
        bytes = converted;
    }
    std::ofstream out(to, std::ios::binary);
    out << bytes;
    out.close();
    if (!out) error = to.string() + ": cannot be written";
    return static_cast<bool>(out);
}
