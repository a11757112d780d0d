// The exit screen: the last window of a run, with an appeal to visit the maker's forum, an advert
// for the maker's other programs and a refer-a-friend form. Closing it, or its Exit button, asks
// for the end of the program; whoever shows the screen decides what that means.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace weblinks {

class ExitScreen : public QWidget {
    Q_OBJECT
public:
    ExitScreen();

    // The four appeals, one of which is chosen at random each time the screen is loaded.
    static QString appeal(int index);

signals:
    // The Exit button was pressed or the screen was closed.
    void endRequested();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildAppealArea();
    void buildSoftwareFrame();
    void buildReferralFrame();
    void setTabOrder();
    void onVisitCheckClicked(bool checked);
    void onSubmit();
    QString messageText() const;

    QLabel* appeal_ = nullptr;
    QCheckBox* visitCheck_ = nullptr;
    QPushButton* exitButton_ = nullptr;
    QLineEdit* nameBox_ = nullptr;
    QLineEdit* emailBox_ = nullptr;
    QLineEdit* friendNameBox_ = nullptr;
    QLineEdit* friendEmailBox_ = nullptr;
    QPlainTextEdit* messageBox_ = nullptr;
    QPushButton* submitButton_ = nullptr;
};

// Loads the exit screen and shows it without waiting for it, in the middle of the screen and
// above other windows. The screen deletes itself when it closes.
ExitScreen* showExitScreen();

} // namespace weblinks
