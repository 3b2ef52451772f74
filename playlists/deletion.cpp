// Deleting the selected playlist.

#include "playlists/deletion.h"

#include "platform/message_box.h"
#include "playlists/catalogue_file.h"
#include "playlists/playlist_messages.h"
#include "playlists/playlist_ownership.h"
#include "playlists/playlist_paths.h"
#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QListWidget>

CatalogueWithout CopyCatalogueWithout(TextFile& catalogue, int line)
{
    CatalogueWithout copy;
    int lineNumber = 0;
    char lastWritten = '\n'; // the copy starts as if after a line end
    bool collecting = true;
    for (int c; (c = catalogue.GetChar()) != EOF;) {
        if (c == '\n') {
            if (lineNumber != line && lastWritten != '\n') {
                copy.text += '\n';
                lastWritten = '\n';
            }
            ++lineNumber;
        } else if (lineNumber != line) {
            copy.text += static_cast<char>(c);
            lastWritten = static_cast<char>(c);
        } else if (c == '*' || !collecting) {
            collecting = false;
        } else {
            copy.deletedPath += static_cast<char>(c);
        }
    }
    return copy;
}

void CPlayerDlg::OnDeletePlaylist()
{
    auto catalogue = TextFile::Open(CataloguePath(), TextFile::Access::Read);
    // No catalogue, or no playlist in it: nothing to delete.
    if (!catalogue || playlistCount == 0) return;
    auto temporary = TextFile::Open(TemporaryCataloguePath(), TextFile::Access::Write);
    if (!temporary) {
        ShowError(m_platform.messages, this, kCatalogueNotWrittenText);
        return;
    }
    if (const int selected = FirstSelectedRow(m_playlistList, playlistCount); selected >= 0) {
        currentPlaylist = selected;
    }
    // Any answer but OK keeps everything; the empty temporary catalogue stays.
    if (m_platform.messages.Show(this, QString::fromUtf8(kDeleteQuestionText),
                                 QString::fromUtf8(kDeleteCaption), MessageButtons::OkCancel) != IDOK) {
        return;
    }
    const CatalogueWithout copy = CopyCatalogueWithout(*catalogue, currentPlaylist);
    // A catalogue read only in part would lose the playlists after the break.
    if (catalogue->ReadFailed()) {
        ShowError(m_platform.messages, this, kCatalogueNotReadText);
        return;
    }
    catalogue->Close();
    // Hand-made empty lines or lines without "*" shift the lines against the
    // playlists: the line found is then another playlist's, which must stay.
    if (copy.deletedPath != PlaylistTable[currentPlaylist].path) {
        ShowError(m_platform.messages, this, kCatalogueMismatchText);
        return;
    }
    if (!ReplaceCatalogue(*temporary, copy.text)) {
        ShowError(m_platform.messages, this, kCatalogueNotWrittenText);
        return;
    }
    // The catalogue no longer names the file. Only a playlist file of ours goes;
    // one already gone is no matter, and any other file stays where it is.
    const PlaylistFileOwner owner = OwnerOf(copy.deletedPath);
    if (owner == PlaylistFileOwner::Ours) RemoveFile(copy.deletedPath);
    LoadCatalogue();
    if (owner == PlaylistFileOwner::Foreign) {
        ShowFileMessage(m_platform.messages, this, kPlaylistFileKeptText, kDeleteCaption, copy.deletedPath);
    }
}
