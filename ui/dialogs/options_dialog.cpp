// SPDX-License-Identifier: MIT
// The Options dialog: general switches, optional items of copied text and the column delimiter.
#include "ui/dialogs/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <span>

#include "ui/dialogs/dialog_template.h"

namespace rizo {
namespace {

// A check box of the template and the field it edits.
struct CheckBoxTemplate {
    const char* text;
    int x, y, width, height;
    bool ProgramSettings::*field;
};
using CheckBoxes = std::span<const CheckBoxTemplate>;

constexpr CheckBoxTemplate kCopyItems[] = {
    {"Size", 88, 70, 64, 13, &ProgramSettings::IncSize},
    {"Date Created", 185, 70, 64, 13, &ProgramSettings::IncDateCreated},
    {"Date Modified", 185, 83, 64, 13, &ProgramSettings::IncDateModified},
    {"Folder", 88, 83, 64, 13, &ProgramSettings::IncFolder},
};

constexpr CheckBoxTemplate kGeneralSwitches[] = {
    {"Automatic sorting by file name.", 15, 9, 224, 13, &ProgramSettings::AutoSortFileName},
    {"Use Monospaced fonts.", 15, 23, 224, 13, &ProgramSettings::UseMonoFont},
    {"Play a beep after hash finished.", 15, 37, 224, 13, &ProgramSettings::ShowBeepMessage},
};

QLabel* RightAlignedLabel(const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    return label;
}

void AddCheckBoxes(DialogTemplate& layout, CheckBoxes boxes, QDialog& dialog,
                   ProgramSettings& edited) {
    for (const CheckBoxTemplate& box : boxes) {
        auto* check = layout.Place(new QCheckBox(QString::fromLatin1(box.text)), box.x, box.y,
                                   box.width, box.height);
        check->setChecked(edited.*box.field);
        QObject::connect(check, &QCheckBox::toggled, &dialog,
                         [&edited, field = box.field](bool checked) { edited.*field = checked; });
    }
}

QComboBox* AddDelimiterList(DialogTemplate& layout, QDialog& dialog, int32_t& delimiterType) {
    auto* list = layout.Place(new QComboBox, 88, 101, 70, 12);
    list->addItems({QStringLiteral("Newline"), QStringLiteral("Tabs")});
    // The template's height includes the dropped list; the closed box keeps its natural height.
    list->setFixedHeight(list->sizeHint().height());
    // A value read from the file that names no item shows no selection and is kept until the
    // user picks one.
    const bool known = delimiterType >= 0 && delimiterType < list->count();
    list->setCurrentIndex(known ? delimiterType : -1);
    QObject::connect(list, &QComboBox::activated, &dialog,
                     [&delimiterType](int index) { delimiterType = index; });
    return list;
}

}  // namespace

OptionsDialog::OptionsDialog(const ProgramSettings& settings, QWidget* parent)
    : QDialog(parent), edited(settings) {
    // Controls are made in the template's order, which is also the Tab order.
    DialogTemplate layout(*this, QStringLiteral("Options"), 285, 152);
    QPushButton* ok = layout.AddButton(QStringLiteral("OK"), 83, 129, 50, 14);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    QPushButton* cancel = layout.AddButton(QStringLiteral("Cancel"), 151, 129, 50, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    AddCheckBoxes(layout, kCopyItems, *this, edited);
    QComboBox* delimiters = AddDelimiterList(layout, *this, edited.DelimiterType);
    // Screen readers name the list by the label it is linked to, not only by the value it shows.
    layout.Place(RightAlignedLabel("Column Delimiter:"), 10, 102, 70, 12)->setBuddy(delimiters);
    // The frame stays behind the controls it surrounds so that they get the clicks.
    layout.Place(new QGroupBox(QStringLiteral("Copy / Save Options")), 7, 58, 271, 62)->lower();
    layout.Place(RightAlignedLabel("Optional Item:"), 10, 72, 70, 12);
    layout.AddEtchedLine(7, 123, 271, 1);
    AddCheckBoxes(layout, kGeneralSwitches, *this, edited);
    ok->setFocus(Qt::OtherFocusReason);
}

void OptionsDialog::StoreInto(ProgramSettings& settings) const {
    for (CheckBoxes boxes : {CheckBoxes(kCopyItems), CheckBoxes(kGeneralSwitches)}) {
        for (const CheckBoxTemplate& box : boxes) {
            settings.*box.field = edited.*box.field;
        }
    }
    settings.DelimiterType = edited.DelimiterType;
}

bool RunOptionsDialog(ProgramSettings& settings, QWidget* owner) {
    OptionsDialog dialog(settings, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    dialog.StoreInto(settings);
    return true;
}

}  // namespace rizo
