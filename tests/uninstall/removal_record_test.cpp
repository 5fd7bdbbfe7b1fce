#include "removal/removal_record.h"

#include <gtest/gtest.h>

namespace {

const std::string digest(64, 'a');

RemovalRecord Sample()
{
    RemovalRecord record;
    record.key = UninstallKeyName(L"Caf\u00e9 Viewer");
    record.displayName = L"Caf\u00e9 Viewer";
    record.destination = L"C:\\Program Files\\Caf\u00e9 Viewer";
    record.menuFolder = L"C:\\Users\\me\\Start Menu\\Programs\\Viewer";
    record.folders = {
        {RecordRoot::destination, L"."}, {RecordRoot::destination, L"docs"}, {RecordRoot::menu, L"."}};
    record.files = {
        {RecordRoot::destination, L"viewer.exe", 2, digest},
        {RecordRoot::destination, L"docs\\\u00dcberblick.pdf", 4000000000ull, std::string(64, '0')},
        {RecordRoot::menu, L"Viewer.lnk", 300, digest}};
    return record;
}

std::string Body(const std::string &items)
{
    std::string text = "Setup removal record\t1\nkey\tk_1\nname\tViewer\ndestination\tC:\\Viewer\n" + items;
    size_t lines = 0;
    for (char c : text) lines += c == '\n';
    return text + "end\t" + std::to_string(lines) + "\n";
}

} // namespace

TEST(RemovalRecord, WhatIsWrittenReadsBackTheSame)
{
    RemovalRecord read;
    ASSERT_EQ(ReadRemovalRecord(WriteRemovalRecord(Sample()), read), L"");
    EXPECT_EQ(read.displayName, Sample().displayName);
    EXPECT_EQ(read.menuFolder, Sample().menuFolder);
    ASSERT_EQ(read.files.size(), 3u);
    EXPECT_EQ(read.files[1].path, L"docs\\\u00dcberblick.pdf");
    EXPECT_EQ(read.files[1].size, 4000000000ull);
    EXPECT_EQ(read.files[2].root, RecordRoot::menu);
    ASSERT_EQ(read.folders.size(), 3u);
    EXPECT_EQ(read.folders[1].path, L"docs");
}

// Whatever a record says, a path that could lead out of its root, or a record that is not
// whole, is refused with its line, and the record comes back empty.
TEST(RemovalRecord, EveryHostileOrDamagedRecordIsRefusedWhole)
{
    const std::string sound = Body("file\tdestination\t1\t" + digest + "\ta.txt\n");
    struct Case {
        const char *what;
        std::string bytes;
    } cases[] = {
        {"outside path", Body("file\tdestination\t1\t" + digest + "\tC:\\Windows\\system32\\kernel32.dll\n")},
        {"parent level", Body("file\tdestination\t1\t" + digest + "\tsub\\..\\..\\x.dll\n")},
        {"leading separator", Body("file\tdestination\t1\t" + digest + "\t\\Windows\\x.dll\n")},
        {"network path", Body("folder\tdestination\t\\\\server\\share\n")},
        {"device", Body("file\tdestination\t1\t" + digest + "\tsub\\nul.txt\n")},
        {"com port", Body("file\tdestination\t1\t" + digest + "\tCOM1\n")},
        {"trailing dot", Body("file\tdestination\t1\t" + digest + "\tsub.\\a\n")},
        {"slash", Body("file\tdestination\t1\t" + digest + "\tsub/../../a\n")},
        {"stream", Body("file\tdestination\t1\t" + digest + "\ta.txt:secret\n")},
        {"empty level", Body("folder\tdestination\ta\\\\b\n")},
        {"file as root", Body("file\tdestination\t1\t" + digest + "\t.\n")},
        {"menu before its folder", Body("file\tmenu\t1\t" + digest + "\ta.lnk\n")},
        {"relative destination", "Setup removal record\t1\nkey\tk\nname\tn\ndestination\tViewer\nend\t4\n"},
        {"destination with parent level",
         "Setup removal record\t1\nkey\tk\nname\tn\ndestination\tC:\\a\\..\\Windows\nend\t4\n"},
        {"truncated", sound.substr(0, sound.size() - 7)},
        {"cut inside a line", sound.substr(0, sound.size() - 3)},
        {"no end line", sound.substr(0, sound.find("end\t"))},
        {"line removed", Body("") + "file\tdestination\t1\t" + digest + "\ta\n"},
        {"count changed",
         [&] {
             std::string changed = sound;
             return changed.replace(changed.find("end\t") + 4, 1, "9");
         }()},
        {"other version", "Setup removal record\t2\nend\t1\n"},
        {"not a record", "MZ\x90"},
        {"empty", ""},
        {"short digest", Body("file\tdestination\t1\tabc\ta\n")},
        {"upper-case digest", Body("file\tdestination\t1\t" + std::string(64, 'A') + "\ta\n")},
        {"size with sign", Body("file\tdestination\t-1\t" + digest + "\ta\n")},
        {"size beyond 64 bits", Body("file\tdestination\t99999999999999999999\t" + digest + "\ta\n")},
        {"unknown root", Body("folder\tsystem\tx\n")},
        {"broken UTF-8", Body("file\tdestination\t1\t" + digest + "\ta\xc3\n")},
        {"overlong UTF-8", Body("file\tdestination\t1\t" + digest + "\t\xc0\xae\xc0\xae\\x\n")},
        {"key twice", Body("key\tk_2\n")},
        {"unknown line", Body("run\tformat c:\n")},
    };
    RemovalRecord read;
    ASSERT_EQ(ReadRemovalRecord(sound, read), L"");
    for (const Case &c : cases) {
        read = Sample();
        EXPECT_NE(ReadRemovalRecord(c.bytes, read), L"") << c.what;
        EXPECT_TRUE(read.files.empty() && read.folders.empty() && read.destination.empty()) << c.what;
    }
}

TEST(RemovalRecord, KeysTellProductsApartByTheirWholeName)
{
    const std::wstring longName(100, L'x');
    std::wstring names[] = {L"Viewer", L"viewer", L"Viewer ", longName, longName + L"y", L"a\\b"};
    for (size_t k = 0; k < std::size(names); ++k) {
        std::wstring key = UninstallKeyName(names[k]);
        EXPECT_EQ(key, UninstallKeyName(names[k]));
        EXPECT_EQ(key.find(L'\\'), std::wstring::npos);
        EXPECT_LE(key.size(), 100u);
        for (size_t j = 0; j < k; ++j) EXPECT_NE(key, UninstallKeyName(names[j])) << k << " " << j;
    }
}

TEST(RemovalRecord, ASecondInstallationAddsItsItemsAndRenewsTheHashesOfFilesWrittenAgain)
{
    RemovalRecord earlier = Sample();
    RemovalRecord later = Sample();
    later.folders = {{RecordRoot::destination, L"DOCS"}, {RecordRoot::destination, L"extra"}};
    later.files = {{RecordRoot::destination, L"VIEWER.EXE", 5, std::string(64, 'b')},
                   {RecordRoot::destination, L"extra\\new.txt", 1, digest}};
    MergeRemovalRecord(earlier, later);
    ASSERT_EQ(earlier.folders.size(), 4u);
    EXPECT_EQ(earlier.folders[3].path, L"extra");
    ASSERT_EQ(earlier.files.size(), 4u);
    EXPECT_EQ(earlier.files[0].size, 5u);
    EXPECT_EQ(earlier.files[0].digest, std::string(64, 'b'));
    EXPECT_EQ(earlier.files[3].path, L"extra\\new.txt");
}
