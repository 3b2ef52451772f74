#include "ui/player_routes.h"
#include "ui/resource.h"

namespace {

const Route kRoutes[] = {
    {RouteEvent::SystemCommand, 0, &CPlayerDlg::OnSysCommand},
    {RouteEvent::Paint, 0, WindowPaint{}},
    {RouteEvent::DragIconQuery, 0, &CPlayerDlg::OnQueryDragIcon},
    {RouteEvent::TimerTick, 0, &CPlayerDlg::OnTimer},
    {RouteEvent::Click, IDC_PAUSE, &CPlayerDlg::OnPause},
    {RouteEvent::Click, IDC_OPEN, &CPlayerDlg::OnOpen},
    {RouteEvent::Click, IDC_PLAY, &CPlayerDlg::OnPlay},
    {RouteEvent::Click, IDC_STOP, &CPlayerDlg::OnStop},
    {RouteEvent::CustomDraw, IDC_POSITION, &CPlayerDlg::OnPositionSlider},
    {RouteEvent::DoubleClick, IDC_TRACK_LIST, &CPlayerDlg::OnTrackDblClk},
    {RouteEvent::Click, IDC_CREATE_PLAYLIST, &CPlayerDlg::OnCreatePlaylist},
    {RouteEvent::SelectionChange, IDC_PLAYLIST_LIST, &CPlayerDlg::OnPlaylistSelChange},
    {RouteEvent::CustomDraw, IDC_VOLUME, &CPlayerDlg::OnVolumeSlider},
    {RouteEvent::Click, IDC_DELETE_PLAYLIST, &CPlayerDlg::OnDeletePlaylist},
    {RouteEvent::Click, IDC_ADD, &CPlayerDlg::OnAdd},
    {RouteEvent::Click, IDC_REMOVE_ALL, &CPlayerDlg::OnRemoveAll},
    {RouteEvent::Click, IDC_REMOVE_TRACK, &CPlayerDlg::OnRemoveTrack},
    {RouteEvent::Click, IDC_SAVE, &CPlayerDlg::OnSave},
};

} // namespace

std::span<const Route> PlayerRoutes() { return kRoutes; }
