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
#include <new>
#include <utility>

#include "finishing/text_qt/qt_glyph_renderer.h"
#include "imaging/io/picture_io.h"
#include "ui/app_pictures.h"
#include "ui/file_names.h"
#include "ui/widgets.h"

namespace gt {

namespace {


std::shared_ptr<const ViewPyramid> viewOf(const Bitmap& picture) {
    return picture.empty() ? nullptr : std::make_shared<const ViewPyramid>(buildViewPyramid(picture));
}

}  // namespace

// The first photo of the list that can be read, read before the run so that the style is chosen on
// it; the photos before it that cannot be read, with what they threw.
struct BatchWindow::FirstPhoto {
    std::size_t index = 0;
    bool found = false;
    Bitmap picture;
    PictureMetadata metadata;
    Bitmap shown;  // the copy the main window takes
    std::shared_ptr<const ViewPyramid> view;
    std::vector<std::exception_ptr> unread;
};

BatchWindow::BatchWindow(BatchWindowHost& host, QWidget* parent) : QDialog(parent), host_(host) {
    useTiledPalette(this);
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
    // Room for a message of three lines is kept, so the window keeps its height whatever it says.
    status_->setMinimumHeight(3 * status_->fontMetrics().lineSpacing());
    status_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    for (QLabel* label : {Label1, Label2, status_}) label->setAttribute(Qt::WA_TranslucentBackground);
    Label1->setBuddy(ListBox1);
    Label2->setBuddy(Edit1);

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

    chooseFiles = [this](const QString& filter) { return QFileDialog::getOpenFileNames(this, QString(), QString(), filter); };
    chooseFolder = [this] { return QFileDialog::getExistingDirectory(this, text(QStringLiteral("Form2.ChooseFolder")), Edit1->text()); };
    askExisting = [this](int count) {
        QMessageBox box(QMessageBox::Question, windowTitle(), countedText(language_, QStringLiteral("Form2.Existing"), count), QMessageBox::NoButton, this);
        QPushButton* overwrite = box.addButton(text(QStringLiteral("Form2.OverwriteAll")), QMessageBox::AcceptRole);
        QPushButton* skip = box.addButton(text(QStringLiteral("Form2.SkipExisting")), QMessageBox::RejectRole);
        box.addButton(text(QStringLiteral("Form2.CancelRun")), QMessageBox::DestructiveRole);
        box.setDefaultButton(skip);
        box.exec();
        if (box.clickedButton() == overwrite) return ExistingDrawings::Overwrite;
        if (box.clickedButton() == skip) return ExistingDrawings::Skip;
        return ExistingDrawings::Cancel;
    };
    askCreateFolder = [this](const QString& folder) {
        const auto answer = QMessageBox::question(this, windowTitle(), text(QStringLiteral("Form2.CreateFolder")).arg(folder),
                                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
        return answer == QMessageBox::Yes ? MissingFolder::Create : MissingFolder::Keep;
    };
    showReport = [this](const QString& report) { QMessageBox::information(parentWidget(), windowTitle(), report); };
    applyTexts(TextTable::of(Language::French), Language::French);
}

BatchWindow::~BatchWindow() = default;

void BatchWindow::stopRun() {
    if (!worker_.running()) return;
    host_.cancelFlag().store(true);
    worker_.wait();
}

QString BatchWindow::text(const QString& key) const { return TextTable::of(language_).text(key); }

QString BatchWindow::addFilter() const {
    return openDialogFilters(text(QStringLiteral("Form1.OpenFilter")), text(QStringLiteral("Form1.OpenFilterAllFiles")));
}

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
    Button2->setAccessibleName(text(QStringLiteral("Form2.ChooseFolder")));
}

QStringList BatchWindow::files() const {
    QStringList names;
    for (int i = 0; i < ListBox1->count(); ++i) names << ListBox1->item(i)->text();
    return names;
}

// ---- The list ----------------------------------------------------------------------------------

void BatchWindow::browseFiles() {
    if (host_.busy()) return;
    const QStringList chosen = chooseFiles(addFilter());
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

QString BatchWindow::destinationProblem() const {
    const QString folder = Edit1->text().trimmed();
    if (folder.isEmpty()) return text(QStringLiteral("Form2.NoDestination"));
    switch (checkBatchFolder(localPath(folder))) {
    case FolderProblem::None: return QString();
    case FolderProblem::Missing: return text(QStringLiteral("Form2.NoSuchFolder")).arg(folder);
    case FolderProblem::NotAFolder: return text(QStringLiteral("Form2.NotAFolder")).arg(folder);
    case FolderProblem::NotWritable: return text(QStringLiteral("Form2.NotWritable")).arg(folder);
    }
    return QString();
}

// What was typed stays; a folder that does not exist is said at once, with the offer to create it.
void BatchWindow::destinationLeft() {
    const QString folder = Edit1->text().trimmed();
    if (folder.isEmpty() || running_) return;
    if (checkBatchFolder(localPath(folder)) == FolderProblem::Missing && askCreateFolder(folder) == MissingFolder::Create &&
        !QDir().mkpath(folder)) {
        status_->setText(text(QStringLiteral("Form2.NotCreated")).arg(folder));
        return;
    }
    status_->setText(destinationProblem());
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
    // No work starts without a folder the drawings can go to.
    if (const QString problem = destinationProblem(); !problem.isEmpty()) {
        status_->setText(problem);
        Edit1->setFocus();
        return;
    }
    if (!host_.resourceError().isEmpty()) {
        status_->setText(host_.resourceError());
        return;
    }
    std::vector<std::string> inputs;
    for (const QString& name : files()) inputs.push_back(localPath(name));
    plan_ = planBatch(inputs, localPath(Edit1->text().trimmed()));
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
    running_ = true;
    holdsBusy_ = true;
    host_.setBusy(true);
    status_->clear();
    // The style is chosen on the first photo that can be read, with the live preview; the photo is
    // kept for its turn in the loop.
    auto first = std::make_shared<FirstPhoto>();
    const BatchPlan plan = plan_;
    const std::vector<bool> skip = skip_;
    std::atomic<bool>* cancel = &host_.cancelFlag();
    worker_.run([first, plan, skip, cancel] {
        for (std::size_t i = 0; i < plan.items.size() && !cancel->load(); ++i) {
            if (skip[i]) continue;
            try {
                ReadOptions options;
                options.cancel = cancel;  // a cancel stops a long reading at its next rows
                LoadedPicture loaded = loadPictureFile(plan.items[i].input, options);
                first->index = i;
                first->found = true;
                first->picture = std::move(loaded.bitmap);
                first->metadata = std::move(loaded.metadata);
                first->shown = first->picture;
                first->view = viewOf(first->shown);
                return;
            } catch (...) {
                first->unread.push_back(std::current_exception());
            }
        }
    }, [this, first](std::exception_ptr) { firstPhotoRead(first); });
}

void BatchWindow::firstPhotoRead(const std::shared_ptr<FirstPhoto>& first) {
    if (host_.cancelFlag().load()) return cancelExit();
    DrawingParameters parameters = host_.drawingParameters();
    if (first->found) {
        showRow(first->index);
        host_.showBatchPhoto(std::move(first->shown), std::move(first->view), fromLocalPath(plan_.items[first->index].input),
                             first->metadata);
        first_ = first;
        host_.setBusy(false);
        host_.runParameterWindow();
        host_.setBusy(true);
        if (host_.cancelFlag().load()) return cancelExit();
        parameters = host_.drawingParameters();
    } else {
        // Nothing can be read: the loop names every photo's failure without asking for a style.
        first_ = first;
    }
    if (first->found && !styleFromIndex(parameters.ComboBox1)) {
        failures_ << text(QStringLiteral("Form2.NotRendered"));
        return finishRun();
    }
    startLoop(parameters);
}

void BatchWindow::startLoop(const DrawingParameters& chosen) {
    BatchSettings settings;
    settings.parameters = chosen;
    // Every photo starts from the generator's state at program start, as each photo of the command
    // line's batch does, so the same photo gives the same bytes from either.
    settings.random = Random{};
    if (!styleFromIndex(settings.parameters.ComboBox1)) settings.parameters.ComboBox1 = 0;
    const std::shared_ptr<FirstPhoto> first = std::exchange(first_, nullptr);
    const BatchPlan plan = plan_;
    const std::vector<bool> skip = skip_;
    std::atomic<bool>* cancel = &host_.cancelFlag();
    const Resources* resources = &host_.resources();
    auto outcome = std::make_shared<BatchOutcome>();
    worker_.run([this, first, plan, skip, cancel, resources, settings, outcome] {
        BatchSteps steps;
        std::size_t nextUnread = 0;
        steps.skip = [&skip](std::size_t i) { return skip[i]; };
        steps.read = [&](std::size_t i, const std::string& input) {
            if (!first->found || i < first->index) std::rethrow_exception(first->unread.at(nextUnread++));
            if (i == first->index) return BatchPhoto{std::move(first->picture), std::move(first->metadata)};
            ReadOptions options;
            options.cancel = cancel;
            LoadedPicture loaded = loadPictureFile(input, options);
            return BatchPhoto{std::move(loaded.bitmap), std::move(loaded.metadata)};
        };
        steps.starting = [this](std::size_t i) { worker_.post([this, i] { showRow(i); }); };
        steps.photoRead = [&](std::size_t i, const BatchPhoto& photo) {
            if (first->found && i == first->index) return;  // shown already
            auto shown = std::make_shared<Bitmap>(photo.picture);
            auto view = viewOf(*shown);
            const PictureMetadata* carried = std::any_cast<PictureMetadata>(&photo.carried);
            auto metadata = std::make_shared<PictureMetadata>(carried ? *carried : PictureMetadata{});
            worker_.post([this, i, shown, view, metadata] {
                if (running_) host_.showBatchPhoto(std::move(*shown), view, fromLocalPath(plan_.items[i].input), std::move(*metadata));
            });
        };
        steps.drawn = [this](std::size_t, const Bitmap& drawing) {
            auto shown = std::make_shared<Bitmap>(drawing);
            auto view = viewOf(*shown);
            worker_.post([this, shown, view] {
                if (running_) host_.showBatchDrawing(std::move(*shown), view);
            });
        };
        steps.write = [cancel](const Bitmap& drawing, const BatchPhoto& photo, const std::string& output) {
            // The drawing carries the photo's camera data, as the command line's batch does.
            WriteOptions options;
            options.metadata = std::any_cast<PictureMetadata>(&photo.carried);
            writePicture(drawing, output, cancel, options);
        };
        steps.progress = [this](std::size_t) -> ProgressSink {
            return [this](int step, int lastStep, int pass, int passes) {
                worker_.post([this, step, lastStep, pass, passes] {
                    if (running_) host_.batchProgress(step, lastStep, pass, passes);
                });
            };
        };
        QtGlyphRenderer glyphs;
        *outcome = runBatch(plan, settings, *resources, settings.parameters.CheckBox4 ? &glyphs : nullptr, *cancel, steps);
    }, [this, outcome](std::exception_ptr failure) { loopEnded(*outcome, failure); });
}

void BatchWindow::showRow(std::size_t index) {
    if (index >= plan_.items.size()) return;
    // The list shows the photo being drawn.
    ListBox1->clearSelection();
    const QList<QListWidgetItem*> rows = ListBox1->findItems(fromLocalPath(plan_.items[index].input), Qt::MatchExactly);
    if (!rows.isEmpty()) {
        rows.first()->setSelected(true);
        ListBox1->scrollToItem(rows.first());
    }
}

QString BatchWindow::failureText(const BatchFailure& failure) const {
    const QString name = QFileInfo(fromLocalPath(failure.input)).fileName();
    if (failure.outOfMemory) return text(QStringLiteral("Form2.OutOfMemory")).arg(name);
    switch (failure.stage) {
    case BatchStage::Read:
        if (!QFileInfo::exists(fromLocalPath(failure.input))) return text(QStringLiteral("Form2.NoSuchFile")).arg(name);
        return text(QStringLiteral("Form2.NotRead")).arg(name);
    case BatchStage::Draw: return text(QStringLiteral("Form2.NotDrawn")).arg(name);
    case BatchStage::Write:
        return text(QStringLiteral("Form2.NotWritten")).arg(name, QDir::toNativeSeparators(Edit1->text().trimmed()));
    }
    return name;
}

void BatchWindow::loopEnded(const BatchOutcome& outcome, std::exception_ptr failure) {
    host_.batchProgress(100, 100, 1, 1);
    written_ = outcome.written;
    skipped_ = outcome.skipped;
    for (const BatchFailure& f : outcome.failures) failures_ << failureText(f);
    if (failure) failures_ << text(QStringLiteral("Form2.NotRendered"));
    if (outcome.cancelled || host_.cancelFlag().load()) return cancelExit();
    finishRun();
}

void BatchWindow::reject() {
    if (running_) cancelRun();
    else QDialog::reject();
}

QString BatchWindow::writtenReport() const {
    return countedText(language_, QStringLiteral("Form2.Written"), written_).arg(QDir::toNativeSeparators(Edit1->text().trimmed()));
}

void BatchWindow::cancelExit() {
    running_ = false;
    first_.reset();
    ListBox1->clear();
    closeTimer.start(1000);
    emit runEnded();
    // A run stopped part-way says what it left behind.
    if (written_ > 0) showReport(writtenReport());
}

void BatchWindow::finishRun() {
    running_ = false;
    first_.reset();
    host_.hideParameterWindow();
    ListBox1->clear();
    close();
    QStringList report{writtenReport()};
    if (skipped_ > 0) report << countedText(language_, QStringLiteral("Form2.Skipped"), skipped_);
    if (!failures_.isEmpty()) report << countedText(language_, QStringLiteral("Form2.Failed"), int(failures_.size())) << failures_;
    for (const std::string& twice : plan_.duplicates) report << text(QStringLiteral("Form2.ListedTwice")).arg(fromLocalPath(twice));
    emit runEnded();
    showReport(report.join(QLatin1Char('\n')));
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
