// Text files: CR LF on disk, CR LF and lone LF read as line ends, failures reported.

#include "fake_platform.h"
#include "platform/text_file.h"

#include <gtest/gtest.h>

namespace {

std::string ReadAll(const std::string& path)
{
    auto file = TextFile::Open(path, TextFile::Access::Read);
    std::string text;
    for (int c; (c = file->GetChar()) != EOF;) text += static_cast<char>(c);
    return text;
}

TEST(TextFile, WritesLineEndsAsCrLfAndReadsThemBack)
{
    TempExeFolder folder;
    const std::string path = folder.Pl("list.plt");
    auto file = TextFile::Open(path, TextFile::Access::Write);
    ASSERT_TRUE(file);
    EXPECT_TRUE(file->Put("/a/один.mp3\n"));
    EXPECT_TRUE(file->Put("/b.mp3\n"));
    EXPECT_TRUE(file->Sync());
    EXPECT_TRUE(file->Close());
    EXPECT_EQ(ReadBytes(path), "/a/один.mp3\r\n/b.mp3\r\n");
    EXPECT_EQ(ReadAll(path), "/a/один.mp3\n/b.mp3\n");

    auto append = TextFile::Open(path, TextFile::Access::Append);
    EXPECT_TRUE(append->Put("/c.mp3\n"));
    append.reset(); // closed quietly
    EXPECT_EQ(ReadBytes(path), "/a/один.mp3\r\n/b.mp3\r\n/c.mp3\r\n");
}

TEST(TextFile, ReadsLoneLfAsLineEndAndLoneCrAsACharacter)
{
    TempExeFolder folder;
    const std::string path = folder.Pl("mixed");
    WriteBytes(path, "a\nb\r\nc\rd\r\r\ne\r");
    EXPECT_EQ(ReadAll(path), "a\nb\nc\rd\r\ne\r");
    // A CR LF split across two reads of the buffer is still one line end.
    const std::string split = std::string(4095, 'x') + "\r\n" + "y";
    WriteBytes(path, split);
    EXPECT_EQ(ReadAll(path), std::string(4095, 'x') + "\ny");
}

TEST(TextFile, ReportsWhatCannotBeOpened)
{
    TempExeFolder folder;
    EXPECT_EQ(TextFile::Open(folder.Pl("missing"), TextFile::Access::Read), nullptr);
    EXPECT_EQ(TextFile::Open(folder.Path() + "no/such/folder", TextFile::Access::Write), nullptr);
    EXPECT_FALSE(RemoveFile(folder.Pl("missing")));
    EXPECT_FALSE(RenameFile(folder.Pl("missing"), folder.Pl("other")));
}

} // namespace
