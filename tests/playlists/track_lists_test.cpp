// Reading the lists of other players: M3U, M3U8 and PLS entries into paths.

#include "playlists/track_lists.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(TrackListEntries, M3uEntriesInOrderWithTheirFolderAndUrls)
{
    const std::string list = "#EXTM3U\r\n"
                             "#EXTINF:123,Исполнитель - Песня\r\n"
                             "Песня.mp3\r\n"
                             "\r\n"
                             "  sub\\Другая.flac  \r\n"
                             "/abs/a.ogg\n"
                             "file:///abs/%D0%AF%20b.opus\n"
                             "file://localhost/abs/c.wav\n"
                             "file://elsewhere/abs/d.wav\n"
                             "http://radio.example/stream.mp3\n"
                             "C:\\Music\\e.mp3\n"
                             "last.m4a";
    EXPECT_THAT(TrackListEntries("/lists/Подборка.m3u8", list),
                ElementsAre("/lists/Песня.mp3", "/lists/sub/Другая.flac", "/abs/a.ogg", "/abs/Я b.opus",
                            "/abs/c.wav", "/lists/C:/Music/e.mp3", "/lists/last.m4a"));
    EXPECT_THAT(TrackListEntries("/lists/a.m3u",
                                 "\xEF\xBB\xBF"
                                 "a.mp3\n"),
                ElementsAre("/lists/a.mp3"));
    EXPECT_THAT(TrackListEntries("/lists/a.m3u", ""), IsEmpty());
}

TEST(TrackListEntries, M3uThatIsNotUtf8IsWindows1251)
{
    // "Песня.mp3" and "Ёлка.mp3" in Windows-1251.
    const std::string cp1251 = "\xCF\xE5\xF1\xED\xFF.mp3\r\n\xA8\xEB\xEA\xE0.mp3\r\n";
    EXPECT_THAT(TrackListEntries("/m/a.M3U", cp1251), ElementsAre("/m/Песня.mp3", "/m/Ёлка.mp3"));
    // UTF-8 stays as it is; an .m3u8 is always UTF-8, taken byte for byte.
    EXPECT_THAT(TrackListEntries("/m/a.m3u", "Песня.mp3\n"), ElementsAre("/m/Песня.mp3"));
    EXPECT_THAT(TrackListEntries("/m/a.m3u8", "\xCF.mp3\n"), ElementsAre("/m/\xCF.mp3"));
}

TEST(TrackListEntries, PlsTakesItsFileLinesInTheirNumbersOrder)
{
    const std::string pls = "[playlist]\r\n"
                            "File2=b.mp3\r\n"
                            "Title2=B\r\n"
                            "file1=file:///m/a%20a.mp3\r\n"
                            "Length1=-1\r\n"
                            "File3=http://radio.example/\r\n"
                            "Filex=x.mp3\r\n"
                            "NumberOfEntries=3\r\n"
                            "Version=2\r\n";
    EXPECT_THAT(TrackListEntries("/lists/r.pls", pls), ElementsAre("/m/a a.mp3", "/lists/b.mp3"));
}
