// The chooser on QFileDialog: what it offers, typed names (missing files too) and
// wildcards, and the shape of what it hands back.

#include "platform/qt_file_chooser.h"
#include "tests/support/fake_platform.h"
#include "tests/support/player_harness.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

const ChooserRequest kRequest{{{"Все форматы", "*.mp3;*.mid"}, {"MIDI", "*.mid"}}, "mp3", true};

// Opens the chooser in folder, types into its file-name box and presses Enter.
int ChooseTyped(const std::string& folder, const QString& typed, ChooserResult& result,
                QStringList* filtersSeen = nullptr)
{
    WhenChooserOpens([&](QFileDialog* dialog) {
        if (filtersSeen) *filtersSeen = dialog->nameFilters();
        EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters().value(0));
        EXPECT_EQ(dialog->defaultSuffix(), QStringLiteral("mp3"));
        ShowChooserFolder(dialog, folder);
        TypeInChooser(dialog, typed);
        if (dialog->isVisible()) dialog->reject(); // refused: end the test's wait
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
    EXPECT_EQ(filters,
              QStringList({QStringLiteral("Все форматы (*.mp3 *.mid)"), QStringLiteral("MIDI (*.mid)")}));
    const std::string path = folder.Path() + "one.mp3";
    EXPECT_EQ(result.buffer, path + std::string(2, '\0'));
    EXPECT_EQ(result.fileOffset, path.rfind('/') + 1);
}

TEST(QtFileChooser, APathOf300CyrillicCharactersComesBackWhole)
{
    TempExeFolder folder;
    std::string deep = folder.Path();
    for (int i = 0; i < 7; ++i) deep += "Очень длинное название папки с музыкой " + std::to_string(i) + "/";
    std::filesystem::create_directories(deep);
    const std::string path = deep + "song.mp3";
    WriteBytes(path, "");
    ASSERT_GE(QString::fromStdString(path).size(), 300);
    ChooserResult result;
    ASSERT_EQ(ChooseTyped(deep, QStringLiteral("song.mp3"), result), 1);
    EXPECT_EQ(result.buffer, path + std::string(2, '\0'));
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

TEST(QtFileChooser, SeveralFilesCanBePickedInTheListWithTheMouse)
{
    TempExeFolder folder;
    WriteBytes(folder.Path() + "a.mp3", "");
    WriteBytes(folder.Path() + "b.mp3", "");
    WhenChooserOpens([&](QFileDialog* dialog) {
        ShowChooserFolder(dialog, folder.Path());
        // The list or the detail view, whichever is shown.
        QAbstractItemView* list = nullptr;
        for (const char* name : {"listView", "treeView"}) {
            auto* view = dialog->findChild<QAbstractItemView*>(QLatin1String(name));
            if (view && view->isVisible()) list = view;
        }
        if (!list) {
            ADD_FAILURE() << "no file view shown";
            dialog->reject();
            return;
        }
        auto click = [&](const QString& name, Qt::KeyboardModifiers modifiers) {
            const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
            const QModelIndex row = list->model()->match(first, Qt::DisplayRole, name).value(0);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, list->visualRect(row).center());
        };
        // A click in the list takes the focus there.
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        list->setFocus();
        click(QStringLiteral("a.mp3"), {});
        click(QStringLiteral("b.mp3"), Qt::ControlModifier);
        dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
        if (dialog->isVisible()) dialog->reject(); // refused: end the test's wait
    });
    QtFileChooser chooser;
    ChooserResult result;
    ASSERT_EQ(chooser.GetOpenFileName(kRequest, result), 1);
    const std::string dir = folder.Path().substr(0, folder.Path().size() - 1);
    EXPECT_EQ(result.buffer, dir + '\0' + "a.mp3" + '\0' + "b.mp3" + '\0' + '\0');
}

TEST(QtFileChooser, TypedNamesOfMissingFilesAreTakenInTheOrderTyped)
{
    TempExeFolder folder;
    const std::string dir = folder.Path().substr(0, folder.Path().size() - 1);
    ChooserResult result;
    ASSERT_EQ(ChooseTyped(folder.Path(), QStringLiteral("nothere.mp3"), result), 1);
    EXPECT_EQ(result.buffer, dir + "/nothere.mp3" + std::string(2, '\0'));

    // A whole path in a missing folder, without an extension: "mp3" is added.
    ASSERT_EQ(ChooseTyped(folder.Path(), QString::fromStdString(dir + "/gone/nothere"), result), 1);
    EXPECT_EQ(result.buffer, dir + "/gone/nothere.mp3" + std::string(2, '\0'));
    EXPECT_EQ(result.fileOffset, dir.size() + 6);

    WriteBytes(folder.Path() + "a.mp3", "");
    WriteBytes(folder.Path() + "b.mid", "");
    const QString mixed = QStringLiteral("\"b.mid\" \"gone\" \"a.mp3\"");
    ASSERT_EQ(ChooseTyped(folder.Path(), mixed, result), 1);
    EXPECT_EQ(result.buffer, dir + '\0' + "b.mid" + '\0' + "gone.mp3" + '\0' + "a.mp3" + '\0' + '\0');
}

TEST(QtFileChooser, ATypedWildcardFiltersTheViewAndKeepsTheChooserOpen)
{
    TempExeFolder folder;
    WriteBytes(folder.Path() + "a.wav", "");
    WriteBytes(folder.Path() + "b.mp3", "");
    bool open = false;
    WhenChooserOpens([&](QFileDialog* dialog) {
        ShowChooserFolder(dialog, folder.Path());
        TypeInChooser(dialog, QStringLiteral("*.wav"));
        open = dialog->isVisible();
        auto* list = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        const auto names = [&] {
            QStringList names;
            for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row)
                names << list->model()->index(row, 0, list->rootIndex()).data().toString();
            return names;
        };
        // The filtered listing comes in the background too; folders stay.
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return names().contains(QStringLiteral("a.wav")) && !names().contains(QStringLiteral("b.mp3"));
        })) << names().join(QLatin1Char(' ')).toStdString();
        dialog->reject();
    });
    QtFileChooser chooser;
    ChooserResult result;
    EXPECT_NE(chooser.GetOpenFileName(kRequest, result), 1);
    EXPECT_TRUE(open);
    EXPECT_TRUE(result.buffer.empty());
}

TEST(QtFileChooser, CancelHandsBackNothing)
{
    WhenChooserOpens([](QFileDialog* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QtFileChooser chooser;
    ChooserResult result;
    result.buffer = "untouched";
    EXPECT_NE(chooser.GetOpenFileName(kRequest, result), 1);
    EXPECT_EQ(result.buffer, "untouched");
}
