#pragma once
// Paths the desktop hands the player (the command line, drops, MPRIS, a second
// launch) turned into the tracks to take.

#include <QStringList>
#include <string>
#include <vector>

class PlaybackModel;

// The paths as tracks, in order: a folder stands for the audio files in it and
// its subfolders (by the format table's extensions, any letter case), sorted by
// path, lists among them not read; an M3U, M3U8 or PLS list that is a regular
// file stands for the tracks its entries name (ReadTrackList), each entry taken
// as a path here is, a list read at most once; anything else, a missing file
// too, is taken as given, as the chooser takes a typed name. A folder or list
// that cannot be read gives nothing.
std::vector<std::string> TrackPathsOf(const std::vector<std::string>& paths);

// The files among the arguments after the program's name, as absolute paths in
// the file system's encoding, in order; relative ones are taken from the
// current folder, empty ones are skipped.
std::vector<std::string> CommandLineFiles(const QStringList& arguments);

// What "Открыть" and "Добавить" do with chosen files, for paths that may name
// folders; nothing without tracks. User-interface thread.
void OpenPaths(PlaybackModel& model, const std::vector<std::string>& paths);
void AddPaths(PlaybackModel& model, const std::vector<std::string>& paths);
