// SPDX-License-Identifier: MIT
// The About box: program name, version, maker, licences and a link to the maker's home page.
#pragma once

#include <QDialog>

namespace rizo {

class HyperLink;

class AboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    HyperLink& Link() { return *link; }

private:
    HyperLink* link;
};

// Shows the About box modally over the owner; whichever way it closes means the same.
void ShowAboutDialog(QWidget* owner);

}  // namespace rizo
