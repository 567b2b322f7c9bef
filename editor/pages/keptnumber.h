#pragma once

// Number fields that give the record's value back untouched unless the user
// edits them. A spin box clamps what it is given to its range, so a record
// value outside the range the page allows (a file from another tool, a field
// wider than the control) would silently change on Apply. Each watched box
// therefore shows the record's value in full, as far as a spin box can hold
// it, and remembers whether the user changed it since; the allowed range is
// checked only for a value the user entered, which is refused with a message
// instead of being clamped.

#include <QObject>
#include <QString>
#include <limits>
#include <map>
#include <optional>
#include <utility>

class QSpinBox;

class TKeptNumbers : public QObject {
    Q_OBJECT

public:
    explicit TKeptNumbers(QObject* parent) : QObject(parent) {}

    // Watches `box`, whose values from the user must lie in minimum..maximum.
    void Watch(QSpinBox* box, int minimum, int maximum);

    // Shows a record's value; the box counts as not edited.
    void Show(QSpinBox* box, long long value);
    // Shows the value in another unit the user chose: that is an edit, so
    // the record gets what the box then shows (a coarser unit drops the
    // minutes it cannot show, as the user sees).
    void Reshow(QSpinBox* box, long long value);

    // Whether the user changed the box since its value was shown.
    bool Edited(const QSpinBox* box) const;
    // The user's value when the box was edited and the value may be stored;
    // none when the record is to keep its own.
    std::optional<long long> Entered(const QSpinBox* box) const;

    // Stores the user's value into `field`; an unedited box leaves the field
    // as the record had it, whatever its width.
    template <class T> void Read(const QSpinBox* box, T& field) const {
        if (const auto value = Entered(box); value && std::in_range<T>(*value))
            field = static_cast<T>(*value);
    }

    // False after telling the user about the first edited box whose value is
    // outside its range (the box gets the focus): the page must not be stored.
    bool Check() const;

private:
    struct TRange {
        int Minimum;
        int Maximum;
        bool Edited = false;
    };
    void SetQuietly(QSpinBox* box, long long value);

    std::map<const QSpinBox*, TRange> boxes_;
    bool showing_ = false;
};
