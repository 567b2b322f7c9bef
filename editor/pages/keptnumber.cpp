#include "keptnumber.h"

#include "prompts.h"

#include <QSpinBox>
#include <algorithm>

void TKeptNumbers::Watch(QSpinBox* box, int minimum, int maximum) {
    // Widening the range must not widen the box on the fixed-size window.
    box->setMinimumWidth(box->sizeHint().width());
    box->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    boxes_[box] = {minimum, maximum};
    connect(box, &QSpinBox::valueChanged, this, [this, box] {
        if (!showing_)
            boxes_[box].Edited = true;
    });
}

void TKeptNumbers::SetQuietly(QSpinBox* box, long long value) {
    showing_ = true;
    box->setValue(static_cast<int>(std::clamp<long long>(value, box->minimum(), box->maximum())));
    showing_ = false;
}

void TKeptNumbers::Show(QSpinBox* box, long long value) {
    SetQuietly(box, value);
    boxes_[box].Edited = false;
}

void TKeptNumbers::Reshow(QSpinBox* box, long long value) {
    SetQuietly(box, value);
    boxes_[box].Edited = true;
}

bool TKeptNumbers::Edited(const QSpinBox* box) const {
    const auto found = boxes_.find(box);
    return found != boxes_.end() && found->second.Edited;
}

std::optional<long long> TKeptNumbers::Entered(const QSpinBox* box) const {
    const auto found = boxes_.find(box);
    if (found == boxes_.end() || !found->second.Edited)
        return std::nullopt;
    const int value = box->value();
    if (value < found->second.Minimum || value > found->second.Maximum)
        return std::nullopt;
    return value;
}

bool TKeptNumbers::Check() const {
    for (const auto& [box, range] : boxes_) {
        if (!range.Edited || (box->value() >= range.Minimum && box->value() <= range.Maximum))
            continue;
        Prompts().Error(
            QStringLiteral("Введите число от %1 до %2").arg(range.Minimum).arg(range.Maximum));
        const_cast<QSpinBox*>(box)->setFocus();
        return false;
    }
    return true;
}
