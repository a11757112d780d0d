#include "advert_strip.h"

#include <QBoxLayout>
#include <algorithm>

namespace app {

AdvertStrip::AdvertStrip(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    row_ = new QHBoxLayout(this);
    row_->setContentsMargins(8, 0, 8, 0);
    row_->setSpacing(16);
}

void AdvertStrip::addAdvert(QWidget* advert, int importance) {
    advert->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    row_->addWidget(advert);
    adverts_.emplace_back(importance, advert);
    fitAdverts();
}

QSize AdvertStrip::sizeHint() const {
    return {0, QWidget::sizeHint().height()};
}

QSize AdvertStrip::minimumSizeHint() const {
    return {0, 0};
}

void AdvertStrip::addStretch() {
    row_->addStretch(1);
}

void AdvertStrip::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitAdverts();
}

void AdvertStrip::fitAdverts() {
    std::vector<std::pair<int, QWidget*>> byImportance = adverts_;
    std::stable_sort(byImportance.begin(), byImportance.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    const QMargins margins = row_->contentsMargins();
    int room = width() - margins.left() - margins.right();
    for (const auto& [importance, advert] : byImportance) {
        const int needed = advert->sizeHint().width();
        const bool fits = needed <= room;
        advert->setVisible(fits);
        if (fits)
            room -= needed + row_->spacing();
    }
}

} // namespace app
