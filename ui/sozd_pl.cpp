#include "ui/sozd_pl.h"

#include "playlists/playlist_messages.h"
#include "playlists/playlist_paths.h"
#include "ui/dialog_template.h"

#include <QLineEdit>
#include <QPushButton>

SozdPL::SozdPL(MessageBoxes& messages, QWidget* parent)
    : QDialog(parent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                  Qt::WindowCloseButtonHint),
      m_messages(messages)
{
    BuildDialog(this, kCreatePlaylistTemplate);
    m_nameEdit = FindControlAs<QLineEdit>(this, IDC_PLAYLIST_NAME);
    connect(FindControlAs<QPushButton>(this, IDC_CREATE_NAMED), &QPushButton::clicked, this,
            &SozdPL::OnClickedCreate);
}

void SozdPL::OnClickedCreate()
{
    if (AcceptName()) {
        accept();
        return;
    }
    // An unsafe name stays in the box to be corrected; an empty one or "PLT" is wiped.
    if (IsUnsafePlaylistName(m_nameEdit->text().toStdString())) {
        ShowError(m_messages, this, kUnsafeNameText);
        return;
    }
    m_nameEdit->clear();
}

bool SozdPL::AcceptName()
{
    const std::string typedName = m_nameEdit->text().toStdString();
    if (typedName.empty() || typedName == "PLT" || IsUnsafePlaylistName(typedName)) return false;
    m_newName = typedName;
    return true;
}
