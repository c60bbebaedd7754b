// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/shell_window.h"

#include <QAbstractButton>
#include <QPainter>

#include "ui/app_pictures.h"
#include "ui/widgets.h"

namespace gt {

ShellWindow::ShellWindow(const QString& form, const QString& title, QWidget* parent)
    : QDialog(parent), form_(form), layout_(new QVBoxLayout(this)) {
    useTiledPalette(this);
    setObjectName(form);
    setWindowTitle(title);
    layout_->setSizeConstraint(QLayout::SetMinimumSize);
    layout_->addStretch();
}

template <typename W>
W* ShellWindow::add(const QString& name, W* widget) {
    widget->setObjectName(name);
    layout_->insertWidget(layout_->count() - 1, widget);
    controls_.insert(name, widget);
    return widget;
}

QLabel* ShellWindow::addLabel(const QString& name, const QString& text) { return add(name, new QLabel(text, this)); }
QPushButton* ShellWindow::addButton(const QString& name, const QString& text) {
    auto* button = add(name, new QPushButton(text, this));
    connect(button, &QPushButton::clicked, this, &QDialog::reject);
    return button;
}
QCheckBox* ShellWindow::addCheckBox(const QString& name, const QString& text) { return add(name, new QCheckBox(text, this)); }
QRadioButton* ShellWindow::addRadioButton(const QString& name, const QString& text) { return add(name, new QRadioButton(text, this)); }
QGroupBox* ShellWindow::addGroupBox(const QString& name, const QString& text) { return add(name, new QGroupBox(text, this)); }
QComboBox* ShellWindow::addList(const QString& name, int entries) {
    auto* list = add(name, new QComboBox(this));
    for (int i = 0; i < entries; ++i) list->addItem(QString());
    return list;
}

QString ShellWindow::controlText(const QString& name) const {
    QWidget* w = control(name);
    if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(w)) return group->title();
    if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText();
    return {};
}

void ShellWindow::applyTexts(const TextTable& table, Language) {
    if (const auto caption = table.find(form_ + QStringLiteral(".caption"))) setWindowTitle(*caption);
    for (auto it = controls_.cbegin(); it != controls_.cend(); ++it) {
        const QString key = form_ + QLatin1Char('.') + it.key();
        QWidget* w = it.value();
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < list->count(); ++i)
                if (const auto entry = table.find(entryKey(key, i))) list->setItemText(i, *entry);
            continue;
        }
        if (const auto hint = table.find(key + QStringLiteral(".hint"))) w->setToolTip(*hint);
        const auto text = table.find(key);
        if (!text) continue;
        // Buttons and boxes show an ampersand only when it is doubled.
        QString shown = *text;
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QGroupBox*>(w)) shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (auto* label = qobject_cast<QLabel*>(w)) label->setText(*text);
        else if (auto* button = qobject_cast<QAbstractButton*>(w)) button->setText(shown);
        else if (auto* group = qobject_cast<QGroupBox*>(w)) group->setTitle(shown);
    }
}

void ShellWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

}  // namespace gt
