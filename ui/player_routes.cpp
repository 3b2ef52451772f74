#include "ui/player_routes.h"

namespace {

const Route kRoutes[] = {
    {RouteEvent::SystemCommand, 0, &CPlayerDlg::OnSysCommand},
    {RouteEvent::Paint, 0, WindowPaint{}},
    {RouteEvent::DragIconQuery, 0, &CPlayerDlg::OnQueryDragIcon},
    {RouteEvent::TimerTick, 0, &CPlayerDlg::OnTimer},
    {RouteEvent::Click, 1000, &CPlayerDlg::OnPause},
    {RouteEvent::Click, 1002, &CPlayerDlg::OnOpen},
    {RouteEvent::Click, 1003, &CPlayerDlg::OnPlay},
    {RouteEvent::Click, 1004, &CPlayerDlg::OnStop},
    {RouteEvent::CustomDraw, 1007, &CPlayerDlg::OnPositionSlider},
    {RouteEvent::DoubleClick, 1014, &CPlayerDlg::OnTrackDblClk},
    {RouteEvent::Click, 1017, &CPlayerDlg::OnCreatePlaylist},
    {RouteEvent::SelectionChange, 1016, &CPlayerDlg::OnPlaylistSelChange},
    {RouteEvent::CustomDraw, 1018, &CPlayerDlg::OnVolumeSlider},
    {RouteEvent::Click, 1019, &CPlayerDlg::OnDeletePlaylist},
    {RouteEvent::Click, 1005, &CPlayerDlg::OnAdd},
    {RouteEvent::Click, 1006, &CPlayerDlg::OnRemoveAll},
    {RouteEvent::Click, 1008, &CPlayerDlg::OnRemoveTrack},
    {RouteEvent::Click, 1020, &CPlayerDlg::OnSave},
};

} // namespace

std::span<const Route> PlayerRoutes() { return kRoutes; }
