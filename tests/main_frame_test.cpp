// SPDX-License-Identifier: MIT
// The real main window driven as a user would: menus, toolbar, keys, close and saved settings.
#include "ui/main_frame.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "settings/settings_store.h"
#include "tests/main_frame_fixture.h"
#include "tests/modal_answer.h"
#include "ui/command_ids.h"
#include "ui/dialogs/about_dialog.h"
#include "ui/dialogs/options_dialog.h"
#include "ui/dialogs/web_links.h"
#include "ui/display_platform.h"
#include "ui/sort_list_view.h"
#include "ui/status_panes.h"
#include "ui/window_arguments.h"

namespace rizo {
namespace {

// Each test starts without "cfg.ini".
class MainFrameTest : public test::MainFrameFixture {
protected:
    ProgramSettings SavedSettings() const {
        ProgramSettings saved;
        saved.SettingsPath = temp.Path() + "Dodevovaze Rizodidiz/cfg.ini";
        LoadSettings(saved);
        return saved;
    }

    // A new row for a file that keeps the worker busy, and the worker started over it.
    void StartLongBatch(MainFrame& frame) {
        const std::string path = HugeFile();
        frame.Worker().PendingRows.push_back(frame.List().Model().InsertRow(path));
        frame.Worker().PendingPaths.push_back(path);
        ASSERT_TRUE(frame.Worker().StartWorker({}));
        ASSERT_TRUE(frame.Busy());
    }
};

void ShowActive(MainFrame& frame) {
    frame.show();
    QApplication::setActiveWindow(&frame);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
}

// Whether running `command` brings up a modal dialog (which is then closed).
bool OpensModalDialog(const std::function<void()>& command) {
    bool opened = false;
    QTimer::singleShot(0, [&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    command();
    QCoreApplication::processEvents();
    return opened;
}

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions()) {
        if (action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
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
    EXPECT_EQ(greyed, (QStringList{"Remove Selected Items", "Clear All", "Refresh", "Stop"}));

    const QMenu* hashType = MenuTitled(frame.menuBar(), "&Options")->actions().last()->menu();
    QStringList checked;
    for (const QAction* action : hashType->actions()) {
        if (action->isChecked()) {
            checked << action->text();
        }
    }
    EXPECT_EQ(checked, QStringList{"MD5"});
    EXPECT_EQ(frame.size(), QSize(900, 550));
    EXPECT_EQ(frame.minimumSize(), QSize(800, 480));
    EXPECT_FALSE(frame.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    for (const int column : {kColSha1, kColCrc32, kColSha256}) {
        EXPECT_EQ(frame.List().columnWidth(column), 0) << column;
    }
    EXPECT_GT(frame.List().columnWidth(kColMd5), 0);
}

// What a menu shows of each item: its text, and its key at the right edge after a tab.
QStringList ShownItems(const QMenu& menu) {
    QStringList shown;
    for (const QAction* action : menu.actions()) {
        const QString key = action->shortcut().toString(QKeySequence::NativeText);
        shown << (action->isSeparator() ? QStringLiteral("|")
                                        : action->text() + (key.isEmpty() ? "" : "\t" + key));
    }
    return shown;
}

// The menus show the keys as before, with Ctrl+Q and F5 besides; screen readers get each item's
// own name, and its key as the item's key binding.
TEST_F(MainFrameTest, MenusShowTheirKeysWhichScreenReadersGetAsKeyBindingsBesideTheNames) {
    MainFrame frame;
    EXPECT_EQ(ShownItems(*MenuTitled(frame.menuBar(), "&File")),
              (QStringList{"Add Files...\tCtrl+F", "Add Folder...\tCtrl+O",
                           "Verify Checksum File...", "Audit Folder...", "|", "Select All\tCtrl+A",
                           "Select None", "|", "Remove Selected Items\tDel", "Clear All\tCtrl+X",
                           "|", "Refresh\tF5", "Stop", "|", "Exit\tCtrl+Q"}));
    EXPECT_EQ(ShownItems(*MenuTitled(frame.menuBar(), "&Help")),
              (QStringList{"&Help Topics\tF1", "|", "Dodevovaze Home", "Feedback and Support", "|",
                           "&About Rizodidiz", "About &Qt"}));
    QList<QMenu*> menus = frame.menuBar()->findChildren<QMenu*>();
    menus << frame.findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly);
    int itemsWithKeys = 0;
    for (QMenu* menu : menus) {
        QAccessibleInterface* accessibleMenu = QAccessible::queryAccessibleInterface(menu);
        ASSERT_NE(accessibleMenu, nullptr);
        ASSERT_EQ(accessibleMenu->childCount(), menu->actions().size());
        for (int i = 0; i < accessibleMenu->childCount(); ++i) {
            const QAction* action = menu->actions()[i];
            if (action->isSeparator()) {
                continue;
            }
            QAccessibleInterface* item = accessibleMenu->child(i);
            const QString name = item->text(QAccessible::Name);
            EXPECT_FALSE(name.isEmpty());
            EXPECT_FALSE(name.contains('\t')) << name.toStdString();
            const QString key = action->shortcut().toString();
            // What AT-SPI reports as the item's key binding.
            if (!key.isEmpty()) {
                EXPECT_EQ(item->text(QAccessible::Accelerator), key) << name.toStdString();
            }
            itemsWithKeys += key.isEmpty() ? 0 : 1;
        }
    }
    // Two menus list Select All, Remove, Clear, Copy and Save; Help Topics, Add Files, Add Folder,
    // Refresh and Exit are in one each.
    EXPECT_EQ(itemsWithKeys, 15);
    // Every button of the toolbar is named, the chevron for buttons that do not fit included.
    for (QToolButton* button : frame.findChild<QToolBar*>()->findChildren<QToolButton*>()) {
        EXPECT_FALSE(
            QAccessible::queryAccessibleInterface(button)->text(QAccessible::Name).isEmpty())
            << button->objectName().toStdString();
    }
}

// The keys act from the list as the menu items do: F5 hashes the rows anew, Ctrl+Q closes.
TEST_F(MainFrameTest, F5RefreshesAndCtrlQCloses) {
    MainFrame frame;
    ShowActive(frame);
    FileListModel& rows = frame.List().Model();
    rows.InsertRow("abc.txt");
    rows.SetCellText(0, kColFullPath, temp.File("abc.txt", "abc"));
    frame.List().setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    ASSERT_TRUE(WaitUntilIdle(frame));
    EXPECT_EQ(rows.CellText(0, kColMd5), "900150983cd24fb0d6963f7d28e17f72");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(QTest::qWaitFor([&frame] { return !frame.isVisible(); }, 5000))
        << "Ctrl+Q closes the window";
}

// The prompt follows the pointer only inside an open menu: a toolbar button leaves the panes and
// the batch's progress alone, and a greyed item shows no prompt, not the previous item's.
TEST_F(MainFrameTest, MenuPromptsShowOnlyWhileAMenuIsOpen) {
    MainFrame frame;
    ShowActive(frame);
    frame.List().Model().InsertRow("a");
    frame.UpdateFileCount();
    frame.Panes().ShowProgress(42.5f, "a", "/b/");
    const auto prompt = [&frame] {
        return frame.Panes().PanesVisible() ? std::string("panes")
                                            : frame.statusBar()->currentMessage().toStdString();
    };
    auto* toolbar = frame.findChild<QToolBar*>();
    QWidget* addButton = toolbar->widgetForAction(frame.CommandAction(kCmdAddFiles));
    QTest::mouseMove(addButton);
    EXPECT_EQ(prompt(), "panes") << "pointing at a toolbar button";

    QMenu* file = MenuTitled(frame.menuBar(), "&File");
    file->popup(frame.geometry().center());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(file));
    const auto pointAt = [&](int command) {
        QTest::mouseMove(file, file->actionGeometry(frame.CommandAction(command)).center());
        return prompt();
    };
    EXPECT_EQ(pointAt(kCmdAddFiles), "Add files to file list");
    EXPECT_EQ(pointAt(kCmdStop), "") << "the greyed Stop";
    EXPECT_EQ(pointAt(kCmdAddFolder), "Add all files in a folder to file list");
    EXPECT_EQ(pointAt(kCmdSelectNone), "") << "Select None has no prompt";
    file->hide();
    EXPECT_TRUE(QTest::qWaitFor([&prompt] { return prompt() == "panes"; }, 2000));
    EXPECT_EQ(frame.Panes().PaneText(StatusPanes::kPaneCount), "1 file");
    EXPECT_EQ(frame.Panes().PaneText(StatusPanes::kPaneProgress), "42.5%");

    QMenu* options = MenuTitled(frame.menuBar(), "&Options");
    options->popup(frame.geometry().center());
    options->setActiveAction(options->actions()[3]);
    EXPECT_EQ(prompt(), "") << "the Hash Type submenu";
    options->hide();
}

TEST_F(MainFrameTest, SettingsFileAtCloseHoldsRectangleColumnWidthsTogglesAndOptions) {
    {
        MainFrame frame;
        frame.setGeometry(40, 60, 1000, 600);
        frame.Execute(kCmdUppercase);
        frame.CommandAction(kCmdHashCrc32)->trigger();
        EXPECT_TRUE(frame.CommandAction(kCmdHashCrc32)->isChecked());
        EXPECT_FALSE(frame.CommandAction(kCmdCopyCrc32)->isEnabled()) << "nothing is selected";
        frame.Execute(kCmdAlwaysOnTop);
        frame.Execute(kCmdHashMd5);
        // Options hands the window's own settings to the dialog; Cancel is the dialog's test.
        AnswerNextModal<OptionsDialog>([](OptionsDialog* dialog) {
            for (QCheckBox* box : dialog->findChildren<QCheckBox*>()) {
                if (box->text() == "Folder") {
                    box->click();
                }
            }
            QTest::keyClick(dialog, Qt::Key_Return);
        });
        frame.Execute(kCmdOptions);
        frame.List().setColumnWidth(kColFilename, 321);
        frame.List().setColumnWidth(kColFullPath, 123);
        frame.List().setColumnWidth(kColSize, 30);
        // SHA1 is widened while shown, then hidden: its width is what gets saved.
        frame.Execute(kCmdHashSha1);
        frame.List().setColumnWidth(kColSha1, 420);
        frame.Execute(kCmdHashSha1);
        EXPECT_EQ(frame.List().columnWidth(kColSha1), 0);
    }
    const ProgramSettings saved = SavedSettings();
    EXPECT_EQ(saved.X, 40);
    EXPECT_EQ(saved.Y, 60);
    EXPECT_EQ(saved.Cx, 1000);
    EXPECT_EQ(saved.Cy, 600);
    EXPECT_TRUE(saved.ShowHashInUppercase);
    EXPECT_TRUE(saved.HashCRC32);
    EXPECT_TRUE(saved.AlwaysOnTop);
    EXPECT_TRUE(saved.IncFolder);
    EXPECT_FALSE(saved.HashMD5);
    EXPECT_FALSE(saved.HashSHA1);
    EXPECT_EQ(saved.ColumnWidth[kColFilename], 321);
    EXPECT_EQ(saved.ColumnWidth[kColSha1], 420);
    EXPECT_EQ(saved.ColumnWidth[kColFullPath], 123);
    EXPECT_GE(saved.ColumnWidth[kColSha256], 470) << "a never-shown column keeps its width";

    MainFrame again;
    EXPECT_TRUE(again.CommandAction(kCmdHashCrc32)->isChecked());
    EXPECT_TRUE(again.CommandAction(kCmdUppercase)->isChecked());
    EXPECT_TRUE(again.CommandAction(kCmdAlwaysOnTop)->isChecked());
    EXPECT_TRUE(again.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << "before the first show";
    EXPECT_EQ(again.List().columnWidth(kColFilename), 321);
    EXPECT_EQ(again.List().columnWidth(kColSize), 30) << "a saved width is not widened";
    EXPECT_EQ(again.List().columnWidth(kColSha1), 0);
    again.Execute(kCmdHashSha1);
    EXPECT_EQ(again.List().columnWidth(kColSha1), 420);
}

TEST_F(MainFrameTest, WhileBusyRowAndOptionCommandsAreDisabledAndRefuseToActAndTheRestAct) {
    MainFrame frame;
    ShowActive(frame);
    StartLongBatch(frame);
    frame.List().Model().SetSelected(0, true);

    for (const int id : {kCmdAddFiles, kCmdAddFolder, kCmdRemoveSelected, kCmdClearAll, kCmdRefresh,
                         kCmdSave, kCmdCopy, kCmdCopyMd5, kCmdOptions, kCmdUppercase, kCmdHashMd5,
                         kCmdHashSha1, kCmdHashCrc32, kCmdHashSha256}) {
        EXPECT_FALSE(frame.CommandAction(id)->isEnabled()) << id;
    }
    for (const int id : {kCmdStop, kCmdSelectAll, kCmdSelectNone, kCmdAlwaysOnTop, kCmdExit}) {
        EXPECT_TRUE(frame.CommandAction(id)->isEnabled()) << id;
    }

    frame.Execute(kCmdUppercase);
    frame.CommandAction(kCmdHashSha1)->trigger();
    EXPECT_FALSE(frame.Settings().ShowHashInUppercase);
    EXPECT_FALSE(frame.Settings().HashSHA1);
    EXPECT_FALSE(OpensModalDialog([&frame] { frame.Execute(kCmdOptions); }));
    EXPECT_FALSE(OpensModalDialog(
        [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier); }));
    QTest::keyClick(frame.focusWidget(), Qt::Key_Delete);
    QTest::keyClick(frame.focusWidget(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(frame.List().Model().RowCount(), 1);

    // Exit closes the window through a queued call: one queued after it has seen its turn.
    frame.Execute(kCmdExit);
    bool queuedAfterExit = false;
    QMetaObject::invokeMethod(
        &frame, [&queuedAfterExit] { queuedAfterExit = true; }, Qt::QueuedConnection);
    ASSERT_TRUE(QTest::qWaitFor([&queuedAfterExit] { return queuedAfterExit; }, 20000));
    EXPECT_TRUE(frame.isVisible()) << "Exit does nothing while busy";

    // Save and Copy are greyed, yet their keys still act on what the rows hold.
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(frame.focusWidget(), Qt::Key_C, Qt::ControlModifier);
    const QString copied = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(copied.startsWith(QString::fromStdString(temp.Path() + "a-huge.bin\r\n")))
        << copied.toStdString();
    bool saveAsked = false;
    AnswerNextModal<QFileDialog>([&saveAsked](QFileDialog* dialog) {
        saveAsked = true;
        dialog->reject();
    });
    QTest::keyClick(frame.focusWidget(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(saveAsked);

    // Help pages, F1 and About act as well.
    std::vector<std::string> opened;
    frame.SetUrlOpener([&opened](const std::string& address) {
        opened.push_back(address);
        return false;
    });
    ShowActive(frame);
    frame.List().setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    for (const int id : {kCmdHelpTopics, kCmdHomePage, kCmdSupport}) {
        frame.CommandAction(id)->trigger();
    }
    EXPECT_EQ(opened, (std::vector<std::string>{WebLinks::kHelpIndex, WebLinks::kHelpIndex,
                                                WebLinks::kMakerHome, WebLinks::kSupport}));
    bool aboutShown = false;
    AnswerNextModal<AboutDialog>([&aboutShown](AboutDialog* dialog) {
        aboutShown = true;
        dialog->close();
    });
    frame.CommandAction(kCmdAbout)->trigger();
    EXPECT_TRUE(aboutShown);
    bool aboutQtShown = false;
    AnswerNextModal<QMessageBox>([&aboutQtShown](QMessageBox* box) {
        aboutQtShown = box->text().contains(qVersion());
        box->close();
    });
    frame.CommandAction(kCmdAboutQt)->trigger();
    EXPECT_TRUE(aboutQtShown);
    ShowActive(frame);
    frame.List().setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Q, Qt::ControlModifier);
    // A close would be posted, and handled here.
    QCoreApplication::processEvents();
    EXPECT_TRUE(frame.isVisible()) << "Ctrl+Q does nothing while busy";

    frame.Execute(kCmdStop);
    EXPECT_TRUE(WaitUntilIdle(frame));
    EXPECT_TRUE(frame.CommandAction(kCmdHashSha1)->isEnabled());
}

// Closing while idle is by Exit, which posts the close request rather than closing at once.
TEST_F(MainFrameTest, ClosingAsksOnlyWhileBusyAndOnlyYesStopsAndCloses) {
    struct Case {
        bool busy;
        QMessageBox::StandardButton answer;
        bool asked;
        bool closed;
    };
    for (const Case& c :
         {Case{true, QMessageBox::No, true, false}, Case{true, QMessageBox::Yes, true, true},
          Case{false, QMessageBox::NoButton, false, true}}) {
        MainFrame frame;
        ShowActive(frame);
        if (c.busy) {
            StartLongBatch(frame);
        }
        bool asked = false;
        if (c.asked) {
            AnswerNextModal<QMessageBox>([&asked, &c](QMessageBox* box) {
                asked = box->text() == "Do you want to stop hashing and exit?" &&
                        box->windowTitle() == "Dodevovaze Rizodidiz" &&
                        box->standardButtons() == (QMessageBox::Yes | QMessageBox::No) &&
                        box->icon() == QMessageBox::NoIcon;
                box->button(c.answer)->click();
            });
        }
        if (c.busy) {
            frame.close();
        } else {
            frame.Execute(kCmdExit);
            EXPECT_TRUE(frame.isVisible()) << "Exit posts the close request";
            EXPECT_TRUE(QTest::qWaitFor([&frame] { return !frame.isVisible(); }, 5000));
        }
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(frame.isVisible(), !c.closed);
        EXPECT_EQ(frame.Worker().StopRequested(), c.busy && c.closed);
        if (frame.Busy() && !c.closed) {
            frame.Execute(kCmdStop);
            EXPECT_TRUE(WaitUntilIdle(frame));
        }
    }
}

// Without a display, so any attempt at a window would end in the message naming xvfb-run.
TEST(MainProgram, AnswersHelpVersionAndUsageErrorsWithoutOpeningAWindow) {
    struct Case {
        QStringList arguments;
        int exitCode;
        QByteArray out, err;
    };
    const Case cases[] = {
        {{}, 0, "", "xvfb-run"},
        {{"--help"}, 0, "Usage: rizodidiz [OPTION]... [FILE|FOLDER]...", ""},
        {{"-h", "x"}, 0, "Usage: rizodidiz", ""},
        {{"--version"}, 0, "rizodidiz (Rizodidiz) " RIZO_TEST_VERSION "\n", ""},
        {{"--version"}, 0, "Dodevovaze\nLicense MIT: <https://spdx.org/licenses/MIT.html>.\n", ""},
        {{"x", "--foo"}, 2, "", "unknown option '--foo'\nUsage: rizodidiz"},
        {{"-style", "Fusion", "-x"}, 2, "", "unknown option '-x'"},
    };
    for (const Case& c : cases) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"}) {
            environment.remove(name);
        }
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(RIZO_GUI_PATH), c.arguments);
        ASSERT_TRUE(program.waitForFinished(10000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode) << c.arguments.join(' ').toStdString();
        const QByteArray out = program.readAllStandardOutput();
        const QByteArray err = program.readAllStandardError();
        EXPECT_EQ(out.isEmpty(), c.out.isEmpty()) << out.toStdString();
        EXPECT_TRUE(out.contains(c.out)) << out.toStdString();
        EXPECT_EQ(err.isEmpty(), c.err.isEmpty()) << err.toStdString();
        EXPECT_TRUE(err.contains(c.err)) << err.toStdString();
    }
}

// Displays that are named but do not answer are no better than none: the program says which it
// tried and ends with 0, where Qt would abort it (134) for want of a platform.
TEST(MainProgram, WithoutAUsableDisplayOfEitherKindSaysSoAndEndsWithZero) {
    struct Case {
        std::vector<std::pair<QString, QString>> environment;
        QStringList arguments;
        std::vector<QByteArray> said;
    };
    const QString noServer = QStringLiteral(":%1").arg(9000 + getpid() % 900);
    const Case cases[] = {
        {{}, {}, {"DISPLAY is not set", "WAYLAND_DISPLAY is not set"}},
        {{{"DISPLAY", noServer}}, {}, {"no X server lets us in at DISPLAY=" + noServer.toLatin1()}},
        {{{"WAYLAND_DISPLAY", "rizo-no-compositor"}, {"XDG_RUNTIME_DIR", QDir::tempPath()}},
         {},
         {"no compositor answers at WAYLAND_DISPLAY=rizo-no-compositor", "DISPLAY is not set"}},
        {{{"WAYLAND_DISPLAY", "rizo-no-compositor"}, {"XDG_RUNTIME_DIR", ""}},
         {},
         {"XDG_RUNTIME_DIR is not set"}},
        {{{"QT_QPA_PLATFORM", "xcb"}, {"DISPLAY", noServer}, {"XDG_SESSION_TYPE", "x11"}},
         {},
         {"no X server lets us in"}},
        {{{"QT_QPA_PLATFORM", "offscreen"}},
         {"-platform", "wayland"},
         {"WAYLAND_DISPLAY is not set"}},
    };
    for (const Case& c : cases) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name :
             {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"}) {
            environment.remove(name);
        }
        for (const auto& [name, value] : c.environment) {
            environment.insert(name, value);
        }
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(RIZO_GUI_PATH), c.arguments);
        ASSERT_TRUE(program.waitForFinished(10000)) << "the program did not end";
        const QByteArray err = program.readAllStandardError();
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(program.exitCode(), 0) << err.toStdString();
        EXPECT_TRUE(err.startsWith("rizodidiz: no display can be opened")) << err.toStdString();
        for (const QByteArray& part : c.said) {
            EXPECT_TRUE(err.contains(part)) << part.toStdString() << " in " << err.toStdString();
        }
    }
}

// Qt gets the platforms whose displays answer, in its own order of preference, or those the user
// asked for; platforms without a display to check are the user's business.
TEST(DisplayPlatform, OffersQtOnlyThePlatformsWhoseDisplaysAnswer) {
    struct Case {
        std::string requested, session;
        bool wayland, x11;
        std::string platforms;
        int reasons;
    };
    const Case cases[] = {
        {"", "", true, true, "wayland;xcb", 0},
        {"", "wayland", false, true, "xcb", 1},
        {"", "x11", true, true, "xcb;wayland", 0},
        {"", "tty", false, false, "", 2},
        {"wayland-egl;xcb:nograb", "", false, true, "xcb:nograb", 1},
        {"xcb", "", true, false, "", 1},
        {"offscreen", "", false, false, "offscreen", 0},
        {";vnc;;wayland", "", true, false, "vnc;wayland", 0},
    };
    for (const Case& c : cases) {
        const DisplayChecks checks{[&c] { return c.wayland ? "" : std::string("no wayland"); },
                                   [&c] { return c.x11 ? "" : std::string("no x11"); }};
        const PlatformChoice choice = ChoosePlatforms(c.requested, c.session, checks);
        EXPECT_EQ(choice.platforms, c.platforms) << c.requested << c.session;
        EXPECT_EQ(std::count(choice.reasons.begin(), choice.reasons.end(), '\n'), c.reasons)
            << c.requested << c.session;
    }
    // Qt's -platform option stands for QT_QPA_PLATFORM, in any of the forms Qt takes.
    const std::pair<std::vector<std::string>, std::string> options[] = {
        {{"-platform", "vnc", "a"}, "vnc"},
        {{"--platform=wayland;xcb"}, "wayland;xcb"},
        {{"-platform"}, ""},
        {{"-style", "Fusion", "a"}, ""}};
    for (const auto& [arguments, platform] : options) {
        EXPECT_EQ(ParseWindowArguments(arguments).platform, platform) << arguments[0];
    }
}

}  // namespace
}  // namespace rizo
