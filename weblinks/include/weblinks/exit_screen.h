// The exit screen: the last window of a run, with an appeal to visit the maker's forum, an advert
// for the maker's other programs and a refer-a-friend form. Closing it ends the program.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace augurlex {

class FrmExitScreen : public QWidget {
    Q_OBJECT
public:
    FrmExitScreen();

    // The four appeals, one of which is chosen at random each time the screen is loaded.
    static QString Appeal(int index);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildAppealArea();
    void buildSoftwareFrame();
    void buildReferralFrame();
    void setTabOrder();
    void onCheck1Clicked(bool checked);
    void onSubmit();
    QString messageText() const;

    QCheckBox* check1_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    QLineEdit* txtName_ = nullptr;
    QLineEdit* txtEmail_ = nullptr;
    QLineEdit* txtFriendName_ = nullptr;
    QLineEdit* txtFriendEmail_ = nullptr;
    QPlainTextEdit* txtMessage_ = nullptr;
    QPushButton* cmdSubmit_ = nullptr;
};

// Loads the exit screen and shows it without waiting for it, in the middle of the screen and
// above other windows.
FrmExitScreen* ShowExitScreen();

} // namespace augurlex
