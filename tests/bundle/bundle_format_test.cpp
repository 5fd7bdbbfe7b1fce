// The format's checks, each before a byte is trusted: names that would leave the bundle's
// folder, tables that lie about their sizes, trailers that point outside the file, and the
// end of a program's signed content.
#include "bundle_bytes.h"
#include "tests/install/program_bytes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testsupport::PayloadBytes;
using testsupport::PayloadFile;

const uint8_t *Bytes(const std::string &bytes)
{
    return reinterpret_cast<const uint8_t *>(bytes.data());
}

bool Accepted(const std::u16string &name)
{
    std::string stored = testsupport::NameBytes(name);
    return IsBundleName(Bytes(stored), static_cast<uint32_t>(name.size()));
}

BundleFault CheckPayload(const std::string &payload)
{
    PayloadHeader header{};
    BundleFault fault = ReadPayloadHeader(Bytes(payload), payload.size(), header);
    if (fault != BundleFault::none) return fault;
    return PayloadTable(Bytes(payload) + payloadHeaderSize, header).Check(payload.size());
}

TEST(BundleFormat, NamesStayBelowTheFolderAndAreWindowsNames)
{
    for (const char16_t *name : {u"setup.exe", u"data\\main.tsa", u"\u00dcberblick \u2013 Handbuch.txt",
                                 u".profile", u"a..b", u"COM0", u"CONSOLE.txt", u"nul1", u"lpt10"})
        EXPECT_TRUE(Accepted(name)) << std::string(name, name + std::char_traits<char16_t>::length(name));
    for (const char16_t *name :
         {u"",          u"..\\x",   u"a\\..\\b", u"..",       u".",        u"...",
          u"\\x",       u"x\\",     u"a\\\\b",   u"C:x",      u"C:\\x",    u"\\\\server\\share\\x",
          u"a/b",       u"con",     u"CON.txt",  u"nul .txt", u"LPT1",     u"com9.log",
          u"COM\u00b9", u"conout$", u"a.",       u"a ",       u"data.\\x", u"x\x01y",
          u"a*b",       u"a?b",     u"a|b",      u"a<b",      u"a\"b"})
        EXPECT_FALSE(Accepted(name)) << std::string(name, name + std::char_traits<char16_t>::length(name));
    EXPECT_TRUE(Accepted(std::u16string(mostNameUnits, u'x')));
    EXPECT_FALSE(Accepted(std::u16string(mostNameUnits + 1, u'x')));
}

TEST(BundleFormat, TablesThatLieAboutTheirFilesAreRefused)
{
    auto one = [](const std::u16string &name) { return PayloadFile{name, "abc"}; };
    std::string sound = PayloadBytes({one(u"setup.exe"), one(u"data\\a.tsa")});
    std::string longer = sound, shorter = sound, extraTable = sound, huge = sound, noFiles = sound;
    longer += std::string(8, '\0');                       // eight bytes no file claims: more than padding
    shorter.pop_back();                                   // the last file cut short
    extraTable[4] = static_cast<char>(extraTable[4] + 2); // the table claims two bytes of the files
    huge.replace(8, 8, std::string(8, '\xff'));           // a size far beyond the payload
    noFiles.replace(0, 4, std::string(4, '\0'));
    struct Case {
        const char *what;
        std::string payload;
        BundleFault fault;
    };
    const Case cases[] = {
        {"two sound files", sound, BundleFault::none},
        {"padded to its alignment", PayloadBytes({one(u"setup.exe")}, 7), BundleFault::none},
        {"padded beyond it", longer, BundleFault::damagedTable},
        {"cut short", shorter, BundleFault::damagedTable},
        {"a table longer than its entries", extraTable, BundleFault::damagedTable},
        {"a size beyond the payload", huge, BundleFault::damagedTable},
        {"no files", noFiles, BundleFault::damagedTable},
        {"shorter than its header", std::string(7, '\0'), BundleFault::damagedTable},
        {"a name out of the folder", PayloadBytes({one(u"setup.exe"), one(u"..\\evil.exe")}),
         BundleFault::nameRefused},
        {"an absolute name", PayloadBytes({one(u"C:\\Windows\\evil.dll")}), BundleFault::nameRefused},
        {"a device", PayloadBytes({one(u"setup.exe"), one(u"AUX.tsa")}), BundleFault::nameRefused},
        {"one name twice", PayloadBytes({one(u"setup.exe"), one(u"Setup.EXE")}), BundleFault::nameTwice},
        {"a file as a folder", PayloadBytes({one(u"data"), one(u"x"), one(u"DATA\\a.tsa")}),
         BundleFault::nameTwice},
    };
    for (const Case &sample : cases) EXPECT_EQ(CheckPayload(sample.payload), sample.fault) << sample.what;
}

TEST(BundleFormat, EntriesComeInOrderWithTheirOffsets)
{
    std::string payload = PayloadBytes({{u"setup.exe", "12345"}, {u"empty", ""}, {u"a\\b", "xy"}}, 3);
    PayloadHeader header{};
    ASSERT_EQ(ReadPayloadHeader(Bytes(payload), payload.size(), header), BundleFault::none);
    PayloadTable table(Bytes(payload) + payloadHeaderSize, header);
    ASSERT_EQ(table.Check(payload.size()), BundleFault::none);
    std::string names;
    PayloadEntry entry;
    while (table.Next(entry)) {
        for (uint32_t k = 0; k < entry.nameUnits; ++k) names += static_cast<char>(entry.NameUnit(k));
        names +=
            "=" + payload.substr(static_cast<size_t>(entry.offset), static_cast<size_t>(entry.size)) + ";";
    }
    EXPECT_EQ(names, "setup.exe=12345;empty=;a\\b=xy;");
}

TEST(BundleFormat, TheTrailerLiesInsideTheSignedContent)
{
    std::string bundle = testsupport::BundleBytes(std::string(100, 'L'), PayloadBytes({{u"setup.exe", "x"}}));
    const uint8_t *end = Bytes(bundle) + bundle.size() - bundleTrailerSize;
    BundleTrailer trailer;
    uint64_t start = 0;
    EXPECT_EQ(ReadTrailer(end, bundle.size(), trailer, start), BundleFault::none);
    EXPECT_EQ(start, 100u);
    // A payload larger than what lies before the trailer: the trailer points outside the file.
    std::string lying = bundle;
    PutNumber(reinterpret_cast<uint8_t *>(&lying[lying.size() - 16]), 101 + trailer.payloadSize, 8);
    EXPECT_EQ(ReadTrailer(Bytes(lying) + lying.size() - bundleTrailerSize, lying.size(), trailer, start),
              BundleFault::payloadOutside);
    std::string cut = bundle.substr(0, bundle.size() - 1);
    EXPECT_EQ(ReadTrailer(Bytes(cut) + cut.size() - bundleTrailerSize, cut.size(), trailer, start),
              BundleFault::noTrailer);
}

TEST(BundleFormat, SignedContentEndsWhereTheCertificateTableStarts)
{
    for (uint16_t machine : {uint16_t(0x014C), uint16_t(0x8664)}) {
        std::string program = testsupport::ProgramBytes(machine, false);
        size_t entryAt = 0;
        ASSERT_EQ(CertificateEntry(Bytes(program), program.size(), entryAt), BundleFault::none);
        ASSERT_NE(entryAt, 0u);
        uint64_t end = 0;
        EXPECT_EQ(SignedContentEnd(Bytes(program), program.size(), 5000, end), BundleFault::none);
        EXPECT_EQ(end, 5000u) << "unsigned: the file's end";
        PutNumber(reinterpret_cast<uint8_t *>(&program[entryAt]), 4096, 4);
        PutNumber(reinterpret_cast<uint8_t *>(&program[entryAt + 4]), 904, 4);
        EXPECT_EQ(SignedContentEnd(Bytes(program), program.size(), 5000, end), BundleFault::none);
        EXPECT_EQ(end, 4096u);
        EXPECT_EQ(SignedContentEnd(Bytes(program), program.size(), 4999, end), BundleFault::notAProgram)
            << "a certificate table beyond the file";
    }
    std::string text = "MZ but nothing more";
    uint64_t end = 0;
    EXPECT_EQ(SignedContentEnd(Bytes(text), text.size(), text.size(), end), BundleFault::notAProgram);
}

} // namespace
