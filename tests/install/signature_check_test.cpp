// `tsa check` on the signatures of a package's programs: what the PE headers tell, for program
// files made to measure, signed and not, 32 and 64 bits, and for files that only look like one.
#include "test_support.h"
#include "tools/signature_check.h"

namespace {

const uint32_t peOffset = 0x80;
const uint32_t optionalAt = peOffset + 4 + 20;

struct ProgramShape {
    bool wide = false;         // PE32+ rather than PE32
    uint32_t directories = 16; // NumberOfRvaAndSizes
    uint32_t tableOffset = 0;  // the certificate table's file offset, 0 for none
    uint32_t tableSize = 0;
    uint16_t certificateType = 2; // WIN_CERT_TYPE_PKCS_SIGNED_DATA
    uint32_t certificateLength = 0;
};

void Put(std::string &bytes, size_t at, uint64_t value, int width)
{
    if (bytes.size() < at + width) bytes.resize(at + width, '\0');
    for (int k = 0; k < width; ++k) bytes[at + k] = static_cast<char>(value >> (8 * k) & 0xFF);
}

// A program file's headers, then the certificate table where the shape puts one.
std::string ProgramBytes(const ProgramShape &shape)
{
    std::string bytes(0x400, '\0');
    Put(bytes, 0, 0x5A4D, 2);
    Put(bytes, 0x3C, peOffset, 4);
    Put(bytes, peOffset, 0x00004550, 4);
    uint32_t directoriesAt = shape.wide ? 112 : 96;
    Put(bytes, peOffset + 4 + 16, directoriesAt + 16 * 8, 2); // SizeOfOptionalHeader
    Put(bytes, optionalAt, shape.wide ? 0x20B : 0x10B, 2);
    Put(bytes, optionalAt + directoriesAt - 4, shape.directories, 4);
    Put(bytes, optionalAt + directoriesAt + 4 * 8, shape.tableOffset, 4);
    Put(bytes, optionalAt + directoriesAt + 4 * 8 + 4, shape.tableSize, 4);
    if (shape.tableOffset != 0 && shape.tableOffset == bytes.size()) {
        Put(bytes, shape.tableOffset, shape.certificateLength, 4);
        Put(bytes, shape.tableOffset + 4, 0x0200, 2);
        Put(bytes, shape.tableOffset + 6, shape.certificateType, 2);
        bytes.resize(shape.tableOffset + shape.tableSize, '\x30');
    }
    return bytes;
}

ProgramShape Signed(bool wide = false)
{
    ProgramShape shape;
    shape.wide = wide;
    shape.tableOffset = 0x400;
    shape.tableSize = 0x200;
    shape.certificateLength = 0x200;
    return shape;
}

class SignatureCheckTest : public ScratchTest {
protected:
    SignatureState StateOf(const std::string &bytes)
    {
        WriteBytes("program.exe", bytes);
        return ReadSignatureState("program.exe");
    }
};

TEST_F(SignatureCheckTest, SignedProgramsOfBothWidthsArePresent)
{
    EXPECT_EQ(StateOf(ProgramBytes(Signed(false))), SignatureState::present);
    EXPECT_EQ(StateOf(ProgramBytes(Signed(true))), SignatureState::present);
}

TEST_F(SignatureCheckTest, ProgramsWithoutCertificateTableAreAbsent)
{
    EXPECT_EQ(StateOf(ProgramBytes(ProgramShape{})), SignatureState::absent);
    ProgramShape wide;
    wide.wide = true;
    EXPECT_EQ(StateOf(ProgramBytes(wide)), SignatureState::absent);
    // Too few directories to hold the table's entry: none, whatever the bytes after them say.
    ProgramShape shortList = Signed();
    shortList.directories = 4;
    EXPECT_EQ(StateOf(ProgramBytes(shortList)), SignatureState::absent);
}

TEST_F(SignatureCheckTest, TablesThatCannotHoldASignatureAreDamaged)
{
    ProgramShape pastTheEnd = Signed();
    std::string bytes = ProgramBytes(pastTheEnd);
    bytes.resize(0x500); // the table said 0x200 bytes from 0x400
    EXPECT_EQ(StateOf(bytes), SignatureState::damaged);

    ProgramShape farAway = Signed();
    farAway.tableOffset = 0xFFFFFF00;
    farAway.tableSize = 0xFFFFFFFF;
    EXPECT_EQ(StateOf(ProgramBytes(farAway)), SignatureState::damaged);

    ProgramShape otherType = Signed();
    otherType.certificateType = 1; // an X.509 certificate alone signs nothing
    EXPECT_EQ(StateOf(ProgramBytes(otherType)), SignatureState::damaged);

    ProgramShape tooLong = Signed();
    tooLong.certificateLength = 0x201;
    EXPECT_EQ(StateOf(ProgramBytes(tooLong)), SignatureState::damaged);

    ProgramShape tiny = Signed();
    tiny.tableSize = 4;
    EXPECT_EQ(StateOf(ProgramBytes(tiny)), SignatureState::damaged);
}

TEST_F(SignatureCheckTest, FilesThatAreNoProgramsAreNamedSo)
{
    EXPECT_EQ(StateOf(""), SignatureState::notAProgram);
    EXPECT_EQ(StateOf("MZ"), SignatureState::notAProgram);
    EXPECT_EQ(StateOf("[Setup]\r\nDisplayBackgroundWindow=0\r\n"), SignatureState::notAProgram);
    std::string farHeader = ProgramBytes(ProgramShape{});
    Put(farHeader, 0x3C, 0xFFFFFFF0, 4);
    EXPECT_EQ(StateOf(farHeader), SignatureState::notAProgram);
    std::string cut = ProgramBytes(ProgramShape{});
    cut.resize(optionalAt + 1); // the optional header's magic is cut in half
    EXPECT_EQ(StateOf(cut), SignatureState::notAProgram);
    std::string otherMagic = ProgramBytes(ProgramShape{});
    Put(otherMagic, optionalAt, 0x107, 2);
    EXPECT_EQ(StateOf(otherMagic), SignatureState::notAProgram);
    EXPECT_EQ(ReadSignatureState("no-such-file.exe"), SignatureState::notAProgram);
}

TEST_F(SignatureCheckTest, PackageWarnsOfEachUnsignedProgramOnly)
{
    fs::create_directory("package");
    EXPECT_TRUE(CheckSignatures("package").empty()) << "a folder without programs";

    WriteBytes("package/Setup.EXE", ProgramBytes(ProgramShape{}));
    WriteBytes("package/lumora.dll", ProgramBytes(Signed()));
    std::vector<Finding> findings = CheckSignatures("package");
    ASSERT_EQ(findings.size(), 2u);
    EXPECT_EQ(FindingLine(findings[0]),
              "warning: setup.exe: carries no signature; Windows will show \"Unknown "
              "publisher\" when it asks for administrator rights");
    // A table of the right shape holding no signature cannot be verified (tsa_command_test
    // verifies real ones), which is a warning, as an unsigned file is.
    EXPECT_EQ(findings[1].severity, Severity::warning);
    EXPECT_EQ(findings[1].file, L"lumora.dll");

    fs::remove("package/Setup.EXE");
    WriteBytes("package/lumora.dll", "not a program");
    findings = CheckSignatures("package");
    ASSERT_EQ(findings.size(), 1u);
    EXPECT_EQ(FindingLine(findings[0]), "error: lumora.dll: is not a Windows program file");
}

} // namespace
