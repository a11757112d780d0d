// The about dialog: title, description, the branding offer and a link to the maker's site.
#pragma once

#include <QDialog>

class QWidget;

namespace weblinks {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

// Loads a fresh about dialog, shows it modally in the middle of the screen and unloads it when
// it closes.
void showAboutDialog(QWidget* owner);

} // namespace weblinks
