#include "ui/ResultZoom.h"

#include "ui/MainWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <cmath>

namespace {

// The least room between the result fields and the start button while they are enlarged.
constexpr int kButtonGap = 16;

int scaled(int length, double factor) {
    return static_cast<int>(std::lround(length * factor));
}

} // namespace

ResultZoom::ResultZoom(MainWindow& window) : window_(window) {
    const auto item = [](QWidget* widget, bool grows) {
        return Item{widget, widget->geometry(), grows};
    };
    rows_ = {{item(window.contactTimeLabel, false), item(window.contactTimeField, true),
              item(window.contactUnitLabel, false), item(window.heightLabel, false),
              item(window.heightField, true)},
             {item(window.flightTimeLabel, false), item(window.flightTimeField, true),
              item(window.flightUnitLabel, false), item(window.efficiencyLabel, false),
              item(window.efficiencyField, true)}};
    fieldFont_ = window.contactTimeField->font();
    designButton_ = window.startButton->geometry();
    designGroupWidth_ = window.resultGroup->width();
    designGroupHeight_ = window.resultGroup->height();
}

void ResultZoom::setActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    apply(active ? targetFactor() : 1.0);
}

void ResultZoom::update() {
    if (active_)
        apply(targetFactor());
}

double ResultZoom::targetFactor() const {
    // Each step of the factor adds a row pitch and a field height to the panel's height.
    const QRect firstField = rows_[0][1].design;
    const int pitch = rows_[1][1].design.top() - firstField.top();
    const int extra = std::max(0, window_.height() - window_.designedSize().height()) / 2;
    double factor = 1.0 + static_cast<double>(extra) / (pitch + firstField.height());

    const int rightMargin = designGroupWidth_ - (designButton_.right() + 1);
    const int buttonLeft = window_.resultGroup->width() - rightMargin - designButton_.width();
    for (const QList<Item>& row : rows_) {
        int growing = 0;
        for (const Item& i : row)
            growing += i.grows ? i.design.width() : 0;
        const int right = row.last().design.right() + 1;
        factor = std::min(factor, 1.0 + static_cast<double>(buttonLeft - kButtonGap - right) /
                                            std::max(1, growing));
    }
    return std::max(1.0, factor);
}

void ResultZoom::apply(double factor) {
    factor_ = factor;
    const QRect firstField = rows_[0][1].design;
    const int fieldHeight = scaled(firstField.height(), factor);
    const int pitch = rows_[1][1].design.top() - firstField.top();

    // The height the result panel takes from the data panel below it.
    const int extra = scaled(pitch, factor) - pitch + fieldHeight - firstField.height();
    const int delta = extra - extraHeight_;
    extraHeight_ = extra;
    if (delta != 0) {
        QGroupBox* results = window_.resultGroup;
        results->resize(results->width(), results->height() + delta);
        QGroupBox* data = window_.dataGroup;
        data->setGeometry(data->x(), data->y() + delta, data->width(), data->height() - delta);
    }

    for (int r = 0; r < rows_.size(); ++r) {
        const int fieldTop = firstField.top() + scaled(r * pitch, factor);
        int x = 0;
        int designRight = 0;
        for (int i = 0; i < rows_[r].size(); ++i) {
            const Item& item = rows_[r][i];
            x = i == 0 ? item.design.left() : x + (item.design.left() - designRight);
            designRight = item.design.right() + 1;
            if (item.grows) {
                item.widget->setGeometry(x, fieldTop, scaled(item.design.width(), factor),
                                         fieldHeight);
            } else {
                // A label stays beside its field, at the height of the field's middle.
                const int designFieldTop = rows_[r][1].design.top();
                const int top = item.design.top() + (fieldTop - designFieldTop) +
                                (fieldHeight - firstField.height()) / 2;
                item.widget->move(x, top);
            }
            x += item.widget->width();
        }
    }

    QFont font = fieldFont_;
    if (factor > 1.0) {
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * factor);
        else
            font.setPixelSize(scaled(font.pixelSize(), factor));
    }
    for (QLineEdit* field : {window_.contactTimeField, window_.flightTimeField, window_.heightField,
                             window_.efficiencyField})
        field->setFont(font);

    // Enlarged, the button keeps its designed size at the right edge; otherwise it stretches
    // with the panel from its designed place.
    const int groupWidth = window_.resultGroup->width();
    QRect button = designButton_;
    if (factor > 1.0) {
        const int rightMargin = designGroupWidth_ - (designButton_.right() + 1);
        button.moveLeft(groupWidth - rightMargin - designButton_.width());
        button.moveTop(designButton_.top() + extra / 2);
    } else {
        button.setWidth(designButton_.width() + groupWidth - designGroupWidth_);
    }
    window_.startButton->setGeometry(button);
}
