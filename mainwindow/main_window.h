// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the source picture on the left, the drawing on the right at one common zoom,
// the toolbar, the menus and the status strip. Its commands and handlers are named by what they
// do; the menu entries and controls keep their form names as object names (Openpicture1, Label3),
// by which the text tables and the tests find them. The work itself is done by the pipeline and
// the picture files layer. The handlers are spread over files by job: main_window.cpp (creation, layout, viewer),
// main_commands.cpp (files, clipboard, wallpaper), main_render.cpp (drawing), main_source.cpp (the
// source-image commands and their undo), main_language.cpp.

#include <QAction>
#include <QFrame>
#include <QHash>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "batch/batch_window.h"
#include "dialogs/print_preview_window.h"
#include "dialogs/resize_window.h"
#include "dialogs/retouch_window.h"
#include "imaging/bitmap.h"
#include "imaging/io/picture_io.h"
#include "imaging/random.h"
#include "imaging/resources.h"
#include "finishing/add_text_window.h"
#include "finishing/frames_window.h"
#include "mainwindow/app_windows.h"
#include "mainwindow/layout.h"
#include "mainwindow/pan_inertia.h"
#include "mainwindow/picture_pane.h"
#include "mainwindow/render_job.h"
#include "mainwindow/source_history.h"
#include "mainwindow/source_job.h"
#include "mainwindow/status_strip.h"
#include "mainwindow/zoom.h"
#include "pipeline/styles.h"
#include "pipeline/window/parameter_window.h"
#include "ui/widgets.h"
#include "ui/worker.h"

namespace gt {

class TextTable;

class MainWindow : public QMainWindow,
                   public ParameterWindowHost,
                   public FramesWindowHost,
                   public AddTextWindowHost,
                   public BatchWindowHost,
                   public PrintPreviewHost,
                   public ResizeWindowHost,
                   public RetouchWindowHost {
    Q_OBJECT
public:
    // Loads the built-in pictures; a failure there is shown when the window first shows and makes
    // every rendering report it.
    MainWindow();
    ~MainWindow() override;

    AppWindows windows;

    // ---- State shared with the other windows ----
    Bitmap SourceImage;
    Bitmap DrawingImage;
    int SourceWidth = 0, SourceHeight = 0;
    int DrawingWidth = 0, DrawingHeight = 0;
    bool Busy = false;                            // interface thread only
    std::atomic<bool> CancelRequested{false};     // read by the rendering thread
    int SavedZoom = 100;
    int SplitOffset = 0;
    bool ShowDrawingHint = true;
    bool Dragging = false;
    bool FullScreenShown = false;
    int LastCursorX = 0, LastCursorY = 0;
    int PanVelocityX = 0, PanVelocityY = 0;
    int ZoomDirection = kZoomNone, ZoomTicks = 1;
    QTimer renderTimer;           // the render trigger
    QTimer panInertiaTimer;       // the pan's inertia, 100 ms
    QTimer heldZoomTimer;         // a held zoom button, 10 ms
    QTimer fullScreenBlockTimer;  // the end of the full-screen input block, 300 ms

    int zoom() const { return zoom_; }
    Language language() const { return language_; }
    const QString& openedFile() const { return openedFile_; }
    const Resources& resources() const override { return resources_; }
    const MainLayout& layoutNumbers() const { return layout_; }
    StatusStrip* statusStrip() const { return statusStrip_; }
    PicturePane* leftPane() const { return sourcePane_; }
    PicturePane* rightPane() const { return drawingPane_; }
    bool renderRunning() const { return job_ && job_->running(); }
    RenderJob* renderJob() const { return job_; }
    bool wallpaperRunning() const { return wallpaperWorker_.running(); }

    // What the message boxes would ask and say; tests replace them.
    std::function<bool(const QString& question)> askOkCancel;
    std::function<void(const QString& message)> showMessage;
    // The title of the message box being shown: the window's title, or the language's "Error" for
    // a picture that could not be opened.
    const QString& messageTitle() const { return messageTitle_; }

    // ---- ParameterWindowHost ----
    const Bitmap& sourceImage() const override { return SourceImage; }
    bool busy() const override { return Busy; }
    bool batchVisible() const override;
    void startDrawing() override;
    void showFramesWindow() override;
    void showAddTextWindow() override;
    void showError(const QString& message) override;

    // ---- FramesWindowHost and AddTextWindowHost (main_text.cpp) ----
    const FramePictures& framePictures() const override { return resources_.FramePictures; }
    const Bitmap& drawingImage() const override { return DrawingImage; }
    PlacementSizes placementSizes() const override;
    void writeOnDrawing(const std::function<void(Bitmap&)>& write) override;
    void showTextPreview(const TextOverlayPatch& patch) override;
    void setClipboardShortcuts(bool on) override;
    bool DraggingText = false;  // the text is being dragged on the drawing pane

    // ---- BatchWindowHost (main_batch.cpp) ----
    void setBusy(bool busy) override;
    std::atomic<bool>& cancelFlag() override { return CancelRequested; }
    void hideParameterWindow() override;
    void runParameterWindow() override;
    DrawingParameters drawingParameters() override;
    QString resourceError() const override { return resourceError_; }
    void showBatchPhoto(Bitmap photo, std::shared_ptr<const ViewPyramid> view, const QString& path, PictureMetadata metadata) override;
    void showBatchDrawing(Bitmap drawing, std::shared_ptr<const ViewPyramid> view) override;
    void batchProgress(int step, int lastStep, int pass, int passes) override;

    // ---- PrintPreviewHost ----
    QSize drawingSize() const override { return QSize(DrawingWidth, DrawingHeight); }

    // ---- Source-image commands (main_source.cpp) ----
    void softenSource();
    void sharpenSource();
    void increaseSaturation();
    void increaseBrightness();
    void increaseContrast();
    void reduceNoise();
    void undoSourceChange();
    void redoSourceChange();
    bool sourceJobRunning() const { return sourceJob_ && sourceJob_->running(); }
    SourceHistory& sourceHistory() { return history_; }
    // The steps that made the photo from the opened file, and how the drawing pane's picture was made.
    const SourceRecipe& sourceRecipe() const { return sourceRecipe_; }
    const DrawingOrigin& drawingOrigin() const { return drawingOrigin_; }
    // ResizeWindowHost
    int sourceWidth() const override { return SourceWidth; }
    int sourceHeight() const override { return SourceHeight; }
    void showNaturalSize() override;
    void resizeSource(int width, int height, std::function<void()> done = {}) override;
    void resetParameterPreview() override;
    // RetouchWindowHost
    void retouchSource(const RetouchSettings& settings, std::function<void(bool changed)> done) override;
    void setParameterPreviewTimer(int interval) override;
    void cancelLongStep() override;

    // ---- Start-up ----
    // The size and place when not maximised, on the screen's work area; then maximised.
    void placeOnScreen();
    // The first command-line argument: a .jpg/.jpeg file opens, a .gtl file loads, others are ignored.
    void openStartArgument(const QString& argument);
    // Starts decoding a picture on a worker (the command-line photo, while the splash shows); the
    // next load of that file takes the result instead of decoding it again.
    void preloadPicture(const QString& path);

    // ---- Layout and viewer ----
    void layoutPanes();
    void centerPictures();
    void boundPictures();
    void setZoom(int zoom);  // the zoom step runs on every change
    // The panes take SourceImage and DrawingImage again after either changed (the view's reduced
    // copies are made from them here, unless `view` holds the source's already); `drawingIsSource`
    // when the drawing is a copy of the source.
    void showPictures(bool drawingIsSource = false, std::shared_ptr<const ViewPyramid> view = nullptr);

    // ---- Viewer ----
    void zoomByWheel(int delta);
    // The zoom buttons Image15 (kZoomOut) and Image17 (kZoomIn): held with the left or middle button
    // they zoom on every heldZoomTimer tick, faster and faster; the right button steps on release.
    void zoomButtonDown(int direction, Qt::MouseButton button);
    void zoomButtonUp(int direction, Qt::MouseButton button);
    void heldZoomTick();
    // Image16: a left click shows the actual size, the right button fits the pictures.
    void fitButtonDown();
    void fitButtonUp(Qt::MouseButton button);
    void panInertiaTick();
    void fullScreenBlockEnded();
    void zoomLabelPressed();
    void zoomEditKey(int key);
    void toolbarMouseMoved(int x);  // x in the toolbar
    void fullScreen(bool drawingPane);  // a double click on either pane
    void fullScreenClosed();            // the full-screen window closed

    // ---- Commands ----
    void openPicture();
    bool openPictureFile(const QString& path);  // the open command after its dialog
    bool loadPictureFromFile(const QString& name);
    void savePicture();
    // The save command after its dialog; `pngChosen` when its PNG entry was chosen.
    bool saveDrawing(const QString& chosenName, bool pngChosen = false);
    const PictureMetadata& sourceMetadata() const { return sourceMetadata_; }
    void setWallpaper();
    void copyDrawing();
    // The graphitello-cli command line that makes the drawing shown from the opened file, or a shell
    // comment saying why there is none.
    void copyCommandLine();
    QString drawingCommandText() const;
    void pasteFromClipboard();
    void pastePicture(const Bitmap* picture);  // the paste command with the clipboard's picture, if any
    void swapPictures();
    void revertToOriginalSource();
    void changeParameters();
    void sketchIt() { changeParameters(); }
    void openBatchWindow();
    void openPrintPreview();
    void showAbout();
    void openOnlineHelp();
    void addText();
    void openResizeWindow();
    void openRetouchWindow();
    void showDonation();
    void quitProgram();
    void filesDropped(const QStringList& files);

    // ---- Rendering ----
    void renderTimerFired();
    void cancelOperation();
    void keyPressed(int key);
    // The status strip's ProgressReport, on the interface thread.
    void ProgressReport(int step, int lastStep, int pass, int passes);

    // ---- Languages ----
    void switchToFrench();
    void switchToChinese();
    void switchToEnglish();
    void applyLanguage(Language language);

    // The menu entries by name (fileMenu_, Openpicture1, ...), and the toolbar buttons (Image5, ...).
    QAction* menuEntry(const QString& name) const { return menuEntries_.value(name); }
    PictureButton* toolbarButton(const QString& name) const { return toolButtons_.value(name); }
    QLabel* zoomLabel() const { return zoomLabel_; }
    QLineEdit* zoomEdit() const { return zoomEdit_; }
    bool cancelMenuShown() const;

signals:
    void renderFinished();
    void sourceStepFinished();  // a change of the source on the worker ended, done or not
    void wallpaperDone();  // the desktop answered (or the request ended)

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createWidgets();
    void buildMenus();
    void buildToolbar();
    void buildPanes();
    void showMenuBar(bool cancelOnly);
    // A new source and, at once, the same drawing (made by sourceRecipe_, which the caller sets
    // first); `view` is the picture's reduced copies when a worker made them already.
    void setSource(Bitmap picture, std::shared_ptr<const ViewPyramid> view = nullptr);
    // A picture read from a file, with its reduced copies when the preloading worker made them.
    struct ReadPicture {
        LoadedPicture loaded;
        std::shared_ptr<const ViewPyramid> view;
    };
    ReadPicture readPictureFile(const QString& path);  // the preloaded picture when it is this file's
    ReadPicture readPictureAside(const QString& path);
    // A picture file that could not be opened, told in the interface language where the loader says
    // what kind of failure it was (the loader's English message otherwise).
    void showPictureError(const std::exception& error, const QString& path);
    // `stop` ends a reading at its next rows (the window closing).
    static ReadPicture readWithView(const std::string& file, const std::atomic<bool>* stop);
    void setStatusText(const QString& text);
    // `raise`: brought in front of the other windows (not over an add-text window a rendering left open).
    void showParameterWindow(bool raise = true);
    void renderDone(const std::shared_ptr<RenderOutcome>& outcome);
    void applyToolTips();
    void updateDrawingHint();  // the right picture's tooltip: off while Busy or once it was pressed
    void applyMenuTexts(const TextTable& table);
    void dividerDragged(int x);
    void dividerDropped(int x);
    void panePressed(Qt::MouseButton button, QPoint global, bool drawingPane);
    void paneMoved(QPoint global, bool drawingPane);
    void paneReleased(bool drawingPane);
    void moveBothPictures(int dx, int dy);
    void setHeldZoomLook(bool held);
    bool addTextVisible() const;
    // The text dragged on the drawing pane (main_text.cpp).
    QPoint drawingPoint(QPoint global) const;  // in drawing pixels, at the current zoom
    bool textPressed(QPoint global);           // true when the press took the text
    void textDragged(QPoint global);
    void textHovered(QPoint global);
    bool parameterWindowVisible() const;
    QString text(const QString& key) const;
    // The source commands' common road: the work runs on a copy on the worker; the result becomes
    // the source and the picture it replaces a step to undo.
    struct SourceStep {
        bool parametersWereVisible = false;  // the parameter window hid meanwhile and comes back after
        std::function<void(bool changed)> after;
        // How the picture it replaces goes into the history: recorded as a change, or to the other
        // side of an undo or a redo.
        enum class History { Record, Undone, Redone } history = History::Record;
        RecipeStep recipeStep{};     // Record: the step the change adds to the photo's recipe
        SourceRecipe recipeBack{};   // Undone, Redone: the recipe of the picture coming back
    };
    void changeSource(SourceWork work, RecipeStep step, bool showProgress, bool hideParameters,
                      std::function<void(bool changed)> after = {});
    void sourceStepDone(const std::shared_ptr<SourceOutcome>& outcome);
    bool refuseWhileBusy();            // says so in the status strip
    // Paste, swap, revert: an instant change that can be undone; `view` as for setSource.
    void replaceSource(Bitmap picture, SourceRecipe recipe, std::shared_ptr<const ViewPyramid> view = nullptr);
    void sourceStepTaken(bool sizeChanged);  // undo or redo brought another picture back
    void takeHistoryStep(bool redo);           // undo or redo: the view is made on the worker
    void updateUndoMenu();

    Resources resources_;
    QString resourceError_;
    QString renderingError_;  // why the last rendering failed
    int zoom_ = 100;
    Language language_ = Language::French;
    QString messageTitle_;
    QString openedFile_;
    PictureMetadata sourceMetadata_;  // the opened photo's camera data, carried to the saved drawing
    Random random_;
    MainLayout layout_;
    RenderJob* job_ = nullptr;
    SourceJob* sourceJob_ = nullptr;
    SourceStep sourceStep_;
    SourceHistory history_{startupHistoryBudget()};
    SourceRecipe sourceRecipe_;       // the steps that made SourceImage from the opened file
    DrawingOrigin drawingOrigin_;     // how DrawingImage was made
    DrawingRecipe renderingRecipe_;   // what the running rendering read
    // The picture being preloaded: its path, and what the worker made of it (or threw).
    struct Preload {
        ReadPicture picture;
        std::exception_ptr failure;
    };
    QString preloadedPath_;
    std::shared_ptr<Preload> preload_;
    Worker preloadWorker_;
    Worker wallpaperWorker_;
    std::atomic<bool> wallpaperStop_{false};
    // Set when the window closes: a picture being read (opened, dropped, preloaded) stops at its
    // next rows instead of holding the closing up.
    std::atomic<bool> readingStop_{false};
    bool commandLineDone_ = false;

    QWidget* client_ = nullptr;
    QFrame* toolbar_ = nullptr;
    QLabel* zoomLabel_ = nullptr;
    QLineEdit* zoomEdit_ = nullptr;
    PicturePane* sourcePane_ = nullptr;
    PicturePane* drawingPane_ = nullptr;
    PaneDivider* divider_ = nullptr;
    StatusStrip* statusStrip_ = nullptr;
    QHash<QString, QAction*> menuEntries_;
    QHash<QString, PictureButton*> toolButtons_;
    QList<QAction*> normalMenus_;
    QAction* cancelAction_ = nullptr;
    QMenu* fileMenu_ = nullptr;
};

}  // namespace gt
