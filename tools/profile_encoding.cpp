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

// The first line the program shows that holds a byte beyond ASCII, and how many such lines there
// are; comments are never shown, so their encoding does not matter where the file has them.
Line FirstBeyondAscii(const std::string &bytes, bool hasComments, int &count)
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
        size_t text = line.find_first_not_of(" \t");
        if (hasComments && text != std::string::npos && line[text] == ';') continue;
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

Finding AtLine(Severity severity, const Text &file, int line, const Text &message)
{
    return Finding{severity, L"", L"", line, file, L"", L"line " + Number(line) + L" " + message};
}

Text LinesMore(int count)
{
    return count > 1 ? L"; so do " + Number(count - 1) + L" more lines" : L"";
}

// The findings for a text the program reads in the system code page: setup.tsi (hasComments) or
// the licence.
std::vector<Finding> CheckEncoding(std::string bytes, int codePage, const Text &file, bool hasComments)
{
    std::vector<Finding> findings;
    if (bytes.compare(0, 2, "\xff\xfe") == 0 || bytes.compare(0, 2, "\xfe\xff") == 0) {
        // The profile functions read UTF-16 after its mark; the License page does not.
        if (!hasComments)
            findings.push_back(AtLine(Severity::warning, file, 1,
                                      L"is written in UTF-16, but the program reads " + file +
                                          L" in the system code page, so it shows other characters; save " +
                                          file + L" in the code page of the users' systems"));
        return findings;
    }
    if (bytes.compare(0, 3, "\xef\xbb\xbf") == 0) {
        findings.push_back(
            hasComments
                ? AtLine(Severity::error, file, 1,
                         L"begins with a UTF-8 byte order mark, which Windows does not know: it reads "
                         L"the mark as text of the first line, so that line is lost; save setup.tsi "
                         L"in the code page of the users' systems, or as UTF-16")
                : AtLine(Severity::warning, file, 1,
                         L"begins with a UTF-8 byte order mark, which the License page shows as "
                         L"characters before the text; save " +
                             file + L" in the code page of the users' systems"));
        // The rest of the file is judged as well, so one run names every fault.
        bytes.erase(0, 3);
    }
    int count = 0;
    Line first = FirstBeyondAscii(bytes, hasComments, count);
    if (count == 0) return findings;
    Text codePageName = HasCodePageTables(codePage) ? L"code page " + Number(codePage) : L"";
    if (LooksLikeUtf8(first.bytes)) {
        Text meant = lumora::WideFromUtf8(first.bytes);
        Text read;
        bool decoded = HasCodePageTables(codePage) && DecodeCodePage(codePage, first.bytes, read);
        findings.push_back(
            AtLine(Severity::warning, file, first.number,
                   L"is written in UTF-8, but the program reads " + file + L" in the system code page" +
                       (decoded ? L": \"" + read + L"\" shows where \"" + meant + L"\" was meant" : Text()) +
                       LinesMore(count) + L"; save " + file + L" in " +
                       (codePageName.empty() ? Text(L"the code page of the users' systems") : codePageName)));
        return findings;
    }
    if (!HasCodePageTables(codePage)) {
        findings.push_back(
            AtLine(Severity::warning, file, first.number,
                   L"holds characters beyond ASCII, which the program reads in the system code "
                   L"page of the machine it runs on" +
                       LinesMore(count) + L"; name that code page with --code-page"));
        return findings;
    }
    Text read;
    if (!DecodeCodePage(codePage, first.bytes, read)) {
        findings.push_back(AtLine(Severity::warning, file, first.number,
                                  L"holds bytes that " + codePageName +
                                      L" gives no character for; they show as other characters or none"));
    }
    return findings;
}

} // namespace

std::vector<Finding> CheckProfileEncoding(const std::string &bytes, int codePage)
{
    return CheckEncoding(bytes, codePage, L"setup.tsi", true);
}

std::vector<Finding> CheckLicenceEncoding(const std::string &bytes, int codePage, const std::wstring &name)
{
    return CheckEncoding(bytes, codePage, name, false);
}
