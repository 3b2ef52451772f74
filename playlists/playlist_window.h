#pragma once
// What the playlist commands need of the window they run in. The commands
// (catalogue.cpp, create_playlist.cpp, track_commands.cpp, deletion.cpp) keep
// the tables and files; the window answers with its lists and message boxes.
//
// Threads: user-interface thread only. Each call returns once the window has
// done it, so the commands keep their order of effects.

#include <string>

class MessageBoxes;
class QWidget;

class PlaylistWindow {
public:
    virtual ~PlaylistWindow() = default;

    // The message boxes, and the window they are shown over.
    virtual MessageBoxes& Messages() = 0;
    virtual QWidget* Owner() = 0;
    // The first selected row of the playlist list below playlistCount, or of the
    // track list below its track count; -1 when none is.
    virtual int SelectedPlaylistRow() = 0;
    virtual int SelectedTrackRow() = 0;
    // Asks the user for a new playlist's name; empty when cancelled.
    virtual std::string AskPlaylistName() = 0;

    // The playlist list shows the catalogue, selects currentPlaylist and loads it.
    virtual void RefreshPlaylists() = 0;
    // The track list shows the track table.
    virtual void RefreshTrackList() = 0;
    // Both lists emptied, without a selection notification.
    virtual void EmptyLists() = 0;
    // What "Стоп" does.
    virtual void StopPlayback() = 0;
};

// The playlist commands, each the body of the window's handler of that name.
// LoadCatalogue: counters reset, catalogue read, the lists filled (or emptied and stopped).
void LoadCatalogue(PlaylistWindow& window);
// OnPlaylistSelChange: the selected playlist's file into the track table.
void LoadSelectedPlaylist(PlaylistWindow& window);
// OnCreatePlaylist: a new playlist of the tracks on screen.
void CreatePlaylist(PlaylistWindow& window);
// OnRemoveTrack, OnRemoveAll, OnSave.
void RemoveSelectedTrack(PlaylistWindow& window);
void RemoveAllTracks(PlaylistWindow& window);
void SaveTrackList(PlaylistWindow& window);
// OnDeletePlaylist: the selected playlist out of the catalogue, after asking.
void DeleteSelectedPlaylist(PlaylistWindow& window);
