// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A secondary window whose full behaviour is built elsewhere: it exists from start-up, holds the
// controls the language switch names, and takes their texts from the tables.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/language.h"

namespace gt {

class ShellWindow : public QDialog {
    Q_OBJECT
public:
    // `form` is the window's key in the text tables ("Form2").
    ShellWindow(const QString& form, const QString& title, QWidget* parent);

    // Sets the caption and every control's text, hint and list entries that the table names.
    virtual void applyTexts(const TextTable& table, Language language);
    // A control by its name, or null.
    QWidget* control(const QString& name) const { return controls_.value(name); }
    QString controlText(const QString& name) const;
    const QString& form() const { return form_; }

protected:
    QLabel* addLabel(const QString& name, const QString& text = {});
    QPushButton* addButton(const QString& name, const QString& text = {});
    QCheckBox* addCheckBox(const QString& name, const QString& text = {});
    QRadioButton* addRadioButton(const QString& name, const QString& text = {});
    QGroupBox* addGroupBox(const QString& name, const QString& text = {});
    QComboBox* addList(const QString& name, int entries);
    void paintEvent(QPaintEvent* event) override;

private:
    template <typename W> W* add(const QString& name, W* widget);
    QString form_;
    QVBoxLayout* layout_;
    QHash<QString, QWidget*> controls_;
};

}  // namespace gt
