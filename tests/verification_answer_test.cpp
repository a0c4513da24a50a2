// SPDX-License-Identifier: MIT
// The real main window's answer to a verification: the rows' marks and notes, the window title's
// counts, Select Failed, and the message box, for lists made by coreutils on real files.
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/main_frame_fixture.h"
#include "ui/command_ids.h"
#include "ui/main_frame.h"
#include "ui/sort_list_view.h"

namespace rizo {
namespace {

// The images a distribution's SHA256SUMS lists, in its order, each with the "*" marker.
const std::vector<std::string> kImages = {
    "ubuntu-24.04-desktop-amd64.iso", "ubuntu-24.04-live-server-amd64.iso",
    "ubuntu-24.04-desktop-arm64.iso", "ubuntu-24.04-live-server-arm64.iso",
    "ubuntu-24.04-netboot-amd64.tar.gz"};

class VerificationAnswerTest : public test::MainFrameFixture {
protected:
    VerificationAnswerTest() {
        data = temp.Path() + "data/";
        mkdir(data.c_str(), 0700);
        frame = std::make_unique<MainFrame>();
    }

    FileListModel& Rows() { return frame->List().Model(); }
    int RowOf(const std::string& name) { return Rows().FindRowByPath(data + name); }
    std::string Cell(const std::string& name, int column) {
        return Rows().CellText(RowOf(name), column);
    }
    QVariant Data(const std::string& name, int column, int role) {
        return Rows().data(Rows().index(RowOf(name), column), role);
    }
    std::string Title() { return frame->windowTitle().toStdString(); }

    // Runs `command` in the data folder, which makes the list there.
    void Make(const std::string& command) {
        ASSERT_EQ(std::system(("cd '" + data + "' && " + command).c_str()), 0) << command;
    }

    void Verify(const std::string& list) {
        frame->VerifyFiles({data + list}, {});
        ASSERT_TRUE(WaitUntilIdle(*frame));
    }

    struct Box {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        std::string title;
        std::string text;
        // Whether the box is as wide as its title beside a title bar's icon and buttons, which
        // would cut it otherwise.
        bool titleFits = false;
    };
    // The box the window shows at the verification's end, closed.
    Box TakeBox() {
        QCoreApplication::processEvents();
        const QList<QMessageBox*> boxes = frame->findChildren<QMessageBox*>();
        EXPECT_EQ(boxes.size(), 1);
        Box box;
        if (!boxes.isEmpty()) {
            const QMessageBox& shown = *boxes.last();
            box = {shown.icon(), shown.windowTitle().toStdString(), shown.text().toStdString(),
                   shown.sizeHint().width() >
                       shown.fontMetrics().horizontalAdvance(shown.windowTitle()) + 150};
        }
        qDeleteAll(boxes);
        return box;
    }

    // The rows Select Failed picks, by file name.
    std::vector<std::string> SelectedByFailed() {
        frame->Execute(kCmdSelectFailed);
        std::vector<std::string> names;
        for (int row = 0; row < Rows().RowCount(); ++row) {
            if (Rows().IsSelected(row)) {
                names.push_back(Rows().CellText(row, kColFilename));
            }
        }
        return names;
    }

    std::string data;
    std::unique_ptr<MainFrame> frame;
};

// The commonest case: a published list of several images of which the user downloaded one (or
// two). The answer is that they match; the others are dimmed, not failures.
TEST_F(VerificationAnswerTest, AListOfWhichSomeFilesArePresentAnswersThatThePresentOnesMatch) {
    const std::pair<int, std::string> cases[] = {
        {1, "ubuntu-24.04-desktop-amd64.iso: OK\n4 other listed files are not present."},
        {2, "All 2 files present match\n3 other listed files are not present."},
    };
    for (const auto& [present, answer] : cases) {
        std::string names;
        for (std::size_t i = 0; i < kImages.size(); ++i) {
            test::WriteText(data + kImages[i], "image " + std::to_string(i));
            names += " '" + kImages[i] + "'";
        }
        Make("sha256sum -b" + names + " > SHA256SUMS");
        for (std::size_t i = present; i < kImages.size(); ++i) {
            ASSERT_EQ(unlink((data + kImages[i]).c_str()), 0);
        }
        Verify("SHA256SUMS");
        const Box box = TakeBox();
        EXPECT_EQ(box.icon, QMessageBox::Information) << present;
        EXPECT_EQ(box.title, "Verification of SHA256SUMS");
        EXPECT_TRUE(box.titleFits);
        EXPECT_EQ(box.text, answer);
        EXPECT_EQ(Title(), "Rizodidiz");
        EXPECT_TRUE(SelectedByFailed().empty());
        for (std::size_t i = 0; i < kImages.size(); ++i) {
            const bool there = static_cast<int>(i) < present;
            EXPECT_EQ(Cell(kImages[i], kColVerdict), there ? "OK" : "MISSING") << kImages[i];
            // Not there: dimmed, and no mark before the name or the verdict.
            const QColor text = Data(kImages[i], kColFilename, Qt::ForegroundRole).value<QColor>();
            EXPECT_EQ(text.isValid() && text.alpha() < 255, !there) << kImages[i];
            EXPECT_TRUE(Data(kImages[i], kColFilename, Qt::DecorationRole).isNull());
            EXPECT_EQ(Data(kImages[i], kColVerdict, Qt::DecorationRole).isNull(), !there);
        }
        frame->Execute(kCmdClearAll);
    }
}

// Anything that failed keeps the warning, the marks and the counts, each kind apart, and Select
// Failed picks the rows the title counts.
TEST_F(VerificationAnswerTest, AFailedOrUnreadableFileKeepsTheWarningAndTheTitleCountsEachKind) {
    test::WriteText(data + "good.txt", "good");
    test::WriteText(data + "changed.txt", "before");
    mkdir((data + "folder").c_str(), 0700);
    ASSERT_EQ(mkfifo((data + "pipe").c_str(), 0600), 0);
    test::WriteText(data + "gone.iso", "");
    Make(
        "sha256sum good.txt changed.txt gone.iso > SHA256SUMS && "
        "sha256sum < /dev/null | sed 's/-$/folder/; p; s/folder$/pipe/' >> SHA256SUMS");
    test::WriteText(data + "changed.txt", "after");
    ASSERT_EQ(unlink((data + "gone.iso").c_str()), 0);
    Verify("SHA256SUMS");

    const Box box = TakeBox();
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.title, "Verification of SHA256SUMS");
    EXPECT_EQ(box.text, "1 FAILED, 1 MISSING, 2 UNREADABLE, 1 OK");
    EXPECT_EQ(Title(), "1 file failed, 1 file missing, 2 files could not be read \u2013 Rizodidiz");
    EXPECT_EQ(SelectedByFailed(),
              (std::vector<std::string>{"changed.txt", "gone.iso", "folder", "pipe"}));
    for (const char* name : {"changed.txt", "gone.iso", "folder", "pipe"}) {
        EXPECT_FALSE(Data(name, kColFilename, Qt::DecorationRole).isNull()) << name;
    }
    EXPECT_TRUE(Data("good.txt", kColFilename, Qt::DecorationRole).isNull());
    // A size never learnt is no size at all.
    EXPECT_EQ(Cell("good.txt", kColSize), "4");
    EXPECT_EQ(Cell("gone.iso", kColSize), "");
    EXPECT_EQ(Cell("folder", kColSize), "");
    // The longest reason fits its column and the tooltip holds it whole.
    const std::string reason = "UNREADABLE: not a regular file";
    EXPECT_EQ(Cell("pipe", kColVerdict), reason);
    EXPECT_EQ(Data("pipe", kColVerdict, Qt::ToolTipRole).toString().toStdString(), reason);
    // What the list's delegate asks for its cells, the verdict's mark included.
    const int needed =
        static_cast<const QAbstractItemView&>(frame->List()).sizeHintForColumn(kColVerdict);
    EXPECT_GT(needed, 200);
    EXPECT_GE(frame->List().columnWidth(kColVerdict), needed);
}

// Rows a Stop left unhashed are neither failed nor counted, whatever an earlier check found: the
// title counts what Select Failed picks.
TEST_F(VerificationAnswerTest, AfterAStopTheTitleCountsTheRowsSelectFailedPicks) {
    test::WriteText(data + "gone.txt", "");
    test::WriteText(data + "a-huge.bin", "");
    test::WriteText(data + "later.txt", "later");
    Make("md5sum gone.txt a-huge.bin later.txt > list.md5");
    ASSERT_EQ(unlink((data + "gone.txt").c_str()), 0);
    // A first check fails the last file, whose row then has a size and a failure.
    test::WriteText(data + "later.txt", "changed");
    Verify("list.md5");
    EXPECT_EQ(TakeBox().text, "1 FAILED, 1 MISSING, 1 OK");
    EXPECT_EQ(SelectedByFailed(), (std::vector<std::string>{"gone.txt", "later.txt"}));

    ASSERT_EQ(truncate((data + "a-huge.bin").c_str(), int64_t{64} << 30), 0);
    frame->VerifyFiles({data + "list.md5"}, {});
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return frame->List().HighlightRow() == RowOf("a-huge.bin"); }, 20000))
        << "the large file was never hashed";
    frame->Execute(kCmdStop);
    ASSERT_TRUE(WaitUntilIdle(*frame));

    EXPECT_EQ(Title(), "1 file missing \u2013 Rizodidiz");
    EXPECT_EQ(SelectedByFailed(), std::vector<std::string>{"gone.txt"});
    EXPECT_EQ(Rows().Table().Note(RowOf("a-huge.bin")), "stopped before the end");
    EXPECT_EQ(Rows().Table().Note(RowOf("later.txt")), "not reached: hashing was stopped");
    EXPECT_EQ(Cell("later.txt", kColVerdict), "");
    const Box box = TakeBox();
    EXPECT_EQ(box.icon, QMessageBox::Warning);
    EXPECT_EQ(box.text, "1 MISSING, 2 not checked");
    EXPECT_TRUE(box.titleFits);
}

}  // namespace
}  // namespace rizo
