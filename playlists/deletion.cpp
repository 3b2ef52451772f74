// Deleting the selected playlist.

#include "playlists/deletion.h"

#include "platform/message_box.h"
#include "playlists/catalogue_file.h"
#include "playlists/playlist_messages.h"
#include "playlists/playlist_ownership.h"
#include "playlists/playlist_paths.h"
#include "playlists/playlist_window.h"
#include "playlists/tables.h"

using namespace lirvan;

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

void DeleteSelectedPlaylist(PlaylistWindow& window)
{
    MessageBoxes& messages = window.Messages();
    QWidget* const owner = window.Owner();
    auto catalogue = TextFile::Open(CataloguePath(), TextFile::Access::Read);
    // No catalogue, or no playlist in it: nothing to delete.
    if (!catalogue || playlistCount == 0) return;
    auto temporary = TextFile::Open(TemporaryCataloguePath(), TextFile::Access::Write);
    if (!temporary) {
        ShowError(messages, owner, kCatalogueNotWrittenText);
        return;
    }
    if (const int selected = window.SelectedPlaylistRow(); selected >= 0) currentPlaylist = selected;
    // Any answer but OK keeps everything; the empty temporary catalogue stays.
    if (messages.Show(owner, QString::fromUtf8(kDeleteQuestionText), QString::fromUtf8(kDeleteCaption),
                      MessageButtons::OkCancel) != IDOK) {
        return;
    }
    const CatalogueWithout copy = CopyCatalogueWithout(*catalogue, currentPlaylist);
    // A catalogue read only in part would lose the playlists after the break.
    if (catalogue->ReadFailed()) {
        ShowError(messages, owner, kCatalogueNotReadText);
        return;
    }
    catalogue->Close();
    // Hand-made empty lines or lines without "*" shift the lines against the
    // playlists: the line found is then another playlist's, which must stay.
    if (copy.deletedPath != PlaylistTable[currentPlaylist].path) {
        ShowError(messages, owner, kCatalogueMismatchText);
        return;
    }
    if (!ReplaceCatalogue(*temporary, copy.text)) {
        ShowError(messages, owner, kCatalogueNotWrittenText);
        return;
    }
    // The catalogue no longer names the file. Only a playlist file of ours goes;
    // one already gone is no matter, and any other file stays where it is.
    const PlaylistFileOwner fileOwner = OwnerOf(copy.deletedPath);
    if (fileOwner == PlaylistFileOwner::Ours) RemoveFile(copy.deletedPath);
    LoadCatalogue(window);
    if (fileOwner == PlaylistFileOwner::Foreign) {
        ShowFileMessage(messages, owner, kPlaylistFileKeptText, kDeleteCaption, copy.deletedPath);
    }
}
