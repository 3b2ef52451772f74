#pragma once
// Choosing tracks: the file chooser's request and the files it offers. Taking
// the chosen files is the playback model's (OpenTracks, AddTracks).

#include "platform/file_chooser.h"

#include <string>
#include <vector>

// What Open and Add ask the chooser: the seven filters, "mp3" as the default
// extension, several files at once.
const ChooserRequest& TrackChooserRequest();

// The files the user chose, in the chooser's order; none when cancelled. UI thread.
std::vector<std::string> ChooseTrackFiles(FileChooser& chooser);
