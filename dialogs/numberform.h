#pragma once

// The number dialog of the add command: either the number of the new record
// inside the zone, or how many records to create, and the template that
// fills their values.

#include "dialogparts.h"

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

class TNumberForm : public TOkDialog {
    Q_OBJECT

public:
    explicit TNumberForm(QWidget* parent = nullptr);

    // The largest quantity that can be created (the free numbers of the zone).
    void SetMaxQuantity(int quantity);
    void SetQuantityEnabled(bool enabled);
    // The template names of the page being added to (Windows-1251); the
    // template box takes them each time the dialog shows.
    void SetTemplateNames(const std::vector<std::string>& names);

    int Number() const;
    int Quantity() const;
    // Which field the user entered last: 1 the number, 2 the quantity.
    int InputMode() const { return inputMode_; }
    // Position of the chosen template; -1 for none.
    int TemplateIndex() const;

    QSpinBox* NumEdit;
    QComboBox* ComboBox1; // templates
    QSpinBox* QtyEdit;
    QLabel* QtyLabel; // the largest quantity
    QPushButton* OkBtn;
    QPushButton* CancelBtn;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void NumEditEnter();
    void QtyEditEnter();
    // The field being entered in the window colour, the other in the
    // button face colour.
    void PaintFields(QSpinBox* entered, QSpinBox* other);
    void OkBtnClick();

    std::vector<std::string> templateNames_;
    int inputMode_ = 1;
};
