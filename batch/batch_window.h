// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch window: a list of photos drawn one after the other with the style and parameters of the
// parameter window, each written as a JPEG into the destination folder. The run is the batch's one
// loop (pipeline/batch_run.h), the one `graphitello-cli batch` runs, on a worker: the window goes on
// painting, and the main window is only told which photo and which drawing to show meanwhile. The
// settings are taken once, when the parameter window that chooses them closes. The names are
// decided for the whole list before the run (pipeline/batch_plan.h).

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "imaging/bitmap.h"
#include "imaging/io/picture_io.h"
#include "imaging/resources.h"
#include "imaging/view_scaling.h"
#include "pipeline/batch_plan.h"
#include "pipeline/batch_run.h"
#include "ui/language.h"
#include "ui/worker.h"

namespace gt {

// What the window needs from the main window.
class BatchWindowHost {
public:
    virtual ~BatchWindowHost() = default;
    virtual bool busy() const = 0;                      // Busy
    virtual void setBusy(bool busy) = 0;                // it guards the main window's commands during a run
    virtual std::atomic<bool>& cancelFlag() = 0;        // CancelRequested
    virtual void hideParameterWindow() = 0;
    // Shows the parameter window modally; returns when it is closed ("Sketch" closes it).
    virtual void runParameterWindow() = 0;
    // The settings a rendering would take from the windows now: style, sliders, frame and text.
    virtual DrawingParameters drawingParameters() = 0;
    // The built-in pictures, and why they could not be loaded (empty when they were).
    virtual const Resources& resources() const = 0;
    virtual QString resourceError() const = 0;
    // A photo of the run becomes the source, and at once the drawing, as after an open: a new undo
    // history, the status strip, "revert" and the save command's name follow it.
    virtual void showBatchPhoto(Bitmap photo, std::shared_ptr<const ViewPyramid> view, const QString& path,
                                PictureMetadata metadata) = 0;
    // The drawing just made of it takes the right pane.
    virtual void showBatchDrawing(Bitmap drawing, std::shared_ptr<const ViewPyramid> view) = 0;
    // A rendering's progress, for the status strip; 100 of 100 ends the display.
    virtual void batchProgress(int step, int lastStep, int pass, int passes) = 0;
};

// The answer to "some drawings exist already".
enum class ExistingDrawings { Overwrite, Skip, Cancel };
// The answer to "the destination folder does not exist".
enum class MissingFolder { Create, Keep };

class BatchWindow : public QDialog {
    Q_OBJECT
public:
    BatchWindow(BatchWindowHost& host, QWidget* parent = nullptr);
    ~BatchWindow() override;

    void applyTexts(const TextTable& table, Language language);

    // ---- Handlers ----
    void browseFiles();                       // add files (the dialog)
    void addFiles(const QStringList& files);  // the part after the dialog; drops come here too
    void browseFolder();
    void destinationLeft();                   // leaving the destination box
    void startRun();
    void cancelRun();
    void closeAfterCancel();                  // a second after a cancel
    void removeSelected();
    void clearList();

    bool running() const { return running_; }
    // Cancels a run and waits for its worker (the main window calls it before it goes).
    void stopRun();
    QStringList files() const;
    QString destination() const { return Edit1->text(); }
    void setDestination(const QString& folder) { Edit1->setText(folder); }
    // The photos that failed in the last run, each with its reason.
    const QStringList& failures() const { return failures_; }
    // The add dialog's filters: every kind of picture the loader reads.
    QString addFilter() const;

    // The dialogs and message boxes; tests replace them.
    std::function<QStringList(const QString& filter)> chooseFiles;
    std::function<QString()> chooseFolder;
    std::function<ExistingDrawings(int count)> askExisting;
    std::function<MissingFolder(const QString& folder)> askCreateFolder;
    std::function<void(const QString& report)> showReport;

    QListWidget* ListBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button4 = nullptr;
    QPushButton* Button5 = nullptr;
    QTimer closeTimer;

signals:
    // A run has stopped: after the last photo, or at a cancel.
    void runEnded();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void reject() override;  // Escape: the cancel button
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FirstPhoto;
    // The destination as typed, checked: an empty text when it is a folder the run can write in,
    // otherwise what is wrong, in the interface language.
    QString destinationProblem() const;
    void firstPhotoRead(const std::shared_ptr<FirstPhoto>& first);
    void startLoop(const DrawingParameters& parameters);
    void loopEnded(const BatchOutcome& outcome, std::exception_ptr failure);
    void showRow(std::size_t index);
    QString failureText(const BatchFailure& failure) const;
    void cancelExit();
    void finishRun();
    QString writtenReport() const;
    QString text(const QString& key) const;

    BatchWindowHost& host_;
    Language language_ = Language::French;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* status_ = nullptr;

    bool running_ = false;
    bool holdsBusy_ = false;
    BatchPlan plan_;
    std::vector<bool> skip_;
    int written_ = 0, skipped_ = 0;
    QStringList failures_;
    std::shared_ptr<FirstPhoto> first_;
    Worker worker_;
};

}  // namespace gt
