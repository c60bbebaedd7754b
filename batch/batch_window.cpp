// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/batch_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <exception>
#include <utility>

#include "imaging/io/picture_io.h"
#include "ui/app_pictures.h"
#include "ui/file_names.h"
#include "ui/widgets.h"

namespace gt {

namespace {

std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }
QString fromLocal(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// The filter of the add dialog, the same in both languages.
const char* const kAddFilter = "JPEG Image File (*.jpg)|*.jpg;*.jpeg";

}  // namespace

BatchWindow::BatchWindow(BatchWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Conversions multiples"));
    Label1 = new QLabel(this);
    ListBox1 = new QListWidget(this);
    ListBox1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListBox1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ListBox1->setContextMenuPolicy(Qt::CustomContextMenu);
    ListBox1->setAcceptDrops(true);
    ListBox1->viewport()->setAcceptDrops(true);
    ListBox1->viewport()->installEventFilter(this);
    ListBox1->setMinimumSize(420, 180);
    Button1 = new QPushButton(this);
    Label2 = new QLabel(this);
    Edit1 = new QLineEdit(this);
    Button2 = new QPushButton(QStringLiteral("..."), this);
    Button2->setFixedWidth(32);
    CheckBox1 = new QCheckBox(this);
    Button4 = new QPushButton(this);
    Button5 = new QPushButton(this);
    status_ = new QLabel(this);
    status_->setWordWrap(true);
    for (QLabel* label : {Label1, Label2, status_}) label->setAttribute(Qt::WA_TranslucentBackground);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(ListBox1, 1, 0, 1, 2);
    auto* addRow = new QHBoxLayout;
    addRow->addWidget(Button1);
    addRow->addStretch();
    grid->addLayout(addRow, 2, 0, 1, 2);
    grid->addWidget(Label2, 3, 0, 1, 2);
    grid->addWidget(Edit1, 4, 0);
    grid->addWidget(Button2, 4, 1);
    grid->addWidget(CheckBox1, 5, 0, 1, 2);
    grid->addWidget(status_, 6, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button5);
    buttons->addWidget(Button4);
    grid->addLayout(buttons, 7, 0, 1, 2);

    connect(Button1, &QPushButton::clicked, this, &BatchWindow::browseFiles);
    connect(Button2, &QPushButton::clicked, this, &BatchWindow::browseFolder);
    connect(Button4, &QPushButton::clicked, this, &BatchWindow::cancelRun);
    connect(Button5, &QPushButton::clicked, this, &BatchWindow::startRun);
    connect(Edit1, &QLineEdit::editingFinished, this, &BatchWindow::destinationLeft);
    closeTimer.setSingleShot(true);
    connect(&closeTimer, &QTimer::timeout, this, &BatchWindow::closeAfterCancel);
    connect(ListBox1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        if (running_) return;
        QMenu menu(this);
        menu.addAction(text(QStringLiteral("Form2.Remove")), this, &BatchWindow::removeSelected);
        menu.addAction(text(QStringLiteral("Form2.Clear")), this, &BatchWindow::clearList);
        menu.exec(ListBox1->viewport()->mapToGlobal(at));
    });

    chooseFiles = [this] {
        return QFileDialog::getOpenFileNames(this, QString(), QString(), qtNameFilter(QString::fromLatin1(kAddFilter)));
    };
    chooseFolder = [this] { return QFileDialog::getExistingDirectory(this, QStringLiteral("選取目錄"), Edit1->text()); };
    askExisting = [this](int count) {
        QMessageBox box(QMessageBox::Question, windowTitle(), text(QStringLiteral("Form2.Existing")).arg(count), QMessageBox::NoButton, this);
        QPushButton* overwrite = box.addButton(text(QStringLiteral("Form2.OverwriteAll")), QMessageBox::AcceptRole);
        QPushButton* skip = box.addButton(text(QStringLiteral("Form2.SkipExisting")), QMessageBox::RejectRole);
        box.addButton(text(QStringLiteral("Form2.CancelRun")), QMessageBox::DestructiveRole);
        box.setDefaultButton(skip);
        box.exec();
        if (box.clickedButton() == overwrite) return ExistingDrawings::Overwrite;
        if (box.clickedButton() == skip) return ExistingDrawings::Skip;
        return ExistingDrawings::Cancel;
    };
    showReport = [this](const QString& report) { QMessageBox::warning(parentWidget(), windowTitle(), report); };
    applyTexts(TextTable::of(Language::French), Language::French);
}

BatchWindow::~BatchWindow() {
    if (worker_) {
        worker_->wait();
        delete worker_;
    }
}

QString BatchWindow::text(const QString& key) const { return TextTable::of(language_).text(key); }

void BatchWindow::applyTexts(const TextTable& table, Language language) {
    language_ = language;
    if (const auto caption = table.find(QStringLiteral("Form2.caption"))) setWindowTitle(*caption);
    auto set = [&](const char* key, auto* control) {
        if (const auto t = table.find(QStringLiteral("Form2.") + QLatin1String(key))) control->setText(*t);
    };
    set("Label1", Label1);
    set("Label2", Label2);
    set("CheckBox1", CheckBox1);
    set("Button1", Button1);
    set("Button4", Button4);
    set("Button5", Button5);
}

QStringList BatchWindow::files() const {
    QStringList names;
    for (int i = 0; i < ListBox1->count(); ++i) names << ListBox1->item(i)->text();
    return names;
}

// ---- The list ----------------------------------------------------------------------------------

void BatchWindow::browseFiles() {
    if (host_.busy()) return;
    const QStringList chosen = chooseFiles();
    addFiles(chosen);
}

void BatchWindow::addFiles(const QStringList& chosen) {
    if (host_.busy() || running_) return;
    const QStringList listed = files();
    for (const QString& name : chosen) {
        const QString shown = QDir::toNativeSeparators(name);
        if (!listed.contains(shown) && !files().contains(shown)) ListBox1->addItem(shown);
    }
    // The folder of the photos just chosen, when none is given yet.
    if (Edit1->text().isEmpty() && !chosen.isEmpty())
        Edit1->setText(QDir::toNativeSeparators(QFileInfo(chosen.first()).absolutePath() + QLatin1Char('/')));
    status_->clear();
}

void BatchWindow::removeSelected() {
    if (running_) return;
    qDeleteAll(ListBox1->selectedItems());
}

void BatchWindow::clearList() {
    if (!running_) ListBox1->clear();
}

void BatchWindow::browseFolder() {
    if (host_.busy()) return;
    const QString folder = chooseFolder();
    if (!folder.isEmpty()) Edit1->setText(QDir::toNativeSeparators(QDir(folder).absolutePath() + QLatin1Char('/')));
}

void BatchWindow::destinationLeft() {
    if (!Edit1->text().isEmpty() && !QFileInfo(Edit1->text()).isDir()) Edit1->clear();
}

void BatchWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Delete && ListBox1->hasFocus()) {
        removeSelected();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool BatchWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1->viewport()) {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (drag->mimeData()->hasUrls() && !running_) drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList dropped;
            for (const QUrl& url : drop->mimeData()->urls())
                if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isFile()) dropped << url.toLocalFile();
            addFiles(dropped);
            drop->acceptProposedAction();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---- The run -----------------------------------------------------------------------------------

void BatchWindow::startRun() {
    if (host_.busy() || running_) return;
    if (ListBox1->count() == 0) {
        status_->setText(text(QStringLiteral("Form2.EmptyList")));
        return;
    }
    destinationLeft();
    std::vector<std::string> inputs;
    for (const QString& name : files()) inputs.push_back(localPath(name));
    plan_ = planBatch(inputs, localPath(Edit1->text()));
    skip_.assign(plan_.items.size(), false);
    if (!CheckBox1->isChecked()) {
        const std::vector<std::size_t> existing = existingOutputs(plan_);
        if (!existing.empty()) {
            const ExistingDrawings answer = askExisting(static_cast<int>(existing.size()));
            if (answer == ExistingDrawings::Cancel) return;
            if (answer == ExistingDrawings::Skip)
                for (std::size_t i : existing) skip_[i] = true;
        }
    }

    host_.cancelFlag().store(false);
    host_.hideParameterWindow();
    failures_.clear();
    written_ = skipped_ = 0;
    index_ = 0;
    running_ = true;
    holdsBusy_ = true;
    host_.setBusy(true);
    status_->clear();
    // The first photo is shown so that the style is chosen on it, with the live preview; it is
    // kept for its turn in the loop.
    auto photo = std::make_shared<Bitmap>();
    auto metadata = std::make_shared<PictureMetadata>();
    const std::string first = plan_.items.front().input;
    onWorker([photo, metadata, first] {
        try {
            LoadedPicture loaded = loadPictureFile(first);
            *photo = std::move(loaded.bitmap);
            *metadata = std::move(loaded.metadata);
        } catch (const std::exception&) {
            // Reported when its turn comes.
        }
    }, [this, photo, metadata] {
        if (!photo->empty()) {
            host_.showBatchSource(*photo, fromLocal(plan_.items.front().input));
            firstPhoto_ = std::move(photo);
            firstMetadata_ = std::move(*metadata);
        }
        if (host_.cancelFlag().load()) return cancelExit();
        host_.setBusy(false);
        host_.runParameterWindow();
        host_.setBusy(true);
        nextPhoto();
    });
}

void BatchWindow::reject() {
    if (running_) cancelRun();
    else QDialog::reject();
}

void BatchWindow::onWorker(std::function<void()> work, std::function<void()> done) {
    worker_ = QThread::create(std::move(work));
    connect(worker_, &QThread::finished, this, [this, done = std::move(done)] {
        worker_->deleteLater();
        worker_ = nullptr;
        done();
    });
    worker_->start();
}

void BatchWindow::nextPhoto() {
    if (host_.cancelFlag().load()) return cancelExit();
    while (index_ < plan_.items.size() && skip_[index_]) {
        ++skipped_;
        ++index_;
    }
    if (index_ >= plan_.items.size()) return finishRun();
    // The list shows the photo being drawn.
    const QString input = fromLocal(plan_.items[index_].input);
    ListBox1->clearSelection();
    const QList<QListWidgetItem*> rows = ListBox1->findItems(input, Qt::MatchExactly);
    if (!rows.isEmpty()) {
        rows.first()->setSelected(true);
        ListBox1->scrollToItem(rows.first());
    }
    if (index_ == 0 && firstPhoto_) {
        photoMetadata_ = firstMetadata_;
        return photoRead(std::exchange(firstPhoto_, nullptr), QString());
    }
    auto photo = std::make_shared<Bitmap>();
    auto metadata = std::make_shared<PictureMetadata>();
    auto error = std::make_shared<QString>();
    const std::string path = plan_.items[index_].input;
    onWorker([photo, metadata, error, path] {
        try {
            LoadedPicture loaded = loadPictureFile(path);
            *photo = std::move(loaded.bitmap);
            *metadata = std::move(loaded.metadata);
        } catch (const std::exception& e) {
            *error = QString::fromUtf8(e.what());
        }
    }, [this, photo, metadata, error] {
        photoMetadata_ = std::move(*metadata);
        photoRead(photo, *error);
    });
}

void BatchWindow::photoRead(std::shared_ptr<Bitmap> photo, const QString& error) {
    if (!error.isEmpty()) return fail(error);
    if (host_.cancelFlag().load()) return cancelExit();
    host_.showBatchSource(std::move(*photo), fromLocal(plan_.items[index_].input));
    // The trigger sets Busy itself and clears it when the drawing is done.
    host_.setBusy(false);
    if (!host_.startBatchRendering()) {
        host_.setBusy(true);
        fail(text(QStringLiteral("Form2.NotRendered")));
    }
}

void BatchWindow::renderingEnded() {
    if (!running_) return;
    host_.setBusy(true);
    if (host_.cancelFlag().load()) return cancelExit();
    if (const QString error = host_.renderingError(); !error.isEmpty()) return fail(error);
    auto drawing = std::make_shared<Bitmap>(host_.drawingImage());
    auto error = std::make_shared<QString>();
    const std::string output = plan_.items[index_].output;
    std::atomic<bool>* cancel = &host_.cancelFlag();
    // The drawing carries the photo's camera data, as the command line's batch does.
    auto metadata = std::make_shared<PictureMetadata>(photoMetadata_);
    onWorker([drawing, metadata, error, output, cancel] {
        try {
            WriteOptions options;
            options.metadata = metadata.get();
            writePicture(*drawing, output, cancel, options);
        } catch (const std::exception& e) {
            *error = QString::fromUtf8(e.what());
        }
    }, [this, error] { drawingWritten(*error); });
}

void BatchWindow::drawingWritten(const QString& error) {
    if (!error.isEmpty()) return fail(error);
    if (host_.cancelFlag().load()) return cancelExit();
    ++written_;
    host_.setOpenedFile(fromLocal(plan_.items[index_].input));
    stepDone();
}

void BatchWindow::fail(const QString& reason) {
    failures_ << reason;
    stepDone();
}

void BatchWindow::stepDone() {
    ++index_;
    nextPhoto();
}

void BatchWindow::cancelExit() {
    running_ = false;
    firstPhoto_.reset();
    ListBox1->clear();
    closeTimer.start(1000);
    emit runEnded();
}

void BatchWindow::finishRun() {
    running_ = false;
    host_.hideParameterWindow();
    ListBox1->clear();
    close();
    QStringList report;
    if (!failures_.isEmpty())
        report << text(QStringLiteral("Form2.Failed")).arg(failures_.size()) << failures_;
    for (const std::string& twice : plan_.duplicates) report << text(QStringLiteral("Form2.ListedTwice")).arg(fromLocal(twice));
    emit runEnded();
    if (!report.isEmpty()) {
        report.prepend(text(QStringLiteral("Form2.Summary")).arg(written_).arg(skipped_).arg(failures_.size()));
        showReport(report.join(QLatin1Char('\n')));
    }
}

void BatchWindow::cancelRun() {
    host_.cancelFlag().store(true);
    // During a run the window closes a second after the run has stopped.
    if (!running_) closeTimer.start(1000);
}

void BatchWindow::closeAfterCancel() {
    if (!host_.cancelFlag().load() || running_) return;
    closeTimer.stop();
    ListBox1->clear();
    close();
}

// ---- Showing and closing -----------------------------------------------------------------------

void BatchWindow::showEvent(QShowEvent* event) {
    host_.cancelFlag().store(false);
    QDialog::showEvent(event);
}

void BatchWindow::closeEvent(QCloseEvent* event) {
    // Closing during a run cancels it; the window closes when the run has stopped.
    if (running_) {
        cancelRun();
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void BatchWindow::hideEvent(QHideEvent* event) {
    if (!running_) {
        host_.cancelFlag().store(false);
        if (holdsBusy_) host_.setBusy(false);
        holdsBusy_ = false;
    }
    QDialog::hideEvent(event);
}

void BatchWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintTiled(painter, rect(), AppPictures::get().background());
}

}  // namespace gt
