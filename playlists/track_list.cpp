// Showing the track table in the track list.

#include "playlists/tables.h"
#include "ui/player_dlg.h"

#include <QListWidget>

void CPlayerDlg::RefreshTrackList()
{
    m_trackList->clear();
    // The trailing record is never listed.
    for (int i = 0; i < trackSlots - 1; ++i) {
        m_trackList->insertItem(i, QString::fromStdString(TrackTable[i].name));
        SelectRow(m_trackList, currentTrack);
    }
}
