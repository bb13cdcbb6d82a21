#include "gui/shell/document_file_commands.h"

#include <QAction>
#include <QMenu>
#include <filesystem>
#include <optional>
#include <utility>

#include "core/files/data_file.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/shell/menu_item.h"
#include "gui/shell/startup.h"

namespace zt::gui {
namespace {

QString pathText(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

Message question(int textId, Buttons buttons, Icon icon)
{
    Message m;
    m.textId = textId;
    m.buttons = buttons;
    m.icon = icon;
    return m;
}

}  // namespace

DocumentFileCommands::DocumentFileCommands(AppContext& app, DocumentFileHooks hooks,
                                           QObject* parent)
    : QObject(parent), app_(app), hooks_(std::move(hooks))
{
    newDocTimer_.setObjectName("NewDocTimer");
    newDocTimer_.setSingleShot(true);
    connect(&newDocTimer_, &QTimer::timeout, this, &DocumentFileCommands::makeNewDocument);
}

void DocumentFileCommands::addTo(QMenu& fileMenu)
{
    QAction* a = addMenuItem(fileMenu, "mnuFileNew", text::menu::FileNew);
    a->setShortcut(QKeySequence("Ctrl+N"));
    connect(a, &QAction::triggered, this, &DocumentFileCommands::fileNew);
    a = addMenuItem(fileMenu, "mnuFileOpen", text::menu::FileOpen);
    a->setShortcut(QKeySequence("Ctrl+O"));
    connect(a, &QAction::triggered, this, &DocumentFileCommands::fileOpen);
    connect(addMenuItem(fileMenu, "mnuFileSave", text::menu::FileSave), &QAction::triggered, this,
            &DocumentFileCommands::fileSave);
    connect(addMenuItem(fileMenu, "mnuFileSaveAs", text::menu::FileSaveAs), &QAction::triggered,
            this, [this] { fileSaveAs(); });
}

void DocumentFileCommands::retranslate()
{
    fileFilter_ = app_.text(text::msg::DataFileFilter) + " (*.dat)";
}

void DocumentFileCommands::aboutToReadDocument()
{
    emit app_.events.aboutToReadDocument();
}

void DocumentFileCommands::scheduleNewDocument()
{
    aboutToReadDocument();
    hooks_.closeAllChildWindows();
    newDocTimer_.start(kNewDocDelayMs);
}

void DocumentFileCommands::makeNewDocument()
{
    startNewDocument(app_, initRequest_ ? NewKind::Initialise : NewKind::Ordinary);
    initRequest_ = false;
    emit app_.events.documentReplaced();
    hooks_.retranslate();
    hooks_.showChannelGrid();
    hooks_.showDocumentCaption();
    hooks_.cascade();
    hooks_.forgetUndoSteps();
}

bool DocumentFileCommands::saveDataFile()
{
    DocumentContext ctx = app_.documentContext();
    const bool ok = app_.documents.Save(app_.documents.fileName(), ctx);
    hooks_.showDocumentCaption();
    return ok;
}

bool DocumentFileCommands::saveBeforeReplacing()
{
    // An untitled document has no place of its own yet: it is saved through
    // the dialog, never silently as "new.dat" in whatever folder is current.
    if (app_.documents.isUntitled()) return fileSaveAs();
    return saveDataFile();
}

void DocumentFileCommands::fileNew()
{
    aboutToReadDocument();
    if (app_.documents.IsModified()) {
        const Answer a =
            app_.prompt->ask(question(text::msg::SaveChanges, Buttons::YesNoCancel, Icon::Warning));
        if (a == Answer::Yes) saveBeforeReplacing();
    }
    const Answer ok =
        app_.prompt->ask(question(text::msg::ConfirmNewDocument, Buttons::OkCancel, Icon::Warning));
    if (ok == Answer::Ok)
        scheduleNewDocument();
    else
        initRequest_ = false;  // a cancelled Initial settings leaves no request behind
}

void DocumentFileCommands::fileOpen()
{
    aboutToReadDocument();
    if (app_.documents.IsModified()) {
        const Answer a =
            app_.prompt->ask(question(text::msg::SaveChanges, Buttons::YesNoCancel, Icon::Warning));
        if (a == Answer::Cancel) return;
        if (a == Answer::Yes && !saveBeforeReplacing()) return;
    }
    openDataFile();
}

void DocumentFileCommands::openDataFile()
{
    FileDialogRequest request;
    request.save = false;
    request.filters = {fileFilter_};
    request.initialPath = pathText(app_.documents.fileName());
    const std::optional<QString> chosen = app_.prompt->chooseFile(request);
    if (!chosen) return;
    const QStringList wereOpen = hooks_.closeAllChildWindows();
    DocumentContext ctx = app_.documentContext();
    const OpenResult result =
        app_.documents.Open(std::filesystem::path(chosen->toStdString()), ctx);
    if (result == OpenResult::EndProgram) return hooks_.endProgram();
    if (result == OpenResult::Opened) return afterOpened();
    // A refused file changes nothing: the windows the user had open come back.
    for (const QString& name : wereOpen) hooks_.showChildWindow(name);
}

void DocumentFileCommands::afterOpened()
{
    emit app_.events.documentReplaced();
    hooks_.showChannelGrid();
    hooks_.showDocumentCaption();
    hooks_.retranslate();
    hooks_.cascade();
    hooks_.forgetUndoSteps();
}

void DocumentFileCommands::fileSave()
{
    aboutToReadDocument();
    if (app_.documents.isUntitled()) {
        fileSaveAs();
        return;
    }
    Message m;
    m.text = "\"" + app_.documents.fileName().filename().string() + "\"" +
             app_.texts.GetLangText(text::msg::SaveChangesAfterName);
    m.buttons = Buttons::OkCancel;
    m.icon = Icon::Question;
    if (app_.prompt->ask(m) == Answer::Ok) saveDataFile();
}

bool DocumentFileCommands::fileSaveAs()
{
    aboutToReadDocument();
    FileDialogRequest request;
    request.save = true;
    request.filters = {fileFilter_};
    request.initialPath = pathText(app_.documents.fileName());
    const std::optional<QString> chosen = app_.prompt->chooseFile(request);
    if (!chosen) return false;
    const std::filesystem::path path = saveAsPath(std::filesystem::path(chosen->toStdString()));
    DocumentContext ctx = app_.documentContext();
    const bool ok = app_.documents.Save(path, ctx);
    hooks_.showDocumentCaption();
    return ok;
}

void DocumentFileCommands::initialSettings()
{
    initRequest_ = true;
    fileNew();
}

bool DocumentFileCommands::settleUnsavedChanges()
{
    if (!app_.documents.IsModified()) return true;
    const Answer a =
        app_.prompt->ask(question(text::msg::SaveChanges, Buttons::YesNoCancel, Icon::Warning));
    if (a == Answer::Cancel) return false;
    if (a == Answer::Yes) {
        fileSave();
        // A save that did not happen (dialog or question cancelled, file
        // error) keeps the program open rather than losing the changes.
        if (app_.documents.IsModified()) return false;
    }
    return true;
}

}  // namespace zt::gui
