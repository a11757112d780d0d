// The about window: title, description, the branding offer and a link to the maker's site.
#pragma once

#include <QDialog>

class QWidget;

namespace augurlex {

class FrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit FrmAbout(QWidget* owner = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

// Loads a fresh about window, shows it modally in the middle of the screen and unloads it when
// it closes.
void ShowAbout(QWidget* owner);

} // namespace augurlex
