// A row of adverts that shows as many of them as fit, in order of importance, so that a narrow
// window drops whole adverts instead of squeezing every text into an unreadable sliver.
#pragma once

#include <QWidget>
#include <vector>

class QHBoxLayout;

namespace app {

class AdvertStrip : public QWidget {
    Q_OBJECT
public:
    explicit AdvertStrip(QWidget* parent = nullptr);
    // Adds an advert at the end of the row; lower importance numbers are kept longer.
    void addAdvert(QWidget* advert, int importance);
    // Free space at this point of the row pushes the adverts after it to the right.
    void addStretch();
    // The strip asks for no width of its own: it takes what the bar leaves over.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fitAdverts();

    QHBoxLayout* row_ = nullptr;
    std::vector<std::pair<int, QWidget*>> adverts_;
};

} // namespace app
