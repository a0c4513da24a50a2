// SPDX-License-Identifier: MIT
// The Options dialog: general switches, optional items of copied text and the column delimiter.
#pragma once

#include <QDialog>

#include "settings/program_settings.h"

namespace rizo {

// Edits a copy of eight fields of the settings: AutoSortFileName, UseMonoFont, ShowBeepMessage,
// IncSize, IncDateCreated, IncDateModified, IncFolder and DelimiterType. The copy follows every
// click; nothing reaches the caller's record until StoreInto.
class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    explicit OptionsDialog(const ProgramSettings& settings, QWidget* parent = nullptr);

    // Copies the eight edited fields into the record and leaves every other field alone.
    void StoreInto(ProgramSettings& settings) const;

private:
    // Only the eight fields above are read or changed in this copy.
    ProgramSettings edited;
};

// Runs the dialog modally over the owner. On OK the edited fields replace those of the record and
// the answer is true; Cancel, Escape and the close box leave the record as it was.
bool RunOptionsDialog(ProgramSettings& settings, QWidget* owner);

}  // namespace rizo
