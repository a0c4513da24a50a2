// SPDX-License-Identifier: MIT
// File > Audit Folder... in the real main window: a checksum file chosen in the dialog, its
// listed files judged, the new files of its folder given rows, moves shown, and the answer.
#include <sys/stat.h>

#include <QFileDialog>
#include <QMessageBox>

#include <gtest/gtest.h>

#include "tests/main_frame_fixture.h"
#include "tests/modal_answer.h"
#include "ui/command_ids.h"
#include "ui/sort_list_view.h"

namespace rizo {
namespace {

// MD5 test vectors: of "abc" and of nothing.
constexpr char kMd5Abc[] = "900150983cd24fb0d6963f7d28e17f72";
constexpr char kMd5Empty[] = "d41d8cd98f00b204e9800998ecf8427e";

class AuditWindowTest : public test::MainFrameFixture {
protected:
    FileListModel& Rows() { return frame->List().Model(); }
    std::string VerdictOf(const std::string& path) {
        const int row = Rows().FindRowByPath(path);
        return row < 0 ? "no row" : Rows().CellText(row, kColVerdict);
    }

    std::unique_ptr<MainFrame> frame = std::make_unique<MainFrame>();
};

TEST_F(AuditWindowTest, ListedFilesNewFilesAndMovesInTheRowsAndTheAnswer) {
    const std::string data = temp.Path() + "data/";
    ASSERT_EQ(mkdir(data.c_str(), 0700), 0);
    ASSERT_EQ(mkdir((data + "sub").c_str(), 0700), 0);
    test::WriteText(data + "abc.txt", "abc");
    test::WriteText(data + "sub/empty", "");
    test::WriteText(data + "new.txt", "xyz");
    const std::string list = data + "LIST.md5";
    test::WriteText(list, std::string(kMd5Abc) + "  abc.txt\n" + kMd5Empty + "  gone-empty\n" +
                              kMd5Abc + "  lost.txt\n");
    AnswerNextModal<QFileDialog>([&list](QFileDialog* dialog) {
        dialog->selectFile(QString::fromStdString(list));
        static_cast<QDialog*>(dialog)->accept();
    });
    frame->Execute(kCmdAudit);
    ASSERT_TRUE(WaitUntilIdle(*frame));
    const std::pair<std::string, std::string> verdicts[] = {
        {"abc.txt", "OK"},       {"gone-empty", "MOVED to sub/empty"},
        {"lost.txt", "MISSING"}, {"sub/empty", "MOVED from gone-empty"},
        {"new.txt", "NEW"},      {"LIST.md5", "no row"}};
    for (const auto& [name, verdict] : verdicts) {
        EXPECT_EQ(VerdictOf(data + name), verdict) << name;
    }
    EXPECT_EQ(Rows().RowCount(), 5);
    QCoreApplication::processEvents();
    const QList<QMessageBox*> boxes = frame->findChildren<QMessageBox*>();
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.front()->icon(), QMessageBox::Warning);
    EXPECT_EQ(boxes.front()->windowTitle(), "Verification of LIST.md5");
    EXPECT_EQ(boxes.front()->text(), "1 MISSING, 1 OK, 1 NEW, 1 MOVED");
    qDeleteAll(boxes);
    // Only the missing file is a failure: new and moved files are the answer's to count.
    EXPECT_EQ(frame->windowTitle(), QString::fromUtf8("1 file missing \u2013 Rizodidiz"));
}

}  // namespace
}  // namespace rizo
