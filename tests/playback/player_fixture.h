#pragma once
// The main window over the fake engine, with helpers to choose real files and tick.

#include "tests/support/player_harness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override { h.Open(); }

    // Empty files of these names in the test's folder; their paths.
    std::vector<std::string> MakeFiles(const std::vector<std::string>& names);
    // Chooses these (new) files and clicks Open or Add.
    void OpenFiles(const std::vector<std::string>& names);
    void AddFiles(const std::vector<std::string>& names);
    // A user's double click on a row of the track list: press and release, then the
    // double click, which the list only takes on the row it saw pressed.
    void DoubleClickTrack(int row);
    // One tick of the playback timer, as the window timer would deliver it.
    void Tick() { h.Dlg().OnTimer(1); }

    QString Status() { return h.Text(IDC_STATUS); }
    QString Title() { return h.Dlg().windowTitle(); }
    int Slider(int id);
    void MoveSlider(int id, int value);
    // The paths streams were created for, in order.
    std::vector<std::string> Created();
    // The path of the last stream created.
    std::string LastCreated();

    PlayerHarness h;
};
