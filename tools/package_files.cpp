#include "tools/package_files.h"

#include "lumora/utf8.h"

namespace fs = std::filesystem;

namespace {

using Text = std::wstring;

fs::path PathOf(const Text &level)
{
#ifdef _WIN32
    return fs::path(level);
#else
    return fs::path(lumora::Utf8FromWide(level));
#endif
}

// A name as the file system gives it, in the form LevelText gives a name of setup.tsi, so the
// two compare as Windows compares them.
Text FileNameText(const fs::path &path)
{
#ifdef _WIN32
    return path.filename().wstring();
#else
    return Widened(path.filename().string());
#endif
}

Text LevelText(const Text &level)
{
#ifdef _WIN32
    return level;
#else
    return Widened(lumora::Utf8FromWide(level));
#endif
}

} // namespace

std::wstring Widened(const std::string &bytes)
{
    Text text;
    for (char c : bytes) text += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return text;
}

std::optional<fs::path> FindInPackage(const fs::path &folder, const std::wstring &name)
{
    fs::path path = folder;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of(L"\\/", start);
        if (end == Text::npos) end = name.size();
        Text level = name.substr(start, end - start);
        start = end + 1;
        if (level.empty() || level == L".") continue;
        if (level == L"..") {
            path = path.parent_path();
            continue;
        }
        std::error_code code;
        fs::path exact = path / PathOf(level);
        if (fs::exists(exact, code)) {
            path = exact;
            continue;
        }
        std::optional<fs::path> match;
        Text wanted = lumora::AsciiUppercase(LevelText(level));
        for (fs::directory_iterator it(path, code); !code && it != fs::directory_iterator();
             it.increment(code)) {
            if (lumora::AsciiUppercase(FileNameText(it->path())) == wanted) {
                match = it->path();
                break;
            }
        }
        if (!match) return std::nullopt;
        path = *match;
    }
    std::error_code code;
    if (!fs::is_regular_file(path, code)) return std::nullopt;
    return path;
}

std::wstring JoinedPath(const std::wstring &subdirectory, const std::wstring &name)
{
    Text joined;
    for (const Text &part : {subdirectory, name}) {
        size_t start = 0;
        while (start <= part.size()) {
            size_t end = part.find_first_of(L"\\/", start);
            if (end == Text::npos) end = part.size();
            Text level = part.substr(start, end - start);
            start = end + 1;
            if (level.empty() || level == L".") continue;
            if (!joined.empty()) joined += L'\\';
            joined += level;
        }
    }
    return joined;
}
