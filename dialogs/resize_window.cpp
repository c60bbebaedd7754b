// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/resize_window.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "ui/app_pictures.h"
#include "ui/widgets.h"

namespace gt {

namespace {

std::string text(const QLineEdit* edit) { return edit->text().toStdString(); }

}  // namespace

ResizeWindow::ResizeWindow(ResizeWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("Form10"));
    setWindowTitle(QStringLiteral("Redimensionner l'image source"));
    desktopSize = [] {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry().size() * screen->devicePixelRatio() : QSize(1024, 768);
    };

    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    auto label = [this](const char* name, const QString& caption) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(QString::fromLatin1(name));
        return l;
    };
    auto edit = [this](const char* name) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setFixedWidth(70);
        e->installEventFilter(this);
        return e;
    };
    auto bar = [this](const char* name) {
        auto* b = new QScrollBar(Qt::Horizontal, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimum(1);
        // A click gives it the keyboard focus: its changes count only while it has it.
        b->setFocusPolicy(Qt::StrongFocus);
        b->setMinimumWidth(280);
        return b;
    };
    Label1 = label("Label1", QStringLiteral("Largeur  "));
    Label2 = label("Label2", QStringLiteral("Hauteur  "));
    Label3 = label("Label3", QStringLiteral("%  "));
    Label4 = label("Label4", QStringLiteral("%  "));
    Label5 = label("Label5", QString());
    Label5->setWordWrap(true);
    Label5->hide();
    Edit1 = edit("Edit1");
    Edit2 = edit("Edit2");
    Edit3 = edit("Edit3");
    Edit4 = edit("Edit4");
    ScrollBar1 = bar("ScrollBar1");
    ScrollBar2 = bar("ScrollBar2");
    CheckBox1 = new QCheckBox(QStringLiteral("Conserver les proportions   "), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(QStringLiteral("Dimensions du bureau   "), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    Button1 = new QPushButton(QStringLiteral("確定"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);  // Enter anywhere confirms
    Button2 = new QPushButton(QStringLiteral("annuler"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setAutoDefault(false);

    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Edit1, 0, 1);
    grid->addWidget(Edit3, 0, 2);
    grid->addWidget(Label3, 0, 3);
    grid->addWidget(ScrollBar1, 1, 0, 1, 4);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(Edit2, 2, 1);
    grid->addWidget(Edit4, 2, 2);
    grid->addWidget(Label4, 2, 3);
    grid->addWidget(ScrollBar2, 3, 0, 1, 4);
    grid->addWidget(CheckBox1, 4, 0, 1, 4);
    grid->addWidget(CheckBox2, 5, 0, 1, 4);
    grid->addWidget(Label5, 6, 0, 1, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    grid->addLayout(buttons, 7, 0, 1, 4);
    grid->setVerticalSpacing(8);

    connect(ScrollBar1, &QScrollBar::valueChanged, this, [this] { scrollBarChanged(1); });
    connect(ScrollBar2, &QScrollBar::valueChanged, this, [this] { scrollBarChanged(2); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { keepProportionsToggled(); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { desktopSizeToggled(); });
    connect(Button1, &QPushButton::clicked, this, [this] { applyResize(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    limitNote_ = QStringLiteral("Au plus %1 × %2 pixels : une image plus grande ne pourrait pas être traitée.");
}

void ResizeWindow::applyTexts(const TextTable& table, Language) {
    if (const auto caption = table.find(QStringLiteral("Form10.caption"))) setWindowTitle(*caption);
    const std::pair<const char*, QWidget*> controls[] = {{"Label1", Label1}, {"Label2", Label2}, {"CheckBox1", CheckBox1},
                                                         {"CheckBox2", CheckBox2}, {"Button2", Button2}};
    for (const auto& [name, widget] : controls) {
        const auto t = table.find(QStringLiteral("Form10.") + QLatin1String(name));
        if (!t) continue;
        if (auto* l = qobject_cast<QLabel*>(widget)) l->setText(*t);
        else if (auto* b = qobject_cast<QAbstractButton*>(widget)) b->setText(*t);
    }
    if (const auto note = table.find(QStringLiteral("Form10.LimitNote"))) limitNote_ = *note;
    showLimitNote();
}

// ---- Handlers ---------------------------------------------------------------------------------

void ResizeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    windowActivated();
}

void ResizeWindow::windowActivated() {
    activateResize(fields_, host_.sourceWidth(), host_.sourceHeight());
    showFields();
    showLimitNote();
    Edit1->setFocus();
}

void ResizeWindow::boxTyped(int edit) {
    readBoxes();
    if (edit == 1 || edit == 2) pixelsTyped(fields_, edit);
    else percentTyped(fields_, edit - 2);
    showFields();
}

void ResizeWindow::scrollBarChanged(int side) {
    QScrollBar* bar = side == 1 ? ScrollBar1 : ScrollBar2;
    // Positions the dialog sets itself arrive here too; only the user's, with the focus, count.
    if (showing_ || !bar->hasFocus()) return;
    readBoxes();
    scrollBarMoved(fields_, side, bar->value());
    showFields();
}

void ResizeWindow::keepProportionsToggled() {
    readBoxes();
    fields_.CheckBox1 = CheckBox1->isChecked();
    if (fields_.CheckBox1) {
        ScrollBar1->setFocus();
        keepProportionsChecked(fields_);
    }
    showFields();
}

void ResizeWindow::desktopSizeToggled() {
    readBoxes();
    fields_.CheckBox2 = CheckBox2->isChecked();
    if (fields_.CheckBox2) {
        const QSize desktop = desktopSize();
        desktopSizeChecked(fields_, desktop.width(), desktop.height());
    }
    showFields();
}

void ResizeWindow::applyResize() {
    readBoxes();
    const ResizeChoice size = confirmResize(fields_);
    showFields();
    host_.showNaturalSize();
    ResizeWindowHost* host = &host_;
    host_.resizeSource(size.width, size.height, [host] { host->resetParameterPreview(); });
    accept();
}

bool ResizeWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const QLineEdit* edits[] = {Edit1, Edit2, Edit3, Edit4};
        for (int i = 0; i < 4; ++i)
            if (watched == edits[i]) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                // Enter confirms; the rules run on the keys that edit.
                if (key != Qt::Key_Return && key != Qt::Key_Enter) boxTyped(i + 1);
            }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- Showing the fields -----------------------------------------------------------------------

void ResizeWindow::readBoxes() {
    fields_.Edit1 = text(Edit1);
    fields_.Edit2 = text(Edit2);
    fields_.Edit3 = text(Edit3);
    fields_.Edit4 = text(Edit4);
    fields_.CheckBox1 = CheckBox1->isChecked();
    fields_.CheckBox2 = CheckBox2->isChecked();
}

void ResizeWindow::showFields() {
    showing_ = true;
    auto setText = [](QLineEdit* e, const std::string& t) {
        const QString shown = QString::fromStdString(t);
        if (e->text() != shown) e->setText(shown);
    };
    setText(Edit1, fields_.Edit1);
    setText(Edit2, fields_.Edit2);
    setText(Edit3, fields_.Edit3);
    setText(Edit4, fields_.Edit4);
    ScrollBar1->setMaximum(fields_.maxWidth);
    ScrollBar2->setMaximum(fields_.maxHeight);
    ScrollBar1->setValue(fields_.ScrollBar1);
    ScrollBar2->setValue(fields_.ScrollBar2);
    CheckBox1->setChecked(fields_.CheckBox1);
    CheckBox2->setChecked(fields_.CheckBox2);
    showing_ = false;
}

void ResizeWindow::showLimitNote() {
    Label5->setText(limitNote_.arg(fields_.maxWidth).arg(fields_.maxHeight));
    Label5->setVisible(fields_.cut);
}

void ResizeWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

}  // namespace gt
