#include "tools/profile_encoding.h"

#include "install/code_page.h"
#include "lumora/utf8.h"
#include "tools/package_files.h"

namespace {

using Text = std::wstring;

struct Line {
    int number = 0;
    std::string bytes; // without its line end
};

// The first line the program reads that holds a byte beyond ASCII, and how many such lines there are.
Line FirstBeyondAscii(const std::string &bytes, int &count)
{
    Line first;
    count = 0;
    int number = 0;
    for (size_t start = 0; start < bytes.size();) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ++number;
        start = end + 1;
        // Comments are never shown, so their encoding does not matter.
        size_t text = line.find_first_not_of(" \t");
        if (text != std::string::npos && line[text] == ';') continue;
        bool beyond = false;
        for (char c : line) beyond = beyond || static_cast<unsigned char>(c) >= 0x80;
        if (!beyond) continue;
        if (count++ == 0) first = Line{number, line};
    }
    return first;
}

// Well-formed UTF-8 with at least one character of several bytes: what an editor saving UTF-8
// writes, and hardly ever text of a Windows code page.
bool LooksLikeUtf8(const std::string &bytes)
{
    bool several = false;
    for (char c : bytes) several = several || static_cast<unsigned char>(c) >= 0x80;
    return several && lumora::IsUtf8(bytes);
}

Text Number(long long value)
{
    return Widened(std::to_string(value));
}

Finding AtLine(Severity severity, int line, const Text &message)
{
    return Finding{severity, L"", L"", line, L"setup.tsi", L"", L"line " + Number(line) + L" " + message};
}

Text LinesMore(int count)
{
    return count > 1 ? L"; so do " + Number(count - 1) + L" more lines" : L"";
}

} // namespace

std::vector<Finding> CheckProfileEncoding(const std::string &bytes, int codePage)
{
    std::vector<Finding> findings;
    if (bytes.compare(0, 2, "\xff\xfe") == 0 || bytes.compare(0, 2, "\xfe\xff") == 0) return findings;
    if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0) {
        findings.push_back(
            AtLine(Severity::error, 1,
                   L"begins with a UTF-8 byte order mark, which Windows does not know: it reads "
                   L"the mark as text of the first line, so that line is lost; save setup.tsi "
                   L"in the code page of the users' systems, or as UTF-16"));
        return findings;
    }
    int count = 0;
    Line first = FirstBeyondAscii(bytes, count);
    if (count == 0) return findings;
    Text codePageName = HasCodePageTables(codePage) ? L"code page " + Number(codePage) : L"";
    if (LooksLikeUtf8(first.bytes)) {
        Text meant = lumora::WideFromUtf8(first.bytes);
        Text read;
        bool decoded = HasCodePageTables(codePage) && DecodeCodePage(codePage, first.bytes, read);
        findings.push_back(
            AtLine(Severity::warning, first.number,
                   L"is written in UTF-8, but the program reads setup.tsi in the system code page" +
                       (decoded ? L": \"" + read + L"\" shows where \"" + meant + L"\" was meant" : Text()) +
                       LinesMore(count) + L"; save setup.tsi in " +
                       (codePageName.empty() ? Text(L"the code page of the users' systems") : codePageName)));
        return findings;
    }
    if (!HasCodePageTables(codePage)) {
        findings.push_back(
            AtLine(Severity::warning, first.number,
                   L"holds characters beyond ASCII, which the program reads in the system code "
                   L"page of the machine it runs on" +
                       LinesMore(count) + L"; name that code page with --code-page"));
        return findings;
    }
    Text read;
    if (!DecodeCodePage(codePage, first.bytes, read)) {
        findings.push_back(AtLine(Severity::warning, first.number,
                                  L"holds bytes that " + codePageName +
                                      L" gives no character for; they show as other characters or none"));
    }
    return findings;
}
