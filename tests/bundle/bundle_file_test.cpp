// Bundles written from package folders and read back as the launcher reads itself: every file
// and byte kept, a bundle signed afterwards still found, a changed or cut one refused, and
// the names the launcher would refuse refused when the bundle is made.
#include "bundle/bundle_file.h"
#include "bundle/bundle_writer.h"
#include "tests/common/scratch_test.h"
#include "tests/install/program_bytes.h"

#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

namespace {

void Write(const fs::path &path, const std::string &bytes)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Read(const fs::path &path)
{
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

std::string Launcher()
{
    return testsupport::ProgramBytes(0x8664, false);
}

// A signing tool's work, as far as a reader sees it: zeros up to eight bytes, then a
// certificate table the header's entry points at.
std::string Signed(std::string program)
{
    size_t entryAt = 0;
    CertificateEntry(reinterpret_cast<const uint8_t *>(program.data()), program.size(), entryAt);
    program.resize((program.size() + 7) / 8 * 8, '\0');
    testsupport::PutNumber(program, entryAt, program.size(), 4);
    testsupport::PutNumber(program, entryAt + 4, 1000, 4);
    return program + std::string(1000, 'C');
}

class BundleFileTest : public ScratchTest {
protected:
    void SetUp() override
    {
        ScratchTest::SetUp();
        Write(root / "package/setup.exe", testsupport::ProgramBytes(0x8664, false));
        Write(root / "package/setup.tsi", "[Setup]\r\n");
        Write(root / "package/data/main.tsa", std::string(300000, '\x5a') + "end");
        Write(root / "package/empty.txt", "");
    }
    // Writes the bundle of the package folder; the error, empty when it was written.
    std::string Make(const fs::path &out, std::string launcher = Launcher())
    {
        std::vector<BundleFile> files;
        std::string error;
        if (BundleLauncher(launcher, error) && CollectBundleFiles(root / "package", out, files, error))
            WriteBundle(launcher, files, out, error);
        return error;
    }
};

TEST_F(BundleFileTest, EveryFileComesBackWithItsBytes)
{
    ASSERT_EQ(Make(root / "bundle.exe"), "");
    std::string bundle = Read(root / "bundle.exe");
    EXPECT_EQ(bundle.size() % 8, 0u) << "a signing tool must not pad it";
    BundleContents contents = ReadBundle(root / "bundle.exe");
    ASSERT_EQ(contents.fault, BundleFault::none);
    EXPECT_EQ(contents.payloadStart, Launcher().size());
    std::vector<std::u16string> names;
    for (const BundledFile &file : contents.files) {
        names.push_back(file.name);
        std::string path(file.name.begin(), file.name.end());
        std::replace(path.begin(), path.end(), '\\', '/');
        EXPECT_EQ(bundle.substr(static_cast<size_t>(file.offset), static_cast<size_t>(file.size)),
                  Read(root / "package" / path))
            << path;
    }
    EXPECT_EQ(names,
              (std::vector<std::u16string>{u"data\\main.tsa", u"empty.txt", u"setup.exe", u"setup.tsi"}));
}

TEST_F(BundleFileTest, ABundleSignedAfterwardsIsReadToItsCertificateTable)
{
    ASSERT_EQ(Make(root / "bundle.exe"), "");
    Write(root / "signed.exe", Signed(Read(root / "bundle.exe")));
    BundleContents contents = ReadBundle(root / "signed.exe");
    EXPECT_EQ(contents.fault, BundleFault::none);
    EXPECT_EQ(contents.files.size(), 4u);
    EXPECT_LT(contents.contentEnd, contents.fileSize);
}

TEST_F(BundleFileTest, ALaunchersOwnSignatureIsCutOff)
{
    ASSERT_EQ(Make(root / "bundle.exe", Signed(Launcher())), "");
    std::string bundle = Read(root / "bundle.exe");
    BundleContents contents = ReadBundle(root / "bundle.exe");
    ASSERT_EQ(contents.fault, BundleFault::none);
    EXPECT_EQ(contents.contentEnd, contents.fileSize) << "the bundle carries no certificate table";
    EXPECT_EQ(bundle.find(std::string(1000, 'C')), std::string::npos);
    EXPECT_EQ(contents.payloadStart, (Launcher().size() + 7) / 8 * 8);
}

TEST_F(BundleFileTest, AChangedOrCutBundleIsRefused)
{
    ASSERT_EQ(Make(root / "bundle.exe"), "");
    std::string bundle = Read(root / "bundle.exe");
    BundleContents sound = ReadBundle(root / "bundle.exe");
    std::string changed = bundle, changedTable = bundle;
    changed[static_cast<size_t>(sound.files[0].offset + 1000)] ^= 1;
    changedTable[static_cast<size_t>(sound.payloadStart + 9)] ^= 1;
    struct Case {
        const char *what;
        std::string bytes;
        BundleFault fault;
    };
    const Case cases[] = {
        {"one byte of a file changed", changed, BundleFault::digestDiffers},
        {"one byte of the table changed", changedTable, BundleFault::digestDiffers},
        {"cut short by one byte", bundle.substr(0, bundle.size() - 1), BundleFault::noTrailer},
        {"cut short in its payload", bundle.substr(0, bundle.size() / 2), BundleFault::noTrailer},
        {"the launcher alone", Launcher(), BundleFault::noTrailer},
        {"no program", "plain text", BundleFault::notAProgram},
    };
    for (const Case &sample : cases) {
        Write(root / "damaged.exe", sample.bytes);
        EXPECT_EQ(ReadBundle(root / "damaged.exe").fault, sample.fault) << sample.what;
    }
}

TEST_F(BundleFileTest, NamesTheLauncherWouldRefuseAreRefusedWhenMaking)
{
    for (const char *name : {"CON.txt", "data/readme.", "Setup.exe"}) {
        Write(root / "package" / name, "x");
        EXPECT_NE(Make(root / "bundle.exe"), "") << name;
        EXPECT_FALSE(fs::exists(root / "bundle.exe")) << name;
        fs::remove(root / "package" / name);
    }
}

TEST_F(BundleFileTest, ABundleInsideItsPackageLeavesItselfOut)
{
    ASSERT_EQ(Make(root / "package/bundle.exe"), "");
    ASSERT_EQ(Make(root / "package/bundle.exe"), "") << "made again over the first";
    BundleContents contents = ReadBundle(root / "package/bundle.exe");
    ASSERT_EQ(contents.fault, BundleFault::none);
    EXPECT_EQ(contents.files.size(), 4u);
}

TEST_F(BundleFileTest, ABundleIsNoLauncher)
{
    ASSERT_EQ(Make(root / "bundle.exe"), "");
    EXPECT_EQ(Make(root / "again.exe", Read(root / "bundle.exe")), "the launcher is a bundle already");
}

} // namespace
