// Writing and reading the removal record. Every byte read is hostile: a record edited by hand
// or cut short must never make the uninstaller touch a file the installations did not make.
#include "removal/removal_record.h"

#include <cwctype>

const wchar_t removalRecordName[] = L"uninstall.dat";
const wchar_t uninstallerName[] = L"uninstall.exe";

namespace {

const char recordHeader[] = "Setup removal record";
const char recordVersion[] = "1";
const size_t digestLength = 64;
// Far beyond any product; a count past it is damage, and reading on would only cost memory.
const size_t mostRecordLines = 1000000;
const size_t mostFieldLength = 32767; // the longest path Windows takes

void AppendUtf8(std::string &out, uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Utf8Of(const std::wstring &text)
{
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        uint32_t c = static_cast<uint32_t>(text[k]);
        if (sizeof(wchar_t) == 2 && c >= 0xD800 && c <= 0xDBFF && k + 1 < text.size()) {
            uint32_t low = static_cast<uint32_t>(text[k + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++k;
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

void AppendWide(std::wstring &out, uint32_t c)
{
    if (sizeof(wchar_t) == 2 && c >= 0x10000) {
        out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
        out += static_cast<wchar_t>(c);
    }
}

// Strict: an overlong form, a surrogate or a broken sequence fails, so one name has one form.
bool WideOf(const std::string &bytes, std::wstring &out)
{
    out.clear();
    for (size_t k = 0; k < bytes.size();) {
        unsigned char lead = static_cast<unsigned char>(bytes[k]);
        size_t extra = lead < 0x80                    ? 0
                       : lead >= 0xC2 && lead <= 0xDF ? 1
                       : lead >= 0xE0 && lead <= 0xEF ? 2
                       : lead >= 0xF0 && lead <= 0xF4 ? 3
                                                      : 4;
        if (extra == 4 || k + extra >= bytes.size()) return false;
        uint32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (size_t n = 1; n <= extra; ++n) {
            unsigned char next = static_cast<unsigned char>(bytes[k + n]);
            if ((next & 0xC0) != 0x80) return false;
            c = (c << 6) | (next & 0x3F);
        }
        if ((extra == 2 && c < 0x800) || (extra == 3 && (c < 0x10000 || c > 0x10FFFF)) ||
            (c >= 0xD800 && c <= 0xDFFF))
            return false;
        AppendWide(out, c);
        k += extra + 1;
    }
    return true;
}

std::vector<std::string> Split(const std::string &line, char separator)
{
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t end = line.find(separator, start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return fields;
        start = end + 1;
    }
}

const char *RootWord(RecordRoot root)
{
    return root == RecordRoot::destination ? "destination" : "menu";
}

bool ReadRoot(const std::string &word, RecordRoot &root)
{
    if (word == "destination")
        root = RecordRoot::destination;
    else if (word == "menu")
        root = RecordRoot::menu;
    else
        return false;
    return true;
}

bool ReadSize(const std::string &text, uint64_t &size)
{
    if (text.empty() || text.size() > 19 || (text.size() > 1 && text[0] == '0')) return false;
    size = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        size = size * 10 + static_cast<uint64_t>(c - '0');
    }
    return true;
}

bool IsDigest(const std::string &text)
{
    if (text.size() != digestLength) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

bool HasControlCharacter(const std::wstring &text)
{
    for (wchar_t c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// An absolute path as Windows writes one: a drive and "\", or a "\\server\share".
bool IsAbsoluteWindowsPath(const std::wstring &path)
{
    bool drive = path.size() >= 3 && std::iswalpha(path[0]) && path[1] == L':' && path[2] == L'\\';
    bool share = path.size() >= 5 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
    if (!drive && !share) return false;
    if (path.find(L'/') != std::wstring::npos || HasControlCharacter(path)) return false;
    // No level of it may be ".." either: the root is what the uninstaller compares with its own.
    for (const std::wstring &level : {std::wstring(L"\\..\\"), std::wstring(L"\\.\\")})
        if (path.find(level) != std::wstring::npos) return false;
    return path.size() < 3 ||
           (path.compare(path.size() - 3, 3, L"\\..") != 0 && path.compare(path.size() - 2, 2, L"\\.") != 0);
}

bool IsDeviceName(const std::wstring &level)
{
    std::wstring base = level.substr(0, level.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t &c : base) c = static_cast<wchar_t>(std::towupper(c));
    static const wchar_t *const devices[] = {L"CON",    L"PRN",     L"AUX",   L"NUL",
                                             L"CONIN$", L"CONOUT$", L"CLOCK$"};
    for (const wchar_t *device : devices)
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
           base[3] >= L'0' && base[3] <= L'9';
}

std::wstring Widened(const std::string &ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

class RecordReader {
public:
    RecordReader(const std::string &bytes, RemovalRecord &record) : bytes(bytes), record(record) {}

    std::wstring Run();

private:
    std::wstring Fault(size_t line, const std::wstring &why)
    {
        record = RemovalRecord();
        return L"line " + std::to_wstring(line) + L": " + why;
    }
    std::wstring ReadLine(size_t number, const std::vector<std::string> &fields);
    std::wstring ReadPath(const std::string &field, RecordRoot root, std::wstring &path);

    const std::string &bytes;
    RemovalRecord &record;
    bool hasKey = false, hasName = false, hasDestination = false, hasMenu = false;
};

std::wstring RecordReader::Run()
{
    record = RemovalRecord();
    if (bytes.empty()) return L"the record is empty";
    if (bytes.back() != '\n') return L"the record ends in the middle of a line: it was cut short";
    std::vector<std::string> lines = Split(bytes.substr(0, bytes.size() - 1), '\n');
    if (lines.size() > mostRecordLines) return L"the record has more lines than any product makes";
    for (size_t k = 0; k < lines.size(); ++k) {
        std::string &line = lines[k];
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> fields = Split(line, '\t');
        if (k == 0) {
            if (fields.size() != 2 || fields[0] != recordHeader)
                return Fault(1, L"this is no removal record of Setup");
            if (fields[1] != recordVersion)
                return Fault(1, L"the record is of another version (" + Widened(fields[1].substr(0, 20)) +
                                    L") than this uninstaller reads (" + Widened(recordVersion) + L")");
            continue;
        }
        if (fields[0] == "end") {
            uint64_t count = 0;
            if (fields.size() != 2 || !ReadSize(fields[1], count) || count != k)
                return Fault(k + 1,
                             L"the count at the record's end does not match its lines: it was changed");
            if (k + 1 != lines.size()) return Fault(k + 2, L"the record goes on after its end");
            if (!hasKey || !hasName || !hasDestination)
                return Fault(k + 1, L"the record lacks its key, name or destination");
            return std::wstring();
        }
        std::wstring fault = ReadLine(k + 1, fields);
        if (!fault.empty()) return fault;
    }
    return Fault(lines.size(), L"the record has no end line: it was cut short");
}

std::wstring RecordReader::ReadPath(const std::string &field, RecordRoot root, std::wstring &path)
{
    if (field.size() > mostFieldLength || !WideOf(field, path)) return L"a path is no UTF-8 text";
    if (root == RecordRoot::menu && !hasMenu) return L"a Start menu item comes before the Start menu folder";
    return RelativePathFault(path);
}

std::wstring RecordReader::ReadLine(size_t number, const std::vector<std::string> &fields)
{
    const std::string &kind = fields[0];
    if (kind == "key" || kind == "name" || kind == "destination" || kind == "menu") {
        std::wstring value;
        if (fields.size() != 2 || fields[1].size() > mostFieldLength || !WideOf(fields[1], value) ||
            value.empty() || HasControlCharacter(value))
            return Fault(number, L"the " + Widened(kind) + L" line is damaged");
        bool &seen = kind == "key"           ? hasKey
                     : kind == "name"        ? hasName
                     : kind == "destination" ? hasDestination
                                             : hasMenu;
        if (seen) return Fault(number, L"the " + Widened(kind) + L" line comes twice");
        seen = true;
        if ((kind == "destination" || kind == "menu") && !IsAbsoluteWindowsPath(value))
            return Fault(number, L"the " + Widened(kind) + L" is no absolute folder path");
        if (kind == "key" && (value.find(L'\\') != std::wstring::npos || value.size() > 255))
            return Fault(number, L"the key is no name of an entry");
        (kind == "key"           ? record.key
         : kind == "name"        ? record.displayName
         : kind == "destination" ? record.destination
                                 : record.menuFolder) = value;
        return std::wstring();
    }
    if (!hasDestination) return Fault(number, L"an item comes before the destination");
    if (kind == "folder") {
        RecordedFolder folder;
        if (fields.size() != 3 || !ReadRoot(fields[1], folder.root))
            return Fault(number, L"the folder line is damaged");
        std::wstring fault = ReadPath(fields[2], folder.root, folder.path);
        if (!fault.empty()) return Fault(number, fault);
        record.folders.push_back(folder);
        return std::wstring();
    }
    if (kind == "file") {
        RecordedFile file;
        if (fields.size() != 5 || !ReadRoot(fields[1], file.root) || !ReadSize(fields[2], file.size) ||
            !IsDigest(fields[3]))
            return Fault(number, L"the file line is damaged");
        file.digest = fields[3];
        std::wstring fault = ReadPath(fields[4], file.root, file.path);
        if (fault.empty() && file.path == L".") fault = L"a file is named as its root folder";
        if (!fault.empty()) return Fault(number, fault);
        record.files.push_back(file);
        return std::wstring();
    }
    return Fault(number, L"the line is of no kind this uninstaller knows");
}

} // namespace

std::wstring RelativePathFault(const std::wstring &path)
{
    if (path == L".") return std::wstring();
    if (path.empty()) return L"a path is empty";
    if (HasControlCharacter(path)) return L"a path holds a control character";
    if (path.find(L'/') != std::wstring::npos) return L"a path holds \"/\"";
    if (path.find(L':') != std::wstring::npos) return L"a path names a drive or a stream";
    if (path[0] == L'\\') return L"a path starts at a root";
    size_t start = 0;
    for (;;) {
        size_t end = path.find(L'\\', start);
        std::wstring level = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (level.empty()) return L"a path has an empty level";
        if (level == L"." || level == L"..") return L"a path has a \"" + level + L"\" level";
        if (level.back() == L'.' || level.back() == L' ')
            return L"a path has a level ending in a dot or space";
        if (IsDeviceName(level)) return L"a path names a device (" + level + L")";
        if (end == std::wstring::npos) return std::wstring();
        start = end + 1;
    }
}

std::string WriteRemovalRecord(const RemovalRecord &record)
{
    std::string text = std::string(recordHeader) + "\t" + recordVersion + "\n";
    size_t lines = 1;
    auto line = [&](const std::string &content) {
        text += content + "\n";
        ++lines;
    };
    line("key\t" + Utf8Of(record.key));
    line("name\t" + Utf8Of(record.displayName));
    line("destination\t" + Utf8Of(record.destination));
    if (!record.menuFolder.empty()) line("menu\t" + Utf8Of(record.menuFolder));
    for (const RecordedFolder &folder : record.folders)
        line(std::string("folder\t") + RootWord(folder.root) + "\t" + Utf8Of(folder.path));
    for (const RecordedFile &file : record.files)
        line(std::string("file\t") + RootWord(file.root) + "\t" + std::to_string(file.size) + "\t" +
             file.digest + "\t" + Utf8Of(file.path));
    text += "end\t" + std::to_string(lines) + "\n";
    return text;
}

std::wstring ReadRemovalRecord(const std::string &bytes, RemovalRecord &record)
{
    return RecordReader(bytes, record).Run();
}

std::wstring UninstallKeyName(const std::wstring &displayName)
{
    // FNV-1a over the UTF-8 bytes: the same name gives the same key on every build.
    uint64_t hash = 0xcbf29ce484222325ull;
    for (unsigned char byte : Utf8Of(displayName)) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    std::wstring name;
    for (wchar_t c : displayName.substr(0, 64)) name += c == L'\\' || c < 0x20 ? L'_' : c;
    static const wchar_t hex[] = L"0123456789abcdef";
    name += L'_';
    for (int shift = 60; shift >= 0; shift -= 4) name += hex[(hash >> shift) & 0xF];
    return name;
}

bool SamePathIgnoringCase(const std::wstring &a, const std::wstring &b)
{
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        wchar_t x = a[k], y = b[k];
        if (x >= L'a' && x <= L'z') x = static_cast<wchar_t>(x - L'a' + L'A');
        if (y >= L'a' && y <= L'z') y = static_cast<wchar_t>(y - L'a' + L'A');
        if (x != y) return false;
    }
    return true;
}

void MergeRemovalRecord(RemovalRecord &into, const RemovalRecord &later)
{
    into.key = later.key;
    into.displayName = later.displayName;
    if (!later.menuFolder.empty()) into.menuFolder = later.menuFolder;
    for (const RecordedFolder &folder : later.folders) {
        bool known = false;
        for (const RecordedFolder &earlier : into.folders)
            known = known || (earlier.root == folder.root && SamePathIgnoringCase(earlier.path, folder.path));
        if (!known) into.folders.push_back(folder);
    }
    for (const RecordedFile &file : later.files) {
        RecordedFile *known = nullptr;
        for (RecordedFile &earlier : into.files)
            if (earlier.root == file.root && SamePathIgnoringCase(earlier.path, file.path)) known = &earlier;
        if (known)
            *known = file;
        else
            into.files.push_back(file);
    }
}
