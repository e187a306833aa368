#include "ValueField.h"

#include "WidgetStyle.h"

#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>

namespace pimavo {

ValueField::ValueField(QWidget* parent) : QWidget(parent) {
    label_ = new QLabel(QStringLiteral("100"), this);
    label_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label_->setFont(style::uiFont(12));
    QPalette pal = label_->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    label_->setPalette(pal);

    field_ = new QLineEdit(this);
    field_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    field_->setFont(style::uiFont(12));
    field_->setFrame(false);
    field_->setValidator(new QIntValidator(-100, 20000, field_));
    field_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; color: rgb(174,174,174); }"));
    field_->hide();
    connect(field_, &QLineEdit::textEdited, this, [this](const QString& text) {
        bool ok = false;
        const int v = text.toInt(&ok);
        if (ok) emit valueEdited(v);
    });
    connect(field_, &QLineEdit::editingFinished, this, [this] {
        bool ok = false;
        const int v = field_->text().toInt(&ok);
        if (ok) emit editingFinished(v);
    });
}

QString ValueField::stringValue() const {
    return editable_ ? field_->text() : label_->text();
}

void ValueField::setStringValue(const QString& text) {
    label_->setText(text);
    if (!field_->hasFocus()) field_->setText(text);
}

void ValueField::setEditable(bool editable) {
    editable_ = editable;
    label_->setVisible(!editable);
    field_->setVisible(editable);
    field_->setText(label_->text());
}

void ValueField::setLimits(double minValue, double maxValue, bool showNegative, double defaultValue) {
    field_->setProperty("kMinValue", minValue);
    field_->setProperty("kMaxValue", maxValue);
    field_->setProperty("kShowNegativeValue", showNegative);
    field_->setProperty("kDefValue", defaultValue);
}

void ValueField::resizeEvent(QResizeEvent*) {
    label_->setGeometry(rect());
    field_->setGeometry(rect());
}

} // namespace pimavo
