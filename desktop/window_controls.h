#pragma once
// The main window's controls that the desktop's ways in work, by identifier.

inline constexpr int kPauseButton = 1000;
inline constexpr int kStatusBox = 1001;
inline constexpr int kPlayButton = 1003;
inline constexpr int kStopButton = 1004;
inline constexpr int kPositionSlider = 1007;
inline constexpr int kTrackList = 1014;
inline constexpr int kVolumeSlider = 1018;
