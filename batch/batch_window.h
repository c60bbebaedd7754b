// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The batch window: a list of photos drawn one after the other with the style and parameters of the
// parameter window, each written as a JPEG into the destination folder. Each photo goes the road of
// a single rendering: it becomes the main window's source, the main window's trigger renders it,
// and the right pane's picture is written, so a photo comes out of this window, the command line's
// batch and a rendering of its own with the same bytes. The names are decided for the whole list
// before the run (pipeline/batch_plan.h). Reading and writing run on a worker; the window waits for
// each step's end with the processor idle.

#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "imaging/bitmap.h"
#include "imaging/io/picture_io.h"
#include "pipeline/batch_plan.h"
#include "ui/language.h"

namespace gt {

// What the window needs from the main window.
class BatchWindowHost {
public:
    virtual ~BatchWindowHost() = default;
    virtual bool busy() const = 0;                      // Busy
    virtual void setBusy(bool busy) = 0;
    virtual std::atomic<bool>& cancelFlag() = 0;        // CancelRequested
    virtual void hideParameterWindow() = 0;
    // Shows the parameter window modally; returns when it is closed ("Sketch" closes it).
    virtual void runParameterWindow() = 0;
    // OpenImage after the decoding: the photo becomes the source and, at once, the drawing.
    virtual void showBatchSource(Bitmap photo, const QString& path) = 0;
    // Fires the render trigger. False when no rendering started; otherwise the host calls
    // BatchWindow::renderingEnded when the rendering and its finishing pass are done.
    virtual bool startBatchRendering() = 0;
    virtual const Bitmap& drawingImage() const = 0;     // DrawingImage
    virtual QString renderingError() const = 0;         // why the last rendering failed, or empty
    // The main window's open-dialog file name (its save command proposes its name from it).
    virtual void setOpenedFile(const QString& path) = 0;
};

// The answer to "some drawings exist already".
enum class ExistingDrawings { Overwrite, Skip, Cancel };

class BatchWindow : public QDialog {
    Q_OBJECT
public:
    BatchWindow(BatchWindowHost& host, QWidget* parent = nullptr);
    ~BatchWindow() override;

    void applyTexts(const TextTable& table, Language language);

    // ---- Handlers ----
    void browseFiles();                       // add files (the dialog)
    void addFiles(const QStringList& files);   // the part after the dialog; drops come here too
    void browseFolder();                       // browse for the folder
    void destinationLeft();                          // leaving the destination box
    void startRun();                       // start the run
    void cancelRun();                       // cancel
    void closeAfterCancel();                        // the close a second after a cancel
    void removeSelected();
    void clearList();

    // Called by the host when a rendering started by startBatchRendering is done.
    void renderingEnded();

    bool running() const { return running_; }
    QStringList files() const;
    QString destination() const { return Edit1->text(); }
    void setDestination(const QString& folder) { Edit1->setText(folder); }
    // The photos that failed in the last run, each with its reason; and the last report shown.
    const QStringList& failures() const { return failures_; }

    // The dialogs and message boxes; tests replace them.
    std::function<QStringList()> chooseFiles;
    std::function<QString()> chooseFolder;
    std::function<ExistingDrawings(int count)> askExisting;
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
    void nextPhoto();
    void photoRead(std::shared_ptr<Bitmap> photo, const QString& error);
    void drawingWritten(const QString& error);
    void fail(const QString& reason);
    void stepDone();
    void cancelExit();
    void finishRun();
    // Runs `work` on a worker thread, then `done` back on this thread.
    void onWorker(std::function<void()> work, std::function<void()> done);
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
    std::size_t index_ = 0;
    int written_ = 0, skipped_ = 0;
    QStringList failures_;
    std::shared_ptr<Bitmap> firstPhoto_;
    PictureMetadata firstMetadata_;  // the first photo's camera data, kept with it
    PictureMetadata photoMetadata_;  // the camera data of the photo being drawn
    QThread* worker_ = nullptr;
};

}  // namespace gt
