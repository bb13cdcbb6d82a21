#include "gui/interop/channel_csv_commands.h"

#include <QAction>
#include <QMenu>
#include <QStringList>
#include <algorithm>
#include <system_error>
#include <vector>

#include "core/edit/channel_grid_rules.h"
#include "core/files/ini_profile.h"
#include "core/interop/chirp_csv.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/interop/csv_choice_dialog.h"
#include "gui/interop/import_preview_dialog.h"

namespace zt::gui {
namespace {

// A full channel list is some 60 KB; anything far larger is not one.

QString pathText(const std::filesystem::path& p)
{
    return QString::fromStdString(p.string());
}

}  // namespace

std::filesystem::path csvSavePath(const std::filesystem::path& chosen)
{
    if (chosen.has_extension()) return chosen;
    std::filesystem::path withSuffix = chosen;
    withSuffix += ".csv";
    return withSuffix;
}

bool readChannelListFile(const std::filesystem::path& file, std::string& text)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaxChirpCsvBytes) return false;
    return readFileBytes(file, text);
}

ChannelCsvCommands::ChannelCsvCommands(AppContext& app, QWidget* owner, ChannelCsvHooks hooks)
    : QObject(owner), app_(app), owner_(owner), hooks_(std::move(hooks))
{
}

QString ChannelCsvCommands::csvFilter() const
{
    return app_.text(text::msg::CsvFileFilter) + " (*.csv)";
}

QString ChannelCsvCommands::suggestedPath() const
{
    std::filesystem::path p = app_.documents.fileName();
    p.replace_extension(".csv");
    return pathText(p);
}

int ChannelCsvCommands::shownGroup() const
{
    return std::clamp<int>(app_.documents.working().Data.Options.CurrentGroup, 0,
                           kChannelGroupCount - 1);
}

QString ChannelCsvCommands::shownGroupLabel() const
{
    return QString::fromStdString(groupLabel(app_.documents.working().Data, shownGroup()));
}

void ChannelCsvCommands::reportFailure(int textId, const std::filesystem::path& file)
{
    Message m;
    m.textId = textId;
    m.text = "\n" + file.string();
    m.icon = Icon::Error;
    app_.prompt->ask(m);
}

void ChannelCsvCommands::exportChannels()
{
    hooks_.commitPendingEdits();
    CsvChoiceDialog scope(
        app_, "FrmExportScope", text::msg::ExportChannelsCaption,
        {"OptionAllChannels", app_.text(text::msg::ExportAllChannels)},
        {"OptionShownGroup", app_.text(text::msg::ExportShownGroup).arg(shownGroupLabel())},
        owner_);
    if (app_.prompt->execModal(scope) != QDialog::Accepted) return;
    const int group = scope.secondChosen() ? shownGroup() : -1;

    FileDialogRequest request;
    request.save = true;
    request.title = app_.text(text::msg::ExportChannelsCaption);
    request.filters = {csvFilter()};
    request.initialPath = suggestedPath();
    const std::optional<QString> chosen = app_.prompt->chooseFile(request);
    if (!chosen) return;
    const std::filesystem::path file = csvSavePath(std::filesystem::path(chosen->toStdString()));

    std::vector<int> leftOut;
    const std::string csv =
        exportChirpCsv(app_.documents.working(), group, app_.state.Limits, &leftOut);
    if (!replaceFileBytes(file, csv)) {
        reportFailure(text::msg::ExportFailed, file);
        return;
    }
    const auto channels = std::count(csv.begin(), csv.end(), '\n') - 1;
    Message done;
    QString doneText = app_.text(text::msg::ExportDone).arg(channels).arg(pathText(file));
    if (!leftOut.empty()) {
        QStringList numbers;
        for (int chNo : leftOut) numbers << QString::number(chNo);
        doneText +=
            "\n" + app_.text(text::channelinfo::ExportLeftOutNoFrequency).arg(numbers.join(", "));
    }
    done.text = doneText.toStdString();
    done.icon = Icon::Information;
    app_.prompt->ask(done);
}

void ChannelCsvCommands::importChannels()
{
    hooks_.commitPendingEdits();
    FileDialogRequest request;
    request.save = false;
    request.title = app_.text(text::msg::ImportChannelsCaption);
    request.filters = {csvFilter()};
    request.initialPath = pathText(app_.documents.fileName().parent_path());
    const std::optional<QString> chosen = app_.prompt->chooseFile(request);
    if (!chosen) return;
    const std::filesystem::path file(chosen->toStdString());
    std::string csv;
    if (!readChannelListFile(file, csv)) {
        reportFailure(text::msg::ImportFileUnreadable, file);
        return;
    }

    CsvChoiceDialog mode(
        app_, "FrmImportMode", text::msg::ImportChannelsCaption,
        {"OptionByLocation", app_.text(text::msg::ImportByLocation)},
        {"OptionIntoGroup", app_.text(text::msg::ImportIntoShownGroup).arg(shownGroupLabel())},
        owner_);
    if (app_.prompt->execModal(mode) != QDialog::Accepted) return;

    const RadioDocument& doc = app_.documents.working();
    const ImportPlan plan =
        mode.secondChosen() ? planChirpImportIntoGroup(doc, csv, app_.state.Limits, shownGroup())
                            : planChirpImport(doc, csv, app_.state.Limits);
    ImportPreviewDialog preview(app_, plan, owner_);
    if (app_.prompt->execModal(preview) != QDialog::Accepted) return;
    const ImportPlan confirmed = keepChannels(plan, preview.chosenChannels());
    if (confirmed.changes.empty()) return;

    // The one place an import reaches the document: the windows step aside as they do
    // for a read, the ticked channels go in as one change, and the windows come back.
    hooks_.closeDocumentWindows();
    applyImportPlan(app_.documents.working(), confirmed);
    hooks_.documentReplaced();
}

void addChannelCsvItems(QMenu& fileMenu, AppContext& app, QWidget* owner, ChannelCsvHooks hooks)
{
    auto* commands = new ChannelCsvCommands(app, owner, std::move(hooks));
    auto item = [&](const char* name, int textId) {
        QAction* a = fileMenu.addAction(app.text(textId));
        a->setObjectName(name);
        a->setProperty("textId", textId);  // retranslated with the other menu items
        return a;
    };
    QObject::connect(item("mnuFileImportChannels", text::menu::FileImportChannels),
                     &QAction::triggered, commands, &ChannelCsvCommands::importChannels);
    QObject::connect(item("mnuFileExportChannels", text::menu::FileExportChannels),
                     &QAction::triggered, commands, &ChannelCsvCommands::exportChannels);
}

}  // namespace zt::gui
