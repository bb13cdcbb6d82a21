#include "core/files/ini_profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace zt {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

std::string valueOf(std::string_view text, std::string_view section, std::string_view key)
{
    const auto raw = findProfileValue(text, section, key);
    return raw ? clipProfileValue(*raw) : std::string("<missing>");
}

TEST(IniRead, NamesCompareWithoutCaseAndSurroundingBlanks)
{
    const std::string text = "[Language]\ncomport=3\n  [ msg ]  \n  9001 =Hello\n";
    EXPECT_EQ(valueOf(text, "language", "COMPORT"), "3");
    EXPECT_EQ(valueOf(text, "MSG", "9001"), "Hello");
    EXPECT_EQ(valueOf(text, "Msg", "9002"), "<missing>");
    EXPECT_EQ(valueOf(text, "Other", "9001"), "<missing>");
}

TEST(IniRead, FirstMatchWinsAcrossDuplicateKeysAndSections)
{
    const std::string text = "[A]\nk=first\nK=second\n[B]\nk=b\n[a]\nk=third\nonly=later\n";
    EXPECT_EQ(valueOf(text, "A", "k"), "first");
    EXPECT_EQ(valueOf(text, "A", "only"), "later");
    EXPECT_EQ(valueOf(text, "B", "k"), "b");
}

TEST(IniRead, CommentsAndStrayLinesAreNotKeys)
{
    const std::string text =
        ";[Msg]\n[Msg]\n; 9001=commented\n  ;9002=also\nno equals sign\n=nokey\n9001=real\n";
    EXPECT_EQ(valueOf(text, "Msg", "9001"), "real");
    EXPECT_EQ(valueOf(text, "Msg", "9002"), "<missing>");
    EXPECT_EQ(valueOf(text, "Msg", ""), "<missing>");
    // Keys before any section belong to none.
    EXPECT_EQ(valueOf("k=v\n[S]\n", "S", "k"), "<missing>");
}

TEST(IniRead, ValuesAreTrimmedCutAtNulAndKeepInnerText)
{
    EXPECT_EQ(valueOf("[S]\nk=  two words \t\n", "S", "k"), "two words");
    EXPECT_EQ(valueOf("[S]\nk= a=b;c \n", "S", "k"), "a=b;c");
    EXPECT_EQ(valueOf(std::string("[S]\nk=abc\0def\n", 14), "S", "k"), "abc");
    EXPECT_EQ(valueOf("[S]\nk=\n", "S", "k"), "");
}

TEST(IniRead, OneMatchingPairOfQuotesIsRemoved)
{
    EXPECT_EQ(valueOf("[S]\nk= \" padded \" \n", "S", "k"), " padded ");
    EXPECT_EQ(valueOf("[S]\nk='single'\n", "S", "k"), "single");
    EXPECT_EQ(valueOf("[S]\nk=\"\"\"twice\"\"\"\n", "S", "k"), "\"\"twice\"\"");
    EXPECT_EQ(valueOf("[S]\nk=\"\"\n", "S", "k"), "");
    // Unmatched, mixed or inner quotes stay.
    EXPECT_EQ(valueOf("[S]\nk=\"open\n", "S", "k"), "\"open");
    EXPECT_EQ(valueOf("[S]\nk=\"mixed'\n", "S", "k"), "\"mixed'");
    EXPECT_EQ(valueOf("[S]\nk=\"\n", "S", "k"), "\"");
    EXPECT_EQ(valueOf("[S]\nk=say \"hi\"\n", "S", "k"), "say \"hi\"");
}

TEST(IniRead, LongValuesAreCutTo254CharactersWithoutSplittingUtf8)
{
    const std::string ascii(300, 'x');
    EXPECT_EQ(valueOf("[S]\nk=" + ascii + "\n", "S", "k"), std::string(254, 'x'));
    std::string chinese;
    for (int i = 0; i < 300; ++i) chinese += "\xE4\xB8\xAD";  // U+4E2D, 3 bytes each
    EXPECT_EQ(valueOf("[S]\nk=" + chinese, "S", "k").size(), 254u * 3);
    // A truncated sequence counts as single bytes and is never overrun.
    EXPECT_EQ(clipProfileValue("\xE4\xB8", 1), "\xE4");
    EXPECT_EQ(clipProfileValue(std::string(600, 'y'), 511).size(), 511u);
}

TEST(IniRead, AnyLineBreakStyleAndNoFinalLineBreak)
{
    EXPECT_EQ(valueOf("[S]\r\nk=crlf\r\nz=1", "S", "k"), "crlf");
    EXPECT_EQ(valueOf("[S]\rk=cr\r", "S", "k"), "cr");
    EXPECT_EQ(valueOf("[S]\nk=last", "S", "k"), "last");
    EXPECT_EQ(valueOf("\xEF\xBB\xBF[S]\nk=bom", "S", "k"), "bom");
    EXPECT_EQ(valueOf("[S]\n" + std::string(100000, 'q') + "\nk=after", "S", "k"), "after");
}

TEST(IniRead, MissingFileSectionOrKeyGivesTheDefault)
{
    TempDir dir;
    EXPECT_EQ(readProfileString(dir / "none.ini", "S", "k", "dflt"), "dflt");
    writeBytes(dir / "a.ini", "[S]\nk=v\n");
    EXPECT_EQ(readProfileString(dir / "a.ini", "T", "k", "dflt"), "dflt");
    EXPECT_EQ(readProfileString(dir / "a.ini", "S", "x", ""), "");
    EXPECT_EQ(readProfileString(dir / "a.ini", "s", "K", "dflt"), "v");
    // A folder in the way reads as a missing file.
    EXPECT_EQ(readProfileString(dir.path(), "S", "k", "dflt"), "dflt");
}

TEST(IniWrite, ReplacesOnlyTheKeyLineKeepingEveryOtherByte)
{
    const std::string before =
        "; top\r\n[language]\r\nIsFirstRun = 1 \r\n  COMPORT=1\r\n\r\n[x]\r\nk=1";
    std::string text = before;
    ASSERT_TRUE(setProfileValue(text, "Language", "comPort", "5"));
    EXPECT_EQ(text, "; top\r\n[language]\r\nIsFirstRun = 1 \r\nCOMPORT=5\r\n\r\n[x]\r\nk=1");
    // The first of two duplicates is the one read and the one replaced.
    text = "[s]\nk=1\nk=2\n";
    ASSERT_TRUE(setProfileValue(text, "S", "K", "9"));
    EXPECT_EQ(text, "[s]\nk=9\nk=2\n");
    // A key outside any section is left alone; the byte-order mark stays.
    text = "\xEF\xBB\xBFk=1\n[s]\n";
    ASSERT_TRUE(setProfileValue(text, "s", "k", "2"));
    EXPECT_EQ(text, "\xEF\xBB\xBFk=1\n[s]\nk=2\n");
}

TEST(IniWrite, AppendsToTheSectionOrCreatesIt)
{
    std::string text = "[a]\r\nx=1\r\n\r\n[b]\r\ny=2";
    ASSERT_TRUE(setProfileValue(text, "a", "new", "v"));
    EXPECT_EQ(text, "[a]\r\nx=1\r\nnew=v\r\n\r\n[b]\r\ny=2");
    ASSERT_TRUE(setProfileValue(text, "b", "z", "3"));
    EXPECT_EQ(text, "[a]\r\nx=1\r\nnew=v\r\n\r\n[b]\r\ny=2\r\nz=3\r\n");
    ASSERT_TRUE(setProfileValue(text, "c", "k", ""));
    EXPECT_EQ(text, "[a]\r\nx=1\r\nnew=v\r\n\r\n[b]\r\ny=2\r\nz=3\r\n\r\n[c]\r\nk=\r\n");
    EXPECT_EQ(valueOf(text, "C", "K"), "");

    std::string lf = "[a]\n";
    ASSERT_TRUE(setProfileValue(lf, "a", "k", "1"));
    EXPECT_EQ(lf, "[a]\nk=1\n");
}

TEST(IniWrite, RefusesTextsThatWouldBreakTheFile)
{
    std::string text = "[s]\nk=1\n";
    const std::string before = text;
    EXPECT_FALSE(setProfileValue(text, "s", "k", "two\nlines"));
    EXPECT_FALSE(setProfileValue(text, "s", "k", "cr\r"));
    EXPECT_FALSE(setProfileValue(text, "s", "k", std::string("n\0ul", 4)));
    EXPECT_FALSE(setProfileValue(text, "s", "a=b", "1"));
    EXPECT_FALSE(setProfileValue(text, "s]x", "k", "1"));
    EXPECT_FALSE(setProfileValue(text, "", "k", "1"));
    EXPECT_FALSE(setProfileValue(text, "s", " ", "1"));
    EXPECT_FALSE(setProfileValue(text, "s", ";k", "1"));
    EXPECT_EQ(text, before);
}

TEST(IniWriteFile, CreatesTheFileAndKeepsOthersLines)
{
    TempDir dir;
    const auto file = dir / "sub" / "mysetup.ini";
    ASSERT_TRUE(writeProfileString(file, "language", "comPort", "2"));
    EXPECT_EQ(readProfileString(file, "LANGUAGE", "comport", ""), "2");
    ASSERT_TRUE(writeProfileString(file, "language", "CurrentLanguage", "1"));
    ASSERT_TRUE(writeProfileString(file, "language", "comPort", "4"));
    EXPECT_EQ(readProfileString(file, "language", "comPort", ""), "4");
    EXPECT_EQ(readProfileString(file, "language", "CurrentLanguage", ""), "1");

    const std::string odd = std::string("[s]\r\nk=1\r\nbin=\x01\xFF\0x\r\n", 20) + "tail";
    writeBytes(dir / "odd.ini", odd);
    ASSERT_TRUE(writeProfileString(dir / "odd.ini", "s", "k", "2"));
    EXPECT_EQ(readBytes(dir / "odd.ini"),
              std::string("[s]\r\nk=2\r\nbin=\x01\xFF\0x\r\n", 20) + "tail");
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 2);  // "sub" and odd.ini only
}

TEST(IniWriteFile, AFailedWriteLeavesTheOldFile)
{
    TempDir dir;
    const auto file = dir / "a.ini";
    writeBytes(file, "[s]\nk=old\n");
    EXPECT_FALSE(writeProfileString(file, "s", "k", "bad\nvalue"));
    EXPECT_EQ(readBytes(file), "[s]\nk=old\n");
    // Something that is not a readable file is never replaced.
    std::filesystem::create_directories(dir / "folder.ini" / "inner");
    EXPECT_FALSE(writeProfileString(dir / "folder.ini", "s", "k", "v"));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.ini" / "inner"));
}

TEST(IniWriteFile, AWriteIntoALockedFolderLeavesTheOldFile)
{
    TempDir dir;
    const auto file = dir / "a.ini";
    writeBytes(file, "[s]\nk=old\n");

    std::filesystem::permissions(
        dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    const bool written = writeProfileString(file, "s", "k", "new");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    if (written) GTEST_SKIP() << "running with rights that ignore folder permissions";
    EXPECT_EQ(readBytes(file), "[s]\nk=old\n");
}

}  // namespace
}  // namespace zt
