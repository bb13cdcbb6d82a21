#include "gui/history/history_menu.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QWidget>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/files/data_file.h"
#include "core/history/snapshot_store.h"
#include "core/interop/document_compare.h"
#include "core/link/document_after_write.h"
#include "core/radio/models.h"
#include "core/text_ids.h"
#include "gui/app_context.h"
#include "gui/history/backups_dialog.h"
#include "gui/history/comparison_dialog.h"

namespace zt::gui {

namespace {

struct LoadedForCompare {
    std::optional<RadioDocument> document;
    std::string problem;
    std::vector<std::uint8_t> radioImage;  // a snapshot's: what the radio held
};

bool startsAsSnapshot(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string head(19, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    return in && head == "ZTP958FM snapshot 1";
}

LoadedForCompare loadForCompare(const std::filesystem::path& file, AppContext& app)
{
    if (startsAsSnapshot(file)) {
        SnapshotLoad l = SnapshotStore::load(file);
        if (!l.snapshot) return {std::nullopt, l.problem, {}};
        return {std::move(l.snapshot->document), {}, std::move(l.snapshot->image)};
    }
    const ParsedDataFile parsed = readDataFile(file);
    if (parsed.messageId != 0) return {std::nullopt, app.texts.GetLangText(parsed.messageId), {}};
    return {parsed.document, {}, {}};
}

class HistoryCommands {
  public:
    HistoryCommands(AppContext& app, QWidget* owner, HistoryHooks hooks)
        : app_(app),
          owner_(owner),
          hooks_(std::move(hooks)),
          store_(defaultSnapshotRoot(std::getenv), clock_)
    {
    }

    void compareWithFile()
    {
        hooks_.commitPendingEdits();
        FileDialogRequest request;
        // The menu caption as a title: no accelerator ("&M", or "(&M)" in Chinese), no dots.
        QString title = app_.text(text::menu::FileCompareWithFile);
        title.remove(QRegularExpression(QStringLiteral("\\(&[^)]\\)")));
        title.remove('&');
        while (title.endsWith('.')) title.chop(1);
        request.title = title.trimmed();
        request.filters = {app_.text(text::msg::CompareFileFilter) + " (*.dat *.snapshot)"};
        const std::optional<QString> chosen = app_.prompt->chooseFile(request);
        if (!chosen) return;
        compareWith(std::filesystem::path(chosen->toStdString()));
    }

    void compareWith(const std::filesystem::path& file)
    {
        const LoadedForCompare loaded = loadForCompare(file, app_);
        if (!loaded.document) {
            refuse(text::msg::CompareFileRefused, file, loaded.problem);
            return;
        }
        // Against a radio's snapshot both documents are compared as a write would leave them
        // in that radio, so fields a write always stores the same way are not listed (a
        // "written" snapshot keeps them as the written document had them).
        const RadioDocument& working = app_.documents.working();
        const DocumentComparison c = compareDocuments(
            documentAfterWrite(working, loaded.radioImage),
            documentAfterWrite(*loaded.document, loaded.radioImage), app_.state.Limits);
        ComparisonDialog dialog(app_, c, ComparisonDialog::Mode::Compare, owner_);
        QObject::connect(&dialog, &ComparisonDialog::channelChosen, &dialog, [&](int chNo) {
            dialog.reject();
            if (hooks_.showChannel) hooks_.showChannel(chNo);
        });
        app_.prompt->execModal(dialog);
    }

    void showBackups()
    {
        hooks_.commitPendingEdits();
        BackupsDialog dialog(app_, store_, owner_);
        dialog.compare = [this](const std::filesystem::path& file) { compareWith(file); };
        dialog.openAsDocument = [this](const std::filesystem::path& file) { open(file); };
        dialog.restoreToRadio = [this](const std::filesystem::path& file) { restore(file); };
        app_.prompt->execModal(dialog);
    }

  private:
    void open(const std::filesystem::path& file)
    {
        SnapshotLoad l = SnapshotStore::load(file);
        if (!l.snapshot) {
            refuse(text::msg::SnapshotRefused, file, l.problem);
            return;
        }
        // As after a read: the windows step aside, the document is the snapshot's, untitled.
        hooks_.closeDocumentWindows();
        app_.documents.working() = l.snapshot->document;
        documentToCurrent(app_.documents.working().Data, app_.state);
        app_.documents.markUntitled();
        hooks_.documentReplaced();
    }

    void restore(const std::filesystem::path& file)
    {
        SnapshotLoad l = SnapshotStore::load(file);
        if (!l.snapshot) {
            refuse(text::msg::SnapshotRefused, file, l.problem);
            return;
        }
        if (hooks_.restoreToRadio) hooks_.restoreToRadio(*l.snapshot);
    }

    void refuse(int textId, const std::filesystem::path& file, const std::string& why)
    {
        Message m;
        m.textId = textId;
        m.text = "\n" + file.string() + "\n" + why;
        m.icon = Icon::Error;
        app_.prompt->ask(m);
    }

    AppContext& app_;
    QWidget* owner_;
    HistoryHooks hooks_;
    SystemWallClock clock_;
    SnapshotStore store_;
};

}  // namespace

void addHistoryItems(QMenu& fileMenu, QMenu& programMenu, AppContext& app, QWidget* owner,
                     HistoryHooks hooks)
{
    auto commands = std::make_shared<HistoryCommands>(app, owner, std::move(hooks));
    auto item = [&](QMenu& menu, const char* name, int textId) {
        // In the File menu the item goes with the other file commands, before the separator
        // that sets Exit apart; elsewhere at the end.
        QAction* before = nullptr;
        const QList<QAction*> actions = menu.actions();
        for (int i = 1; i < actions.size(); ++i)
            if (actions[i]->objectName() == "mnuFileExit" && actions[i - 1]->isSeparator())
                before = actions[i - 1];
        auto* a = new QAction(app.text(textId), &menu);
        menu.insertAction(before, a);
        a->setObjectName(name);
        a->setProperty("textId", textId);  // retranslated with the other menu items
        return a;
    };
    QObject::connect(item(fileMenu, "mnuFileCompare", text::menu::FileCompareWithFile),
                     &QAction::triggered, owner, [commands] { commands->compareWithFile(); });
    QObject::connect(item(programMenu, "mnuBackups", text::menu::ProgramBackups),
                     &QAction::triggered, owner, [commands] { commands->showBackups(); });
}

}  // namespace zt::gui
