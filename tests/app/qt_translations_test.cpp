// Under a Russian locale Qt's own texts are Russian once the player has loaded
// Qt's translation: the file chooser's buttons are the first the user meets.

#include "app/qt_translations.h"
#include "platform/qt_file_chooser.h"
#include "tests/support/player_harness.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(QtTranslations, TheChooserSpeaksTheUsersLanguage)
{
    ASSERT_EQ(QLocale().language(), QLocale::Russian) << "the test runs under LANG=ru_RU.UTF-8";
    LoadQtTranslations();
    QString open, cancel;
    WhenChooserOpens([&](QFileDialog* dialog) {
        if (auto* buttons = dialog->findChild<QDialogButtonBox*>()) {
            if (QPushButton* button = buttons->button(QDialogButtonBox::Open)) open = button->text();
            if (QPushButton* button = buttons->button(QDialogButtonBox::Cancel)) cancel = button->text();
        }
        dialog->reject();
    });
    QtFileChooser chooser;
    ChooserResult result;
    chooser.GetOpenFileName({{{"MP3", "*.mp3"}}, "mp3", false}, result);
    EXPECT_EQ(open.remove(QLatin1Char('&')), QStringLiteral("Открыть"));
    EXPECT_EQ(cancel.remove(QLatin1Char('&')), QStringLiteral("Отмена"));
}
