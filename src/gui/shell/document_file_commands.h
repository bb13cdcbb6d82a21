#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

class QMenu;

namespace zt::gui {

struct AppContext;

// Delay between closing the windows and making the new document, so the closing windows'
// own events are over before the document changes under them.
constexpr int kNewDocDelayMs = 100;

// What the file commands ask of the main window.
struct DocumentFileHooks {
    // Every child window closes (its own close handling runs first); gives the names of the
    // windows that were open.
    std::function<QStringList()> closeAllChildWindows;
    // The child window of that name is shown (opened when it is not).
    std::function<void(const QString&)> showChildWindow;
    // The channel grid is shown (opened when it is not).
    std::function<void()> showChannelGrid;
    // The windows are cascaded, each at the size it asked for.
    std::function<void()> cascade;
    // The caption names the document's model, band and file.
    std::function<void()> showDocumentCaption;
    // The main window's menus, panels and caption show the current language.
    std::function<void()> retranslate;
    // The undo history ends: the document is a different one.
    std::function<void()> forgetUndoSteps;
    // The program ends (an opened file belongs to another program version).
    std::function<void()> endProgram;
};

// File > New, Open..., Save, Save As... and Settings > Initial settings: the document's
// file commands. Every question and file dialog goes through the prompt service; a modified
// document is never replaced without the user's answer.
class DocumentFileCommands : public QObject {
    Q_OBJECT
  public:
    DocumentFileCommands(AppContext& app, DocumentFileHooks hooks, QObject* parent = nullptr);

    // Adds New (Ctrl+N), Open... (Ctrl+O), Save and Save As... to the File menu
    // (objectNames mnuFileNew, mnuFileOpen, mnuFileSave, mnuFileSaveAs).
    void addTo(QMenu& fileMenu);

    void fileNew();
    void fileOpen();
    void fileSave();
    // True when the document was saved.
    bool fileSaveAs();
    // A new document with the radio's initial values (File > New with the request set).
    void initialSettings();
    // Closes the child windows, then makes a new document after kNewDocDelayMs.
    void scheduleNewDocument();
    // Before the program closes: a modified document is saved, kept or dropped as the user
    // answers. False when the program must stay open (cancelled, or the save did not happen).
    bool settleUnsavedChanges();
    // The file-type filter of the dialogs in the current language.
    void retranslate();

    QTimer& newDocTimer() { return newDocTimer_; }
    bool initialValuesRequested() const { return initRequest_; }

  private:
    bool saveDataFile();
    // Saves the modified document before New or Open: under its path, or
    // through Save As when it is untitled. False when it was not saved.
    bool saveBeforeReplacing();
    void openDataFile();
    void makeNewDocument();
    void afterOpened();
    void aboutToReadDocument();

    AppContext& app_;
    DocumentFileHooks hooks_;
    QString fileFilter_;
    QTimer newDocTimer_;
    bool initRequest_ = false;
};

}  // namespace zt::gui
