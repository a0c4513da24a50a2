// The real main window driven as a user would: menus, toolbar, keys, close and saved settings.
#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <memory>

#include "settings/settings_store.h"
#include "tests/temp_folder.h"
#include "ui/command_ids.h"

namespace rizo {
namespace {

// Each test runs with its own empty per-user folder, so "cfg.ini" starts absent.
class MainFrameTest : public ::testing::Test {
protected:
    std::string SettingsFile() const { return temp.Path() + "Dodevovaze Rizodidiz/cfg.ini"; }

    ProgramSettings SavedSettings() const {
        ProgramSettings saved;
        saved.SettingsPath = SettingsFile();
        LoadSettings(saved);
        return saved;
    }

    test::TempFolder temp;
    test::ScopedEnv xdg{"XDG_CONFIG_HOME", temp.Path()};
};

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions()) {
        if (action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

// Item texts of a menu, "|" for a separator, "Hash Type >" for the submenu.
QStringList ItemTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (action->isSeparator()) {
            texts << "|";
        } else if (action->menu() != nullptr) {
            texts << action->text() + " >";
        } else {
            texts << action->text();
        }
    }
    return texts;
}

TEST_F(MainFrameTest, MenusListTheirItemsInOrder) {
    MainFrame frame;
    const std::vector<std::pair<QString, QStringList>> expected = {
        {"&File",
         {"Add Files...\tCtrl+F", "Add Folder...\tCtrl+O", "|", "Select All\tCtrl+A", "Select None",
          "|", "Remove Selected Items\tDel", "Clear All\tCtrl+X", "|", "Refresh", "Stop", "|",
          "Exit"}},
        {"&Edit",
         {"&Save...\tCtrl+S", "&Copy\tCtrl+C", "|", "Copy MD5", "Copy SHA1", "Copy CRC32",
          "Copy SHA256"}},
        {"&Options", {"Options...", "Show Hash in Uppercase", "Always on Top", "Hash Type >"}},
        {"&Help",
         {"&Help Topics\tF1", "|", "Dodevovaze Home", "Feedback and Support", "|",
          "&About Rizodidiz"}},
    };
    ASSERT_EQ(frame.menuBar()->actions().size(), 4);
    for (const auto& [title, items] : expected) {
        const QMenu* menu = MenuTitled(frame.menuBar(), title);
        ASSERT_NE(menu, nullptr) << title.toStdString();
        EXPECT_EQ(ItemTexts(menu), items) << title.toStdString();
    }
    const QMenu* hashType = MenuTitled(frame.menuBar(), "&Options")->actions().last()->menu();
    EXPECT_EQ(ItemTexts(hashType), (QStringList{"MD5", "SHA1", "CRC32", "SHA256"}));
}

TEST_F(MainFrameTest, ToolbarHasTwelveImagedButtonsAndFourSeparatorsWithTooltips) {
    MainFrame frame;
    const auto* toolBar = frame.findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    EXPECT_EQ(toolBar->iconSize(), QSize(24, 24));
    const QStringList expected = {"Add Files",
                                  "Add A Folder",
                                  "Clear All",
                                  "|",
                                  "Rehash and Refresh List",
                                  "Stop Hashing",
                                  "|",
                                  "Save Selected Items to File",
                                  "Copy Selected Items",
                                  "|",
                                  "MD5",
                                  "SHA1",
                                  "CRC32",
                                  "SHA256",
                                  "|",
                                  "Always on Top"};
    QStringList tips;
    for (const QAction* action : toolBar->actions()) {
        if (action->isSeparator()) {
            tips << "|";
            continue;
        }
        tips << action->toolTip();
        EXPECT_FALSE(action->icon().pixmap(24, 24).isNull()) << action->toolTip().toStdString();
        // The same image stands beside the item in the menus.
        EXPECT_GE(action->associatedObjects().size(), 2) << action->toolTip().toStdString();
    }
    EXPECT_EQ(tips, expected);
}

TEST_F(MainFrameTest, FirstStartGreysOnlyRowAndBatchCommandsAndChecksOnlyMd5) {
    MainFrame frame;
    const QMenu* file = MenuTitled(frame.menuBar(), "&File");
    QStringList greyed;
    for (const QAction* action : file->actions()) {
        if (!action->isSeparator() && !action->isEnabled()) {
            greyed << action->text();
        }
    }
    EXPECT_EQ(greyed,
              (QStringList{"Remove Selected Items\tDel", "Clear All\tCtrl+X", "Refresh", "Stop"}));

    const QMenu* hashType = MenuTitled(frame.menuBar(), "&Options")->actions().last()->menu();
    QStringList checked;
    for (const QAction* action : hashType->actions()) {
        if (action->isChecked()) {
            checked << action->text();
        }
    }
    EXPECT_EQ(checked, QStringList{"MD5"});
    EXPECT_EQ(frame.windowTitle(), "Rizodidiz");
    EXPECT_EQ(frame.size(), QSize(900, 550));
}

TEST_F(MainFrameTest, DigestTogglesFlipTheirSettingAndCheckWithoutEnablingCopyWithoutSelection) {
    MainFrame frame;
    frame.CommandAction(kCmdHashSha1)->trigger();
    EXPECT_TRUE(frame.Settings().HashSHA1);
    EXPECT_TRUE(frame.CommandAction(kCmdHashSha1)->isChecked());
    EXPECT_FALSE(frame.CommandAction(kCmdCopySha1)->isEnabled());

    frame.CommandAction(kCmdHashMd5)->trigger();
    EXPECT_FALSE(frame.Settings().HashMD5);
    EXPECT_FALSE(frame.CommandAction(kCmdHashMd5)->isChecked());
}

TEST_F(MainFrameTest, SettingsFileAtCloseHoldsTheRestoredRectangleAndToggles) {
    {
        MainFrame frame;
        frame.setGeometry(40, 60, 1000, 600);
        frame.Execute(kCmdUppercase);
        frame.Execute(kCmdHashCrc32);
    }
    const ProgramSettings saved = SavedSettings();
    EXPECT_EQ(saved.X, 40);
    EXPECT_EQ(saved.Y, 60);
    EXPECT_EQ(saved.Cx, 1000);
    EXPECT_EQ(saved.Cy, 600);
    EXPECT_TRUE(saved.ShowHashInUppercase);
    EXPECT_TRUE(saved.HashCRC32);

    MainFrame again;
    EXPECT_TRUE(again.CommandAction(kCmdHashCrc32)->isChecked());
    EXPECT_TRUE(again.CommandAction(kCmdUppercase)->isChecked());
}

TEST_F(MainFrameTest, ExitClosesTheWindowWhenIdle) {
    MainFrame frame;
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
    frame.Execute(kCmdExit);
    EXPECT_TRUE(frame.isVisible()) << "the close request is posted, not handled at once";
    EXPECT_TRUE(QTest::qWaitFor([&frame] { return !frame.isVisible(); }, 5000));
}

}  // namespace
}  // namespace rizo
