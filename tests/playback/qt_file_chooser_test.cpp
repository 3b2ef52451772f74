// The chooser on QFileDialog: what it offers, and the shape of what it hands back.

#include "platform/qt_file_chooser.h"
#include "tests/support/fake_platform.h"
#include "tests/support/player_harness.h"

#include <QFileDialog>
#include <QLineEdit>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

const ChooserRequest kRequest{{{"Все форматы", "*.mp3;*.mid"}, {"MIDI", "*.mid"}}, "mp3", true};

// Opens the chooser, types names into its file-name box and confirms.
int ChooseTyped(const std::string& folder, const QString& typed, ChooserResult& result,
                QStringList* filtersSeen = nullptr)
{
    WhenModalOpens([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (filtersSeen) *filtersSeen = dialog->nameFilters();
        EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().value(0));
        EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFiles);
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("mp3"));
        dialog->setDirectory(QString::fromStdString(folder));
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides it, QDialog does not
    });
    QtFileChooser chooser;
    return chooser.GetOpenFileName(kRequest, result);
}

} // namespace

TEST(QtFileChooser, OffersTheFiltersAndHandsBackOneWholePath)
{
    TempExeFolder folder;
    WriteBytes(folder.Path() + "one.mp3", "");
    ChooserResult result;
    QStringList filters;
    ASSERT_EQ(ChooseTyped(folder.Path(), QStringLiteral("one.mp3"), result, &filters), 1);
    EXPECT_EQ(filters, QStringList({QStringLiteral("Все форматы (*.mp3 *.mid)"),
                                    QStringLiteral("MIDI (*.mid)")}));
    const std::string path = folder.Path() + "one.mp3";
    EXPECT_EQ(result.buffer, path + std::string(2, '\0'));
    EXPECT_EQ(result.fileOffset, path.rfind('/') + 1);
}

TEST(QtFileChooser, SeveralFilesComeBackAsFolderAndNames)
{
    TempExeFolder folder;
    WriteBytes(folder.Path() + "a.mp3", "");
    WriteBytes(folder.Path() + "b.mid", "");
    ChooserResult result;
    ASSERT_EQ(ChooseTyped(folder.Path(), QStringLiteral("\"a.mp3\" \"b.mid\""), result), 1);
    const std::string dir = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(result.buffer, dir + '\0' + "a.mp3" + '\0' + "b.mid" + '\0' + '\0');
    EXPECT_EQ(result.fileOffset, dir.size() + 1);
}

TEST(QtFileChooser, CancelHandsBackNothing)
{
    WhenModalOpens([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    QtFileChooser chooser;
    ChooserResult result;
    result.buffer = "untouched";
    EXPECT_NE(chooser.GetOpenFileName(kRequest, result), 1);
    EXPECT_EQ(result.buffer, "untouched");
}
